#include "stats/month_moments.hpp"

#include <cmath>
#include <cstdint>

#include "io/checked_math.hpp"

namespace wgn {

void month_moments(std::span<const float> values, int month, MonthStatistics& table) {
    const auto m = static_cast<std::size_t>(month);
    const auto n = static_cast<double>(values.size());

    // 1-2. Single-precision running sums of the values and of their squares;
    //      the square is exact in double, only the sum is rounded.
    float sum = 0.0F;
    float sum_sq = 0.0F;
    for (const float x : values) {
        sum += x;
        sum_sq = static_cast<float>(static_cast<double>(sum_sq) + static_cast<double>(x) * static_cast<double>(x));
    }

    // 3. Standard deviation in double precision.  For a month of equal values
    //    the rounding of the two sums alone can make the numerator slightly
    //    negative although no variance is; that is taken as 0.  A NaN (or
    //    -infinity) is no rounding artefact: the root of it ends the run.
    double numerator = n * static_cast<double>(sum_sq) - static_cast<double>(sum) * static_cast<double>(sum);
    if (numerator < 0.0 && std::isfinite(numerator)) numerator = 0.0;
    const double denominator = (n - 1.0) * n;
    table.PCPSTD[m] = static_cast<float>(io::checked_sqrt(numerator / denominator));

    // 4. Sum of the cubed deviations from the stored mean.
    const double mean = table.mean_daily[m];
    float sum_cube = 0.0F;
    for (const float x : values) {
        const double d = static_cast<double>(x) - mean;
        sum_cube = static_cast<float>(static_cast<double>(sum_cube) + (d * d) * d);
    }

    // 5. Skew, factors multiplied in this order.  (n - 1)(n - 2) is formed in
    //    64 bits: the same value as a 32-bit product wherever that one holds.
    const std::int64_t count = static_cast<std::int64_t>(values.size());
    const auto pairs_product = static_cast<double>((count - 1) * (count - 2));
    const double s = table.PCPSTD[m];
    table.PCPSKW[m] = static_cast<float>((n * static_cast<double>(sum_cube)) / (((s * s) * s) * pairs_product));
}

}  // namespace wgn
