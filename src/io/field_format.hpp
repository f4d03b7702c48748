// Output fields of formatted records: Aw, Iw and Fw.d.  Every field is exactly
// w characters; a number that does not fit is w asterisks, never an error.
//
//   A30  of "Input Filename: "         -> "              Input Filename: "
//   A22  of "Number of Leap Years = "  -> "Number of Leap Years ="
//   I8   of 0                          -> "       0"
//   I3   of 1000                       -> "***"
//   F12.2 of 0.125                     -> "        0.13"   (exact half: away from zero)
//   F12.2 of 2.675f (2.67499990...)    -> "        2.67"
//   F12.2 of -0.004                    -> "        0.00"   (no sign on a rounded zero)
//   F12.2 of -0.006                    -> "       -0.01"
//   F12.2 of 1.0E9                     -> "************"
//   F4.2  of 0.5                       -> "0.50"
//   F3.2  of 0.5                       -> ".50"   (the leading 0 is given up first)
//   F12.4 of NaN                       -> " NaN        "
//   F12.4 of -Infinity                 -> " -Infinity  "
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace wgn::io {

// Largest d that the real field supports exactly.
inline constexpr int kMaxFractionDigits = 40;

void append_text_field(std::string& out, std::string_view text, int width);
void append_integer_field(std::string& out, std::int32_t value, int width);
// Requires 0 <= digits <= kMaxFractionDigits.  Takes the fast path of
// fixed_field_fast.hpp when it can, the exact general path otherwise.
void append_real_field(std::string& out, float value, int width, int digits);
// The general path alone, for checks of the fast path.
void append_real_field_general(std::string& out, float value, int width, int digits);

}  // namespace wgn::io
