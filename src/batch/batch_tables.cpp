#include "batch/batch_tables.hpp"

#include <array>

#include "batch/record_intervals.hpp"
#include "modelfiles/model_files.hpp"
#include "modelfiles/model_fit.hpp"
#include "readers/csv.hpp"
#include "readers/number_text.hpp"
#include "text/csv_writing.hpp"
#include "text/plain_text.hpp"

namespace wgn::batch {

using text::csv_line;

namespace {

// userwgn's column stems, in the report's column order.
constexpr std::array<std::string_view, kParameterCount> kUserwgnStems = {"PCPMM",  "PCPSTD", "PCPSKW",
                                                                         "PR_W1_", "PR_W2_", "PCPD"};

std::string userwgn_column(std::size_t parameter, std::size_t month) {
    return std::string(kUserwgnStems[parameter]) + std::to_string(month + 1);
}

// What a report of a plain series tells of its coverage; nothing when a
// count is not shown (asterisks).
std::optional<series::Coverage> plain_coverage(const ReportFigures& figures) {
    const auto first = readers::whole_number(figures.first_year), years = readers::whole_number(figures.years);
    const auto records = readers::whole_number(figures.records);
    const auto missing = readers::whole_number(figures.nodata_values);
    if (!first || !years || !records || !missing) return std::nullopt;
    series::Coverage coverage;
    coverage.first_year = *first;
    coverage.last_year = *first + *years - 1;
    coverage.days = *records;
    coverage.missing_days = *missing;
    return coverage;
}

// format, period, missing_days, missing_percent, flagged_values,
// below_threshold, trace_values, incomplete_years, years_outside.  A plain
// series shows what its report counted: the years from the first on and its
// NoData values.  below_threshold is empty for a station without a wet-day
// threshold, trace_values for a record that did not count them.
void coverage_cells(const Station& station, const StationOutcome& outcome, std::vector<std::string>& row) {
    row.emplace_back(readers::name(station.format));
    if (outcome.coverage) {
        const series::Coverage& coverage = *outcome.coverage;
        const std::string below = station.pcp_threshold.empty() ? "" : std::to_string(coverage.below_threshold);
        const std::string traces = coverage.trace_values < 0 ? "" : std::to_string(coverage.trace_values);
        row.insert(row.end(), {series::period_text(coverage), std::to_string(coverage.missing_days),
                               series::missing_percent_text(coverage), std::to_string(coverage.flagged_values), below,
                               traces, series::incomplete_years_text(coverage), series::outside_years_text(coverage)});
    } else if (const auto plain = outcome.figures ? plain_coverage(*outcome.figures) : std::nullopt;
               plain && !station.dated()) {
        const series::Coverage& coverage = *plain;
        const ReportFigures& figures = *outcome.figures;
        row.insert(row.end(), {series::period_text(coverage), figures.nodata_values,
                               series::missing_percent_text(coverage), "0", "", "", "", ""});
    } else {
        row.insert(row.end(), 8, std::string());
    }
}

// model_name, lat, lon, elev, rain_yrs, pcp_hhr, missing_variables, filled_variables,
// model_files (empty when the station is in them all, else why not in which),
// model_changes, model_notes (their counts), model_details (their texts),
// units (those converted from, and how humidity's was told), refused_variables,
// swat2012_wgn (the station's .wgn under its SWAT 2012 name), fill_station
// (the reference station taken) and fill_km (its distance, with fill_station
// nearest).
void weather_cells(const Station& station, const StationOutcome& outcome, std::string_view swat2012_file,
                   std::vector<std::string>& row) {
    row.push_back(modelfiles::model_name(station.name));
    if (!outcome.weather) {
        row.insert(row.end(), 13, std::string());
        if (!outcome.ok()) row[row.size() - 6] = "the station failed";
        row.emplace_back(swat2012_file);
        row.insert(row.end(), 2, std::string());
        return;
    }
    const weather::WeatherRecord& record = *outcome.weather;
    std::string missing, filled, notes;
    for (const std::string& name : record.missing_variables) missing.append(missing.empty() ? "" : " ").append(name);
    for (const std::string& name : record.filled_variables) filled.append(filled.empty() ? "" : " ").append(name);
    for (const weather::ModelNote& note : outcome.model_notes)
        notes.append(notes.empty() ? "" : "; ").append(note.text);
    row.insert(row.end(), {record.latitude.text(), record.longitude.text(), record.elevation.text(),
                           record.rain_yrs.text(), record.hhr_estimated ? "estimated" : "measured", missing, filled,
                           outcome.ok() ? modelfiles::model_fit(station.name, record).reason : "the station failed",
                           std::to_string(weather::count_of(outcome.model_notes, weather::NoteKind::change)),
                           std::to_string(weather::count_of(outcome.model_notes, weather::NoteKind::note)), notes});
    std::string units, refused;
    for (const std::string& unit : record.units) units.append(units.empty() ? "" : "; ").append(unit);
    for (const std::string& why : record.refused) refused.append(refused.empty() ? "" : "; ").append(why);
    row.insert(row.end(), {units, refused, std::string(swat2012_file), record.fill_station, record.fill_km});
}

// The six values of each month the tables take: the station's own
// (station_precipitation.hpp), else (a record of an earlier version) the report's.
const std::array<std::array<std::string, kParameterCount>, 12>& table_values(const StationOutcome& outcome) {
    return outcome.precipitation ? outcome.precipitation->values : outcome.figures->values;
}

// The days made missing as outliers, "pcp 2; slr 1": a station of a dated
// file or of the complete record may have some (a plain series goes to
// wgnrain as it is).
constexpr std::string_view kOutliersColumn = "outlier_days";
bool has_outlier_days(const StationList& list) {
    return list.dated_columns || list.weather_columns;
}

}  // namespace

std::string values_not_shown(const ReportFigures& figures) {
    std::string names;
    for (std::size_t p = 0; p < kParameterCount; ++p) {
        for (std::size_t m = 0; m < 12; ++m) {
            if (!figures.values[m][p].empty()) continue;
            if (!names.empty()) names.push_back(' ');
            names.append(userwgn_column(p, m));
        }
    }
    return names;
}

std::string summary_header(const StationList& list) {
    std::vector<std::string> header = {"station",       "status",           "file",       "first_year",    "nodata",
                                       "years",         "leap_years",       "records",    "nodata_values", "warnings",
                                       "first_warning", "values_not_shown", "report_line"};
    if (list.dated_columns) {
        header.insert(header.end(), {"format", "period", "missing_days", "missing_percent", "flagged_values",
                                     "below_threshold", "trace_values", "incomplete_years", "years_outside"});
    }
    if (list.weather_columns) {
        header.insert(header.end(), {"model_name", "lat", "lon", "elev", "rain_yrs", "pcp_hhr", "missing_variables",
                                     "filled_variables", "model_files", "model_changes", "model_notes", "model_details",
                                     "units", "refused_variables", "swat2012_wgn", "fill_station", "fill_km"});
    }
    // The notes on the intervals and the outlier days come last of all,
    // after the list's own columns, where the readers of a summary without
    // them find nothing moved.
    constexpr std::string_view kNotesColumn = "interval_notes";
    // Which values the tables and model files took, last of all for every list.
    constexpr std::string_view kPcpValuesColumn = "pcp_values";
    // A column of the list with the name of one of the summary's own is
    // carried under another: list_status.
    for (const std::string& extra : list.extra_columns) {
        const std::string name = text::lower_case(extra);
        bool taken = (list.weather_columns && name == kNotesColumn) || name == kPcpValuesColumn ||
                     (has_outlier_days(list) && name == kOutliersColumn);
        for (const std::string& own : header) taken = taken || text::lower_case(own) == name;
        header.push_back(taken ? "list_" + extra : extra);
    }
    if (list.weather_columns) header.emplace_back(kNotesColumn);
    header.emplace_back(kPcpValuesColumn);
    if (has_outlier_days(list)) header.emplace_back(kOutliersColumn);
    return csv_line(header);
}

std::string summary_row(const StationList& list, const Station& station, const StationOutcome& outcome,
                        std::string_view swat2012_file) {
    std::vector<std::string> row = {station.name, outcome.status.summary(), station.file, station.first_year,
                                    station.nodata};
    if (outcome.figures) {
        const ReportFigures& figures = *outcome.figures;
        row.insert(row.end(), {figures.years, figures.leap_years, figures.records, figures.nodata_values});
    } else {
        row.insert(row.end(), 4, std::string());
    }
    row.push_back(std::to_string(outcome.warnings));
    row.push_back(outcome.first_warning);
    row.push_back(outcome.figures ? values_not_shown(*outcome.figures) : std::string());
    row.push_back(outcome.report_line);
    if (list.dated_columns) coverage_cells(station, outcome, row);
    if (list.weather_columns) weather_cells(station, outcome, swat2012_file, row);
    row.insert(row.end(), station.extra.begin(), station.extra.end());
    if (list.weather_columns) {
        row.push_back(outcome.weather && outcome.intervals ? interval_notes(*outcome.intervals, *outcome.weather)
                                                           : std::string());
    }
    row.push_back(outcome.ok() && outcome.precipitation ? pcp_values_text(*outcome.precipitation) : std::string());
    if (has_outlier_days(list)) row.push_back(readers::outlier_counts(outcome.outlier_days));
    return csv_line(row);
}

std::string userwgn_header() {
    std::vector<std::string> header = {"STATION"};
    for (std::size_t p = 0; p < kParameterCount; ++p) {
        for (std::size_t m = 0; m < 12; ++m) header.push_back(userwgn_column(p, m));
    }
    return csv_line(header);
}

std::string userwgn_row(const Station& station, const StationOutcome& outcome) {
    if (!outcome.ok() || !outcome.figures) return {};
    std::vector<std::string> row = {station.name};
    for (std::size_t p = 0; p < kParameterCount; ++p) {
        for (std::size_t m = 0; m < 12; ++m) row.push_back(table_values(outcome)[m][p]);
    }
    return csv_line(row);
}

std::string monthly_header() {
    // SWAT+ orders the two probabilities wet-after-dry, wet-after-wet, as
    // the report does.
    return csv_line({"wgn_id", "month", "pcp_ave", "pcp_sd", "pcp_skew", "wet_dry", "wet_wet", "pcp_days"});
}

std::string monthly_rows(const Station& station, const StationOutcome& outcome) {
    if (!outcome.ok() || !outcome.figures) return {};
    std::string rows;
    for (std::size_t m = 0; m < 12; ++m) {
        std::vector<std::string> row = {station.name, std::to_string(m + 1)};
        const auto& values = table_values(outcome)[m];
        row.insert(row.end(), values.begin(), values.end());
        rows.append(csv_line(row));
    }
    return rows;
}

std::string intervals_header() {
    return csv_line({"station", "month", "variable", "value", "low", "high"});
}

std::string intervals_rows(const Station& station, const StationOutcome& outcome) {
    if (!outcome.ok() || !outcome.weather || !outcome.intervals) return {};
    std::string rows;
    for (std::size_t m = 0; m < 12; ++m) {
        for (std::size_t c = 0; c < weather::kColumns.size(); ++c) {
            rows.append(csv_line({station.name, std::to_string(m + 1), weather::kColumns[c],
                                  outcome.weather->values[m][c].text(), outcome.intervals->low[m][c],
                                  outcome.intervals->high[m][c]}));
        }
    }
    return rows;
}

}  // namespace wgn::batch
