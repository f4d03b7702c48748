#include "batch/station_run.hpp"

#include "batch/whole_files.hpp"
#include "io/platform.hpp"

namespace wgn::batch {
namespace {

namespace platform = io::platform;

constexpr std::string_view kReportName = "report.txt";

}  // namespace

std::string dialogue_answers(const Station& station) {
    std::string answers = "\"";
    for (const char c : station.input_name) {
        if (c == '"') answers.push_back('"');
        answers.push_back(c);
    }
    answers.append("\"\n");
    answers.append(kReportName).append("\n");
    answers.append(station.first_year).append("\n");
    answers.append(station.nodata).append("\n");
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
        if (line.substr(0, 17) == "runlib: warning: ") {
            ++outcome.warnings;
            continue;
        }
        last = line;
        if (line.find("M6201") != std::string_view::npos) {
            outcome.status = "M6201";
            continue;
        }
        // "runlib: severe (N): ..." or "runlib: error (N): ..."
        const std::size_t open = line.find(" (");
        const std::size_t close = line.find("): ");
        if (line.substr(0, 8) == "runlib: " && open != std::string_view::npos && close > open + 2 &&
            close != std::string_view::npos) {
            const std::string_view number = line.substr(open + 2, close - open - 2);
            if (number.find_first_not_of("0123456789") == std::string_view::npos) outcome.status = number;
        }
    }
    outcome.report_line = last;
}

StationOutcome run_station(const std::string& program, const std::string& output_folder, const Station& station) {
    StationOutcome outcome;
    const std::string folder_name = platform::name_inside(output_folder, station.name);
    const platform::ResolvedName folder = platform::resolve_file_name(folder_name);
    const auto in_folder = [&](std::string_view name) {
        return platform::resolve_file_name(platform::name_inside(folder_name, name));
    };

    int error = 0;
    const platform::ResolvedName answers = in_folder("answers.txt");
    if (folder.report != 0 || !platform::make_folder(folder, error) ||
        !write_whole_file(answers, dialogue_answers(station), error)) {
        outcome.status = "not started";
        outcome.report_line = "cannot prepare " + folder.shown + ": " + platform::reason_text(error);
        return outcome;
    }
    // Results of an earlier batch must not pass for this run's.
    const platform::ResolvedName report = in_folder(kReportName);
    for (const std::string_view old : {kReportName, std::string_view("mean_pcp.sta"), std::string_view("totalpcp.sta"),
                                       std::string_view("status.txt")}) {
        platform::remove_file(in_folder(old));
    }

    const platform::ResolvedName errors_file = in_folder("stderr.txt");
    const platform::ChildRun run = platform::run_child(program, folder, answers, in_folder("console.txt"), errors_file);
    if (!run.started) {
        outcome.status = "not started";
        outcome.report_line = platform::reason_text(run.error);
        return outcome;
    }
    write_whole_file(in_folder("status.txt"), platform::exit_text(run) + "\n", error);

    std::string errors;
    read_whole_file(errors_file, errors, error);
    read_failure(errors, outcome);
    if (run.status != 0 || run.signal != 0) {
        if (outcome.status.empty()) outcome.status = platform::exit_text(run);
        return outcome;
    }
    outcome.report_line.clear();
    std::string text;
    if (read_whole_file(report, text, error)) outcome.figures = read_report(text);
    if (!outcome.figures) {
        outcome.status = "no report";
        outcome.report_line = report.shown + " is not a complete report";
        return outcome;
    }
    outcome.ok = true;
    outcome.status = "ok";
    return outcome;
}

}  // namespace wgn::batch
