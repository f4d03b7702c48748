// Which calendar years of a record make the period wgnrain analyses.
//
// wgnrain gives every missing day the mean of the valid days, so a year
// with many missing days adds wet days that never fell.  The period is
// therefore the longest run of consecutive well-covered years (at most 10 %
// of the days missing), the most recent run of the longest; a gappy stretch
// between good years is left out, not kept.  A bound the list sets holds;
// with only one set, the other end is the far end of the longest run among
// the years on its side (the bound year included):
//
//   good 1974-1979, gappy 1980-2002, good 2003-2016  -> 2003-2016
//   the same with first_year 1976                    -> 1976-2016
//   the same with last_year 1990                     -> 1974-1990
#pragma once

#include <map>
#include <optional>
#include <string>

namespace wgn::series {

// At most a tenth of the year's days without a value.
bool well_covered(int year, int present_days);

struct ChosenPeriod {
    int first_year = 0, last_year = 0;  // both 0 when no year qualifies
};

// `present`: the days with a value in each year of the record, which runs
// from `record_first` to `record_last`.
ChosenPeriod choose_period(const std::map<int, int>& present, int record_first, int record_last,
                           std::optional<int> first_year, std::optional<int> last_year);

}  // namespace wgn::series
