// Month-by-month statistics of one weather variable over a station's
// period: plain functions over daily values, nothing of files.
//
// Each month gathers its days of every year of the period; a month with
// fewer than 5 valid days has no value (an empty text).  Means and sample
// standard deviations (n - 1) are exact and rounded half away from zero to
// two decimals:
//
//   January values 1.0, 2.0, 4.0, 4.0, 5.0 (and no others)
//     mean     16 / 5 = 3.2                        -> "3.20"
//     sd       sqrt(((1-3.2)^2 + ... ) / 4) = sqrt(2.7) = 1.6432 -> "1.64"
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "readers/measure_units.hpp"

namespace wgn::weather {

inline constexpr int kFewestDays = 5;

// A day of the period and its value in billionths.
struct DayValue {
    std::int32_t day;
    std::int64_t value;
    int line = 0;  // the line of the file it came from, for messages
};
// A day's value, or a day without one.
struct DayReal {
    std::int32_t day;
    double value;
};

using MonthTexts = std::array<std::string, 12>;

// `scale` turns the values into the generator's unit, exactly: the mean is
// (sum + n offset) numerator / (n denominator), the deviation scales by
// numerator / denominator alone.
MonthTexts monthly_means(const std::vector<DayValue>& days, const readers::Scale& scale = {});
MonthTexts monthly_deviations(const std::vector<DayValue>& days, const readers::Scale& scale = {});
// The largest value of each month, as text of two decimals (any number of days).
MonthTexts monthly_largest(const std::vector<DayValue>& days, double factor = 1.0);
// Means of values that are not exact decimals (dew points from humidity).
MonthTexts monthly_means(const std::vector<DayReal>& days);

// The month (1 ... 12) of a day number.
int month_of(std::int32_t day);

}  // namespace wgn::weather
