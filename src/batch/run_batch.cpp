#include "batch/run_batch.hpp"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <thread>
#include <vector>

#include "batch/batch_check.hpp"
#include "batch/batch_tables.hpp"
#include "batch/folder_lock.hpp"
#include "batch/page_station.hpp"
#include "batch/program_name.hpp"
#include "batch/station_list.hpp"
#include "batch/station_record.hpp"
#include "batch/station_run.hpp"
#include "io/file_names.hpp"
#include "io/platform.hpp"
#include "io/wgnrain_facts.hpp"
#include "io/whole_files.hpp"
#include "modelfiles/editor_database.hpp"
#include "modelfiles/model_files.hpp"
#include "modelfiles/model_fit.hpp"

namespace wgn::batch {
namespace {

namespace platform = io::platform;

// The dialogue stores at most this many characters of a name.
constexpr std::size_t kDialogueNameLength = facts::kLongestSeriesName;
// The longest name written into a station's folder: "coverage.csv" and the
// suffix of a file being replaced.
constexpr std::size_t kLongestStationFile = 12 + io::kScratchSuffixLength;

void say(const std::string& text) {
    platform::write_error_output(std::string(program_name()) + ": " + text + "\n");
}

// A station's file, seen from the list's folder: its full name, or what is
// wrong with it.
Result<std::string> station_file(const platform::ResolvedName& list, std::string_view file) {
    const platform::ResolvedName name = platform::resolve_file_name(platform::name_beside(list.shown, file));
    if (name.report != 0) {
        return problem_text(std::string(file) + " is not a usable file name: " + io::name_refusal(name));
    }
    if (std::string problem = io::input_file_problem(name); !problem.empty()) return problem_text(std::move(problem));
    if (name.shown.size() > kDialogueNameLength) {
        return problem_text("the full name " + name.shown + " is longer than the 255 characters wgnrain takes");
    }
    return name.shown;
}

// What became of a station in this batch: not reached, its record written,
// or ended without a record (interrupted, not started, not written).
enum class State : unsigned char { not_run, recorded, unrecorded };

// Stations done of the total, failures so far, the time taken and the time
// left, on one line that rewrites itself; only for a person at a terminal.
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
        char line[160];
        int length = std::snprintf(line, sizeof line, "\r%zu of %zu stations done, %zu failed, %.1f s", done_, total_,
                                   failed_, seconds);
        if (done_ > 0 && done_ < total_) {
            const double left = seconds / static_cast<double>(done_) * static_cast<double>(total_ - done_);
            length += std::snprintf(line + length, sizeof line - static_cast<std::size_t>(length),
                                    ", about %.0f s left", left);
        }
        std::snprintf(line + length, sizeof line - static_cast<std::size_t>(length), "   ");
        platform::write_error_output(line);
    }
    std::mutex mutex_;
    std::size_t total_ = 0;
    std::size_t done_ = 0;
    std::size_t failed_ = 0;
    bool shown_ = false;
    std::chrono::steady_clock::time_point start_;
};

// A station the batch did not finish: it runs again, and is not a failure.
bool counts_as_not_run(const StationStatus& status) {
    return status.is(StatusKind::not_run) || status.is(StatusKind::interrupted);
}

// The statuses run_station leaves a record of.
bool is_recorded(const StationStatus& status) {
    return !status.is(StatusKind::interrupted) && !status.is(StatusKind::not_started) &&
           !status.is(StatusKind::not_written);
}

// Releases a station's text held in memory (a grid's cell) when its turn
// ends, whichever way it ends.
class Released {
  public:
    explicit Released(const Station& station) : station_(station) {}
    ~Released() {
        if (station_.texts != nullptr) station_.texts->release(station_);
    }
    Released(const Released&) = delete;
    Released& operator=(const Released&) = delete;

  private:
    const Station& station_;
};

struct Runs {
    std::vector<State> states;
    std::map<std::size_t, StationOutcome> unrecorded;  // by station: the status and why
    std::size_t reused = 0;
};

// Runs the stations of the shard that an earlier batch did not finish, a
// few at a time, until all are done or an interruption is noted.
Runs run_stations(const StationList& list, const BatchOptions& options, const std::string& program,
                  const std::string& output_folder, unsigned jobs) {
    Runs runs;
    runs.states.assign(list.stations.size(), State::not_run);
    std::vector<std::size_t> mine;
    for (std::size_t i = 0; i < list.stations.size(); ++i) {
        if (list.in_shard(i, options.shard, options.shards)) mine.push_back(i);
    }
    Progress progress(mine.size(), platform::is_terminal(platform::standard_error()));
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> reused{0};
    std::mutex lock;
    const auto worker = [&] {
        for (std::size_t n = next++; n < mine.size() && platform::console_event_noted() < 0; n = next++) {
            const std::size_t i = mine[n];
            const Station& station = list.stations[i];
            const Released released(station);
            const std::string key = station_key(station);
            const std::string folder = platform::name_inside(output_folder, station.name);
            if (!options.rerun && !key.empty()) {
                if (const auto earlier = recorded_outcome(folder, key)) {
                    runs.states[i] = State::recorded;
                    ++reused;
                    progress.station_done(earlier->ok());
                    continue;
                }
            }
            const StationOutcome outcome = run_station(program, output_folder, station, key, list.weather_columns);
            if (is_recorded(outcome.status)) {
                runs.states[i] = State::recorded;
                const bool keep_all = options.keep == BatchOptions::Keep::all ||
                                      (options.keep == BatchOptions::Keep::failed && !outcome.ok());
                if (!keep_all) keep_only_record(output_folder, station);
            } else {
                runs.states[i] = State::unrecorded;
                StationOutcome shown;
                shown.status = outcome.status;
                shown.report_line = outcome.report_line;
                const std::lock_guard<std::mutex> guard(lock);
                runs.unrecorded[i] = std::move(shown);
            }
            progress.station_done(outcome.ok());
        }
    };
    std::vector<std::thread> workers;
    const std::size_t count = std::min<std::size_t>(jobs, mine.size());
    for (std::size_t i = 1; i < count; ++i) workers.emplace_back(worker);
    worker();
    for (std::thread& thread : workers) thread.join();
    progress.finish();
    runs.reused = reused;
    return runs;
}

// Now, as the page shows it: "2026-12-08 05:44".
std::string local_time_text() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    char text[32] = "";
    if (platform::local_time(now, local)) std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
    return text;
}

struct Counts {
    std::size_t ok = 0, warned = 0, failed = 0, not_run = 0;
};

// The outcome of station `i` for the tables: its record when it finished,
// else what this batch knows of it.
StationOutcome table_outcome(const StationList& list, const BatchOptions& options, const Runs& runs,
                             const std::string& output_folder, std::size_t i) {
    const Station& station = list.stations[i];
    const std::string folder = platform::name_inside(output_folder, station.name);
    StationOutcome outcome;
    const State state = options.merge ? State::recorded : runs.states[i];
    if (state == State::recorded) {
        // Merged tables take only records that match the list as it is now.
        const Released released(station);
        auto recorded = recorded_outcome(folder, options.merge ? station_key(station) : std::string());
        if (recorded) {
            outcome = std::move(*recorded);
        } else {
            outcome.status = {StatusKind::not_run, {}};
        }
    } else if (state == State::unrecorded) {
        outcome = runs.unrecorded.at(i);
    } else {
        outcome.status = {StatusKind::not_run, {}};
    }
    if (options.strict && outcome.ok() && outcome.warnings > 0) {
        outcome.status = {StatusKind::warnings, {}};
        outcome.report_line = outcome.first_warning;
    }
    return outcome;
}

// The .wgn files under names SWAT 2012's .sub files hold (13 characters):
// the station's id in the Editor's tables in nine digits, in the folder
// swat2012 (OUT/swat2012/000000003.wgn).  Those of an earlier batch that
// this one does not write go, so that no number names another station's.
class Swat2012Files {
  public:
    explicit Swat2012Files(const std::string& folder)
        : folder_(platform::resolve_file_name(platform::name_inside(folder, kSwat2012Folder))) {}

    // Writes the station's .wgn as number `id`; its name in the output
    // folder ("swat2012/000000003.wgn"), or why it could not be written.
    Result<std::string> write(int id, const std::string& station, const weather::WeatherRecord& record) {
        char digits[16];
        std::snprintf(digits, sizeof digits, "%09d.wgn", id);
        int error = 0;
        if (!made_ && !platform::make_folder(folder_, error))
            return problem_text("cannot make " + folder_.shown + ": " + platform::reason_text(error));
        made_ = true;
        const platform::ResolvedName file = platform::resolve_file_name(platform::name_inside(folder_.shown, digits));
        if (!io::replace_whole_file(file, modelfiles::wgn_file(station, record, WGNRAIN_VERSION), error, false))
            return problem_text("cannot write " + file.shown + ": " + io::failure_reason(file, error));
        written_.insert(digits);
        return std::string(kSwat2012Folder) + "/" + digits;
    }

    // Removes the numbered .wgn files of the folder this batch did not write.
    void remove_others() const {
        for (const std::string& entry : platform::folder_entries(folder_)) {
            const bool numbered =
                entry.size() == 13 && entry.compare(9, 4, ".wgn") == 0 && entry.find_first_not_of("0123456789") == 9;
            if (numbered && written_.count(entry) == 0)
                platform::remove_file(platform::resolve_file_name(platform::name_inside(folder_.shown, entry)));
        }
    }

  private:
    platform::ResolvedName folder_;
    bool made_ = false;
    std::set<std::string> written_;
};

// Writes the tables from the station folders, each replacing its old
// version whole; false (after saying why) when any could not be written.
// A list with the columns of the complete record gets the model files too,
// and `database` the stations of weather-wgn.cli under their ids of
// wgn_stations.csv.
bool write_tables(const StationList& list, const BatchOptions& options, const Runs& runs, const std::string& folder,
                  Counts& counts, std::vector<page::PageStation>& shown,
                  std::vector<modelfiles::DatabaseStation>& database) {
    std::vector<std::pair<std::string_view, std::string>> tables = {
        {kSummaryName, summary_header(list)}, {kUserwgnName, userwgn_header()}, {kMonthlyName, monthly_header()}};
    if (list.weather_columns) {
        tables.insert(tables.end(), {{kUserwgnFullName, modelfiles::userwgn_header()},
                                     {kCliName, modelfiles::cli_title(WGNRAIN_VERSION)},
                                     {kEditorStationsName, modelfiles::editor_stations_header()},
                                     {kEditorMonthlyName, modelfiles::editor_monthly_header()},
                                     {kIntervalsName, intervals_header()}});
    }
    std::vector<io::ReplacingFile> files(tables.size());
    std::vector<platform::ResolvedName> names;
    int error = 0;
    const auto failed = [&](std::size_t t) {
        say("cannot write " + names[t].shown + ": " + io::failure_reason(names[t], error));
        return false;
    };
    for (std::size_t t = 0; t < tables.size(); ++t) {
        names.push_back(platform::resolve_file_name(platform::name_inside(folder, tables[t].first)));
        error = 0;
        if (names[t].report != 0 || !files[t].open(names[t], error) || !files[t].append(tables[t].second, error)) {
            return failed(t);
        }
    }
    int model_stations = 0;
    std::vector<std::string> rows(tables.size());
    // SWAT+ finds a station of weather-wgn.cli by a binary search over the
    // names as they stand there, and takes the first block for a name it
    // misses: the blocks go in the order of the names' bytes, as the Editor
    // writes them, not in the list's.
    std::vector<std::pair<std::string, std::string>> cli_blocks;
    Swat2012Files swat2012(folder);
    for (std::size_t i = 0; i < list.stations.size(); ++i) {
        const Station& station = list.stations[i];
        const StationOutcome outcome = table_outcome(list, options, runs, folder, i);
        if (outcome.ok()) {
            ++counts.ok;
            if (outcome.warnings > 0) ++counts.warned;
        } else if (counts_as_not_run(outcome.status)) {
            ++counts.not_run;
        } else {
            ++counts.failed;
        }
        std::string swat2012_file;  // the station's .wgn under its SWAT 2012 name, when it has one
        rows[1] = userwgn_row(station, outcome);
        rows[2] = monthly_rows(station, outcome);
        if (list.weather_columns) {
            weather::WeatherRecord none;
            const weather::WeatherRecord& record = outcome.weather ? *outcome.weather : none;
            rows[3] = modelfiles::userwgn_row(station.name, record);
            rows[4].clear(), rows[5].clear(), rows[6].clear();
            rows[7] = intervals_rows(station, outcome);
            const modelfiles::ModelFit fit = modelfiles::model_fit(station.name, record);
            if (outcome.ok() && outcome.weather && fit.in[modelfiles::kCliFile]) {
                cli_blocks.emplace_back(modelfiles::model_name(station.name),
                                        modelfiles::cli_block(station.name, record));
            }
            if (outcome.ok() && outcome.weather && fit.in[modelfiles::kEditorTables]) {
                ++model_stations;
                rows[5] = modelfiles::editor_stations_row(model_stations, station.name, record);
                rows[6] = modelfiles::editor_monthly_rows(12 * (model_stations - 1) + 1, model_stations, record);
                if (fit.in[modelfiles::kCliFile])
                    database.push_back({model_stations, modelfiles::cli_station(station.name, record)});
                if (fit.in[modelfiles::kWgnFile]) {
                    const Result<std::string> written = swat2012.write(model_stations, station.name, record);
                    if (!written) {
                        say(written.problem().text);
                        return false;
                    }
                    swat2012_file = *written;
                }
            }
        }
        rows[0] = summary_row(list, station, outcome, swat2012_file);
        for (std::size_t t = 0; t < tables.size(); ++t) {
            if (!files[t].append(rows[t], error)) return failed(t);
        }
        if (shown.size() < kPageStations) {
            const std::string station_folder = platform::name_inside(folder, station.name);
            shown.push_back(page_station(station, outcome, station_folder));
            // A folder that kept only the station's record links no more than that.
            if (options.keep != BatchOptions::Keep::all) {
                std::erase_if(shown.back().files, [&](const std::string& file) {
                    return platform::file_kind(platform::resolve_file_name(
                               platform::name_inside(station_folder, file))) != platform::FileKind::regular;
                });
            }
        }
    }
    std::stable_sort(cli_blocks.begin(), cli_blocks.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [name, block] : cli_blocks) {
        if (!files[4].append(block, error)) return failed(4);
    }
    for (std::size_t t = 0; t < tables.size(); ++t) {
        if (!files[t].commit(error)) return failed(t);
    }
    if (list.weather_columns) swat2012.remove_others();
    return true;
}

// The stations of weather-wgn.cli into the --sqlite file, its two tables
// replaced whole or the file left as it was; the closing line's words for
// it, and false (after saying why) when it was not written.
bool write_database(const BatchOptions& options, const std::vector<modelfiles::DatabaseStation>& stations,
                    std::string& line) {
    const platform::ResolvedName file = platform::resolve_file_name(options.sqlite);
    bool busy = false;
    const Done written = modelfiles::write_editor_database(file, options.table, stations, busy);
    if (!written) {
        say("cannot write the database " + written.problem().message() +
            (busy ? " (another program holds the file: close it there, then run the batch again)" : ""));
        line = "; the database " + file.shown + " was not written";
        return false;
    }
    line = "; " + std::to_string(stations.size()) + " stations into " + file.shown + ", tables " + options.table +
           " and " + options.table + "_mon";
    return true;
}

// The --sqlite file as the list and the command give it: a name the system
// takes, not a folder, and a list with the complete record's columns (the
// database holds the stations of weather-wgn.cli); else why not.
std::string database_problem(const BatchOptions& options, const StationList& list) {
    if (options.sqlite.empty()) return {};
    const platform::ResolvedName file = platform::resolve_file_name(options.sqlite);
    if (file.report != 0) return options.sqlite + " is not a usable file name: " + io::name_refusal(file);
    const platform::FileKind kind = platform::file_kind(file);
    if (kind != platform::FileKind::missing && kind != platform::FileKind::regular)
        return "the database " + file.shown + " is not a file";
    if (!list.weather_columns) {
        return "--sqlite writes the stations of weather-wgn.cli: the list has none of the complete record's "
               "columns (tmp_file, lat, lon, elev, ...)";
    }
    return {};
}

// Each station's folder checked to give its files names wgnrain can use:
// the problems added to the list's.
void check_folders(StationList& list, const platform::ResolvedName& folder) {
    for (const Station& station : list.stations) {
        const std::size_t longest = folder.shown.size() + 1 + station.name.size() + 1 + kLongestStationFile;
        if (folder.report == 0 && longest > io::kMaxFileNameLength) {
            list.problems.push_back(
                Problem{"", station.row, "station",
                        "the station's folder " + platform::name_inside(folder.shown, station.name) +
                            " is too long: its files would have names of up to " + std::to_string(longest) +
                            " characters, " + std::to_string(io::kMaxFileNameLength) + " at most can be used"});
        }
    }
}

// The station list, each station's folder checked; nothing when the list
// cannot be read or has problems, each of which is shown.
std::optional<StationList> checked_list(const platform::ResolvedName& list_name, const platform::ResolvedName& folder) {
    std::string text;
    int error = 0;
    if (list_name.report != 0 || !io::read_whole_file(list_name, text, error)) {
        say("cannot read the station list " + list_name.shown + ": " + io::failure_reason(list_name, error));
        return std::nullopt;
    }
    StationList list =
        read_station_list(text, [&list_name](std::string_view file) { return station_file(list_name, file); });
    check_folders(list, folder);
    for (const Problem& problem : list.problems) say(list_name.shown + ", " + list_problem_text(problem));
    if (!list.problems.empty()) return std::nullopt;
    return list;
}

// The status a batch ends with after an interruption: the console event's.
int interrupted_status(int event) {
    return static_cast<int>(platform::console_event_status(event));
}

// A shard writes no tables: its stations' folders are its result.  Its line
// counts its own stations.
int end_shard(const StationList& list, const BatchOptions& options, const Runs& runs, const std::string& folder,
              int event, std::string done) {
    Counts counts;
    for (std::size_t i = 0; i < list.stations.size(); ++i) {
        if (!list.in_shard(i, options.shard, options.shards)) continue;
        const StationOutcome outcome = table_outcome(list, options, runs, folder, i);
        (outcome.ok() ? counts.ok : counts_as_not_run(outcome.status) ? counts.not_run : counts.failed)++;
    }
    done.append("shard " + std::to_string(options.shard) + " of " + std::to_string(options.shards) + ": " +
                std::to_string(counts.ok + counts.failed + counts.not_run) + " of " +
                std::to_string(list.stations.size()) + " stations, " + std::to_string(counts.ok) + " ok, " +
                std::to_string(counts.failed) + " failed");
    if (counts.not_run > 0) done.append(", " + std::to_string(counts.not_run) + " not run");
    done.append("; the tables come from --merge\n");
    platform::write_standard_output(done);
    if (event >= 0) return interrupted_status(event);
    return counts.failed + counts.not_run == 0 ? 0 : 1;
}

// The overview page, replaced whole like the tables; the problem is shown.
bool write_page(const std::string& folder, const std::vector<page::PageStation>& shown, const page::PageTotals& totals,
                std::string& page_shown) {
    const platform::ResolvedName page_file = platform::resolve_file_name(platform::name_inside(folder, kPageName));
    io::ReplacingFile page_out;
    int error = 0;
    page_shown = page_file.shown;
    bool written = page_file.report == 0 && page_out.open(page_file, error);
    if (written) {
        page::overview_page(shown, totals,
                            [&](std::string_view piece) { written = written && page_out.append(piece, error); });
        written = written && page_out.commit(error);
    }
    if (!written) say("cannot write " + page_file.shown + ": " + io::failure_reason(page_file, error));
    return written;
}

// Steps 3 to 5 of a batch: the stations of a list that is whole and good.
int run_listed_batch(const StationList& list, const BatchOptions& options);

}  // namespace

int run_batch(const BatchOptions& options) {
    // 1. Console events are noted from here on, before any thread starts.
    platform::note_console_events();
    const platform::ResolvedName list_name = platform::resolve_file_name(options.list);
    const platform::ResolvedName folder = platform::resolve_file_name(options.output_folder);
    // 2. The list, whole and good, or nothing runs.
    const std::optional<StationList> checked = checked_list(list_name, folder);
    if (!checked) return 2;
    return run_listed_batch(*checked, options);
}

int run_stations_batch(StationList list, const BatchOptions& options) {
    platform::note_console_events();
    const platform::ResolvedName folder = platform::resolve_file_name(options.output_folder);
    check_folders(list, folder);
    for (const Problem& problem : list.problems) say(list_problem_text(problem));
    if (!list.problems.empty()) return 2;
    return run_listed_batch(list, options);
}

namespace {

int run_listed_batch(const StationList& list, const BatchOptions& options) {
    const platform::ResolvedName folder = platform::resolve_file_name(options.output_folder);
    if (const std::string why = database_problem(options, list); !why.empty()) {
        say(why);
        return 2;
    }

    // 3. wgnrain, the output folder, and the folder's lock for this batch.
    const std::string program = options.merge ? std::string() : platform::companion_program("wgnrain");
    if (!options.merge && program.empty()) {
        say("wgnrain is neither beside " + std::string(program_name()) + " nor on the search path");
        return 2;
    }
    int error = 0;
    if (folder.report != 0 || !platform::make_folder(folder, error)) {
        say("cannot make the output folder " + folder.shown + ": " + io::failure_reason(folder, error));
        return 2;
    }
    FolderLock lock;
    if (const Done taken = lock.take(folder.shown, lock_name(options.shard, options.shards)); !taken) {
        say(taken.problem().message());
        return 2;
    }
    // The tables and the page of a batch killed outright may be left half
    // written under their scratch names: the folder's holder removes them.
    if (options.shards == 1) io::remove_scratch_files(folder.shown);

    // 4. The stations run (none for --merge).
    unsigned jobs = options.jobs;
    if (jobs == 0) jobs = std::max(1U, std::thread::hardware_concurrency());
    Runs runs;
    if (!options.merge) runs = run_stations(list, options, program, folder.shown, jobs);
    const int event = platform::console_event_noted();
    std::string done = std::string(program_name()) + ": ";
    if (event >= 0) done.append("interrupted; ");
    if (options.shards > 1) return end_shard(list, options, runs, folder.shown, event, std::move(done));

    // 5. The tables, then the page, and the line that sums the batch up.
    Counts counts;
    std::vector<page::PageStation> shown;
    std::vector<modelfiles::DatabaseStation> database;
    const bool written = write_tables(list, options, runs, folder.shown, counts, shown, database);
    // The database only from a batch that ended as it should: an interrupted
    // one, or one whose tables were not written, leaves the file as it was.
    bool database_written = true;
    std::string database_line;
    if (!options.sqlite.empty()) {
        if (written && event < 0) {
            database_written = write_database(options, database, database_line);
        } else {
            database_line = "; the database " + platform::resolve_file_name(options.sqlite).shown + " was not written";
        }
    }
    bool page_written = false;
    std::string page_shown, check_line;
    if (written) {
        page::PageTotals totals{local_time_text(),
                                WGNRAIN_VERSION,
                                list.stations.size(),
                                counts.ok,
                                counts.failed,
                                counts.not_run,
                                shown.size(),
                                false,
                                {},
                                std::string(program_name())};
        // The check of the model files just written, before the page that names what it found.
        if (options.check && list.weather_columns) {
            if (const auto outside = check_batch(folder.shown, options.check_arguments, shown)) {
                totals.checked = true;
                totals.outside_intervals = *outside;
            } else {
                check_line = "; the check was not written";
            }
        } else if (options.check) {
            check_line = "; no check: the list has none of the complete record's columns";
        }
        page_written = write_page(folder.shown, shown, totals, page_shown);
    }
    done.append(std::to_string(list.stations.size()) + " stations, " + std::to_string(counts.ok) + " ok");
    if (counts.warned > 0) done.append(" (" + std::to_string(counts.warned) + " with warnings)");
    done.append(", " + std::to_string(counts.failed) + " failed");
    if (counts.not_run > 0) done.append(", " + std::to_string(counts.not_run) + " not run");
    done.append("; ");
    if (runs.reused > 0) done.append(std::to_string(runs.reused) + " from an earlier run; ");
    done.append(written ? "see " + platform::name_inside(folder.shown, kSummaryName) : "the tables were not written");
    if (written && !page_written) done.append("; the page " + page_shown + " was not written");
    done.append(database_line);
    done.append(check_line);
    platform::write_standard_output(done + "\n");
    if (event >= 0) return interrupted_status(event);
    if (!written || !page_written || !database_written) return 3;
    return counts.failed + counts.not_run == 0 ? 0 : 1;
}

}  // namespace

}  // namespace wgn::batch
