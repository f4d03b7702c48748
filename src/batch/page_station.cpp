#include "batch/page_station.hpp"

#include "io/platform.hpp"
#include "io/whole_files.hpp"
#include "modelfiles/model_files.hpp"
#include "modelfiles/model_fit.hpp"
#include "readers/csv.hpp"
#include "readers/number_text.hpp"

namespace wgn::batch {
namespace {

namespace platform = io::platform;

// coverage.csv: year,jan,...,dec,total
void read_coverage(const std::string& folder, page::PageStation& shown) {
    std::string text;
    int error = 0;
    if (!io::read_whole_file(platform::resolve_file_name(platform::name_inside(folder, "coverage.csv")), text, error))
        return;
    const Result<readers::CsvText> csv = readers::parse_csv(text);
    if (!csv) return;
    for (std::size_t r = 1; r < csv->rows.size(); ++r) {
        const std::vector<std::string>& fields = csv->rows[r].fields;
        if (fields.size() < 14) return;
        if (r == 1) shown.coverage_first_year = readers::whole_number(fields[0]).value_or(0);
        std::array<int, 12> months{};
        for (std::size_t m = 0; m < 12; ++m) months[m] = readers::whole_number(fields[m + 1]).value_or(0);
        shown.coverage.push_back(months);
    }
}

}  // namespace

page::PageStation page_station(const Station& station, const StationOutcome& outcome, const std::string& folder) {
    page::PageStation shown;
    shown.name = station.name;
    shown.status = outcome.status.summary();
    shown.ok = outcome.ok();
    shown.report_line = outcome.report_line;
    shown.warnings = outcome.warnings;
    shown.first_warning = outcome.first_warning;
    shown.notes = outcome.model_notes;
    shown.outlier_days = readers::outlier_list(outcome.outlier_days);
    if (outcome.weather) {
        if (const std::string written = modelfiles::model_name(station.name); written != station.name)
            shown.model_name = written;
        shown.refused = outcome.weather->refused;
        shown.latitude = outcome.weather->latitude.text();
        shown.longitude = outcome.weather->longitude.text();
        if (!outcome.weather->position_problem.empty())
            shown.refused.push_back("no position: " + outcome.weather->position_problem);
    }
    if (outcome.coverage) {
        shown.period = series::period_text(*outcome.coverage);
        shown.missing_percent = series::missing_percent_text(*outcome.coverage);
        shown.years_outside = series::outside_years_text(*outcome.coverage);
        shown.pcp_threshold = station.pcp_threshold;
        shown.below_threshold = outcome.coverage->below_threshold;
        if (!outcome.coverage->missing.empty()) {
            shown.coverage_first_year = outcome.coverage->first_year;
            shown.coverage = outcome.coverage->missing;
        } else {
            read_coverage(folder, shown);
        }
    } else if (outcome.figures) {
        const auto first = readers::whole_number(outcome.figures->first_year);
        const auto years = readers::whole_number(outcome.figures->years);
        if (first && years) shown.period = std::to_string(*first) + "-" + std::to_string(*first + *years - 1);
        const auto records = readers::whole_number(outcome.figures->records);
        const auto missing = readers::whole_number(outcome.figures->nodata_values);
        if (records && missing && *records > 0) {
            series::Coverage coverage;
            coverage.days = *records;
            coverage.missing_days = *missing;
            shown.missing_percent = series::missing_percent_text(coverage);
        }
    }
    if (outcome.weather) {
        for (std::size_t m = 0; m < 12; ++m) {
            for (std::size_t c = 0; c < weather::kColumns.size(); ++c)
                shown.values[m][c] = outcome.weather->values[m][c].text();
        }
    } else if (outcome.precipitation || outcome.figures) {
        const auto& values = outcome.precipitation ? outcome.precipitation->values : outcome.figures->values;
        for (std::size_t m = 0; m < 12; ++m) {
            for (std::size_t p = 0; p < kParameterCount; ++p) shown.values[m][4 + p] = values[m][p];
        }
    }
    if (outcome.weather && outcome.intervals) {
        shown.low = outcome.intervals->low;
        shown.high = outcome.intervals->high;
        shown.interval_notes = interval_notes(*outcome.intervals, *outcome.weather);
    }
    if (outcome.figures) shown.files = {"report.txt", "mean_pcp.sta", "totalpcp.sta"};
    if (outcome.coverage) shown.files.insert(shown.files.end(), {"series.txt", "coverage.csv"});
    if (outcome.ok() && outcome.weather &&
        modelfiles::model_fit(station.name, *outcome.weather).in[modelfiles::kWgnFile])
        shown.files.push_back(station.name + ".wgn");
    if (outcome.ok()) shown.files.emplace_back(kPictureName);
    shown.files.insert(shown.files.end(), {"run.txt", "stderr.txt"});
    return shown;
}

}  // namespace wgn::batch
