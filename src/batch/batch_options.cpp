#include "batch/batch_options.hpp"

#include <charconv>
#include <string_view>
#include <utility>

#include "batch/batch_check.hpp"
#include "io/platform.hpp"
#include "modelfiles/editor_database.hpp"

namespace wgn::batch {

const char* const kBatchUsage =
    "Usage: wgnrain-batch STATIONS.csv -o OUTDIR [-j N] [--rerun] [--strict] [--shard K/N]\n"
    "       wgnrain-batch STATIONS.csv -o OUTDIR --merge\n"
    "       wgnrain-batch STATIONS.csv -o OUTDIR --check [--model swatplus|swat2012]\n"
    "                     [--years N] [--seed N]   (and the options above)\n"
    "       wgnrain-batch STATIONS.csv -o OUTDIR --sqlite FILE [--table NAME]\n"
    "                     (and the options above but --shard)\n"
    "       wgnrain-batch --help | --version\n"
    "\n"
    "Runs wgnrain once for every station of a list, N stations at a time (by\n"
    "default as many as there are processors), and gathers the results.\n"
    "\n"
    "STATIONS.csv (comma- or semicolon-separated, UTF-8 or UTF-16) has a header\n"
    "row with at least the columns\n"
    "  station     a plain name, also the name of the station's folder in OUTDIR\n"
    "  file        the station file, relative to the list's own folder\n"
    "  first_year  the calendar year of the first value (a plain series)\n"
    "  nodata      the value that marks a missing day, e.g. -99 (a plain series)\n"
    "and optionally format (plain, csv, ghcnd, power, swat, swatplus, swat2012),\n"
    "last_year, pcp_column, pcp_unit (mm, in, tenths_mm) and gauge (of a swat2012\n"
    "file, its name or number from 1): a dated file is made into whole\n"
    "years (OUTDIR/<station>/series.txt, coverage.csv), first_year and last_year\n"
    "then bound the period.\n"
    "Columns of the complete weather-generator record (weather-wgn.cli,\n"
    "wgn_stations.csv, wgn_monthly.csv, userwgn.csv, OUTDIR/<station>/<station>.wgn):\n"
    "tmp_file slr_file hmd_file wnd_file hhr_file, tmax_column tmin_column\n"
    "slr_column dew_column rh_column wnd_column hhr_column, tmp_unit slr_unit\n"
    "hmd_unit wnd_unit, lat lon elev, stations_file, fill_file fill_station\n"
    "fill_table fill_max_km (fill_station nearest: the nearest station).  A\n"
    "variable with a day outside physical bounds (a wrong unit) is left out, with\n"
    "the reason in summary.csv's refused_variables.\n"
    "Further columns are copied into summary.csv.  Every mistake of the list is\n"
    "reported with its row and column, and then nothing runs.\n"
    "\n"
    "OUTDIR/<station>/ receives the station's report.txt, mean_pcp.sta,\n"
    "totalpcp.sta, the run's console output (console.txt), standard error\n"
    "(stderr.txt), the answers it was given (answers.txt) and the record of the\n"
    "run (run.txt).  OUTDIR itself receives\n"
    "  summary.csv      every station: its status (ok or the failure's report\n"
    "                   number), counts, warnings, the failure's last report line\n"
    "  userwgn_pcp.csv  the successful stations in the columns of SWAT's userwgn\n"
    "                   table (PCPMM1 ... PCPD12), digits as the reports print them\n"
    "  wgn_mon_pcp.csv  the same values for SWAT+, one row per station and month\n"
    "  index.html       an overview page of every station, charts by month\n"
    "Each table is replaced whole or not at all.\n"
    "\n"
    "A batch run again reuses every station whose record still matches the list\n"
    "and its file, and runs the others; interrupted (Ctrl-C, a closed terminal,\n"
    "a termination request) it lets the running stations end, writes the tables\n"
    "of those finished and ends with the interrupt's status.  One batch at a time\n"
    "may use an output folder.\n"
    "\n"
    "Exit status: 0 when every station succeeded, 1 when any failed, 2 for a bad\n"
    "list or command line or a folder in use, 3 when the tables or the database\n"
    "could not be written, 130 (128 + the signal) when interrupted.\n"
    "\n"
    "Options:\n"
    "  -o OUTDIR     the output folder (created if missing)\n"
    "  -j N          run N stations at a time\n"
    "  --rerun       run every station again\n"
    "  --strict      a station with warnings counts as failed\n"
    "  --shard K/N   run only the K-th of N interleaved parts of the list (stations\n"
    "                K, K+N, K+2N, ...) and write no tables, for N machines or jobs\n"
    "                sharing OUTDIR\n"
    "  --merge       run nothing: write the tables of the whole list from OUTDIR\n"
    "  --check       then run wgnrain-check on OUTDIR's weather-wgn.cli, into\n"
    "                OUTDIR/check, with --model, --years and --seed as it takes them\n"
    "  --sqlite FILE also write the stations of weather-wgn.cli into tables NAME and\n"
    "                NAME_mon of the SQLite file FILE (created if missing), in the\n"
    "                layout of SWAT+ Editor's wgn and wgn_mon, for its import of a\n"
    "                weather-generator database; the two tables are replaced whole\n"
    "                at the end of the batch, or the file is left as it was\n"
    "  --table NAME  the table for --sqlite (default wgnrain)\n"
    "  --keep WHAT   the files a finished station's folder keeps: all (default);\n"
    "                failed: a station that succeeded keeps only its record\n"
    "                (run.txt, report.txt, coverage.csv); none: every station\n"
    "                only its record\n"
    "  --help        show this text\n"
    "  --version     show the version\n";

namespace {

// What the help says otherwise on Windows: cmd's ways and the statuses as
// %ERRORLEVEL% shows them.
constexpr std::pair<std::string_view, std::string_view> kWindowsWording[] = {
    {"wgnrain-batch --help | --version", "wgnrain-batch --help | /? | --version"},
    {"(comma- or semicolon-separated, UTF-8 or UTF-16) has a header\n"
     "row with",
     "(comma- or semicolon-separated, UTF-8, UTF-16 or ANSI)\n"
     "has a header row with"},
    {"Exit status: 0 when every station succeeded, 1 when any failed, 2 for a bad\n"
     "list or command line or a folder in use, 3 when the tables or the database\n"
     "could not be written, 130 (128 + the signal) when interrupted.\n",
     "Exit status (%ERRORLEVEL% in cmd): 0 when every station succeeded, 1 when\n"
     "any failed, 2 for a bad list or command line or a folder in use, 3 when the\n"
     "tables or the database could not be written, C000013A (-1073741510) after\n"
     "Ctrl-C, 1 or 2 after Ctrl-Break or a closed window.\n"},
    {"  --help        show this text", "  --help, /?    show this text"},
};

}  // namespace

std::string batch_usage() {
    std::string text = kBatchUsage;
    if (!io::platform::kWindowsConventions) return text;
    for (const auto& [from, to] : kWindowsWording) {
        const std::size_t at = text.find(from);
        if (at != std::string::npos) text.replace(at, from.size(), to);
    }
    return text;
}

std::optional<BatchOptions::Keep> keep_named(std::string_view name) {
    if (name == "all") return BatchOptions::Keep::all;
    if (name == "failed") return BatchOptions::Keep::failed;
    if (name == "none") return BatchOptions::Keep::none;
    return std::nullopt;
}

Result<BatchOptions> parse_options(std::span<const std::string> arguments) {
    BatchOptions options;
    const auto refuse = [](std::string why) { return problem_text(std::move(why)); };
    if (arguments.size() == 1 && io::platform::asks_for_help(arguments[0])) {
        options.action = BatchOptions::Action::help;
        return options;
    }
    if (arguments.size() == 1 && std::string_view(arguments[0]) == "--version") {
        options.action = BatchOptions::Action::version;
        return options;
    }
    bool have_list = false;
    bool have_folder = false;
    bool have_jobs = false;
    bool have_table = false;
    bool have_keep = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument == "--rerun" || argument == "--strict" || argument == "--merge") {
            (argument == "--rerun" ? options.rerun : argument == "--strict" ? options.strict : options.merge) = true;
        } else if (argument == "--check") {
            options.check = true;
        } else if (argument == "--model" || argument == "--years" || argument == "--seed") {
            if (i + 1 == arguments.size()) return refuse("'" + std::string(argument) + "' needs a value");
            options.check_arguments.insert(options.check_arguments.end(), {std::string(argument), arguments[++i]});
        } else if (argument == "--keep") {
            if (i + 1 == arguments.size()) return refuse("'--keep' needs a value: all, failed or none");
            const std::string_view value = arguments[++i];
            const std::optional<BatchOptions::Keep> keep = keep_named(value);
            if (have_keep) return refuse("'--keep' given twice");
            if (!keep) return refuse("'--keep " + std::string(value) + "': all, failed or none");
            options.keep = *keep;
            have_keep = true;
        } else if (argument == "--shard") {
            if (i + 1 == arguments.size()) return refuse("'--shard' needs a value K/N");
            const std::string_view value = arguments[++i];
            const std::size_t slash = value.find('/');
            unsigned k = 0, n = 0;
            const auto whole = [](std::string_view text, unsigned& number) {
                const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
                return !text.empty() && error == std::errc() && end == text.data() + text.size();
            };
            if (slash == std::string_view::npos || !whole(value.substr(0, slash), k) ||
                !whole(value.substr(slash + 1), n) || n == 0 || k == 0 || k > n) {
                return refuse("'--shard " + std::string(value) + "': K/N with 1 <= K <= N, e.g. --shard 2/8");
            }
            options.shard = k;
            options.shards = n;
        } else if (argument == "--sqlite" || argument == "--table") {
            if (i + 1 == arguments.size()) return refuse("'" + std::string(argument) + "' needs a value");
            const std::string_view value = arguments[++i];
            if (argument == "--sqlite") {
                if (!options.sqlite.empty()) return refuse("'--sqlite' given twice");
                if (value.empty()) return refuse("an empty database file name");
                options.sqlite = value;
            } else {
                if (have_table) return refuse("'--table' given twice");
                if (const std::string why = modelfiles::table_name_problem(value); !why.empty())
                    return refuse("'--table " + std::string(value) + "': " + why);
                options.table = value;
                have_table = true;
            }
        } else if (argument == "-o" || argument == "-j") {
            if (i + 1 == arguments.size()) return refuse("'" + std::string(argument) + "' needs a value");
            const std::string_view value = arguments[++i];
            if (argument == "-o") {
                if (have_folder) return refuse("more than one output folder");
                if (value.empty()) return refuse("an empty output folder name");
                options.output_folder = value;
                have_folder = true;
            } else {
                if (have_jobs) return refuse("'-j' given twice");
                unsigned jobs = 0;
                const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), jobs);
                if (error != std::errc() || end != value.data() + value.size() || jobs == 0 || jobs > 1024) {
                    return refuse("'-j " + std::string(value) +
                                  "': the number of jobs is a whole number from 1 to 1024");
                }
                options.jobs = jobs;
                have_jobs = true;
            }
        } else if (argument.size() > 1 && argument.front() == '-') {
            return refuse("unknown option '" + std::string(argument) + "'");
        } else {
            if (have_list) return refuse("more than one station list");
            if (argument.empty()) return refuse("an empty station list name");
            options.list = argument;
            have_list = true;
        }
    }
    if (!have_list) return refuse("no station list");
    if (!have_folder) return refuse("no output folder (-o OUTDIR)");
    if (!options.check && !options.check_arguments.empty())
        return refuse("'" + options.check_arguments.front() + "' goes with --check");
    if (options.check) {
        if (const std::string why = check_arguments_problem(options.check_arguments); !why.empty()) return refuse(why);
    }
    if (options.merge && (options.shards > 1 || options.rerun))
        return refuse("--merge runs nothing: no --shard, no --rerun");
    if (have_table && options.sqlite.empty()) return refuse("'--table' goes with --sqlite");
    if (!options.sqlite.empty() && options.shards > 1)
        return refuse("--sqlite is written by --merge (or a whole batch), not by a shard");
    return options;
}

}  // namespace wgn::batch
