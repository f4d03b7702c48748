#include "check/read_wgn.hpp"

#include <optional>
#include <string>

#include "text/plain_text.hpp"
#include "text/text_lines.hpp"

namespace wgn::check {
namespace {

// A fixed field's number as the models' F format reads it: ".5" as "0.5"; empty for no value.
std::optional<std::string> field_number(std::string_view line, std::size_t from, std::size_t width) {
    if (from >= line.size()) return std::string();
    std::string field(text::trimmed(line.substr(from, width)));
    if (field.empty()) return field;
    const std::size_t sign = field[0] == '-' || field[0] == '+' ? 1 : 0;
    if (field.size() > sign && field[sign] == '.') field.insert(sign, "0");
    if (!weather::DecimalText::read(field)) return std::nullopt;
    return field;
}

}  // namespace

bool looks_like_wgn(std::string_view text) {
    text::TextLines lines(text);
    std::string_view line;
    return lines.next(line) && lines.next(line) && text::lower_case(line).find("latitude") != std::string::npos;
}

Result<CheckTable> read_wgn(std::string_view shown, std::string_view name, std::string_view text) {
    text::TextLines lines(text);
    std::string_view line;
    TableStation station{std::string(shown), {}, {}};
    station.station.name = name;
    station.station.line = 1;
    const auto fail = [&](const std::string& why) { return Problem{std::string(shown), lines.number(), "", why}; };
    if (!lines.next(line)) return fail("an empty file, not a .wgn");
    std::string* head[4] = {&station.station.latitude, &station.station.elevation, &station.station.rain_yrs,
                            &station.station.longitude};
    for (std::size_t h = 0; h < 3; ++h) {
        if (!lines.next(line)) return fail("a .wgn of fewer than 18 lines");
        const std::optional<std::string> value = field_number(line, 12, 7);
        if (!value) return fail("not a number in columns 13-19 (a .wgn's LATITUDE, ELEV or RAIN_YRS line)");
        *head[h] = *value;
        if (h == 0) {
            const std::optional<std::string> longitude = field_number(line, 31, 7);
            if (longitude) *head[3] = *longitude;
        }
    }
    for (std::size_t c = 0; c < 14; ++c) {
        if (!lines.next(line)) return fail("a .wgn of fewer than 18 lines");
        for (std::size_t m = 0; m < 12; ++m) {
            const std::optional<std::string> value = field_number(line, 6 * m, 6);
            if (!value) {
                return Problem{std::string(shown), lines.number(), std::to_string(6 * m + 1),
                               "not a number in 6 characters (" + std::string(weather::kColumns[c]) + " of month " +
                                   std::to_string(m + 1) + ")"};
            }
            if (!value->empty()) station.station.values[m][c] = *weather::DecimalText::read(*value);
        }
    }
    CheckTable table;
    table.push_back(std::move(station));
    return table;
}

}  // namespace wgn::check
