// The monthly statistics of a generated series, with the definitions of the
// record's values: pcp_ave the mean monthly total, pcp_sd and pcp_skew over
// all days of the month (dry ones included), wet_dry and wet_wet the shares of
// wet days after a dry and after a wet day (the day before may be in the month
// before), pcp_days the mean number of wet days, means and sample deviations
// (n - 1) of the daily values; a day is wet with rain of at least 0.1 mm.
// pcp_hhr, the record's largest half-hour rain of the month over its years,
// is the largest of each run of rain_yrs generated years (rounded, at least
// 1 and at most the years generated), averaged over the runs; years after the
// last whole run are left out of it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "check/check_table.hpp"
#include "check/daily_generator.hpp"

namespace wgn::check {

struct Moments {
    double n = 0, sum = 0, squares = 0, cubes = 0;
    void add(double x);
    double mean() const;
    double deviation() const;  // n - 1
    double skew() const;       // n / ((n - 1)(n - 2)) sum (x - mean)^3 / deviation^3
};

struct MonthTally {
    Moments pcp, tmax, tmin, slr, humidity, wind;
    double total = 0;  // the rain of every year's month
    double wet_days = 0, after_dry = 0, wet_after_dry = 0, after_wet = 0, wet_after_wet = 0;
    double half_hour_largest = 0;  // the sum over the runs of rain_yrs years of each run's largest
    double half_hour_runs = 0;
};

struct GeneratedStatistics {
    int years = 0;
    int run_years = 1;  // the years of a run that pcp_hhr takes the largest of
    std::array<MonthTally, 12> months;
};

// `years` years of a station's weather (a leap year every fourth), from `seed`.
GeneratedStatistics generate(Model model, const StationParameters& station, int years, std::uint64_t seed);

// The seed of the station at `index` in the tables, from the run's seed.
std::uint64_t station_seed(std::uint64_t seed, std::size_t index);

struct GeneratedRow {
    std::string variable;
    std::string table;  // the table's value as the model reads it (empty: none)
    double generated = 0;
    int month = 0;
};

// The rows of a station, month by month: each table value the generated series shows, with
// humidity (rh) as the model reads dew_ave and the deviation of the radiation (slr_sd).
std::vector<GeneratedRow> generated_rows(const TableStation& station, const GeneratedStatistics& statistics);
std::string generated_csv_header();
std::string generated_csv_rows(std::string_view station, const std::vector<GeneratedRow>& rows);

}  // namespace wgn::check
