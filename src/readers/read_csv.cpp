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

// Reads the column of every variable the table has into the record.
void read_variables(const DatedTable& table, const ReadOptions& options, std::string_view marker, bool ordered,
                    StationRecord& record) {
    for (const VariableFacts& variable : kVariableFacts) {
        if (!options.only.empty() &&
            std::find(options.only.begin(), options.only.end(), variable.variable) == options.only.end())
            continue;
        std::vector<std::string_view> names;
        for (const std::string_view name : variable.columns) {
            if (!name.empty()) names.push_back(name);
        }
        const Variable name = variable.variable;
        const auto wanted = options.columns.find(name);
        try {
            const std::optional<std::size_t> column =
                find_column(table, names, wanted == options.columns.end() ? "" : wanted->second, variable.what);
            if (!column) continue;
            const std::string& header = table.csv.rows.front().fields[*column];
            record.columns[name] = text::trimmed(header);
            if (const auto unit = unit_in_text(quantity_of(name), header)) record.units[name] = *unit;
            record.variables[name] = read_dated_column(table, *column, NoDataMark(marker), ordered);
        } catch (const ProblemError& error) {
            if (name == Variable::pcp) throw;
            // One odd cell of another variable costs that variable, not the
            // station's precipitation.
            record.variables.erase(name);
            record.refused[name] = error.problem.message();
        }
    }
    if (options.kind == FileKind::pcp && record.variables.count(Variable::pcp) == 0) {
        fail(table.csv.rows.front().line + table.first_line - 1, "",
             "no precipitation column (precipitation, prcp, pcp, rain or PRECTOTCORR): name it in the "
             "station list's pcp_column");
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
constexpr PowerParameter kPowerParameters[] = {{"prectotcorr", Variable::pcp}, {"t2m_max", Variable::tmax},
                                               {"t2m_min", Variable::tmin},    {"allsky_sfc_sw_dwn", Variable::slr},
                                               {"t2mdew", Variable::dew},      {"ws2m", Variable::wnd}};

std::string upper_case(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return result;
}

}  // namespace

StationRecord read_csv(std::string_view text, const ReadOptions& options) {
    const DatedTable table = parse_dated_table(text, 1);
    StationRecord record;
    read_variables(table, options, options.nodata, false, record);
    return record;
}

StationRecord read_power(std::string_view text, const ReadOptions& options) {
    text::TextLines lines(text);
    std::string_view line;
    if (!lines.next(line) || text::trimmed(line) != "-BEGIN HEADER-") {
        fail(1, "", "a POWER file starts with the line -BEGIN HEADER-");
    }
    StationRecord record;
    std::map<Variable, Unit> stated;
    std::string marker = "-999";
    bool ended = false;
    while (lines.next(line)) {
        if (text::trimmed(line) == "-END HEADER-") {
            ended = true;
            break;
        }
        const std::string lower = text::lower_case(line);
        word_after(line, "Latitude", lines.number(), record.latitude, record.position_places[0]);
        word_after(line, "Longitude", lines.number(), record.longitude, record.position_places[1]);
        if (lower.find("elevation") != std::string::npos) {
            word_after(line, "=", lines.number(), record.elevation, record.position_places[2]);
        }
        // "The value for missing source data ...: -999"
        if (lower.find("missing") != std::string::npos && line.rfind(':') != std::string_view::npos) {
            const std::string_view value = text::trimmed(line.substr(line.rfind(':') + 1));
            if (is_number_text(value)) marker = value;
        }
        // Units of the parameters, one line each: "ALLSKY_SFC_SW_DWN  ... (kW-hr/m^2/day)",
        // "RH2M ... (%)", "T2M_MAX ... (C)"; the header states each unit.
        for (const PowerParameter& parameter : kPowerParameters) {
            if (lower.rfind(parameter.name, 0) != 0) continue;
            const auto unit = unit_in_text(quantity_of(parameter.variable), line);
            if (!unit) {
                fail(lines.number(), "",
                     "the unit of " + upper_case(parameter.name) + " is not one of " +
                         unit_names(quantity_of(parameter.variable)));
            }
            stated[parameter.variable] = *unit;
        }
    }
    if (!ended) fail(lines.number(), "", "the header block has no line -END HEADER-");
    const int first_line = lines.number() + 1;
    std::string_view rest =
        text.substr(std::min(text.size(), static_cast<std::size_t>(line.data() + line.size() - text.data())));
    if (!rest.empty() && rest.front() == '\r') rest.remove_prefix(1);
    if (!rest.empty() && rest.front() == '\n') rest.remove_prefix(1);
    const DatedTable table = parse_dated_table(rest, first_line);
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
