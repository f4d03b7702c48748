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

std::optional<std::string> position_text(Coordinate coordinate, std::string_view text, std::string& why) {
    const CoordinateBounds& bounds = kCoordinateBounds[coordinate];
    const std::string quoted = text::quoted(text);
    if (!readers::is_number_text(text)) {
        why = quoted + " is not a number";
        return std::nullopt;
    }
    const std::string out_of_bounds = quoted + " is not a" + (coordinate == kElevation ? "n " : " ") + bounds.name +
                                      " (" + std::to_string(bounds.lowest) + " ... " + std::to_string(bounds.highest) +
                                      (coordinate == kElevation ? " m)" : ")");
    bool too_large = false;
    std::optional<std::string> plain = readers::plain_decimal(text, &too_large);
    if (!plain) {
        why = too_large ? out_of_bounds
                        : quoted + " takes more than " + std::to_string(readers::kLongestPlainDecimal) +
                              " characters written without its exponent";
        return std::nullopt;
    }
    const bool negative = plain->front() == '-';
    if (!magnitude_within(*plain, negative ? -bounds.lowest : bounds.highest)) {
        why = out_of_bounds;
        return std::nullopt;
    }
    return plain;
}

std::array<std::string, 3> take_position(const std::array<GivenCoordinate, 3>& given, bool ghcnd,
                                         std::string& problem) {
    std::array<std::string, 3> position;
    for (std::size_t c = 0; c < 3 && problem.empty(); ++c) {
        const bool listed = !given[c].listed.empty();
        const std::string& text = listed ? given[c].listed : given[c].text;
        if (text.empty()) continue;
        std::string why;
        if (const auto plain = position_text(static_cast<Coordinate>(c), text, why)) {
            position[c] = *plain;
        } else if (listed) {
            problem = "the list's " + std::string(kCoordinateBounds[c].name) + ": " + why;
        } else if (ghcnd && c == kElevation && text == "-999.9") {
            problem = given[c].place + ": elevation unknown (-999.9): give elev in the list";
        } else {
            problem = given[c].place + ": " + why;
        }
    }
    if (!problem.empty()) position = {};
    return position;
}

}  // namespace wgn::weather
