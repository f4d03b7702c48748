#pragma once

#include <span>

#include "stats/month_statistics.hpp"

namespace wgn {

// Standard deviation (divisor n - 1, from one pass over the sum and the sum of
// squares) and skew coefficient n / ((n-1)(n-2)) * sum((x - mean)^3) / s^3 of
// the month's values, using the stored `mean_daily` and `PCPSTD` of the entry.
void month_moments(std::span<const float> values, int month, MonthStatistics& table);

}  // namespace wgn
