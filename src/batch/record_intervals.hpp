// How sure each value of a station's complete record is: a 90 % interval of
// each of the 14 monthly values from resampling the station's whole years.
//
// A resample draws as many years as the period holds, with replacement, and
// computes every value again with the record's own definitions over the
// drawn years: the six precipitation values as wgnrain's report computes
// them (the series rounded to hundredths, NoData days given the mean of the
// valid ones, each month's blocks of days in the order drawn), means and
// sample deviations of the daily values in the generator's unit, the largest
// half-hour rain (or the largest daily rain times (30/1440)^0.25).  Of 1,000
// resamples, the 50th and the 950th smallest bound the interval.  A resample
// adds up sums kept once per year and month (precipitation_sums.hpp for the
// six precipitation values), in the order its years were drawn.  The
// generator's random numbers come from a fixed seed, so a run gives the same
// bytes on every system.
//
// The bounds are written with the decimals of the value: "64.17" gets
// bounds of two decimals, "0.4000" of four.
//
// A value without days behind it (filled from a reference station, humidity
// turned into dew points) has no interval.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "weather/gap_aware_precipitation.hpp"
#include "weather/weather_record.hpp"

namespace wgn::batch {

inline constexpr int kResamples = 1000;
inline constexpr int kFewestYears = 20;  // a shorter record is noted

struct RecordIntervals {
    // By month, by column (weather::kColumns); empty: no interval.
    std::array<std::array<std::string, 14>, 12> low, high;
    int years = 0;  // of the period
};

// The six precipitation values of each month over the given years of the
// series (indices into `years`), as wgnrain's report computes them; NaN
// where the report would show no number.  `rounded` holds each year's
// month blocks (rounded[y][m]).
using MonthBlocks = std::vector<std::array<std::vector<float>, 12>>;
std::array<std::array<double, 6>, 12> precipitation_values(const MonthBlocks& rounded, const std::vector<int>& years);

// The series of wgnrain's report from the period's daily precipitation:
// NoData days given the mean of the valid values, every value rounded to
// hundredths, by year and month.
MonthBlocks precipitation_blocks(const weather::WeatherInputs& inputs);

// A value as wgnrain's report rounds it: written as F12.2 and read back.
using weather::report_hundredths;

// The 90 % interval of a value from its resampled values: the (n - 1) * 5
// / 100-th and the (n - 1) * 95 / 100-th smallest of the n finite ones (0:
// the smallest), the values a sort would put there; nothing when fewer than
// nine in ten are finite.
//   1,000 values 1, 2, ..., 1000 in any order -> {50, 950}
std::optional<std::pair<double, double>> resampled_interval(const double* resampled, std::size_t count);

RecordIntervals record_intervals(const weather::WeatherInputs& inputs, const weather::WeatherRecord& record);

// What the intervals say of the station: a record shorter than 20 years,
// months whose interval is wider than its value.  Empty when neither.
//   "18 years (fewer than 20); interval wider than the value: pcp_skew(1,7), wet_dry(7)"
std::string interval_notes(const RecordIntervals& intervals, const weather::WeatherRecord& record);

}  // namespace wgn::batch
