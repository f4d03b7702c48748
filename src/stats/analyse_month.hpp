#pragma once

#include <cstdint>
#include <span>

#include "stats/month_statistics.hpp"

namespace wgn {

// Reads the n values of month `month` back from its file on `unit` (F12.2, so
// every statistic sees the values rounded to hundredths), fills the month's
// entry of `month_statistics` and closes the unit, which deletes the file.
void analyse_month(std::int32_t n, int days, int month, int unit);

// The statistics of one month from its values: `days` is the nominal length
// of the month (28 for February in every year), which marks the pairs that
// cross from one year's block of values to the next.
void analyse_month_values(std::span<const float> values, int days, int month, MonthStatistics& table);

}  // namespace wgn
