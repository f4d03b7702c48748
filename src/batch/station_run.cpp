#include "batch/station_run.hpp"

#include <chrono>
#include <memory>
#include <string_view>
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
#include "problem/problem.hpp"
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

// Reads a dated station file and places its precipitation on whole years;
// `millimetres` gets the unit it was in and the days made missing.
Result<series::WholeYearSeries> make_series(const Station& station, const std::string& nodata,
                                            readers::StationRecord& record, series::MillimetreRead& millimetres) {
    // A text held in memory goes by the name the list gave it.
    std::string shown = station.input_name;
    std::string from_disk;
    std::shared_ptr<const std::string> held;
    if (station.texts != nullptr) {
        Result<std::shared_ptr<const std::string>> given = station.texts->text(station);
        if (!given) return given.problem();
        held = std::move(*given);
    } else {
        const platform::ResolvedName file = platform::resolve_file_name(station.input_name);
        shown = file.shown;
        if (int error = 0; !read_whole_file(file, from_disk, error))
            return problem_text("cannot read " + file.shown + ": " + platform::reason_text(error));
    }
    const std::string_view text = held ? std::string_view(*held) : std::string_view(from_disk);
    Result<readers::StationRecord> read = readers::read_station_file(shown, text, read_options(station, nodata));
    if (!read) return read.problem();
    // Precipitation (and half-hour rain) in millimetres, every day plausible.
    Result<series::MillimetreRead> converted = series::millimetre_precipitation(
        *read, readers::unit_named(readers::Quantity::kPrecipitation, station.pcp_unit),
        readers::facts(station.format).fixes_pcp_unit || station.pcp_in_millimetres, shown);
    if (!converted) return converted.problem();
    millimetres = std::move(*converted);
    series::SeriesOptions bounds;
    if (!station.first_year.empty()) bounds.first_year = readers::whole_number(station.first_year);
    if (!station.last_year.empty()) bounds.last_year = readers::whole_number(station.last_year);
    bounds.nodata = nodata;
    bounds.pcp_threshold = station.pcp_threshold;
    // The precipitation is kept for the complete record: the series reads it
    // where it is.
    Result<series::WholeYearSeries> series = series::make_whole_years(read->variables[readers::Variable::pcp], bounds);
    record = std::move(*read);
    if (!series) return series.problem().in_file(shown);
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
            outcome.status = {StatusKind::report, std::string(facts::kMathFailureMark)};
            continue;
        }
        if (const auto number = facts::report_number(line)) outcome.status = {StatusKind::report, std::string(*number)};
    }
    outcome.report_line = last;
    // A failure on a month file is about the series, not about a file of the user's.
    if (facts::names_month_file(last)) {
        outcome.report_line.append(" (wgnrain's own month file, a temporary file of the run)");
    }
}

namespace {

// The station's folder and the names of its files.
struct StationFolder {
    std::string name;  // as the user gave the output folder
    platform::ResolvedName folder;

    platform::ResolvedName file(std::string_view file_name) const {
        return platform::resolve_file_name(platform::name_inside(name, file_name));
    }
};

// What the dialogue is given: the series and its answers, and, of a dated
// file, the record read and its coverage.
struct DialogueInput {
    std::string series_name;
    std::string first_year;
    std::string nodata;
    readers::StationRecord own;
    std::optional<series::Coverage> coverage;
    std::string series_text;             // a dated file's series, as written
    series::MillimetreRead millimetres;  // its precipitation's unit, and the period's days made missing
};

// An outcome that ends the station before or after its run.
StationOutcome ended(StatusKind kind, std::string why) {
    StationOutcome outcome;
    outcome.status = {kind, {}};
    outcome.report_line = std::move(why);
    return outcome;
}

std::string cannot_write(const platform::ResolvedName& file, int error) {
    return "cannot write " + file.shown + ": " + platform::reason_text(error);
}

// Makes the folder and removes the results of an earlier batch, which must
// not pass for this run's: the record goes first, so that a run cut short
// anywhere is run again.
Done prepare_folder(const StationFolder& at, const Station& station) {
    int error = 0;
    if (at.folder.report != 0 || !platform::make_folder(at.folder, error)) {
        return problem_text("cannot prepare " + at.folder.shown + ": " + io::failure_reason(at.folder, error));
    }
    for (const std::string_view old :
         {kRecordName, kReportName, std::string_view("mean_pcp.sta"), std::string_view("totalpcp.sta"),
          std::string_view("status.txt"), std::string_view("series.txt"), std::string_view("coverage.csv")}) {
        platform::remove_file(at.file(old));
    }
    platform::remove_file(at.file(station.name + ".wgn"));
    // A batch killed outright may have left a file half written under its scratch name.
    io::remove_scratch_files(at.name);
    platform::remove_file(at.file(kPictureName));
    return {};
}

// The dialogue's input and answers.txt: a plain series as the list gives
// it; a dated file becomes the whole-year series.txt (with coverage.csv)
// that wgnrain reads.  A problem of the file ends the station as a bad
// file; one of writing, as not started.
Result<DialogueInput> prepare_input(const StationFolder& at, const Station& station, StationOutcome& failure) {
    DialogueInput input{station.input_name, station.first_year, station.nodata, {}, std::nullopt, {}, {}};
    int error = 0;
    const auto cannot_prepare = [&] {
        failure = ended(StatusKind::not_started,
                        "cannot prepare " + at.folder.shown + ": " + io::failure_reason(at.folder, error));
        return problem_text(failure.report_line);
    };
    if (station.dated()) {
        if (input.nodata.empty()) input.nodata = kDefaultNodata;
        Result<series::WholeYearSeries> series = make_series(station, input.nodata, input.own, input.millimetres);
        if (!series) {
            failure = ended(StatusKind::bad_file, series.problem().message());
            return series.problem();
        }
        const platform::ResolvedName series_file = at.file("series.txt");
        if (!replace_whole_file(series_file, series->text, error, false) ||
            !replace_whole_file(at.file("coverage.csv"), series::coverage_table(series->coverage), error, false)) {
            return cannot_prepare();
        }
        input.series_name = series_file.shown;
        input.first_year = std::to_string(series->coverage.first_year);
        input.millimetres.outlier_days = series::outliers_within(input.millimetres.outlier_days, series->coverage);
        input.coverage = std::move(series->coverage);
        input.series_text = std::move(series->text);
    }
    if (!write_whole_file(at.file("answers.txt"), dialogue_answers(input.series_name, input.first_year, input.nodata),
                          error)) {
        return cannot_prepare();
    }
    return input;
}

// Starts wgnrain in the folder, up to three times more (after 0.2, 0.4 and
// 0.6 s) when the machine was short of memory or processes for a moment.
platform::ChildRun start_run(const std::string& program, const StationFolder& at) {
    const auto start = [&] {
        return platform::run_child(program, at.folder, at.file("answers.txt"), at.file("console.txt"),
                                   at.file("stderr.txt"));
    };
    platform::ChildRun run = start();
    for (int again = 1; again <= 3 && !run.started && platform::transient_start_failure(run.error); ++again) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200 * again));
        run = start();
    }
    return run;
}

// The complete record of a station that ran well: the other variables, the
// position and the model's view of the numbers, over the series' own period
// (the report shows its years as *** from 1,000 on; a plain series' last
// year comes from its values), and its .wgn file when the model takes it.
// A record that cannot be made ends the station as a bad file; a .wgn that
// cannot be written, as not written.
Done add_complete_record(const StationFolder& at, const Station& station, const std::string& output_folder,
                         DialogueInput& input, StationOutcome& outcome) {
    const int first =
        outcome.coverage ? outcome.coverage->first_year : readers::whole_number(station.first_year).value_or(0);
    const int last = outcome.coverage ? outcome.coverage->last_year : 0;
    Result<StationWeather> weather =
        station_weather(station, station.dated() ? &input.own : nullptr, first, last, *outcome.figures);
    if (!weather) {
        outcome.status = {StatusKind::bad_file, {}};
        outcome.report_line = weather.problem().message();
        return weather.problem();
    }
    if (const std::string line =
            findings_line(station.name, {weather->notes, weather->record.refused, weather->record.position_problem},
                          platform::name_inside(output_folder, kSummaryName));
        !line.empty()) {
        platform::write_error_output(line);
    }
    int error = 0;
    const platform::ResolvedName wgn = at.file(station.name + ".wgn");
    if (modelfiles::model_fit(station.name, weather->record).in[modelfiles::kWgnFile] &&
        !replace_whole_file(wgn, modelfiles::wgn_file(station.name, weather->record, WGNRAIN_VERSION), error, false)) {
        outcome = ended(StatusKind::not_written, cannot_write(wgn, error));
        return problem_text(outcome.report_line);
    }
    // The precipitation's unit converted from, named first; its outlier days
    // first, then those of the other variables.
    if (const readers::Unit unit = input.millimetres.unit; unit != readers::Unit::kMillimetre)
        weather->record.units.insert(weather->record.units.begin(), "pcp " + std::string(readers::unit_name(unit)));
    outcome.outlier_days.insert(outcome.outlier_days.end(), weather->record.outlier_days.begin(),
                                weather->record.outlier_days.end());
    outcome.weather = std::move(weather->record);
    outcome.model_notes = std::move(weather->notes);
    outcome.intervals = std::move(weather->intervals);
    outcome.precipitation = std::move(weather->precipitation);
    return {};
}

// The six values of a station without the complete record: the report's,
// or, where its period has missing days, the gap-aware ones from its series.
// A series that cannot be read day by day ends the station as a bad file.
Done add_precipitation(const Station& station, const DialogueInput& input, StationOutcome& outcome) {
    const ReportFigures& figures = *outcome.figures;
    int first = 0, last = 0;
    long missing = -1;
    if (outcome.coverage) {
        first = outcome.coverage->first_year;
        last = outcome.coverage->last_year;
        missing = outcome.coverage->missing_days;
    } else {
        first = readers::whole_number(station.first_year).value_or(0);
        missing = readers::whole_number(figures.nodata_values).value_or(-1);
        if (const auto years = readers::whole_number(figures.years)) last = first + *years - 1;
    }
    Result<StationPrecipitation> precipitation =
        read_station_precipitation(station, figures, input.series_text, input.nodata, first, last, missing);
    if (!precipitation) {
        outcome.status = {StatusKind::bad_file, {}};
        outcome.report_line = precipitation.problem().message();
        return precipitation.problem();
    }
    outcome.precipitation = std::move(*precipitation);
    return {};
}

// The outcome of a run that ended by itself, from its standard error and
// its report; an interruption (the batch's, or one that reached the child
// first) is told apart, as it leaves no record.
void read_run(const StationFolder& at, const platform::ChildRun& run, StationOutcome& outcome) {
    std::string errors;
    int error = 0;
    read_whole_file(at.file("stderr.txt"), errors, error);
    read_failure(errors, outcome);
    const bool succeeded = run.status == 0 && run.signal == 0;
    if (!succeeded) {
        if (platform::console_event_noted() >= 0 || outcome.status.is_report("200") ||
            platform::ended_from_outside(run)) {
            outcome.status = {StatusKind::interrupted, {}};
        } else if (outcome.status.is(StatusKind::none)) {
            outcome.status = {StatusKind::exit, platform::exit_text(run)};
        }
        return;
    }
    outcome.report_line.clear();
    std::string text;
    if (read_whole_file(at.file(kReportName), text, error)) outcome.figures = read_report(text);
    if (!outcome.figures) {
        outcome.status = {StatusKind::no_report, {}};
        outcome.report_line = at.file(kReportName).shown + " is not a complete report";
        return;
    }
    outcome.status = {StatusKind::ok, {}};
}

}  // namespace

StationOutcome run_station(const std::string& program, const std::string& output_folder, const Station& station,
                           const std::string& key, bool complete_record) {
    if (key.empty()) return ended(StatusKind::not_started, "cannot read " + station.input_name);
    const std::string folder_name = platform::name_inside(output_folder, station.name);
    const StationFolder at{folder_name, platform::resolve_file_name(folder_name)};
    if (const Done prepared = prepare_folder(at, station); !prepared) {
        return ended(StatusKind::not_started, prepared.problem().text);
    }
    // Only a run that ended by itself, and whose files were all written,
    // leaves a record; the exit is "-" when wgnrain never ran.
    const auto finished = [&](std::string_view exit, StationOutcome outcome) {
        int error = 0;
        const platform::ResolvedName record = at.file(kRecordName);
        if (!replace_whole_file(record, record_text(key, exit, outcome), error, false)) {
            return ended(StatusKind::not_written,
                         "cannot write the record " + record.shown + ": " + platform::reason_text(error));
        }
        return outcome;
    };

    StationOutcome outcome;
    Result<DialogueInput> input = prepare_input(at, station, outcome);
    if (!input) return outcome.status.is(StatusKind::bad_file) ? finished("-", std::move(outcome)) : outcome;
    outcome.coverage = std::move(input->coverage);
    outcome.outlier_days = input->millimetres.outlier_days;

    const platform::ChildRun run = start_run(program, at);
    if (!run.started) return ended(StatusKind::not_started, platform::reason_text(run.error));
    read_run(at, run, outcome);
    if (outcome.status.is(StatusKind::interrupted)) return outcome;
    if (!outcome.ok()) return finished(platform::exit_text(run), std::move(outcome));

    if (const Done added = complete_record ? add_complete_record(at, station, output_folder, *input, outcome)
                                           : add_precipitation(station, *input, outcome);
        !added) {
        return outcome.status.is(StatusKind::bad_file) ? finished(platform::exit_text(run), std::move(outcome))
                                                       : outcome;
    }
    // The station's charts, for a report or a thesis.
    int error = 0;
    const platform::ResolvedName picture = at.file(kPictureName);
    if (!replace_whole_file(picture, page::station_picture(page_station(station, outcome, folder_name)), error,
                            false)) {
        return ended(StatusKind::not_written, cannot_write(picture, error));
    }
    return finished(platform::exit_text(run), std::move(outcome));
}

void keep_only_record(const std::string& output_folder, const Station& station) {
    const std::string folder = platform::name_inside(output_folder, station.name);
    for (const std::string_view file :
         {std::string_view("answers.txt"), std::string_view("console.txt"), std::string_view("stderr.txt"),
          std::string_view("mean_pcp.sta"), std::string_view("totalpcp.sta"), std::string_view("series.txt"),
          kPictureName}) {
        platform::remove_file(platform::resolve_file_name(platform::name_inside(folder, file)));
    }
    platform::remove_file(platform::resolve_file_name(platform::name_inside(folder, station.name + ".wgn")));
}

}  // namespace wgn::batch
