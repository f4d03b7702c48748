// The six precipitation values of each month that a station's tables and
// model files take: its wgnrain report's digits when the period has no
// missing day; with missing days, the gap-aware values
// (weather/gap_aware_precipitation.hpp) of each month with missing days,
// which leave them out where wgnrain gives them the mean (a month without
// one keeps the report's digits: the same definitions, rounded from
// single-precision sums).  Either way, a month without a wet day (or without
// a dry day) is written as both models read it as such.
//
//   no missing day        -> "64.17", "3.8913", ... as the report shows them; pcp_values "report"
//   412 missing days      -> the gap-aware values;      pcp_values "gap-aware (412 missing days)"
#pragma once

#include <array>
#include <optional>
#include <string>

#include "batch/report_reader.hpp"
#include "batch/station_list.hpp"
#include "problem/problem.hpp"
#include "weather/gap_aware_precipitation.hpp"

namespace wgn::batch {

struct StationPrecipitation {
    std::array<std::array<std::string, kParameterCount>, 12> values;  // empty: no value
    bool gap_aware = false;
    long missing_days = 0;  // of the period, when gap-aware
    weather::ModelMonths model_months;
};

// `months` is the period's series; nothing when it has no missing day (the
// report's values stand: its NaN tells the months without a wet or a dry day).
StationPrecipitation station_precipitation(const ReportFigures& figures, const weather::SeriesMonths* months);

// The summary's pcp_values: "report", "gap-aware (412 missing days)".
std::string pcp_values_text(const StationPrecipitation& precipitation);

// The values of a station without the complete record, from the series
// wgnrain read (`series_text`, a dated file's, with `nodata` for a missing
// day) or else the plain series the list names, read again only when the
// period may have missing days (`missing_days` above 0, or -1 for a count
// the report does not show).  The period runs from `first_year` to
// `last_year`, 0 for a plain series' last whole year (values / 365).  A
// problem when that series cannot be read day by day.
Result<StationPrecipitation> read_station_precipitation(const Station& station, const ReportFigures& figures,
                                                        std::string_view series_text, std::string_view nodata,
                                                        int first_year, int last_year, long missing_days);

}  // namespace wgn::batch
