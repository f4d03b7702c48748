#include "series/series_command.hpp"

#include <optional>
#include <string_view>

#include "io/file_lines.hpp"
#include "io/file_names.hpp"
#include "io/platform.hpp"
#include "io/wgnrain_facts.hpp"
#include "io/whole_files.hpp"
#include "readers/formats.hpp"
#include "readers/measure_units.hpp"
#include "readers/number_text.hpp"
#include "readers/read_station_file.hpp"
#include "series/one_pass_series.hpp"
#include "series/precipitation_values.hpp"
#include "series/wet_day_threshold.hpp"
#include "series/whole_years.hpp"
#include "text/plain_text.hpp"

namespace wgn::series {
namespace {

namespace platform = io::platform;

struct SeriesArguments {
    std::string file, output;
    std::optional<readers::Unit> pcp_unit;  // stated by --pcp-unit
    readers::ReadOptions read;
    SeriesOptions series;
    bool help = false, version = false;
};

std::optional<int> year_value(std::string_view text) {
    const std::optional<int> year = readers::whole_number(text);
    if (!year || *year < 1 || *year > 9999) return std::nullopt;
    return year;
}

// The command line, or why it is refused (the first fault found).
Result<SeriesArguments> parse_arguments(std::span<const std::string> arguments) {
    SeriesArguments parsed;
    if (arguments.size() == 1 && platform::asks_for_help(arguments[0])) parsed.help = true;
    if (arguments.size() == 1 && std::string_view(arguments[0]) == "--version") parsed.version = true;
    if (parsed.help || parsed.version) return parsed;
    std::string error;
    const auto refuse = [&error](std::string why) {
        if (error.empty()) error = std::move(why);
    };
    for (std::size_t i = 0; i < arguments.size() && error.empty(); ++i) {
        std::string_view option = arguments[i];
        std::optional<std::string_view> value;
        if (option.substr(0, 2) == "--" && option.find('=') != std::string_view::npos) {
            value = option.substr(option.find('=') + 1);
            option = option.substr(0, option.find('='));
        }
        const bool takes_value = option == "-o" || option == "--format" || option == "--first-year" ||
                                 option == "--last-year" || option == "--nodata" || option == "--pcp-column" ||
                                 option == "--hhr-column" || option == "--date-column" || option == "--pcp-unit" ||
                                 option == "--pcp-threshold" || option == "--gauge";
        if (takes_value && !value) {
            if (i + 1 == arguments.size()) {
                refuse("'" + std::string(option) + "' needs a value");
                break;
            }
            value = arguments[++i];
        }
        if (option == "-o") {
            if (!parsed.output.empty() || value->empty()) refuse("one series name after -o");
            parsed.output = *value;
        } else if (option == "--format") {
            if (const auto format = readers::format_named(text::lower_case(*value))) {
                parsed.read.format = *format;
            } else {
                refuse("'" + std::string(*value) + "' is not a format (" + readers::format_names() + ")");
            }
        } else if (option == "--first-year" || option == "--last-year") {
            const std::optional<int> year = year_value(*value);
            if (!year) refuse("'" + std::string(*value) + "' is not a year");
            (option == "--first-year" ? parsed.series.first_year : parsed.series.last_year) = year;
        } else if (option == "--nodata") {
            // Whatever wgnrain's dialogue takes as its NoData answer.
            if (!facts::is_nodata_text(*value)) refuse("'" + std::string(*value) + "' is not a number");
            parsed.series.nodata = *value;
        } else if (option == "--pcp-column" || option == "--hhr-column") {
            parsed.read.columns[option == "--pcp-column" ? readers::Variable::pcp : readers::Variable::hhr] = *value;
        } else if (option == "--date-column") {
            parsed.read.date_column = *value;
        } else if (option == "--gauge") {
            if (text::trimmed(*value).empty()) refuse("'--gauge' needs a gauge's number or name");
            parsed.read.gauge = *value;
        } else if (option == "--pcp-unit") {
            parsed.pcp_unit = readers::unit_named(readers::Quantity::kPrecipitation, *value);
            if (!parsed.pcp_unit) {
                refuse("'" + std::string(*value) + "' is not a unit of precipitation (" +
                       readers::unit_names(readers::Quantity::kPrecipitation) + ")");
            }
        } else if (option == "--pcp-threshold") {
            Result<std::string> threshold = wet_day_threshold(*value);
            if (!threshold) refuse("--pcp-threshold: " + threshold.problem().text);
            parsed.series.pcp_threshold = threshold ? std::move(*threshold) : std::string();
        } else if (option.size() > 1 && option.front() == '-') {
            refuse("unknown option '" + std::string(option) + "'");
        } else if (!parsed.file.empty() || option.empty()) {
            refuse("one station file only");
        } else {
            parsed.file = option;
        }
    }
    if (parsed.file.empty()) refuse("no station file");
    if (parsed.output.empty()) refuse("no series name (-o SERIES)");
    if (parsed.read.format == readers::Format::plain && !parsed.series.first_year)
        refuse("a plain series needs --first-year");
    if (!parsed.read.gauge.empty() && parsed.read.format != readers::Format::swat2012)
        refuse("--gauge chooses a gauge of a swat2012 file");
    if (!error.empty()) return problem_text(std::move(error));
    // A plain series marks its missing days with the NoData value it is given.
    parsed.read.nodata = readers::facts(parsed.read.format).honours_nodata ? parsed.series.nodata : "";
    parsed.read.first_year = parsed.series.first_year;
    parsed.read.settings = readers::Settings::command_line;
    parsed.series.settings = readers::Settings::command_line;
    // The series is made of the precipitation (half-hour rain is checked
    // for its unit with it); a dated table's other columns are not read.
    parsed.read.only = {readers::Variable::pcp, readers::Variable::hhr};
    return parsed;
}

// A name as one answer of the dialogue: between quotation marks, any inside doubled.
std::string answer_name(std::string_view name) {
    std::string answer = "\"";
    for (const char c : name) {
        if (c == '"') answer.push_back('"');
        answer.push_back(c);
    }
    return answer + "\"";
}

// The file the series replaces: `output` itself, or the file a link of
// that name leads to (the link stays a link).  A named pipe or a device is
// never replaced by a file.
Result<platform::ResolvedName> series_target(const platform::ResolvedName& output) {
    platform::ResolvedName written = output;
    int error = 0;
    if (platform::is_link(output) && !platform::link_target(output, written, error))
        return problem_text("cannot follow the link " + output.shown + ": " + platform::reason_text(error));
    if (written.report != 0)
        return problem_text(written.shown + " is not a usable file name: " + io::name_refusal(written));
    std::string why;
    switch (platform::file_kind(written)) {
        case platform::FileKind::fifo: why = " is a named pipe, not a file"; break;
        case platform::FileKind::device: why = " is a device, not a file"; break;
        case platform::FileKind::other: why = " is not a regular file"; break;
        default: return written;
    }
    return problem_text(written.shown + why + ": the series must go to a regular file");
}

// The series of the station file `input` in one pass over its lines, where
// the file allows it: only a window of its text is ever held.  Nothing when
// it does not, or when a read fails (the general reading then tells).
std::optional<WholeYearSeries> one_pass_series_of(const platform::ResolvedName& input, const SeriesArguments& parsed) {
    io::FileLines lines;
    int error = 0;
    if (!lines.open(input, error)) return std::nullopt;
    const std::int64_t size = platform::file_stamp(input).size;
    std::optional<WholeYearSeries> series =
        one_pass_series([&lines](std::string_view& line) { return lines.next(line); },
                        size > 0 ? static_cast<std::size_t>(size) : 0, parsed.read, parsed.pcp_unit, parsed.series);
    if (lines.error() != 0) return std::nullopt;
    return series;
}

// The series of the station file's text `text`, or why none can be made
// (with the file's name `shown`): its values read, then placed on their days.
// The days not plausible that it made missing go into `outliers`.
Result<WholeYearSeries> series_of(std::string_view text, const std::string& shown, const SeriesArguments& parsed,
                                  std::vector<readers::OutlierDay>& outliers) {
    Result<readers::StationRecord> read = readers::read_station_file(shown, text, parsed.read);
    if (!read) return read.problem();
    // Precipitation in millimetres, every day plausible.
    const Result<MillimetreRead> millimetres = millimetre_precipitation(
        *read, parsed.pcp_unit, readers::facts(parsed.read.format).fixes_pcp_unit, shown, parsed.read.settings);
    if (!millimetres) return millimetres.problem();
    Result<WholeYearSeries> series = make_whole_years(read->variables[readers::Variable::pcp], parsed.series);
    if (!series) return series.problem().in_file(shown);
    outliers = outliers_within(millimetres->outlier_days, series->coverage);
    return series;
}

void say(const std::string& text) {
    platform::write_error_output("wgnrain-series: " + text + "\n");
}

}  // namespace

const char* const kSeriesUsage =
    "Usage: wgnrain-series FILE [--format F] [--first-year Y] [--last-year Y]\n"
    "                      [--nodata V] [--pcp-column NAME] [--pcp-unit U]\n"
    "                      [--date-column NAME] [--hhr-column NAME] [--pcp-threshold MM]\n"
    "                      [--gauge G] -o SERIES\n"
    "       wgnrain-series --help | --version\n"
    "\n"
    "Reads the daily precipitation of one station file, places every value on\n"
    "its calendar day and writes SERIES, the series wgnrain reads: one value per\n"
    "line from 1 January of the first year to 31 December of the last, every\n"
    "missing day written as the NoData value.  Standard output gets the four\n"
    "answers to give wgnrain (the series, a report name, the first year, the\n"
    "NoData value), standard error how complete the record is:\n"
    "\n"
    "  wgnrain-series USC00053005.dly --format ghcnd -o ftc.txt | wgnrain\n"
    "\n"
    "Formats (--format, default plain):\n"
    "  plain     one value per line from 1 January of --first-year\n"
    "  csv       a header row, a date column (YYYY-MM-DD, YYYY/MM/DD, YYYYMMDD, also\n"
    "            with a time of day) or year, month, day (or doy / yday) columns,\n"
    "            and a precipitation column (--pcp-column, --date-column name them)\n"
    "  ghcnd     a GHCN-Daily .dly file (PRCP, tenths of mm)\n"
    "  power     a NASA POWER daily CSV (PRECTOTCORR)\n"
    "  swat      a SWAT 2012 station file (start date YYYYMMDD, then the values)\n"
    "  swatplus  a SWAT+ .pcp file (daily)\n"
    "  swat2012  a SWAT 2012 project's pcpN.pcp: gauges side by side in fixed\n"
    "            columns; --gauge G reads gauge G (its name on the title line\n"
    "            \"Station  name1,name2,...\", or its number from 1)\n"
    "\n"
    "The period is made of whole calendar years: the longest run of years with\n"
    "at most 10 % of their days missing (of runs as long, the latest), unless\n"
    "--first-year / --last-year set it; with one of them, the other end is the\n"
    "far end of the longest such run on its side.  --nodata (default -99) is\n"
    "written for missing days and must differ from every value; in plain and\n"
    "csv files it also marks missing days.  In plain and swat files a blank line\n"
    "among the values is refused: it would move every later day up by one.\n"
    "--pcp-unit (mm, in or tenths_mm; default: the unit the file's header or\n"
    "notes name, else mm) converts the values into mm exactly.  Where nothing\n"
    "states the unit of a csv or plain file, values that read as tenths of mm\n"
    "(whole numbers, far too wet) or as inches (hundredths, far too dry) are\n"
    "refused until --pcp-unit says.  A day below 0 or above 2000 mm is made\n"
    "missing (at most 5 days, or 0.1 % of them); more are refused with the\n"
    "first's line.  --pcp-threshold (mm, default none; 0.1 for\n"
    "gridded or reanalysis data) writes a day below it, after the conversion,\n"
    "as 0: drizzle on every day is not a wet day.  A day equal to it is kept.\n"
    "An empty cell, NA, N/A, NaN, null, -, -- or M is a missing day; T, a trace,\n"
    "is 0.\n"
    "\n"
    "Exit status: 0 written, 1 the file could not be read or the series not\n"
    "written, 2 a bad command line.\n";

int run_series_command(std::span<const std::string> arguments) {
    const Result<SeriesArguments> arguments_read = parse_arguments(arguments);
    if (!arguments_read) {
        say(arguments_read.problem().message() + " (see 'wgnrain-series --help')");
        return 2;
    }
    const SeriesArguments& parsed = *arguments_read;
    if (parsed.help) return platform::write_standard_output(kSeriesUsage) ? 0 : 1;
    if (parsed.version) return platform::write_standard_output("wgnrain-series " WGNRAIN_VERSION "\n") ? 0 : 1;
    const platform::ResolvedName input = platform::resolve_file_name(parsed.file);
    const platform::ResolvedName output = platform::resolve_file_name(parsed.output);
    if (output.report != 0) {
        say(parsed.output + " is not a usable file name: " + io::name_refusal(output));
        return 2;
    }
    if (platform::same_path(input, output) || platform::same_existing_file(input, output)) {
        say("the series " + output.shown + " would replace the station file itself");
        return 2;
    }
    const Result<platform::ResolvedName> target = series_target(output);
    if (!target) {
        say(target.problem().message());
        return 2;
    }
    if (input.report == 0) {
        if (const std::string problem = io::input_file_problem(input); !problem.empty()) {
            say(problem);
            return 1;
        }
    }
    std::optional<WholeYearSeries> series = input.report == 0 ? one_pass_series_of(input, parsed) : std::nullopt;
    std::vector<readers::OutlierDay> outliers;
    int error = 0;
    if (!series) {
        std::string text;
        if (input.report != 0 || !io::read_whole_file(input, text, error)) {
            say("cannot read " + input.shown + ": " + io::failure_reason(input, error));
            return 1;
        }
        Result<WholeYearSeries> read = series_of(text, input.shown, parsed, outliers);
        if (!read) {
            say(read.problem().message());
            return 1;
        }
        series = std::move(*read);
    }
    if (!io::replace_whole_file(*target, series->text, error)) {
        say("cannot write " + target->shown + ": " + platform::reason_text(error));
        return 1;
    }
    std::string report = output.shown;
    const std::size_t point = report.rfind('.');
    const std::size_t folder_end = report.find_last_of("/\\");
    if (point != std::string::npos && (folder_end == std::string::npos || point > folder_end)) report.resize(point);
    report.append("-report.txt");
    const std::string answers = answer_name(output.shown) + "\n" + answer_name(report) + "\n" +
                                std::to_string(series->coverage.first_year) + "\n" + parsed.series.nodata + "\n";
    say(coverage_line(series->coverage, parsed.series.pcp_threshold) +
        (outliers.empty() ? std::string() : "; outlier days made missing: " + readers::outlier_list(outliers)));
    return platform::write_standard_output(answers) ? 0 : 1;
}

}  // namespace wgn::series
