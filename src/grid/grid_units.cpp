// Units of grid variables (grid_units.hpp).
#include "grid/grid_units.hpp"

#include <cctype>
#include <cstdlib>
#include <vector>

namespace wgn::grid {
namespace {

struct KnownUnit {
    Quantity quantity;
    std::string_view canonical;  // as canonical_unit writes it
    std::string_view factor;
    std::string_view offset;
    std::string_view shown;
};

// The generator's units: mm (a day's amount), degrees Celsius, MJ/m2/day,
// a fraction, m/s.  A flux is a day's mean: x 86400 s.
constexpr KnownUnit kKnownUnits[] = {
    {Quantity::precipitation, "kg m-2 s-1", "86400", "0", "x 86400"},
    {Quantity::precipitation, "mm", "1", "0", ""},
    {Quantity::precipitation, "mm d-1", "1", "0", ""},
    {Quantity::precipitation, "kg m-2", "1", "0", ""},
    {Quantity::precipitation, "kg m-2 d-1", "1", "0", ""},
    {Quantity::precipitation, "m", "1000", "0", "x 1000"},
    {Quantity::precipitation, "m d-1", "1000", "0", "x 1000"},
    {Quantity::temperature, "K", "1", "-273.15", "- 273.15"},
    {Quantity::temperature, "degC", "1", "0", ""},
    {Quantity::radiation, "W m-2", "0.0864", "0", "x 0.0864"},
    {Quantity::radiation, "J m-2", "0.000001", "0", "/ 1000000"},
    {Quantity::radiation, "MJ m-2", "1", "0", ""},
    {Quantity::radiation, "MJ m-2 d-1", "1", "0", ""},
    {Quantity::humidity, "%", "0.01", "0", "/ 100"},
    {Quantity::humidity, "1", "1", "0", ""},
    {Quantity::wind, "m s-1", "1", "0", ""},
};

// Spellings of one symbol.
std::string symbol(std::string word) {
    if (word == "day" || word == "days") return "d";
    if (word == "sec") return "s";
    return word;
}

}  // namespace

std::string canonical_unit(std::string_view units) {
    std::string text(units);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.pop_back();
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.erase(0, 1);
    if (text == "percent" || text == "%") return "%";
    if (text == "degC" || text == "Celsius" || text == "celsius" ||
        text ==
            "\xC2\xB0"
            "C" ||
        text == "deg_C" || text == "degrees_C" || text == "degree_Celsius" || text == "degrees_Celsius" || text == "C")
        return "degC";
    if (text == "K" || text == "Kelvin" || text == "kelvin" || text == "degK" || text == "degrees_K") return "K";
    // Symbols, each with an optional power (m2, m-2, m**-2, m^-2); a '/'
    // divides by the one symbol after it; blanks, '.' and '*' multiply.
    std::vector<std::string> parts;
    std::size_t at = 0;
    bool divide = false;
    while (at < text.size()) {
        const char c = text[at];
        if (c == '/') {
            divide = true;
            ++at;
            continue;
        }
        if (c == ' ' || c == '.' || c == '*') {
            ++at;
            continue;
        }
        std::string word;
        while (at < text.size() && (std::isalpha(static_cast<unsigned char>(text[at])) || text[at] == '%'))
            word.push_back(text[at++]);
        if (word.empty()) {
            // A bare number: "1" (a fraction) or the like.
            while (at < text.size() && text[at] != ' ') word.push_back(text[at++]);
            parts.push_back(word);
            continue;
        }
        if (text.compare(at, 2, "**") == 0) at += 2;
        if (at < text.size() && text[at] == '^') ++at;
        std::string power;
        if (at < text.size() && (text[at] == '-' || text[at] == '+')) power.push_back(text[at++]);
        while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) power.push_back(text[at++]);
        int exponent = 1;
        if (power.size() > 4) return text;  // no unit has such a power
        if (!power.empty() && power != "-" && power != "+") exponent = std::atoi(power.c_str());
        if (divide) exponent = -exponent;
        divide = false;
        parts.push_back(symbol(word) + (exponent == 1 ? "" : std::to_string(exponent)));
    }
    std::string joined;
    for (const std::string& part : parts) joined.append(joined.empty() ? "" : " ").append(part);
    return joined;
}

std::optional<Conversion> conversion(Quantity quantity, std::string_view units) {
    const std::string canonical = canonical_unit(units);
    for (const KnownUnit& known : kKnownUnits) {
        if (known.quantity != quantity || known.canonical != canonical) continue;
        return Conversion{*decimal(known.factor), *decimal(known.offset), std::string(known.shown)};
    }
    return std::nullopt;
}

std::string known_units(Quantity quantity) {
    std::string list;
    for (const KnownUnit& known : kKnownUnits) {
        if (known.quantity == quantity) list.append(list.empty() ? "" : ", ").append(known.canonical);
    }
    return list;
}

}  // namespace wgn::grid
