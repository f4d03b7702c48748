#include "check/read_tables.hpp"

#include <set>

#include "check/batch_record.hpp"
#include "check/read_editor.hpp"
#include "check/read_userwgn.hpp"
#include "check/read_wgn.hpp"
#include "io/file_names.hpp"
#include "io/platform.hpp"
#include "io/whole_files.hpp"
#include "modelfiles/model_files.hpp"
#include "modelfiles/wgn_database.hpp"

namespace wgn::check {
namespace {

namespace platform = io::platform;

struct ReadFile {
    std::string shown, text;
};

Result<ReadFile> read_file(const std::string& name) {
    const platform::ResolvedName file = platform::resolve_file_name(name);
    if (file.report != 0) return Problem{name, 0, "", io::name_refusal(file)};
    if (const std::string why = io::input_file_problem(file); !why.empty()) return problem_text(why);
    ReadFile read{file.shown, ""};
    int error = 0;
    if (!io::read_whole_file(file, read.text, error)) {
        return Problem{file.shown, 0, "", "cannot be read: " + io::failure_reason(file, error)};
    }
    return read;
}

// The file's name without its folder and extension: "/d/ftc.wgn" -> "ftc".
std::string stem_of(std::string_view name) {
    const std::size_t slash = name.find_last_of("/\\");
    if (slash != std::string_view::npos) name.remove_prefix(slash + 1);
    return std::string(name.substr(0, name.rfind('.')));
}

// The Editor's pair from either of its tables, the other one beside it under its usual name.
Result<CheckTable> read_editor_pair(const std::string& name, const ReadFile& given, EditorTable which,
                                    std::set<std::string>& pairs_read) {
    const bool stations_given = which == EditorTable::stations;
    const std::string other_name = platform::name_beside(name, stations_given ? "wgn_monthly.csv" : "wgn_stations.csv");
    const Result<ReadFile> other = read_file(other_name);
    if (!other) {
        Problem problem = other.problem();
        problem.text += std::string(" (the ") + (stations_given ? "wgn_monthly.csv" : "wgn_stations.csv") + " beside " +
                        given.shown + ")";
        return problem;
    }
    const ReadFile& stations = stations_given ? given : *other;
    const ReadFile& monthly = stations_given ? *other : given;
    if (!pairs_read.insert(stations.shown).second) return CheckTable{};  // both of the pair named
    return read_editor_tables(stations.shown, stations.text, monthly.shown, monthly.text);
}

// The records of a batch's output folder (intervals.csv, summary.csv's notes) given to the
// stations of its table; a folder without intervals.csv (a batch before them) gives none.
Result<void> add_batch_records(const std::string& folder, CheckTable& table) {
    const std::string intervals_name = platform::name_inside(folder, "intervals.csv");
    if (platform::file_kind(platform::resolve_file_name(intervals_name)) == platform::FileKind::missing) return {};
    const Result<ReadFile> intervals = read_file(intervals_name);
    if (!intervals) return intervals.problem();
    Result<BatchRecords> records = read_record_intervals(intervals->shown, intervals->text);
    if (!records) return records.problem();
    if (const Result<ReadFile> summary = read_file(platform::name_inside(folder, "summary.csv"))) {
        add_interval_notes(summary->text, *records);
    }
    for (TableStation& station : table) {
        const auto found = records->find(station.station.name);
        if (found != records->end()) station.record = found->second;
    }
    return {};
}

// The table pair of a database, each station shown as "FILE, table T, id N".
Result<CheckTable> read_database(const platform::ResolvedName& file, std::string_view table) {
    Result<modelfiles::WgnDatabase> database = modelfiles::WgnDatabase::open(file, table);
    if (!database) return database.problem();
    Result<std::vector<weather::ReferenceStation>> stations = database->stations_with_months();
    if (!stations) return stations.problem();
    if (stations->empty()) return Problem{file.shown, 0, "", "no station in the table " + std::string(table)};
    CheckTable read;
    for (weather::ReferenceStation& station : *stations)
        read.push_back({database->place_of(station), std::move(station), {}});
    return read;
}

}  // namespace

Result<CheckTable> read_table_text(std::string_view shown, std::string_view text) {
    if (looks_like_userwgn(text)) return read_userwgn(shown, text);
    if (looks_like_wgn(text)) return read_wgn(shown, stem_of(shown), text);
    Result<std::vector<weather::ReferenceStation>> stations = modelfiles::read_cli(text);
    if (!stations) {
        Problem problem = stations.problem().in_file(shown);
        problem.text += " (a weather-wgn.cli, userwgn.csv, .wgn or the Editor's wgn_stations.csv was expected)";
        return problem;
    }
    if (stations->empty())
        return Problem{std::string(shown), 0, "", "no station (a weather-wgn.cli block was expected)"};
    CheckTable table;
    for (weather::ReferenceStation& station : *stations) table.push_back({std::string(shown), std::move(station), {}});
    return table;
}

Result<CheckTable> read_tables(const std::vector<std::string>& names, std::string_view database_table) {
    CheckTable all;
    std::set<std::string> pairs_read;
    for (const std::string& given : names) {
        std::string name = given;
        // A batch's output folder: the SWAT+ table it wrote.
        const platform::ResolvedName resolved = platform::resolve_file_name(name);
        const bool batch = resolved.report == 0 && platform::file_kind(resolved) == platform::FileKind::folder;
        if (batch) name = platform::name_inside(name, "weather-wgn.cli");
        if (const platform::ResolvedName file = platform::resolve_file_name(name);
            file.report == 0 && modelfiles::is_database_file(file)) {
            Result<CheckTable> table = read_database(file, database_table);
            if (!table) return table.problem();
            for (TableStation& station : *table) all.push_back(std::move(station));
            continue;
        }
        const Result<ReadFile> file = read_file(name);
        if (!file) return file.problem();
        const EditorTable editor = editor_table_of(file->text);
        Result<CheckTable> table = editor != EditorTable::none ? read_editor_pair(name, *file, editor, pairs_read)
                                                               : read_table_text(file->shown, file->text);
        if (!table) return table.problem();
        if (batch) {
            if (const Result<void> added = add_batch_records(given, *table); !added) return added.problem();
        }
        for (TableStation& station : *table) all.push_back(std::move(station));
    }
    return all;
}

}  // namespace wgn::check
