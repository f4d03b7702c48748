// The Gregorian calendar of the month walk.
#pragma once

#include <cstdint>

namespace wgn {

// Divisible by 4, and not by 100 unless by 400: 1996 and 2000 are leap years,
// 1900 and 1999 are not, year 0 is.  Negative years follow the same rule.
bool is_leap_year(std::int32_t year);

// The calendar year after `year`, in 32-bit arithmetic that wraps around
// instead of overflowing.
std::int32_t following_year(std::int32_t year);

// `first` + `offset` in 32-bit arithmetic that wraps around.
std::int32_t year_after(std::int32_t first, std::int32_t offset);

// Leap years among the `years` calendar years from `first_year` on.
std::int32_t leap_years_in(std::int32_t first_year, std::int32_t years);

}  // namespace wgn
