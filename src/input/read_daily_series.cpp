#include "input/read_daily_series.hpp"

#include <array>
#include <cmath>
#include <string>
#include <string_view>

#include "driver/shared_records.hpp"
#include "input/series_checks.hpp"
#include "io/failure.hpp"
#include "io/units.hpp"
#include "io/wgnrain_facts.hpp"
#include "partition/calendar.hpp"

namespace wgn {
namespace {

constexpr int kInputUnit = 10;

// The values that the month walk takes: 365 a year plus one per leap day.
std::int64_t values_walked(std::int32_t year_count, std::int32_t first_year) {
    return std::int64_t{365} * year_count + leap_years_in(first_year, year_count);
}

// A series that is not made of whole calendar years can fall short of the
// values the walk takes (730 values from a leap year); it is refused before
// anything is written.
void refuse_short_series(std::int32_t record_count, std::int32_t year_count, std::int32_t first_year) {
    const std::int64_t needed = values_walked(year_count, first_year);
    if (record_count >= needed) return;
    io::write_runlib_line("the input file holds " + std::to_string(record_count) + " daily values, but its " +
                          std::to_string(year_count) + " calendar years from " + std::to_string(first_year) + " need " +
                          std::to_string(needed));
    io::fail_read(kInputUnit, io::ReadStatus::end_of_input);
}

}  // namespace

bool is_nodata(float value, float nodata_value) {
    return facts::is_nodata(value, nodata_value);
}

void read_daily_series(std::int32_t& record_count, std::int32_t& year_count, float nodata_value,
                       std::int32_t& nodata_count) {
    // 1-2. Start the sum and the counts; connect the input file.
    float sum = 0.0F;
    nodata_count = 0;
    io::connect(kInputUnit, run_settings.input_file_name, "UNKNOWN");
    record_count = 0;

    // 3. One pass: each read takes the first value of the next record (blank
    //    records are passed over) and discards the rest of it.  The values are
    //    kept as they are counted, so the series holds exactly the counted
    //    values, one per record.  A null value keeps the value before it.
    //    Each value is also checked for what the user probably did not mean.
    DailySeries.clear();
    SeriesChecks checks{nodata_value};
    const auto take = [&](float value, std::int64_t line, std::int64_t blank_lines, std::string_view rest) {
        const bool nodata = is_nodata(value, nodata_value);
        if (nodata)
            ++nodata_count;
        else
            sum += value;  // single-precision running sum
        note_value(checks, line, blank_lines, rest, value, nodata);
        DailySeries.push_back(value);
        ++record_count;
    };
    // Almost every record holds one plain number: runs of those are read at
    // once, each value exactly as its own read would give it; every other
    // record gets a read of its own.
    std::array<float, 1024> run{};
    float value = 0.0F;
    io::ReadExtent extent;
    io::ReadStatus stop = io::ReadStatus::ok;
    for (;;) {
        std::int64_t line = 0;
        const std::size_t count = io::read_plain_reals(kInputUnit, run, line);
        for (std::size_t i = 0; i < count; ++i) take(run[i], line + static_cast<std::int64_t>(i), 0, {});
        if (count == run.size()) continue;
        stop = io::read_real_with_status(kInputUnit, value, extent);
        if (stop != io::ReadStatus::ok) break;
        take(value, extent.last_record, extent.records - 1, extent.rest);
    }
    // Nothing readable at all: an empty file meets its end, a file whose first
    // record is no number fails on that record.
    if (record_count == 0) io::fail_read(kInputUnit, stop);
    if (stop != io::ReadStatus::end_of_input)
        note_stop(checks, extent.last_record, io::skip_remaining_records(kInputUnit));

    // 4. Mean of the valid values, divided in double and stored as single; a
    //    NaN when no valid value exists.
    const float mean = static_cast<float>(static_cast<double>(sum) / static_cast<double>(record_count - nodata_count));

    // 5. Whole years; leap days are not considered here.  What the checks
    //    found is said before anything can fail.
    year_count = record_count / 365;
    report_findings(checks, values_walked(year_count, run_settings.first_year), year_count, run_settings.first_year);
    refuse_short_series(record_count, year_count, run_settings.first_year);

    // 6. The grids, one row per year.
    MonthlyMeanGrid.allocate(year_count);
    MonthlyTotalGrid.allocate(year_count);

    // 7-9. Replace the NoData values by the mean.
    for (float& day : DailySeries)
        if (is_nodata(day, nodata_value)) day = mean;

    // 10. The input file remains unchanged.
    io::close_unit(kInputUnit);
}

}  // namespace wgn
