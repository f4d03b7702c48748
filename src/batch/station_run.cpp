#include "batch/station_run.hpp"

#include <chrono>
#include <thread>

#include "batch/page_station.hpp"
#include "batch/station_findings.hpp"
#include "batch/station_record.hpp"
#include "batch/station_weather.hpp"
#include "io/file_names.hpp"
#include "io/platform.hpp"
#include "io/wgnrain_facts.hpp"
#include "io/whole_files.hpp"
#include "modelfiles/model_files.hpp"
#include "modelfiles/model_fit.hpp"
#include "readers/number_text.hpp"
#include "readers/read_station_file.hpp"
#include "series/precipitation_values.hpp"

namespace wgn::batch {

using io::read_whole_file;
using io::replace_whole_file;
using io::write_whole_file;

namespace {

namespace platform = io::platform;

constexpr std::string_view kReportName = "report.txt";

// Reads a dated station file and places its precipitation on whole years.
series::WholeYearSeries make_series(const Station& station, const std::string& nodata, readers::StationRecord& record,
                                    std::string& problem) {
    const platform::ResolvedName file = platform::resolve_file_name(station.input_name);
    std::string text;
    int error = 0;
    if (!read_whole_file(file, text, error)) {
        problem = "cannot read " + file.shown + ": " + platform::reason_text(error);
        return {};
    }
    readers::ReadOptions options;
    options.format = readers::format_named(station.format).value();
    options.nodata = readers::facts(options.format).honours_nodata ? nodata : std::string();
    if (!station.pcp_column.empty()) options.columns["pcp"] = station.pcp_column;
    Result<readers::StationRecord> read = readers::read_station_file(file.shown, text, options);
    if (!read) {
        problem = read.problem().message();
        return {};
    }
    // Precipitation (and half-hour rain) in millimetres, every day plausible.
    problem = series::millimetre_precipitation(
        *read, readers::unit_named(readers::Quantity::kPrecipitation, station.pcp_unit), file.shown);
    if (!problem.empty()) return {};
    series::SeriesOptions bounds;
    if (!station.first_year.empty()) bounds.first_year = readers::whole_number(station.first_year);
    if (!station.last_year.empty()) bounds.last_year = readers::whole_number(station.last_year);
    bounds.nodata = nodata;
    // The precipitation is kept for the complete record: the series gets a copy.
    series::WholeYearSeries series = series::make_whole_years(read->variables[readers::kPrecipitation], bounds);
    record = std::move(*read);
    if (!series.problem.empty()) problem = series::problem_text(file.shown, series);
    return series;
}

}  // namespace

std::string dialogue_answers(std::string_view series, std::string_view first_year, std::string_view nodata) {
    std::string answers = "\"";
    for (const char c : series) {
        if (c == '"') answers.push_back('"');
        answers.push_back(c);
    }
    const std::string_view line_end = platform::kLineEnd;
    answers.append("\"").append(line_end);
    answers.append(kReportName).append(line_end);
    answers.append(first_year).append(line_end);
    answers.append(nodata).append(line_end);
    return answers;
}

void read_failure(std::string_view errors, StationOutcome& outcome) {
    std::string_view last;
    while (!errors.empty()) {
        const std::size_t end = errors.find('\n');
        std::string_view line = errors.substr(0, end);
        errors.remove_prefix(end == std::string_view::npos ? errors.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) continue;
        if (facts::is_warning_line(line)) {
            if (outcome.warnings++ == 0) outcome.first_warning = line;
            continue;
        }
        last = line;
        if (line.find(facts::kMathFailureMark) != std::string_view::npos) {
            outcome.status = facts::kMathFailureMark;
            continue;
        }
        if (const auto number = facts::report_number(line)) outcome.status = *number;
    }
    outcome.report_line = last;
    // A failure on a month file is about the series, not about a file of the user's.
    if (facts::names_month_file(last)) {
        outcome.report_line.append(" (wgnrain's own month file, a temporary file of the run)");
    }
}

StationOutcome run_station(const std::string& program, const std::string& output_folder, const Station& station,
                           const std::string& key, bool complete_record) {
    StationOutcome outcome;
    const std::string folder_name = platform::name_inside(output_folder, station.name);
    const platform::ResolvedName folder = platform::resolve_file_name(folder_name);
    const auto in_folder = [&](std::string_view name) {
        return platform::resolve_file_name(platform::name_inside(folder_name, name));
    };
    int error = 0;
    const auto not_started = [&](std::string why) {
        outcome.status = "not started";
        outcome.report_line = std::move(why);
        return outcome;
    };
    const auto cannot_prepare = [&] {
        return not_started("cannot prepare " + folder.shown + ": " + io::failure_reason(folder, error));
    };
    if (key.empty()) return not_started("cannot read " + station.input_name);
    if (folder.report != 0 || !platform::make_folder(folder, error)) return cannot_prepare();
    // Results of an earlier batch must not pass for this run's: the record
    // goes first, so that a run cut short anywhere is run again.
    for (const std::string_view old :
         {kRecordName, kReportName, std::string_view("mean_pcp.sta"), std::string_view("totalpcp.sta"),
          std::string_view("status.txt"), std::string_view("series.txt"), std::string_view("coverage.csv")}) {
        platform::remove_file(in_folder(old));
    }
    platform::remove_file(in_folder(station.name + ".wgn"));
    // A batch killed outright may have left a file half written under its scratch name.
    io::remove_scratch_files(folder_name);
    platform::remove_file(in_folder(kPictureName));
    // Only a run that ended by itself leaves a record; the exit is "-" when
    // wgnrain never ran.
    const auto finished = [&](std::string_view exit) {
        if (!replace_whole_file(in_folder(kRecordName), record_text(key, exit, outcome), error, false)) {
            return not_started("cannot write the record " + in_folder(kRecordName).shown + ": " +
                               platform::reason_text(error));
        }
        return outcome;
    };

    readers::StationRecord own;
    std::string series_name = station.input_name;
    std::string first_year = station.first_year;
    std::string nodata = station.nodata;
    if (station.dated()) {
        // The dated file becomes the whole-year series wgnrain reads.
        if (nodata.empty()) nodata = kDefaultNodata;
        std::string problem;
        series::WholeYearSeries series = make_series(station, nodata, own, problem);
        if (!problem.empty()) {
            outcome.status = "bad file";
            outcome.report_line = problem;
            return finished("-");
        }
        const platform::ResolvedName series_file = in_folder("series.txt");
        if (!replace_whole_file(series_file, series.text, error, false) ||
            !replace_whole_file(in_folder("coverage.csv"), series::coverage_table(series.coverage), error, false)) {
            return cannot_prepare();
        }
        series_name = series_file.shown;
        first_year = std::to_string(series.coverage.first_year);
        outcome.coverage = std::move(series.coverage);
    }
    const platform::ResolvedName answers = in_folder("answers.txt");
    if (!write_whole_file(answers, dialogue_answers(series_name, first_year, nodata), error)) return cannot_prepare();

    const platform::ResolvedName errors_file = in_folder("stderr.txt");
    const auto start = [&] {
        return platform::run_child(program, folder, answers, in_folder("console.txt"), errors_file);
    };
    platform::ChildRun run = start();
    // A machine short of memory or processes for a moment gets a second chance.
    if (!run.started && platform::transient_start_failure(run.error)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        run = start();
    }
    if (!run.started) return not_started(platform::reason_text(run.error));

    std::string errors;
    read_whole_file(errors_file, errors, error);
    read_failure(errors, outcome);
    const bool succeeded = run.status == 0 && run.signal == 0;
    if (!succeeded &&
        (platform::console_event_noted() >= 0 || outcome.status == "200" || platform::ended_from_outside(run))) {
        // Ended by an interruption (the batch's, or one that reached the
        // child first): no record, it runs again.
        outcome.status = "interrupted";
        return outcome;
    }
    if (!succeeded) {
        if (outcome.status.empty()) outcome.status = platform::exit_text(run);
        return finished(platform::exit_text(run));
    }
    outcome.report_line.clear();
    std::string text;
    if (read_whole_file(in_folder(kReportName), text, error)) outcome.figures = read_report(text);
    if (!outcome.figures) {
        outcome.status = "no report";
        outcome.report_line = in_folder(kReportName).shown + " is not a complete report";
        return finished(platform::exit_text(run));
    }
    outcome.ok = true;
    outcome.status = "ok";
    if (complete_record) {
        // The other variables, the position and the model's view of the numbers,
        // over the series' own period: the report shows its years as *** from
        // 1,000 on.  A plain series' last year comes from its values.
        const int first =
            outcome.coverage ? outcome.coverage->first_year : readers::whole_number(station.first_year).value_or(0);
        const int last = outcome.coverage ? outcome.coverage->last_year : 0;
        std::string problem;
        std::optional<StationWeather> weather =
            station_weather(station, station.dated() ? &own : nullptr, first, last, *outcome.figures, problem);
        if (!weather) {
            outcome.ok = false;
            outcome.status = "bad file";
            outcome.report_line = problem;
            return finished(platform::exit_text(run));
        }
        if (const std::string line =
                findings_line(station.name, {weather->notes, weather->record.refused, weather->record.position_problem},
                              platform::name_inside(output_folder, kSummaryName));
            !line.empty()) {
            platform::write_error_output(line);
        }
        if (modelfiles::model_fit(station.name, weather->record).in[modelfiles::kWgnFile] &&
            !replace_whole_file(in_folder(station.name + ".wgn"),
                                modelfiles::wgn_file(station.name, weather->record, WGNRAIN_VERSION), error, false)) {
            return not_started("cannot write " + in_folder(station.name + ".wgn").shown + ": " +
                               platform::reason_text(error));
        }
        outcome.weather = std::move(weather->record);
        outcome.model_notes = std::move(weather->notes);
    }
    // The station's charts, for a report or a thesis.
    if (!replace_whole_file(in_folder(kPictureName), page::station_picture(page_station(station, outcome, folder_name)),
                            error, false)) {
        return not_started("cannot write " + in_folder(kPictureName).shown + ": " + platform::reason_text(error));
    }
    return finished(platform::exit_text(run));
}

}  // namespace wgn::batch
