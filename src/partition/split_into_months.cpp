#include "partition/split_into_months.hpp"

#include <cstdlib>
#include <span>

#include "driver/shared_records.hpp"
#include "io/units.hpp"
#include "partition/calendar.hpp"

namespace wgn {

void split_into_months(std::int32_t first_year, std::int32_t year_count, std::int32_t& leap_year_count) {
    static const io::FieldList month_file_record("(F12.2)");

    // 1. Twelve private scratch files; the names only label the connections.
    for (const MonthEntry& entry : kMonthTable) io::connect(entry.unit, entry.connection_name, "SCRATCH");

    // 2-3. Start of the walk.
    std::size_t day = 0;
    leap_year_count = 0;
    float month_sum = 0.0F;
    std::int32_t calendar_year = first_year;

    // 4. Year by year, month by month.  Each value is written (rounded to
    //    hundredths by the field) before it is added, unrounded, to the month
    //    sum; the sum is single precision, rounded after every addition.
    for (std::int32_t year = 1; year <= year_count; ++year) {
        for (int month = 1; month <= 12; ++month) {
            const MonthEntry& entry = kMonthTable[static_cast<std::size_t>(month - 1)];
            int days = entry.nominal_days;
            if (month == 2 && is_leap_year(calendar_year)) {
                ++leap_year_count;
                days = 29;
            }
            const float divisor = static_cast<float>(days);
            // The month's values lie one after another in the series.
            if (day + static_cast<std::size_t>(days) > DailySeries.size()) std::abort();  // refused when read
            const std::span<const float> month_values(DailySeries.data() + day, static_cast<std::size_t>(days));
            day += month_values.size();
            io::write_formatted_reals(entry.unit, month_file_record, month_values);
            for (const float value : month_values) month_sum += value;
            MonthlyMeanGrid.at(year, month) = static_cast<float>(static_cast<double>(month_sum) / divisor);
            MonthlyTotalGrid.at(year, month) = month_sum;
            month_sum = 0.0F;
        }
        calendar_year = following_year(calendar_year);
    }

    // 5. Back to the first record of every month file, January first.
    for (const MonthEntry& entry : kMonthTable) io::rewind_unit(entry.unit);
}

}  // namespace wgn
