#include "readers/value_checks.hpp"

#include <cmath>
#include <cstdio>

#include "io/decimal_text.hpp"
#include "problem/problem.hpp"
#include "readers/number_text.hpp"
#include "text/plain_text.hpp"

namespace wgn::readers {

NoDataMark::NoDataMark(std::string_view nodata) {
    if (nodata.empty()) return;
    marker_ = number_value(nodata);
    // A NoData value in a form only wgnrain's dialogue reads (a Q exponent,
    // an exponent of a sign alone: "-9.9q1", "-9.9+1") marks the days that
    // equal it as the dialogue reads it.
    if (float single = 0.0F; !marker_ && io::parse_real(nodata, single) && std::isfinite(single)) marker_ = single;
}

bool NoDataMark::marks(std::string_view text) const {
    return marker_ && marks(number_value(text));
}

bool is_nodata_text(std::string_view text, std::string_view nodata) {
    return NoDataMark(nodata).marks(text);
}

CellKind cell_kind(std::string_view cell) {
    // No marker begins with a digit, and almost every cell is a number.
    if (!cell.empty() && cell[0] >= '0' && cell[0] <= '9') return CellKind::other;
    switch (cell.size()) {
        case 0: return CellKind::missing;
        case 1:
            if (cell[0] == '-' || cell[0] == 'M' || cell[0] == 'm') return CellKind::missing;
            return cell[0] == 'T' || cell[0] == 't' ? CellKind::trace : CellKind::other;
        case 2: return cell == "--" || text::same_letters(cell, "na") ? CellKind::missing : CellKind::other;
        case 3:
            return text::same_letters(cell, "nan") || text::same_letters(cell, "n/a") ? CellKind::missing
                                                                                      : CellKind::other;
        case 4: return text::same_letters(cell, "null") ? CellKind::missing : CellKind::other;
        default: return CellKind::other;
    }
}

double checked_number(std::string_view text, int line, const std::string& column) {
    return checked_number(number_value(text), text, line, column);
}

double checked_number(std::optional<double> value, std::string_view text, int line, const std::string& column) {
    return checked_number(value.has_value(), value.value_or(0.0), text, line, column);
}

double checked_number(bool read, double value, std::string_view text, int line, const std::string& column) {
    if (!read) fail(line, column, text::quoted_cell(text) + " is not a number");
    if (!std::isfinite(value)) fail(line, column, text::shown_cell(text) + " is too large a number");
    // A number whose digits are not all 0 that reads as 0 lies below what
    // a double holds: "1e-400" (a digit other than 0 before any exponent).
    if (value == 0) {
        for (const char c : text) {
            if (c == 'e' || c == 'E') break;
            if (c >= '1' && c <= '9') fail(line, column, text::shown_cell(text) + " is too small a number");
        }
    }
    return value;
}

std::optional<double> column_number(std::string_view cell, int line, std::size_t column, Variable variable,
                                    StationRecord& record) {
    if (record.refused.count(variable) != 0) return std::nullopt;
    try {
        return checked_number(cell, line, std::to_string(column));
    } catch (const ProblemError& error) {
        if (variable == Variable::pcp) throw;
        record.refused[variable] = error.problem.message();
        return std::nullopt;
    }
}

void drop_refused(StationRecord& record) {
    for (const auto& [variable, why] : record.refused) record.variables.erase(variable);
}

std::string place_text(std::string_view file, int line, std::string_view column) {
    return Problem{std::string(file), line, std::string(column), ""}.place();
}

std::string date_text(int year, int month, int day) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
    return text;
}

}  // namespace wgn::readers
