// Days whose value cannot be what it says, when they are a few among many:
// a stray digit, a missing day written as -9999, a sensor's bad day.  At
// most 5 of a variable's days, or 0.1 % of its days with a value where that
// is more, become missing days of that variable; beyond that the variable is
// refused, as a wrong unit or a wrong column makes many days implausible.
//
//   outlier_limit(4000) -> 5        outlier_limit(8431) -> 8
//   outlier_counts(days) -> "pcp 2; slr 1"
//   outlier_list(days)   -> "pcp 2001-02-08 2540, 2001-03-01 -5; slr 2018-07-01 397.65"
//   read_outlier_list("pcp 2001-02-08 2540; slr 2018-07-01 397.65") -> those days again
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "readers/variables.hpp"

namespace wgn::readers {

struct OutlierDay {
    Variable variable = Variable::pcp;
    std::int32_t day = 0;  // day number (calendar_days.hpp)
    std::string value;     // the number as the file wrote it, in the file's unit

    bool operator==(const OutlierDay&) const = default;
};

inline constexpr long kFewestOutliers = 5;  // days; more where 0.1 % of the days is more

// How many implausible days of a variable with `days` values become missing days.
constexpr long outlier_limit(long days) {
    return days / 1000 > kFewestOutliers ? days / 1000 : kFewestOutliers;
}

// The count of each variable's days, in the order the variables come.
std::string outlier_counts(const std::vector<OutlierDay>& days);
// Every day with its date and value, each variable's days together.
std::string outlier_list(const std::vector<OutlierDay>& days);
// The days outlier_list wrote; nothing for a text it did not write.
std::optional<std::vector<OutlierDay>> read_outlier_list(std::string_view text);

}  // namespace wgn::readers
