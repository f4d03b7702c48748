#include "stats/analyse_month.hpp"

#include <vector>

#include "io/units.hpp"
#include "stats/month_moments.hpp"

namespace wgn {
namespace {

// Quotient of two numbers formed in double precision and stored as single.
float divide(double numerator, double denominator) {
    return static_cast<float>(numerator / denominator);
}

// Counts the pairs (i, i + 1) that satisfy `counts`, skipping the pair after
// every `days`-th value: with blocks of `days` values per year that is the
// pair from the last day of one year to the first day of the next.  February
// blocks of leap years hold 29 values, so after a leap year the skipped
// pairs move off the year boundaries; that is how the pairs are defined.
template <typename Condition>
float count_transitions(std::span<const float> values, int days, Condition counts) {
    float pairs = 0.0F;  // single precision, like the stored counter
    int day_in_block = 1;
    for (std::size_t i = 0; i + 1 < values.size(); ++i) {
        ++day_in_block;
        if (day_in_block == days + 1) {
            day_in_block = 1;
            continue;
        }
        if (counts(values[i], values[i + 1])) pairs += 1.0F;
    }
    return pairs;
}

}  // namespace

void analyse_month_values(std::span<const float> values, int days, int month, MonthStatistics& table) {
    const auto m = static_cast<std::size_t>(month);
    const auto n = static_cast<std::int32_t>(values.size());

    // 1, 3. Dry days are those equal to zero; every other day is wet.
    std::int32_t dry_days = 0;
    for (const float value : values)
        if (is_dry(value)) ++dry_days;
    table.dry_days[m] = dry_days;
    table.wet_days[m] = n - dry_days;

    // 4-5. Wet after dry; the divisor counts every dry day of the month.
    table.wet_after_dry[m] =
        count_transitions(values, days, [](float first, float second) { return is_dry(first) && is_positive(second); });
    table.PR_W1[m] = divide(table.wet_after_dry[m], table.dry_days[m]);

    // 6-7. Wet after wet, over the same pairs.
    table.wet_after_wet[m] = count_transitions(
        values, days, [](float first, float second) { return is_positive(first) && is_positive(second); });
    table.PR_W2[m] = divide(table.wet_after_wet[m], table.wet_days[m]);

    // 8-9. Years covered, in integer division by the nominal days.
    const auto years_in_month = static_cast<float>(n / days);  // NOLINT(bugprone-integer-division): whole years
    table.PCPD[m] = divide(table.wet_days[m], years_in_month);

    // 10-12. Total in single precision, in file order.
    float month_total = 0.0F;
    for (const float value : values) month_total += value;
    table.PCP_MM[m] = divide(month_total, years_in_month);
    table.mean_daily[m] = divide(month_total, n);

    // 13. Standard deviation and skew.
    month_moments(values, month, table);
}

void analyse_month(std::int32_t n, int days, int month, int unit) {
    static const io::FieldList month_file_record("(F12.2)");
    // 2. One value from each of n records; an empty file ends the run.
    std::vector<float> values(static_cast<std::size_t>(n > 0 ? n : 0));
    io::read_formatted_reals(unit, month_file_record, values);
    analyse_month_values(values, days, month, month_statistics);
    // 14. Closing the scratch file deletes it.
    io::close_unit(unit);
}

}  // namespace wgn
