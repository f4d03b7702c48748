// The six precipitation values of a station whose period has missing days,
// with every missing day left out: neither wet nor dry, in no sum.
//
// wgnrain itself gives each missing day the mean of the valid days, so that
// with a mean above 0.005 mm every missing day is a wet day of the mean
// amount.  Here, over the valid days of each month (the values as wgnrain's
// month files hold them: rounded to hundredths, a day of 0.00 dry):
//
//   PCP_MM   valid days' mean amount x the month's days a year in the period
//   PCPSTD   sample standard deviation (n - 1) of the valid days
//   PCPSKW   n / ((n - 1)(n - 2)) sum (x - mean)^3 / PCPSTD^3 over them
//   PR_W1    dry days followed by a wet day / dry days followed by a valid day
//   PR_W2    wet days followed by a wet day / wet days followed by a valid day
//   PCPD     valid days' wet fraction x the month's days a year in the period
//
// The days are those of wgnrain's month file: a month's blocks of days one
// year after the other.  Its pairs are wgnrain's own, the pair after every
// `days`-th value skipped (31, 30, or 28 for February, whose leap years move
// the skipped pairs); the day that follows a day is the next one in the
// file (a block's last day is followed by the next year's first), the last
// one is followed by nothing missing.  So a month without a missing day has
// wgnrain's own definitions, and only the rounding differs: these are
// exact, rounded half away from zero to the report's decimals (two for
// PCP_MM and PCPD, four for the others), where the report rounds sums kept
// in single precision.  The month's days a year are its days in the period over the
// period's years: 28.25 for February over 1993-2020 (28 years, 7 of them
// leap), where wgnrain divides by n / 28 years, one year too many from 28
// leap Februaries on.
//
//   January of two years: 5.00 on days 1-3 of the first, the rest 0.00; the
//   second 10.00 on day 1, 0.00 on days 2-29, day 30 missing, 2.00 on day 31
//     -> 61 valid days, 5 wet: PCP_MM 27.00 / 61 * 31 = 13.72, PCPD 5 / 61 * 31 = 2.54,
//        PR_W1 0 / 55 (the dry day 29 is followed by the missing day 30: not counted),
//        PR_W2 2 / 5 = 0.4000
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "readers/station_record.hpp"
#include "weather/model_notes.hpp"
#include "weather/monthly_statistics.hpp"

namespace wgn::weather {

// A day as wgnrain's month files hold it, in whole hundredths of a
// millimetre; nothing for a missing day.
using SeriesDay = std::optional<std::int64_t>;

// One month of one year: its days.
struct SeriesMonth {
    std::vector<SeriesDay> days;
};
using SeriesMonths = std::vector<std::array<SeriesMonth, 12>>;  // by year of the period

// A value as wgnrain's month files round it: written as F12.2 and read back.
//   0.125F -> 0.12F  (exactly 0.125: a tie, to even)
//   1.005F -> 1.00F  (the float is 1.00499999523...)
//   -0.001F -> -0.0F ("-0.00")
float report_hundredths(float value);

// The period's months from its daily values (rising, each day once; a value
// without a number, or a day absent, is missing), each read as wgnrain reads
// it: single precision, rounded as its month files round it.
SeriesMonths series_months(int first_year, int last_year, const std::vector<readers::DailyValue>& days);

// The days of the months without a value.
long missing_days(const SeriesMonths& months);
// Whether the days (rising, each once) leave a day of the years `first_year`
// to `last_year` without a value, without making the months.
bool has_missing_days(int first_year, int last_year, const std::vector<readers::DailyValue>& days);

struct PrecipitationValues {
    // PCP_MM, PCPSTD, PCPSKW, PR_W1, PR_W2, PCPD of each month; empty: no
    // value (fewer than 5 valid days, no day to divide by).
    std::array<std::array<std::string, 6>, 12> values;
    std::array<long, 12> wet_days{}, dry_days{};  // valid days of each month
    std::array<long, 12> missing_in_month{};
    long missing_days = 0;
};

// The six values of each month over the whole period.
PrecipitationValues gap_aware_values(const SeriesMonths& months);

// The same, with the exact month sums of the drawn years `years` (indices
// into `months`, repeats allowed), for tests.
std::array<std::string, 6> gap_aware_month(const SeriesMonths& months, const std::vector<int>& years,
                                           std::size_t month);

// Months of the record without a wet day, or without a dry day: their values
// have no PR_W2 (no wet day to divide by), no PR_W1, and often no PCPSKW.  Both
// models divide the month's pcp_ave by a pcp_days they make from wet_dry and
// wet_wet, floor every generated wet day at 0.1 mm and raise pcp_skew to 0.2;
// wet_dry 0 (or wet_wet not above it) makes them invent 0.1 wet days a month.
// Written instead, for which both generate what the record shows:
//   no wet day:  pcp_ave 0.00, pcp_sd 0.0000, pcp_skew 0.2000, wet_dry 0.00001, wet_wet 0.00002, pcp_days 0.00
//                (the model's pcp_days 0.0003: a wet day of 0.1 mm in some 270 years of the month)
//   no dry day:  wet_dry 0.99999, wet_wet 1.0000 (pcp_days the month's days: rain on every one),
//                pcp_skew 0.2000 where the amounts do not vary
struct ModelMonths {
    std::array<bool, 12> rainless{}, always_wet{};
    bool any() const;
};
// The months of the values (the report's or the gap-aware ones) without a
// wet or a dry day: from the counts where known, else (the report's values,
// no missing day) by the report's NaN: PR_W2 for no wet day, PR_W1 for no dry day.
ModelMonths months_for_model(const std::array<std::array<std::string, 6>, 12>& values,
                             const PrecipitationValues* counted);
void write_for_model(std::array<std::array<std::string, 6>, 12>& values, const ModelMonths& months);
// The model note naming the months; nothing when there are none.
//   "pcp: no wet day in the record in 3 months (Jun, Jul, Aug): written as wet_dry 0.00001, wet_wet 0.00002,
//    pcp_skew 0.2000, for which both models generate no rain"
std::vector<ModelNote> model_months_notes(const ModelMonths& months);

}  // namespace wgn::weather
