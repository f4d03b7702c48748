#include "driver/run_analysis.hpp"

#include "driver/shared_records.hpp"
#include "input/ask_settings.hpp"
#include "input/read_daily_series.hpp"
#include "io/units.hpp"
#include "partition/split_into_months.hpp"
#include "report/write_monthly_series.hpp"
#include "report/write_report.hpp"
#include "stats/analyse_month.hpp"

namespace wgn {

void run_analysis() {
    RunSettings& settings = run_settings;
    SeriesCounts& counts = series_counts;

    // 1-2. The four answers, then the notice that the work begins.
    ask_settings(settings.first_year, settings.nodata_value);
    io::write_list_record(io::kConsoleOutput, "wait ...");

    // 3-4. The series, then its month files and grids.
    read_daily_series(counts.record_count, counts.year_count, settings.nodata_value, counts.nodata_count);
    split_into_months(settings.first_year, counts.year_count, counts.leap_year_count);

    // 5. The months in calendar order; February's file holds one more value
    //    per leap year.
    for (int month = 1; month <= 12; ++month) {
        const MonthEntry& entry = kMonthTable[static_cast<std::size_t>(month - 1)];
        std::int32_t n = entry.nominal_days * counts.year_count;
        if (month == 2) n += counts.leap_year_count;
        analyse_month(n, entry.nominal_days, month, entry.unit);
    }

    // 6-7. The outputs.
    write_report(counts.year_count, settings.first_year, counts.leap_year_count, counts.record_count,
                 counts.nodata_count);
    write_monthly_series(counts.year_count, settings.first_year);

    // 8. Release the arrays.
    DailySeries = std::vector<float>();
    MonthlyMeanGrid.release();
    MonthlyTotalGrid.release();
}

}  // namespace wgn
