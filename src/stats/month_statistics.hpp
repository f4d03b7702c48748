// The statistics of the twelve months, as parallel arrays indexed by month
// (1 = January; index 0 is unused).
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace wgn {

struct MonthStatistics {
    using Reals = std::array<float, 13>;
    using Counts = std::array<std::int32_t, 13>;

    Reals mean_daily{};     // month_total / n
    Reals PCP_MM{};         // average monthly precipitation
    Reals PCPD{};           // average number of wet days in the month
    Reals wet_after_wet{};  // counted pairs, both values greater than zero
    Reals wet_after_dry{};  // counted pairs, zero then greater than zero
    Counts wet_days{};      // values that are not zero
    Counts dry_days{};      // values equal to zero
    Reals PCPSKW{};         // skew coefficient of the daily values
    Reals PCPSTD{};         // standard deviation of the daily values
    Reals PR_W2{};          // probability of a wet day after a wet day
    Reals PR_W1{};          // probability of a wet day after a dry day
};

extern MonthStatistics month_statistics;

// A day is dry when its value compares equal to 0.0: -0.0 is dry too, and so
// is a NaN (an unordered comparison counts as equal).
inline bool is_dry(float value) {
    return !(value < 0.0F) && !(value > 0.0F);
}
// Only a value greater than 0.0 is the wet day of a transition; a negative
// value is not dry, but never "greater than zero" either.
inline bool is_positive(float value) {
    return value > 0.0F;
}

}  // namespace wgn
