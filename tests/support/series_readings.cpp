#include "series_readings.hpp"

#include "readers/read_station_file.hpp"
#include "series/precipitation_values.hpp"

namespace wgn::test_support {

std::string series_text(const series::WholeYearSeries& series) {
    const series::Coverage& c = series.coverage;
    return series::coverage_line(c, "") + "\n" + series::coverage_table(c) + std::to_string(c.trace_values) + " " +
           std::to_string(c.below_threshold) + "\n" + series.text;
}

std::string general_series(std::string_view text, const readers::ReadOptions& read,
                           std::optional<readers::Unit> pcp_unit, const series::SeriesOptions& options) {
    Result<readers::StationRecord> record = readers::read_station_file("a.csv", text, read);
    if (!record) return record.problem().message();
    if (const Result<series::MillimetreRead> done = series::millimetre_precipitation(
            *record, pcp_unit, readers::facts(read.format).fixes_pcp_unit, "a.csv", read.settings);
        !done)
        return done.problem().message();
    const Result<series::WholeYearSeries> series =
        series::make_whole_years(record->variables[readers::Variable::pcp], options);
    return series ? series_text(*series) : series.problem().message();
}

}  // namespace wgn::test_support
