#include "batch/station_list.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <optional>

#include "batch/case_folding.hpp"
#include "batch/folder_lock.hpp"
#include "io/platform.hpp"
#include "io/wgnrain_facts.hpp"
#include "io/whole_files.hpp"
#include "modelfiles/model_files.hpp"
#include "readers/csv.hpp"
#include "readers/measure_units.hpp"
#include "readers/number_text.hpp"
#include "readers/read_station_file.hpp"
#include "text/plain_text.hpp"
#include "weather/position.hpp"

namespace wgn::batch {

using readers::CsvRow;
using readers::CsvText;
using readers::detect_separator;
using readers::parse_csv;

namespace {

// The columns the batch reads; the first two are always required, the next
// two unless the list has a format column, the rest are optional.
constexpr std::array<std::string_view, 8> kKnown = {"station", "file",      "first_year", "nodata",
                                                    "format",  "last_year", "pcp_column", "pcp_unit"};
enum Known : std::size_t { kStation, kFile, kFirstYear, kNodata, kFormat, kLastYear, kPcpColumn, kPcpUnit };

std::string trimmed(std::string_view text) {
    return std::string(text::trimmed(text));
}

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Column names and device names are compared without regard to the case of
// ASCII letters.
std::string ascii_folded(std::string_view text) {
    std::string result(text);
    for (char& c : result) c = lower(c);
    return result;
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

// The list's columns of latitude, longitude and elevation.
constexpr std::string_view kPositionColumns[3] = {"lat", "lon", "elev"};

// The weather columns of a station: files that exist (their full names
// replace the names as written), a known wind unit, a position within its
// bounds (weather/position.hpp).
template <typename Problem>
void check_weather(Station& station, const FileCheck& check_file, const Problem& problem) {
    for (auto& [column, value] : station.weather) {
        if (is_file_column(column)) {
            std::string full_name;
            if (const std::string reason = check_file(value, full_name); !reason.empty()) {
                problem(column, reason);
            } else {
                value = full_name;
            }
            const bool variable_file = column != "stations_file" && column != "fill_file";
            if (variable_file && !readers::facts(station.format).takes_variable_files) {
                problem(column, "a " + std::string(readers::name(station.format)) +
                                    " station gives its other variables in its own file");
            }
        }
        for (std::size_t c = 0; c < 3; ++c) {
            std::string why;
            if (column == kPositionColumns[c] &&
                !weather::position_text(static_cast<weather::Coordinate>(c), value, why))
                problem(column, why);
        }
        for (const readers::Quantity quantity : {readers::Quantity::kTemperature, readers::Quantity::kRadiation,
                                                 readers::Quantity::kHumidity, readers::Quantity::kWind}) {
            if (column == readers::unit_column(quantity) && !readers::unit_named(quantity, value)) {
                problem(column,
                        text::quoted(value) + " is not a unit of its kind (" + readers::unit_names(quantity) + ")");
            }
        }
    }
    if (!station.weather_option("fill_station").empty() && station.weather_option("fill_file").empty()) {
        problem("fill_station", "a reference station needs its fill_file");
    }
}

}  // namespace

bool is_file_column(std::string_view column) {
    return column.size() > 5 && column.substr(column.size() - 5) == "_file";
}

std::string unsafe_name_reason(std::string_view name) {
    if (name.empty()) return "no station name";
    if (name == "." || name == "..") return text::quoted(name) + " is not a plain name";
    if (holds_control_character(name)) return "the name holds a control character";
    if (name.find_first_of("/\\:*?\"<>|") != std::string_view::npos) {
        return text::quoted(name) + " is not a plain name (no / \\ : * ? \" < > |)";
    }
    if (name.back() == '.' || name.back() == ' ') return text::quoted(name) + " ends in a point or blank";
    // Names of devices on Windows, with or without an extension.
    const std::string stem = ascii_folded(name.substr(0, name.find('.')));
    static constexpr std::array<std::string_view, 22> kDevices = {
        "con",  "prn",  "aux",  "nul",  "com1", "com2", "com3", "com4", "com5", "com6", "com7",
        "com8", "com9", "lpt1", "lpt2", "lpt3", "lpt4", "lpt5", "lpt6", "lpt7", "lpt8", "lpt9"};
    for (const std::string_view device : kDevices) {
        if (stem == device) return text::quoted(name) + " names a device on Windows";
    }
    // The files of the output folder, in any letter case (the folder may be
    // on a file system that ignores it).
    const std::string key = name_key(name);
    for (const std::string_view output : {kPageName, kSummaryName, kUserwgnName, kMonthlyName, kCliName,
                                          kEditorStationsName, kEditorMonthlyName, kUserwgnFullName}) {
        if (key == output) return text::quoted(name) + " is the name of an output file of the batch";
    }
    if (is_lock_name(key)) return text::quoted(name) + " is the name of the batch's lock";
    if (io::is_scratch_name(key)) return text::quoted(name) + " is the name of a file the batch writes for a moment";
    // Every CSV file of the batch holds the name: a spreadsheet takes a cell
    // that begins so for a formula, and may run it (=HYPERLINK, +cmd, @SUM).
    if (std::string_view("=+-@").find(name.front()) != std::string_view::npos) {
        return text::quoted(name) + " begins with " + name.front() + " : a spreadsheet would take it for a formula";
    }
    return {};
}

StationList read_station_list(std::string_view text, const FileCheck& check_file) {
    StationList list;
    // UTF-16 (by its byte order mark) is read as UTF-8; other text must be UTF-8.
    std::string converted;
    if (auto utf8 = utf16_as_utf8(text)) {
        converted = std::move(*utf8);
        text = converted;
    }
    // A list that is not UTF-8 may be in the system's own code page (Windows: ANSI).
    std::string system_text;
    if (first_invalid_utf8(text) && io::platform::system_text_as_utf8(text, system_text)) text = system_text;
    if (const auto bad = first_invalid_utf8(text)) {
        const std::string_view before = text.substr(0, *bad);
        const std::size_t line_start = before.rfind('\n') == std::string_view::npos ? 0 : before.rfind('\n') + 1;
        const char separator = detect_separator(text);
        std::size_t column = 1;
        for (const char c : before.substr(line_start)) column += c == separator ? 1 : 0;
        list.problems.push_back("row " + std::to_string(std::count(before.begin(), before.end(), '\n') + 1) +
                                ", column " + std::to_string(column) +
                                ": text that is not UTF-8 (save the list as UTF-8, or CSV UTF-8 in a spreadsheet)");
        return list;
    }
    const CsvText csv = parse_csv(text, detect_separator(text));
    if (!csv.problem.empty()) {
        list.problems.push_back("row " + std::to_string(csv.problem_line) + ": " + csv.problem);
        return list;
    }
    if (csv.rows.empty()) {
        list.problems.push_back("row 1: no header row (station,file,first_year,nodata)");
        return list;
    }

    // The header: each required column once; the rest is carried along.
    const CsvRow& header = csv.rows.front();
    std::array<std::optional<std::size_t>, kKnown.size()> column;
    std::vector<std::size_t> extra_at;
    std::vector<std::pair<std::string, std::size_t>> weather_at;
    std::map<std::string, std::size_t> seen;
    bool header_ok = true;
    for (std::size_t i = 0; i < header.fields.size(); ++i) {
        const std::string name = ascii_folded(trimmed(header.fields[i]));
        if (!name.empty() && !seen.emplace(name, i).second) {
            list.problems.push_back("row " + std::to_string(header.line) + ", column " + std::to_string(i + 1) +
                                    ": the column " + text::quoted(name) + " is named twice");
            header_ok = false;
            continue;
        }
        bool known = false;
        for (std::size_t r = 0; r < kKnown.size(); ++r) {
            if (name == kKnown[r]) {
                column[r] = i;
                known = true;
            }
        }
        for (std::size_t w = 0; w < kWeatherColumns.size() && !known; ++w) {
            if (name == kWeatherColumns[w]) {
                weather_at.emplace_back(std::string(kWeatherColumns[w]), i);
                known = true;
            }
        }
        if (!known) {
            extra_at.push_back(i);
            list.extra_columns.push_back(trimmed(header.fields[i]));
        }
    }
    const std::size_t required = column[kFormat] ? 2 : 4;
    for (std::size_t r = 0; r < required; ++r) {
        if (!column[r]) {
            list.problems.push_back("row " + std::to_string(header.line) + ": no column " + text::quoted(kKnown[r]));
            header_ok = false;
        }
    }
    list.dated_columns = column[kFormat] || column[kLastYear] || column[kPcpColumn] || column[kPcpUnit];
    list.weather_columns = !weather_at.empty();
    if (!header_ok) return list;
    if (csv.rows.size() == 1) {
        list.problems.push_back("row " + std::to_string(header.line) + ": no station below the header");
        return list;
    }

    std::map<std::string, int> rows_of_names;
    // weather-wgn.cli writes names its own way: two that it writes alike
    // would be one station to the model.  By the key of the written form.
    std::map<std::string, std::pair<int, std::string>> cli_names;
    for (std::size_t r = 1; r < csv.rows.size(); ++r) {
        const CsvRow& row = csv.rows[r];
        const std::string at_row = "row " + std::to_string(row.line);
        if (row.fields.size() != header.fields.size()) {
            list.problems.push_back(at_row + ": " + std::to_string(row.fields.size()) + " fields, the header has " +
                                    std::to_string(header.fields.size()));
            continue;
        }
        const auto problem = [&](std::string_view column_name, const std::string& what) {
            std::string text = at_row;
            text.append(", column ").append(column_name).append(": ").append(what);
            list.problems.push_back(std::move(text));
        };
        Station station;
        station.row = row.line;
        const auto cell = [&](Known known) {
            return column[known] ? trimmed(row.fields[*column[known]]) : std::string();
        };
        station.name = cell(kStation);
        station.file = cell(kFile);
        station.first_year = cell(kFirstYear);
        station.nodata = cell(kNodata);
        station.last_year = cell(kLastYear);
        station.pcp_column = cell(kPcpColumn);
        station.pcp_unit = cell(kPcpUnit);
        const std::string format_text = ascii_folded(cell(kFormat));
        const std::optional<readers::Format> format =
            format_text.empty() ? readers::Format::plain : readers::format_named(format_text);
        // An unknown format is reported on its own column; the other checks
        // take the file for a dated one.
        station.format = format.value_or(readers::Format::csv);
        for (const std::size_t i : extra_at) station.extra.push_back(row.fields[i]);
        for (const auto& [name, i] : weather_at) {
            if (const std::string value = trimmed(row.fields[i]); !value.empty()) station.weather[name] = value;
        }

        const std::size_t count = list.problems.size();
        if (const std::string reason = unsafe_name_reason(station.name); !reason.empty()) {
            problem("station", reason);
        } else if (const auto [it, fresh] = rows_of_names.emplace(name_key(station.name), row.line); !fresh) {
            problem("station",
                    text::quoted(station.name) + " is already the station of row " + std::to_string(it->second));
        } else if (list.weather_columns) {
            const std::string written = modelfiles::cli_name(station.name);
            const auto [earlier, first] = cli_names.emplace(name_key(written), std::pair(row.line, station.name));
            if (!first) {
                problem("station", text::quoted(station.name) + " is written as " + written + " in " +
                                       std::string(kCliName) + ", as is " + text::quoted(earlier->second.second) +
                                       " of row " + std::to_string(earlier->second.first));
            }
        }
        if (station.file.empty()) {
            problem("file", "no file name");
        } else if (holds_control_character(station.file)) {
            problem("file", "the name holds a control character");
        } else if (const std::string reason = check_file(station.file, station.input_name); !reason.empty()) {
            problem("file", reason);
        }
        if (!format) {
            problem("format", text::quoted(format_text) + " is not a format (" + readers::format_names() + ")");
        }
        // A plain series needs its first year and NoData value; a dated file
        // knows its days, and these only bound the period and mark gaps.
        const bool plain = !station.dated();
        if ((plain || !station.first_year.empty()) && !is_whole_number(station.first_year)) {
            problem("first_year", text::quoted(station.first_year) + " is not a year (a whole number)");
        }
        if (!station.last_year.empty() && !is_whole_number(station.last_year)) {
            problem("last_year", text::quoted(station.last_year) + " is not a year (a whole number)");
        }
        if ((plain || !station.nodata.empty()) && !is_number(station.nodata)) {
            problem("nodata", text::quoted(station.nodata) + " is not a number");
        }
        if (!station.pcp_unit.empty()) {
            const auto unit = readers::unit_named(readers::Quantity::kPrecipitation, station.pcp_unit);
            if (!unit) {
                problem("pcp_unit", text::quoted(station.pcp_unit) + " is not a unit of precipitation (" +
                                        readers::unit_names(readers::Quantity::kPrecipitation) + ")");
            } else if (plain && *unit != readers::Unit::kMillimetre) {
                // wgnrain reads a plain series as it is.
                problem("pcp_unit", "a plain series is read in mm: convert it first with wgnrain-series --pcp-unit");
            }
        }
        check_weather(station, check_file, problem);
        if (list.problems.size() == count) list.stations.push_back(std::move(station));
    }
    return list;
}

}  // namespace wgn::batch
