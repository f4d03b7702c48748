// Dated tables: a spreadsheet's CSV export and NASA POWER's daily CSV.  Every
// variable whose column is recognised (station_record.hpp) is read;
// precipitation must be there.
#include <algorithm>
#include <cmath>
#include <map>

#include "readers/dated_table.hpp"
#include "readers/number_text.hpp"
#include "readers/read_station_file.hpp"
#include "readers/value_checks.hpp"
#include "text/plain_text.hpp"
#include "text/text_lines.hpp"

namespace wgn::readers {
namespace {

bool is_read(const ReadOptions& options, Variable variable) {
    return options.only.empty() || std::find(options.only.begin(), options.only.end(), variable) != options.only.end();
}

// The columns a reading of some of the variables asks for; none (every
// column kept) when all are read.
std::vector<ColumnAsked> columns_asked(const ReadOptions& options) {
    std::vector<ColumnAsked> asked;
    if (options.only.empty()) return asked;
    for (const VariableFacts& variable : kVariableFacts) {
        if (is_read(options, variable.variable)) asked.push_back(column_asked(variable, options));
    }
    return asked;
}

bool word_character(char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

// The unit a note before the header gives a column, as ECA&D's notes do:
// the column's name as a word, then ':', then the unit after the last " in ".
//   "17-21 RR   : Precipitation amount in 0.1 mm", column RR -> tenths_mm
//   "23-27 Q_RR : Quality code for RR (0='valid'; ...)"     -> nothing
std::optional<Unit> unit_in_notes(Quantity quantity, const std::vector<CsvRow>& notes, std::string_view column) {
    const std::string name = text::lower_case(text::trimmed(column));
    if (name.empty()) return std::nullopt;
    for (const CsvRow& note : notes) {
        std::string line;
        for (const std::string& field : note.fields) line.append(line.empty() ? "" : ",").append(field);
        const std::string lower = text::lower_case(line);
        for (std::size_t at = lower.find(name); at != std::string::npos; at = lower.find(name, at + 1)) {
            std::size_t after = at + name.size();
            if ((at > 0 && word_character(lower[at - 1])) || (after < lower.size() && word_character(lower[after])))
                continue;
            after = lower.find_first_not_of(" \t", after);
            const std::size_t in = lower.rfind(" in ");
            if (after == std::string::npos || lower[after] != ':' || in == std::string::npos || in < after) continue;
            if (const std::optional<Unit> unit = unit_named(quantity, std::string_view(line).substr(in + 4)))
                return unit;
        }
    }
    return std::nullopt;
}

// Reads the column of every variable the table has into the record.
void read_variables(const DatedTable& table, const ReadOptions& options, std::string_view marker, bool ordered,
                    StationRecord& record) {
    for (const VariableFacts& variable : kVariableFacts) {
        if (!is_read(options, variable.variable)) continue;
        const ColumnAsked asked = column_asked(variable, options);
        const Variable name = variable.variable;
        try {
            const std::optional<std::size_t> column =
                find_column(table, asked.names, asked.wanted, variable.what, variable.list_column);
            if (!column) continue;
            const std::string_view header = table.header[*column];
            record.columns[name] = text::shown_cell(text::trimmed(header));
            // The header states a unit ("prcp (mm/day)"), else a note before it does.
            if (const auto unit = unit_in_text(quantity_of(name), header)) {
                record.units[name] = *unit;
            } else if (const auto noted = unit_in_notes(quantity_of(name), table.notes, header)) {
                record.units[name] = *noted;
            }
            record.variables[name] = read_dated_column(table, *column, NoDataMark(marker), ordered,
                                                       quantity_of(name) == Quantity::kPrecipitation);
        } catch (const ProblemError& error) {
            if (name == Variable::pcp) throw;
            // One odd cell of another variable costs that variable, not the
            // station's precipitation.
            record.variables.erase(name);
            record.refused[name] = error.problem.message();
        }
    }
    if (options.kind == FileKind::pcp && record.variables.count(Variable::pcp) == 0) {
        fail(table.header_line + table.first_line - 1, "",
             "no precipitation column (precipitation, prcp, pcp, rain or PRECTOTCORR): name it in " +
                 setting_name(options.settings, "pcp_column"));
    }
}

// The word after `label` (and blanks, ':' or '=') on a line of POWER's
// header, as written, with its character position (from 1):
//   "Location: Latitude  40.5853   Longitude -105.0844" , "Latitude" -> "40.5853" at 21
// Whether it is a usable number is for the batch to say.
void word_after(std::string_view line, std::string_view label, int line_number, std::string& word, TextPlace& place) {
    const std::size_t at = text::lower_case(line).find(text::lower_case(label));
    if (at == std::string_view::npos) return;
    const std::size_t start = line.find_first_not_of(" \t:=", at + label.size());
    if (start == std::string_view::npos) return;
    word = line.substr(start, line.find_first_of(" \t", start) - start);
    place = {line_number, std::to_string(start + 1)};
}

// The parameters of a POWER file whose header line states their unit.
struct PowerParameter {
    std::string_view name;  // lower case, as the line starts
    Variable variable;
};
constexpr PowerParameter kPowerParameters[] = {
    {"prectotcorr", Variable::pcp}, {"prectot", Variable::pcp},           {"t2m_max", Variable::tmax},
    {"t2m_min", Variable::tmin},    {"allsky_sfc_sw_dwn", Variable::slr}, {"t2mdew", Variable::dew},
    {"ws2m", Variable::wnd}};

// Whether `line` starts with the parameter `name` as a whole word
// ("prectot" starts "PRECTOT MERRA2 ...", not "PRECTOTCORR ...").
bool starts_with_word(std::string_view line, std::string_view name) {
    if (line.substr(0, name.size()) != name) return false;
    if (line.size() == name.size()) return true;
    const char next = line[name.size()];
    return !((next >= 'a' && next <= 'z') || (next >= '0' && next <= '9') || next == '_');
}

// A line of POWER's header as written, without blanks or the separators a
// spreadsheet adds at its end.
std::string_view header_text(std::string_view line) {
    line = text::trimmed(line);
    while (!line.empty() && (line.back() == ',' || line.back() == ';' || line.back() == ' ' || line.back() == '\t'))
        line.remove_suffix(1);
    return line;
}

// POWER's monthly files (PARAMETER,YEAR,JAN,...,DEC,ANN) and climatologies
// (PARAMETER,JAN,...,ANN) are no daily record.
void refuse_monthly(const DatedTable& table) {
    bool january = false, february = false, year = false;
    for (const std::string_view name : table.header) {
        const std::string_view plain = text::trimmed(name);
        january = january || text::same_letters(plain, "jan");
        february = february || text::same_letters(plain, "feb");
        year = year || text::same_letters(plain, "year");
    }
    if (!january || !february) return;
    fail(table.header_line + table.first_line - 1, "",
         year ? "a monthly POWER file, not a daily one: download the daily data (temporal average: daily)"
              : "a POWER climatology (long-term monthly means), not a daily file: download the daily data");
}

}  // namespace

StationRecord read_csv(std::string_view text, const ReadOptions& options) {
    const std::vector<ColumnAsked> asked = columns_asked(options);
    const DatedTable table = parse_dated_table(text, 1, options.date_column, options.settings, asked);
    StationRecord record;
    // The notes before the header may give the position, as Daymet's
    // "Latitude: 40.5853  Longitude: -105.0844" and "Elevation: 1525 meters".
    for (const CsvRow& note : table.notes) {
        std::string line;
        for (const std::string& field : note.fields) line.append(line.empty() ? "" : ",").append(field);
        word_after(line, "Latitude", note.line, record.latitude, record.position_places[0]);
        word_after(line, "Longitude", note.line, record.longitude, record.position_places[1]);
        word_after(line, "Elevation", note.line, record.elevation, record.position_places[2]);
    }
    read_variables(table, options, options.nodata, false, record);
    return record;
}

StationRecord read_power(std::string_view text, const ReadOptions& options) {
    text::TextLines lines(text);
    std::string_view line;
    if (!lines.next(line) || header_text(line) != "-BEGIN HEADER-") {
        fail(1, "", "a POWER file starts with the line -BEGIN HEADER-");
    }
    StationRecord record;
    std::map<Variable, Unit> stated;
    std::string marker = "-999";
    bool ended = false;
    while (lines.next(line)) {
        // A spreadsheet that saved the file again ends every header line in
        // separators ("-END HEADER-,,,,,,,").
        line = header_text(line);
        if (line == "-END HEADER-") {
            ended = true;
            break;
        }
        const std::string lower = text::lower_case(line);
        word_after(line, "Latitude", lines.number(), record.latitude, record.position_places[0]);
        word_after(line, "Longitude", lines.number(), record.longitude, record.position_places[1]);
        if (lower.find("elevation") != std::string::npos) {
            word_after(line, "=", lines.number(), record.elevation, record.position_places[2]);
        }
        // "The value for missing source data ...: -999" (older files: "Value for missing model data ...: -999")
        if (lower.find("missing") != std::string::npos && line.rfind(':') != std::string_view::npos) {
            const std::string_view value = text::trimmed(line.substr(line.rfind(':') + 1));
            if (is_number_text(value)) marker = value;
        }
        // Units of the parameters, one line each: "ALLSKY_SFC_SW_DWN  ... (kW-hr/m^2/day)",
        // "RH2M ... (%)", "T2M_MAX ... (C)", older files "PRECTOT ... (mm day-1)"; the header states each unit.
        for (const PowerParameter& parameter : kPowerParameters) {
            if (!starts_with_word(lower, parameter.name)) continue;
            const auto unit = unit_in_text(quantity_of(parameter.variable), line);
            if (!unit) {
                fail(lines.number(), "",
                     "the unit of " + text::upper_case(parameter.name) + " is not one of " +
                         unit_names(quantity_of(parameter.variable)));
            }
            stated[parameter.variable] = *unit;
        }
    }
    if (!ended) fail(lines.number(), "", "the header block has no line -END HEADER-");
    const int first_line = lines.number() + 1;
    std::string_view rest = lines.rest();
    const std::vector<ColumnAsked> asked = columns_asked(options);
    const DatedTable table = parse_dated_table(rest, first_line, options.date_column, options.settings, asked);
    refuse_monthly(table);
    // POWER marks missing days by its own fill value (-999, or -999.0); its
    // RH2M is in per cent.
    read_variables(table, options, marker, true, record);
    for (const auto& [variable, unit] : stated) {
        if (record.variables.count(variable) != 0) record.units[variable] = unit;
    }
    // RH2M is in per cent, whatever its line says.
    if (record.variables.count(Variable::rh) != 0) record.units[Variable::rh] = Unit::kPercent;
    return record;
}

}  // namespace wgn::readers
