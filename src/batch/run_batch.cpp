#include "batch/run_batch.hpp"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

#include "batch/batch_tables.hpp"
#include "batch/station_list.hpp"
#include "batch/station_run.hpp"
#include "io/whole_files.hpp"
#include "io/platform.hpp"

namespace wgn::batch {

using io::read_whole_file;
using io::replace_whole_file;

namespace {

namespace platform = io::platform;

// The dialogue stores at most this many characters of a name.
constexpr std::size_t kDialogueNameLength = 255;

void say(const std::string& text) {
    platform::write_error_output("wgnrain-batch: " + text + "\n");
}

// What is wrong with a station's file, seen from the list's folder.
std::string file_problem(const platform::ResolvedName& list, std::string_view file, std::string& full_name) {
    const platform::ResolvedName name = platform::resolve_file_name(platform::name_beside(list.shown, file));
    if (name.report != 0) {
        std::string problem(file);
        problem.append(" is not a usable file name");
        return problem;
    }
    switch (platform::file_kind(name)) {
        case platform::FileKind::missing: return "no file " + name.shown;
        case platform::FileKind::folder: return name.shown + " is a folder";
        case platform::FileKind::other: return name.shown + " is not a regular file";
        case platform::FileKind::regular: break;
    }
    if (name.shown.size() > kDialogueNameLength) {
        return "the full name " + name.shown + " is longer than the 255 characters wgnrain takes";
    }
    full_name = name.shown;
    return {};
}

// Stations done of the total, failures so far and the time taken, on one
// line that rewrites itself; only for a person at a terminal.
class Progress {
  public:
    Progress(std::size_t total, bool shown) : total_(total), shown_(shown), start_(std::chrono::steady_clock::now()) {
        show();
    }
    void station_done(bool ok) {
        const std::lock_guard<std::mutex> lock(mutex_);
        ++done_;
        if (!ok) ++failed_;
        show();
    }
    void finish() {
        if (shown_) platform::write_error_output("\n");
    }

  private:
    void show() {
        if (!shown_) return;
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
        char line[128];
        std::snprintf(line, sizeof line, "\r%zu of %zu stations done, %zu failed, %.1f s ", done_, total_, failed_,
                      seconds);
        platform::write_error_output(line);
    }
    std::mutex mutex_;
    std::size_t total_ = 0;
    std::size_t done_ = 0;
    std::size_t failed_ = 0;
    bool shown_ = false;
    std::chrono::steady_clock::time_point start_;
};

std::vector<StationOutcome> run_stations(const StationList& list, const std::string& program,
                                         const std::string& output_folder, unsigned jobs) {
    std::vector<StationOutcome> outcomes(list.stations.size());
    Progress progress(list.stations.size(), platform::is_terminal(platform::standard_error()));
    std::atomic<std::size_t> next{0};
    const auto worker = [&] {
        for (std::size_t i = next++; i < list.stations.size(); i = next++) {
            outcomes[i] = run_station(program, output_folder, list.stations[i]);
            progress.station_done(outcomes[i].ok);
        }
    };
    std::vector<std::thread> workers;
    const std::size_t count = std::min<std::size_t>(jobs, list.stations.size());
    for (std::size_t i = 1; i < count; ++i) workers.emplace_back(worker);
    worker();
    for (std::thread& thread : workers) thread.join();
    progress.finish();
    return outcomes;
}

}  // namespace

int run_batch(const BatchOptions& options) {
    const platform::ResolvedName list_name = platform::resolve_file_name(options.list);
    std::string text;
    int error = 0;
    if (list_name.report != 0 || !read_whole_file(list_name, text, error)) {
        say("cannot read the station list " + list_name.shown +
            (error != 0 ? ": " + platform::reason_text(error) : std::string()));
        return 2;
    }
    const StationList list = read_station_list(text, [&list_name](std::string_view file, std::string& full_name) {
        return file_problem(list_name, file, full_name);
    });
    for (const std::string& problem : list.problems) say(list_name.shown + ", " + problem);
    if (!list.problems.empty()) return 2;

    const std::string program = platform::companion_program("wgnrain");
    if (program.empty()) {
        say("wgnrain is neither beside wgnrain-batch nor on the search path");
        return 2;
    }
    const platform::ResolvedName folder = platform::resolve_file_name(options.output_folder);
    if (folder.report != 0 || !platform::make_folder(folder, error)) {
        say("cannot make the output folder " + folder.shown +
            (error != 0 ? ": " + platform::reason_text(error) : std::string()));
        return 2;
    }

    unsigned jobs = options.jobs;
    if (jobs == 0) jobs = std::max(1U, std::thread::hardware_concurrency());
    const std::vector<StationOutcome> outcomes = run_stations(list, program, folder.shown, jobs);

    std::size_t failed = 0;
    for (const StationOutcome& outcome : outcomes) failed += outcome.ok ? 0 : 1;
    const std::pair<std::string_view, std::string> tables[] = {{kSummaryName, summary_table(list, outcomes)},
                                                               {kUserwgnName, userwgn_table(list, outcomes)},
                                                               {kMonthlyName, monthly_table(list, outcomes)}};
    // Each table replaces its old version whole or not at all.
    bool written = true;
    for (const auto& [name, table] : tables) {
        const platform::ResolvedName file = platform::resolve_file_name(platform::name_inside(folder.shown, name));
        error = 0;
        if (file.report != 0 || !replace_whole_file(file, table, error)) {
            say("cannot write " + file.shown + ": " +
                (error != 0 ? platform::reason_text(error) : std::string("the name is too long")));
            written = false;
        }
    }
    std::string done = "wgnrain-batch: " + std::to_string(list.stations.size()) + " stations, " +
                       std::to_string(list.stations.size() - failed) + " ok, " + std::to_string(failed) + " failed; ";
    done.append(written ? "see " + platform::name_inside(folder.shown, kSummaryName) : "the tables were not written");
    platform::write_standard_output(done + "\n");
    if (!written) return 3;
    return failed == 0 ? 0 : 1;
}

}  // namespace wgn::batch
