// From dated daily values to the series wgnrain reads: whole calendar years,
// one value per line from 1 January of the first year to 31 December of the
// last, every missing day written as the NoData value.
//
// The period: unless the station list sets it, the longest run of
// consecutive calendar years in which at most 10 % of the days are missing
// (series/period_choice.hpp); the well-covered years left outside it are
// named, so that the user can see what a gap in the middle cost.
//
//   values 1990-07-01 ... 2000-12-31, 1995 half missing, none else
//     -> period 1996-2000 (1990 lacks half its days, 1995 breaks the run),
//        1991-1994 well-covered years outside the period
#pragma once

#include <array>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "problem/problem.hpp"
#include "readers/station_record.hpp"

namespace wgn::series {

struct SeriesOptions {
    std::optional<int> first_year, last_year;                      // bounds set by the station list
    std::string nodata = "-99";                                    // written for every missing day
    std::string pcp_threshold;                                     // mm: a day below it is written as 0; empty: none
    readers::Settings settings = readers::Settings::station_list;  // who set these, for messages
};

struct Coverage {
    int first_year = 0, last_year = 0;
    long days = 0;                             // days of the period
    long missing_days = 0;                     // without a value: absent, marked missing or flagged
    long flagged_values = 0;                   // missing because the file flagged them
    long below_threshold = 0;                  // above 0 but below the wet-day threshold: written as 0
    long trace_values = 0;                     // a trace of rain (T) in the file, written as 0; -1: not counted
    std::vector<std::array<int, 12>> missing;  // per year of the period, per month
    std::vector<int> incomplete_years;         // more than 10 % of their days missing
    std::vector<int> outside_years;            // at most 10 % missing, but not in the period
};

struct WholeYearSeries {
    std::string text;  // the series file, lines ended by CR LF
    Coverage coverage;
};

// `values` in any order; a day given twice with different values is refused.
// The problem, when no series can be made, has the line of the file it is
// on where it is about one value.
Result<WholeYearSeries> make_whole_years(const std::vector<readers::DailyValue>& values, const SeriesOptions& options);

// The coverage's period `first`-`last` and the well-covered years outside
// it, from the days with a value in each year of the record (`present`);
// the period's own counts are the caller's to add.
Coverage period_coverage(const std::map<int, int>& present, int first, int last);

// The values in day order, a day given twice kept once when both say the
// same; otherwise the conflict, with the line that gives the day again.
Done merge_days(std::vector<readers::DailyValue>& values);

// "1991-2020"
std::string period_text(const Coverage& coverage);
// The missing share of the days in percent with one decimal, rounded half up: "0.1"
std::string missing_percent_text(const Coverage& coverage);
// "1994 2003"
std::string incomplete_years_text(const Coverage& coverage);
// "1974 1975 1980"
std::string outside_years_text(const Coverage& coverage);
// One row per year: year,jan,...,dec,total (the missing days), CR LF.
std::string coverage_table(const Coverage& coverage);
// "1991-2020: 10958 days, 12 missing (0.1 %), 3 flagged; years over 10 % missing: 1994 2003",
// then "; well-covered years outside the period: 1974 1975" when there are any; with a
// wet-day threshold, ", 2140 below 0.1 mm written as 0" after the flagged values
std::string coverage_line(const Coverage& coverage, std::string_view pcp_threshold = {});

}  // namespace wgn::series
