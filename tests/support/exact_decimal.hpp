// A slow, exact reference for the conversions between single-precision
// numbers and decimal text, written independently of the program's own
// (which works on binary shifts and the C library): here every number is a
// string of decimal digits, and every decision an exact comparison of big
// integers.  For fuzzing and exhaustive checks, not for speed.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace wgn::exact {

// The exact value of a finite float as decimal text: "-2.67499990463256835937500".
std::string exact_decimal(float value);

// The Fw.d text of a finite float: the exact value rounded to `digits`
// fraction digits, halves away from zero, no sign on a rounded zero, the
// leading 0 dropped when the field has no room, asterisks when it does not fit.
std::string fixed_field(float value, int width, int digits);

// The float nearest to a decimal number (ties to even), from its text: an
// optional sign, digits with an optional point, an optional exponent (E, D, Q
// or a signed exponent alone).  Without a point the last `implied_digits`
// digits are the fraction.  No value when the text is not such a number.
std::optional<float> nearest_float(std::string_view text, int implied_digits = 0);

}  // namespace wgn::exact
