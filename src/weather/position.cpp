#include "weather/position.hpp"

#include "readers/number_text.hpp"
#include "readers/plain_decimal.hpp"
#include "text/plain_text.hpp"

namespace wgn::weather {
namespace {

// |plain| <= bound, exactly: the whole part below the bound, or equal to it
// with no digit after the point other than 0.
bool magnitude_within(std::string_view plain, int bound) {
    if (plain.front() == '+' || plain.front() == '-') plain.remove_prefix(1);
    const std::size_t point = plain.find('.');
    std::string_view whole = plain.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? "" : plain.substr(point + 1);
    while (whole.size() > 1 && whole.front() == '0') whole.remove_prefix(1);
    if (whole.size() > 9) return false;
    long value = 0;
    for (const char c : whole) value = value * 10 + (c - '0');
    if (value != bound) return value < bound;
    return fraction.find_first_not_of('0') == std::string_view::npos;
}

}  // namespace

Result<DecimalText> position_text(Coordinate coordinate, std::string_view text) {
    const CoordinateBounds& bounds = kCoordinateBounds[coordinate];
    const std::string quoted = text::quoted_cell(text);
    if (!readers::is_number_text(text)) return problem_text(quoted + " is not a number");
    const std::string out_of_bounds = quoted + " is not a" + (coordinate == kElevation ? "n " : " ") + bounds.name +
                                      " (" + std::to_string(bounds.lowest) + " ... " + std::to_string(bounds.highest) +
                                      (coordinate == kElevation ? " m)" : ")");
    bool too_large = false;
    const std::optional<std::string> plain = readers::plain_decimal(text, &too_large);
    if (!plain) {
        return problem_text(too_large ? out_of_bounds
                                      : quoted + " takes more than " + std::to_string(readers::kLongestPlainDecimal) +
                                            " characters written without its exponent");
    }
    const bool negative = plain->front() == '-';
    if (!magnitude_within(*plain, negative ? -bounds.lowest : bounds.highest)) return problem_text(out_of_bounds);
    return DecimalText::made(*plain);
}

Result<Position> take_position(const std::array<GivenCoordinate, 3>& given, bool ghcnd) {
    Position position;
    for (std::size_t c = 0; c < 3; ++c) {
        const bool listed = !given[c].listed.empty();
        const std::string& text = listed ? given[c].listed : given[c].text;
        if (text.empty()) continue;
        Result<DecimalText> plain = position_text(static_cast<Coordinate>(c), text);
        if (plain) {
            position[c] = std::move(*plain);
        } else if (listed) {
            return problem_text("the list's " + std::string(kCoordinateBounds[c].name) + ": " + plain.problem().text);
        } else if (ghcnd && c == kElevation && text == "-999.9") {
            return problem_text(given[c].place + ": elevation unknown (-999.9): give elev in the list");
        } else {
            return problem_text(given[c].place + ": " + plain.problem().text);
        }
    }
    return position;
}

}  // namespace wgn::weather
