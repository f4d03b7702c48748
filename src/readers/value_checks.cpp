#include "readers/value_checks.hpp"

#include <cmath>
#include <cstdio>

#include "io/decimal_text.hpp"
#include "problem/problem.hpp"
#include "readers/number_text.hpp"

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

double checked_number(std::string_view text, int line, const std::string& column) {
    return checked_number(number_value(text), text, line, column);
}

double checked_number(std::optional<double> value, std::string_view text, int line, const std::string& column) {
    if (!value) fail(line, column, "\"" + std::string(text) + "\" is not a number");
    if (!std::isfinite(*value)) fail(line, column, std::string(text) + " is too large a number");
    return *value;
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
