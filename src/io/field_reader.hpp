// Input fields of formatted records: Fw.d.
//
//   F12.2 of "        0.13" -> 0.13f     of "            " -> 0.0f
//   F12.2 of "      1 2 34" -> 12.34f (blanks are ignored, the point is implied)
//   F12.2 of " NaN        " -> NaN       of " -Infinity  " -> -inf
//   F12.2 of "        1.2x" -> conversion error
#pragma once

#include <string_view>

#include "io/read_status.hpp"

namespace wgn::io {

// Reads the field that starts at `start` of `record`; characters missing at
// the end of a short record count as blanks.  A field of the plain shape
// takes the fast path of plain_numbers.hpp.
ReadStatus read_real_field(std::string_view record, std::size_t start, int width, int digits, float& value);
// The general path alone, for checks of the fast path.
ReadStatus read_real_field_general(std::string_view record, std::size_t start, int width, int digits, float& value);

}  // namespace wgn::io
