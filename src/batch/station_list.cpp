#include "batch/station_list.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <optional>

#include "batch/case_folding.hpp"
#include "batch/folder_lock.hpp"
#include "batch/reference_stations.hpp"
#include "io/platform.hpp"
#include "io/wgnrain_facts.hpp"
#include "io/whole_files.hpp"
#include "modelfiles/model_files.hpp"
#include "readers/csv.hpp"
#include "readers/measure_units.hpp"
#include "readers/number_text.hpp"
#include "series/wet_day_threshold.hpp"
#include "text/plain_text.hpp"
#include "text/unicode_text.hpp"
#include "weather/position.hpp"

namespace wgn::batch {

using readers::CsvRow;
using readers::CsvText;
using readers::detect_separator;
using readers::parse_csv;

namespace {

// The columns the batch reads; the first two are always required, the next
// two unless the list has a format column, the rest are optional.
constexpr std::array<std::string_view, 11> kKnown = {"station",       "file",        "first_year", "nodata",
                                                     "format",        "last_year",   "pcp_column", "pcp_unit",
                                                     "pcp_threshold", "date_column", "gauge"};
enum Known : std::size_t {
    kStation,
    kFile,
    kFirstYear,
    kNodata,
    kFormat,
    kLastYear,
    kPcpColumn,
    kPcpUnit,
    kPcpThreshold,
    kDateColumn,
    kGauge
};

std::string trimmed(std::string_view text) {
    return std::string(text::trimmed(text));
}

// Column names and device names are compared without regard to the case of
// ASCII letters.
std::string ascii_folded(std::string_view text) {
    return text::lower_case(text);
}

bool holds_control_character(std::string_view text) {
    for (const char c : text) {
        const auto code = static_cast<unsigned char>(c);
        if (code < 32 || code == 127) return true;
    }
    return false;
}

// The dialogue reads the year as a 32-bit whole number.
bool is_whole_number(std::string_view text) {
    return readers::whole_number(text).has_value();
}

// What the dialogue's NoData answer takes, as wgnrain itself reads it.
bool is_number(std::string_view text) {
    return facts::is_nodata_text(text);
}

using text::quoted;

// The list's columns of latitude, longitude and elevation.
constexpr std::string_view kPositionColumns[3] = {"lat", "lon", "elev"};

// Collects the problems of one row of the list, each with its column.
struct RowProblems {
    std::vector<Problem>& problems;
    int row;
    void operator()(std::string_view column, std::string text) const {
        problems.push_back(Problem{"", row, std::string(column), std::move(text)});
    }
};

// The weather columns of a station: files that exist (their full names
// replace the names as written), a known unit, a position within its
// bounds (weather/position.hpp).  In the order of the columns' names.
void check_weather(Station& station, const FileCheck& check_file, const RowProblems& problem) {
    for (const WeatherColumn& column : kWeatherColumns) {
        std::string& value = station.weather.*column.field;
        if (value.empty()) continue;
        if (names_file(column)) {
            if (Result<std::string> full_name = check_file(value); !full_name) {
                problem(column.name, full_name.problem().text);
            } else {
                value = std::move(*full_name);
            }
            if (column.kind == WeatherColumnKind::variable_file &&
                !readers::facts(station.format).takes_variable_files) {
                problem(column.name, "a " + std::string(readers::name(station.format)) +
                                         " station gives its other variables in its own file");
            }
        }
        for (std::size_t c = 0; c < 3; ++c) {
            if (column.name != kPositionColumns[c]) continue;
            if (const auto plain = weather::position_text(static_cast<weather::Coordinate>(c), value); !plain)
                problem(column.name, plain.problem().text);
        }
        for (const readers::Quantity quantity : {readers::Quantity::kTemperature, readers::Quantity::kRadiation,
                                                 readers::Quantity::kHumidity, readers::Quantity::kWind}) {
            if (column.name == readers::unit_column(quantity) && !readers::unit_named(quantity, value)) {
                problem(column.name,
                        quoted(value) + " is not a unit of its kind (" + readers::unit_names(quantity) + ")");
            }
        }
    }
    const WeatherColumns& listed = station.weather;
    for (const auto& [column, value] :
         {std::pair<std::string_view, const std::string*>{"fill_station", &listed.fill_station},
          {"fill_table", &listed.fill_table},
          {"fill_max_km", &listed.fill_max_km}}) {
        if (!value->empty() && listed.fill_file.empty()) problem(column, "a reference station needs its fill_file");
    }
    if (!listed.fill_max_km.empty()) {
        const std::optional<double> km = readers::number_value(listed.fill_max_km);
        if (!km || *km < 0) {
            problem("fill_max_km", quoted(listed.fill_max_km) + " is not a distance in km (a number from 0 up)");
        } else if (text::lower_case(listed.fill_station) != kNearestStation) {
            problem("fill_max_km", "fill_max_km bounds fill_station nearest");
        }
    }
}

// The list's text as UTF-8: UTF-16 (by its byte order mark) is converted, a
// list that is not UTF-8 may be in the system's own code page (Windows:
// ANSI); other text is refused at its first byte that is not UTF-8.
Result<std::string> list_as_utf8(std::string_view text) {
    std::string converted(text);
    if (auto utf8 = text::utf16_as_utf8(text)) converted = std::move(*utf8);
    std::string system_text;
    if (text::first_invalid_utf8(converted) && io::platform::system_text_as_utf8(converted, system_text)) {
        converted = std::move(system_text);
    }
    const std::string_view utf8 = converted;
    if (const auto bad = text::first_invalid_utf8(utf8)) {
        const std::string_view before = utf8.substr(0, *bad);
        const std::size_t line_start = before.rfind('\n') == std::string_view::npos ? 0 : before.rfind('\n') + 1;
        const char separator = detect_separator(utf8);
        std::size_t column = 1;
        for (const char c : before.substr(line_start)) column += c == separator ? 1 : 0;
        return Problem{"", static_cast<int>(std::count(before.begin(), before.end(), '\n') + 1), std::to_string(column),
                       "text that is not UTF-8 (save the list as UTF-8, or CSV UTF-8 in a spreadsheet)"};
    }
    return converted;
}

// Where the header puts each column.
struct Header {
    std::array<std::optional<std::size_t>, kKnown.size()> column;
    std::vector<std::size_t> extra_at;
    std::vector<std::pair<const WeatherColumn*, std::size_t>> weather_at;
};

// The header: each required column once; the rest is carried along.  False
// when a column is named twice or a required one is missing.
bool read_header(const CsvRow& header, Header& at, StationList& list) {
    std::map<std::string, std::size_t> seen;
    bool header_ok = true;
    for (std::size_t i = 0; i < header.fields.size(); ++i) {
        const std::string name = ascii_folded(trimmed(header.fields[i]));
        if (!name.empty() && !seen.emplace(name, i).second) {
            list.problems.push_back(
                Problem{"", header.line, std::to_string(i + 1), "the column " + quoted(name) + " is named twice"});
            header_ok = false;
            continue;
        }
        bool known = false;
        for (std::size_t r = 0; r < kKnown.size(); ++r) {
            if (name == kKnown[r]) {
                at.column[r] = i;
                known = true;
            }
        }
        if (const WeatherColumn* weather = known ? nullptr : weather_column_named(name)) {
            at.weather_at.emplace_back(weather, i);
            known = true;
        }
        if (!known) {
            at.extra_at.push_back(i);
            list.extra_columns.push_back(trimmed(header.fields[i]));
        }
    }
    const std::size_t required = at.column[kFormat] ? 2 : 4;
    for (std::size_t r = 0; r < required; ++r) {
        if (!at.column[r]) {
            list.problems.push_back(Problem{"", header.line, "", "no column " + quoted(kKnown[r])});
            header_ok = false;
        }
    }
    list.dated_columns = at.column[kFormat] || at.column[kLastYear] || at.column[kPcpColumn] || at.column[kPcpUnit] ||
                         at.column[kPcpThreshold] || at.column[kDateColumn];
    list.weather_columns = !at.weather_at.empty();
    return header_ok;
}

// The cells of a row, as written; the format is checked with the rest.
Station station_of_row(const CsvRow& row, const Header& at, std::string& format) {
    Station station;
    station.row = row.line;
    const auto cell = [&](Known known) {
        return at.column[known] ? trimmed(row.fields[*at.column[known]]) : std::string();
    };
    station.name = cell(kStation);
    station.file = cell(kFile);
    station.first_year = cell(kFirstYear);
    station.nodata = cell(kNodata);
    station.last_year = cell(kLastYear);
    station.pcp_column = cell(kPcpColumn);
    station.pcp_unit = cell(kPcpUnit);
    station.pcp_threshold = cell(kPcpThreshold);
    station.date_column = cell(kDateColumn);
    station.gauge = cell(kGauge);
    format = ascii_folded(cell(kFormat));
    if (format.empty()) format = readers::name(readers::Format::plain);
    // An unknown format is reported on its own column; the other checks
    // take the file for a dated one.
    station.format = readers::format_named(format).value_or(readers::Format::csv);
    for (const std::size_t i : at.extra_at) station.extra.push_back(row.fields[i]);
    for (const auto& [column, i] : at.weather_at) station.weather.*column->field = trimmed(row.fields[i]);
    return station;
}

// The station names taken so far: by their keys, and by the keys of their
// names in the model files (model_name), written their own way: two written
// alike would be one station to the model.
struct TakenNames {
    std::map<std::string, int> rows;
    std::map<std::string, std::pair<int, std::string>> cli_names;
};

void check_name(const Station& station, bool complete_record, TakenNames& taken, const RowProblems& problem) {
    if (const std::string reason = unsafe_name_reason(station.name); !reason.empty()) {
        problem("station", reason);
    } else if (const auto [it, fresh] = taken.rows.emplace(name_key(station.name), station.row); !fresh) {
        problem("station", quoted(station.name) + " is already the station of row " + std::to_string(it->second));
    } else if (complete_record) {
        const std::string written = modelfiles::model_name(station.name);
        const auto [earlier, first] = taken.cli_names.emplace(name_key(written), std::pair(station.row, station.name));
        if (!first) {
            problem("station", quoted(station.name) + " is written as " + written + " in " + std::string(kCliName) +
                                   ", as is " + quoted(earlier->second.second) + " of row " +
                                   std::to_string(earlier->second.first));
        }
    }
}

// The series' own cells: its file, format, period, NoData value, unit and wet-day threshold.
void check_series(Station& station, const std::string& format, const FileCheck& check_file,
                  const RowProblems& problem) {
    if (station.file.empty()) {
        problem("file", "no file name");
    } else if (holds_control_character(station.file)) {
        problem("file", "the name holds a control character");
    } else if (Result<std::string> full_name = check_file(station.file); !full_name) {
        problem("file", full_name.problem().text);
    } else {
        station.input_name = std::move(*full_name);
    }
    if (!readers::format_named(format)) {
        problem("format", quoted(format) + " is not a format (" + readers::format_names() + ")");
    }
    // A plain series needs its first year and NoData value; a dated file
    // knows its days, and these only bound the period and mark gaps.
    const bool plain = !station.dated();
    if ((plain || !station.first_year.empty()) && !is_whole_number(station.first_year)) {
        problem("first_year", quoted(station.first_year) + " is not a year (a whole number)");
    }
    if (!station.last_year.empty() && !is_whole_number(station.last_year)) {
        problem("last_year", quoted(station.last_year) + " is not a year (a whole number)");
    }
    if ((plain || !station.nodata.empty()) && !is_number(station.nodata)) {
        problem("nodata", quoted(station.nodata) + " is not a number");
    }
    if (!station.date_column.empty() && station.format != readers::Format::csv &&
        station.format != readers::Format::power) {
        problem("date_column", "only a csv or power file has a date column");
    }
    if (!station.gauge.empty() && station.format != readers::Format::swat2012) {
        problem("gauge", "only a swat2012 file has gauges to choose from");
    }
    if (!station.pcp_unit.empty()) {
        const auto unit = readers::unit_named(readers::Quantity::kPrecipitation, station.pcp_unit);
        if (!unit) {
            problem("pcp_unit", quoted(station.pcp_unit) + " is not a unit of precipitation (" +
                                    readers::unit_names(readers::Quantity::kPrecipitation) + ")");
        } else if (plain && *unit != readers::Unit::kMillimetre) {
            // wgnrain reads a plain series as it is.
            problem("pcp_unit", "a plain series is read in mm: convert it first with wgnrain-series --pcp-unit");
        }
    }
    if (!station.pcp_threshold.empty()) {
        if (const Result<std::string> threshold = series::wet_day_threshold(station.pcp_threshold); !threshold) {
            problem("pcp_threshold", threshold.problem().text);
        } else if (plain) {
            // wgnrain reads a plain series as it is.
            problem("pcp_threshold",
                    "a plain series is read as it is: write it with wgnrain-series --pcp-threshold first");
        }
    }
}

}  // namespace

readers::ReadOptions read_options(const Station& station, std::string_view nodata, readers::FileKind kind) {
    readers::ReadOptions options;
    options.format = station.format;
    options.kind = kind;
    options.nodata = readers::facts(options.format).honours_nodata ? std::string(nodata) : std::string();
    options.date_column = station.date_column;
    options.gauge = station.gauge;
    for (const readers::Variable variable : readers::kAllVariables) {
        const std::optional<readers::FileKind> file_kind = readers::facts(variable).kind;
        const bool own_file =
            !file_kind || *file_kind == readers::FileKind::pcp || station.weather.file_of(*file_kind).empty();
        if (kind == readers::FileKind::pcp ? !own_file : file_kind != kind) continue;
        const std::string& name =
            variable == readers::Variable::pcp ? station.pcp_column : station.weather.column_of(variable);
        if (!name.empty()) options.columns[variable] = name;
    }
    return options;
}

std::string list_problem_text(const Problem& problem) {
    std::string text = "row " + std::to_string(problem.line);
    if (!problem.column.empty()) text.append(", column ").append(problem.column);
    return text.append(": ").append(problem.text);
}

std::string unsafe_name_reason(std::string_view name) {
    if (name.empty()) return "no station name";
    if (name == "." || name == "..") return quoted(name) + " is not a plain name";
    if (holds_control_character(name)) return "the name holds a control character";
    if (name.find_first_of("/\\:*?\"<>|") != std::string_view::npos) {
        return quoted(name) + " is not a plain name (no / \\ : * ? \" < > |)";
    }
    if (name.back() == '.' || name.back() == ' ') return quoted(name) + " ends in a point or blank";
    // Names of devices on Windows, with or without an extension.
    const std::string stem = ascii_folded(name.substr(0, name.find('.')));
    static constexpr std::array<std::string_view, 22> kDevices = {
        "con",  "prn",  "aux",  "nul",  "com1", "com2", "com3", "com4", "com5", "com6", "com7",
        "com8", "com9", "lpt1", "lpt2", "lpt3", "lpt4", "lpt5", "lpt6", "lpt7", "lpt8", "lpt9"};
    for (const std::string_view device : kDevices) {
        if (stem == device) return quoted(name) + " names a device on Windows";
    }
    // The files of the output folder, in any letter case (the folder may be
    // on a file system that ignores it).
    const std::string key = name_key(name);
    for (const std::string_view output :
         {kPageName, kSummaryName, kUserwgnName, kMonthlyName, kCliName, kEditorStationsName, kEditorMonthlyName,
          kUserwgnFullName, kSwat2012Folder, kIntervalsName, kCheckFolder}) {
        if (key == output) return quoted(name) + " is the name of an output file of the batch";
    }
    if (is_lock_name(key)) return quoted(name) + " is the name of the batch's lock";
    if (io::is_scratch_name(key)) return quoted(name) + " is the name of a file the batch writes for a moment";
    // Every CSV file of the batch holds the name: a spreadsheet takes a cell
    // that begins so for a formula, and may run it (=HYPERLINK, +cmd, @SUM).
    if (std::string_view("=+-@").find(name.front()) != std::string_view::npos) {
        return quoted(name) + " begins with " + name.front() + " : a spreadsheet would take it for a formula";
    }
    return {};
}

StationList read_station_list(std::string_view text, const FileCheck& check_file) {
    StationList list;
    const Result<std::string> utf8 = list_as_utf8(text);
    if (!utf8) {
        list.problems.push_back(utf8.problem());
        return list;
    }
    const Result<CsvText> read = parse_csv(*utf8, detect_separator(*utf8));
    if (!read) {
        list.problems.push_back(read.problem());
        return list;
    }
    const CsvText& csv = *read;
    if (csv.rows.empty()) {
        list.problems.push_back(Problem{"", 1, "", "no header row (station,file,first_year,nodata)"});
        return list;
    }
    const CsvRow& header = csv.rows.front();
    Header at;
    if (!read_header(header, at, list)) return list;
    if (csv.rows.size() == 1) {
        list.problems.push_back(Problem{"", header.line, "", "no station below the header"});
        return list;
    }
    TakenNames taken;
    for (std::size_t r = 1; r < csv.rows.size(); ++r) {
        const CsvRow& row = csv.rows[r];
        if (row.fields.size() != header.fields.size()) {
            list.problems.push_back(Problem{
                "", row.line, "",
                std::to_string(row.fields.size()) + " fields, the header has " + std::to_string(header.fields.size())});
            continue;
        }
        const RowProblems problem{list.problems, row.line};
        const std::size_t count = list.problems.size();
        std::string format;
        Station station = station_of_row(row, at, format);
        check_name(station, list.weather_columns, taken, problem);
        check_series(station, format, check_file, problem);
        check_weather(station, check_file, problem);
        if (list.problems.size() == count) list.stations.push_back(std::move(station));
    }
    return list;
}

}  // namespace wgn::batch
