#include "batch/station_precipitation.hpp"

#include "io/platform.hpp"
#include "io/whole_files.hpp"
#include "readers/read_station_file.hpp"

namespace wgn::batch {

StationPrecipitation station_precipitation(const ReportFigures& figures, const weather::SeriesMonths* months) {
    StationPrecipitation precipitation;
    weather::PrecipitationValues counted;
    if (months != nullptr) {
        counted = weather::gap_aware_values(*months);
        precipitation.values = counted.values;
        precipitation.gap_aware = true;
        precipitation.missing_days = counted.missing_days;
        // A month without a missing day has wgnrain's own definitions: it
        // keeps the report's digits, but for a February of 28 leap years or
        // more, which the report divides by a year too many.
        long february = 0;
        for (const auto& year : *months) february += static_cast<long>(year[1].days.size());
        const bool february_right = february / 28 == static_cast<long>(months->size());
        for (std::size_t m = 0; m < 12; ++m) {
            if (counted.missing_in_month[m] == 0 && (m != 1 || february_right))
                precipitation.values[m] = figures.values[m];
        }
    } else {
        for (std::size_t m = 0; m < 12; ++m) precipitation.values[m] = figures.values[m];
    }
    precipitation.model_months = weather::months_for_model(precipitation.values, months ? &counted : nullptr);
    weather::write_for_model(precipitation.values, precipitation.model_months);
    return precipitation;
}

std::string pcp_values_text(const StationPrecipitation& precipitation) {
    if (!precipitation.gap_aware) return "report";
    return "gap-aware (" + std::to_string(precipitation.missing_days) + " missing day" +
           (precipitation.missing_days == 1 ? ")" : "s)");
}

Result<StationPrecipitation> read_station_precipitation(const Station& station, const ReportFigures& figures,
                                                        std::string_view series_text, std::string_view nodata,
                                                        int first_year, int last_year, long missing_days) {
    if (missing_days == 0 || first_year == 0) return station_precipitation(figures, nullptr);
    // The series read again as the plain series it is: one value a line from
    // 1 January, a missing day its NoData value.
    std::string from_disk;
    std::string shown = "the series";
    if (series_text.empty()) {
        const io::platform::ResolvedName file = io::platform::resolve_file_name(station.input_name);
        shown = file.shown;
        if (int error = 0; !io::read_whole_file(file, from_disk, error))
            return problem_text("cannot read " + file.shown + ": " + io::platform::reason_text(error));
        series_text = from_disk;
    }
    readers::ReadOptions options = read_options(station, nodata);
    options.format = readers::Format::plain;
    options.first_year = first_year;
    Result<readers::StationRecord> read = readers::read_station_file(shown, series_text, options);
    if (!read) return read.problem();
    const std::vector<readers::DailyValue>& days = read->variables[readers::Variable::pcp];
    if (last_year == 0) last_year = first_year + static_cast<int>(days.size() / 365) - 1;
    if (last_year < first_year) return station_precipitation(figures, nullptr);
    const weather::SeriesMonths months = weather::series_months(first_year, last_year, days);
    if (weather::missing_days(months) == 0) return station_precipitation(figures, nullptr);
    return station_precipitation(figures, &months);
}

}  // namespace wgn::batch
