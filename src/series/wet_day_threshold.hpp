// The wet-day threshold: gridded and reanalysis precipitation carries
// drizzle on nearly every day, so a day below the threshold (in mm) is
// written as dry (0).  Value and threshold are compared as the decimals
// their texts write, digit by digit, never as binary numbers:
//
//   is_drizzle("0.05", "0.1")  -> true      is_drizzle("0.1", "0.1")    -> false
//   is_drizzle("9.9e-2", "0.1") -> true     is_drizzle("0.0", "0.1")    -> false (dry already)
//   wet_day_threshold("0.1") -> "0.1"       wet_day_threshold("-1"), ("0.1mm"), ("") -> a problem
#pragma once

#include <string>
#include <string_view>

#include "problem/problem.hpp"

namespace wgn::series {

// The threshold as given, when it is a number of 0 or more; else why not.
Result<std::string> wet_day_threshold(std::string_view text);

// A day's amount above 0 and strictly below `threshold` (both number texts,
// in mm); false for a text that is not a number.
bool is_drizzle(std::string_view value, std::string_view threshold);

}  // namespace wgn::series
