#pragma once

#include <cstdint>

namespace wgn {

// Walks `DailySeries` calendar year by calendar year: every day's value goes
// to its month's scratch file (units 101 ... 112, one F12.2 record a day) and
// into the month's total; each month of each year fills one element of
// `MonthlyTotalGrid` and of `MonthlyMeanGrid` (total / days of that month in
// that year).  Counts the leap years and leaves the twelve files rewound.
void split_into_months(std::int32_t first_year, std::int32_t year_count, std::int32_t& leap_year_count);

}  // namespace wgn
