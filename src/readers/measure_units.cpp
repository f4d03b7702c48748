#include "readers/measure_units.hpp"

#include <array>
#include <cmath>

#include "readers/number_text.hpp"
#include "text/plain_text.hpp"

namespace wgn::readers {
namespace {

struct UnitSpelling {
    Unit unit;
    Quantity quantity;
    std::string_view name;                      // as the list writes it
    std::array<std::string_view, 7> spellings;  // folded (see folded_unit); unused places empty
};

// Every unit once, with the spellings files and lists use for it, folded:
// lower case, only letters, digits and '%' ("kW-hr/m^2/day" -> "kwhrm2day").
constexpr std::array<UnitSpelling, 17> kUnits = {{
    {Unit::kMillimetre,
     Quantity::kPrecipitation,
     "mm",
     {"mm", "mmday", "mmd", "millimetres", "millimeters", "mmday1", ""}},
    {Unit::kInch, Quantity::kPrecipitation, "in", {"in", "inch", "inches", "inday", "inchday", "inchesday", ""}},
    {Unit::kTenthMillimetre, Quantity::kPrecipitation, "tenths_mm", {"tenthsmm", "tenthmm", "01mm", "", "", "", ""}},
    {Unit::kCelsius, Quantity::kTemperature, "C", {"c", "degc", "degreesc", "celsius", "degcelsius", "", ""}},
    {Unit::kFahrenheit, Quantity::kTemperature, "F", {"f", "degf", "degreesf", "fahrenheit", "", "", ""}},
    {Unit::kKelvin, Quantity::kTemperature, "K", {"k", "kelvin", "degk", "", "", "", ""}},
    {Unit::kMegajoulesPerDay, Quantity::kRadiation, "MJ/m2/day", {"mjm2day", "mjm2d", "mjm2", "mjm2d1", "", "", ""}},
    {Unit::kWattsPerSquareMetre, Quantity::kRadiation, "W/m2", {"wm2", "wattsm2", "wm", "", "", "", ""}},
    {Unit::kKilowattHoursPerDay,
     Quantity::kRadiation,
     "kWh/m2/day",
     {"kwhm2day", "kwhrm2day", "kwhm2d", "", "", "", ""}},
    {Unit::kJoulesPerCm2PerDay, Quantity::kRadiation, "J/cm2/day", {"jcm2day", "jcm2", "jcm2d", "", "", "", ""}},
    {Unit::kLangleysPerDay,
     Quantity::kRadiation,
     "langley/day",
     {"langleyday", "langley", "langleys", "ly", "lyday", "calcm2day", ""}},
    {Unit::kFraction, Quantity::kHumidity, "fraction", {"fraction", "frac", "", "", "", "", ""}},
    {Unit::kPercent, Quantity::kHumidity, "percent", {"percent", "%", "pct", "", "", "", ""}},
    {Unit::kMetresPerSecond, Quantity::kWind, "m/s", {"ms", "ms1", "mps", "", "", "", ""}},
    {Unit::kKilometresPerHour, Quantity::kWind, "km/h", {"kmh", "kmhr", "kph", "kmh1", "", "", ""}},
    {Unit::kMilesPerHour, Quantity::kWind, "mph", {"mph", "mih", "", "", "", "", ""}},
    {Unit::kKnots, Quantity::kWind, "knots", {"knots", "knot", "kn", "kt", "kts", "", ""}},
}};

std::string folded_unit(std::string_view text) {
    std::string folded;
    for (const char c : text::lower_case(text)) {
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '%') folded.push_back(c);
    }
    return folded;
}

std::optional<Unit> unit_of_folded(Quantity quantity, const std::string& folded) {
    if (folded.empty()) return std::nullopt;
    for (const UnitSpelling& spelling : kUnits) {
        if (spelling.quantity != quantity) continue;
        for (const std::string_view candidate : spelling.spellings) {
            if (!candidate.empty() && candidate == folded) return spelling.unit;
        }
    }
    return std::nullopt;
}

const UnitSpelling& spelling_of(Unit unit) {
    for (const UnitSpelling& spelling : kUnits) {
        if (spelling.unit == unit) return spelling;
    }
    return kUnits.front();
}

// The unit part of a header: inside its last parentheses, or after R's "..".
std::string_view unit_part(std::string_view text) {
    const std::size_t open = text.rfind('(');
    const std::size_t close = text.rfind(')');
    if (open != std::string_view::npos && close != std::string_view::npos && close > open) {
        return text.substr(open + 1, close - open - 1);
    }
    const std::size_t dots = text.find("..");
    if (dots != std::string_view::npos && dots > 0) return text.substr(dots + 2);
    return {};
}

// The digits of a number text and the power of ten they are scaled by:
// "-1.25e1" -> negative, "125", -1.
struct DecimalDigits {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

DecimalDigits decimal_digits(std::string_view text) {
    DecimalDigits number;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        number.negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::size_t at = 0;
    bool after_point = false;
    for (; at < text.size() && text[at] != 'e' && text[at] != 'E'; ++at) {
        if (text[at] == '.') {
            after_point = true;
            continue;
        }
        number.digits.push_back(text[at]);
        if (after_point) --number.exponent;
    }
    if (at < text.size()) number.exponent += whole_number(text.substr(at + 1)).value_or(0);
    return number;
}

// The digits times a small whole number, in decimal.
std::string times(const std::string& digits, int factor) {
    std::string product;
    int carry = 0;
    for (std::size_t i = digits.size(); i-- > 0;) {
        const int value = (digits[i] - '0') * factor + carry;
        product.insert(product.begin(), static_cast<char>('0' + value % 10));
        carry = value / 10;
    }
    while (carry > 0) {
        product.insert(product.begin(), static_cast<char>('0' + carry % 10));
        carry /= 10;
    }
    return product;
}

// Digits scaled by 10^exponent as a plain decimal text: ("3048", -3) -> "3.048".
std::string plain_decimal(bool negative, std::string digits, int exponent) {
    if (exponent >= 0) {
        digits.append(static_cast<std::size_t>(exponent), '0');
    } else {
        const auto decimals = static_cast<std::size_t>(-exponent);
        if (digits.size() <= decimals) digits.insert(0, decimals - digits.size() + 1, '0');
        digits.insert(digits.size() - decimals, ".");
    }
    while (digits.size() > 1 && digits[0] == '0' && digits[1] != '.') digits.erase(0, 1);
    const bool zero = digits.find_first_not_of("0.") == std::string::npos;
    return negative && !zero ? "-" + digits : digits;
}

}  // namespace

std::string_view unit_column(Quantity quantity) {
    switch (quantity) {
        case Quantity::kPrecipitation: return "pcp_unit";
        case Quantity::kTemperature: return "tmp_unit";
        case Quantity::kRadiation: return "slr_unit";
        case Quantity::kHumidity: return "hmd_unit";
        case Quantity::kWind: return "wnd_unit";
    }
    return "pcp_unit";
}

Unit model_unit(Quantity quantity) {
    switch (quantity) {
        case Quantity::kPrecipitation: return Unit::kMillimetre;
        case Quantity::kTemperature: return Unit::kCelsius;
        case Quantity::kRadiation: return Unit::kMegajoulesPerDay;
        case Quantity::kHumidity: return Unit::kFraction;
        case Quantity::kWind: return Unit::kMetresPerSecond;
    }
    return Unit::kMillimetre;
}

Quantity quantity_of(Unit unit) {
    return spelling_of(unit).quantity;
}

std::string_view unit_name(Unit unit) {
    return spelling_of(unit).name;
}

std::string unit_names(Quantity quantity) {
    std::string names;
    for (const UnitSpelling& spelling : kUnits) {
        if (spelling.quantity == quantity) names.append(names.empty() ? "" : ", ").append(spelling.name);
    }
    return names;
}

std::optional<Unit> unit_named(Quantity quantity, std::string_view name) {
    return unit_of_folded(quantity, folded_unit(name));
}

std::optional<Unit> unit_in_text(Quantity quantity, std::string_view text) {
    return unit_of_folded(quantity, folded_unit(unit_part(text)));
}

std::string_view name_without_unit(std::string_view header) {
    const std::size_t open = header.rfind('(');
    if (open != std::string_view::npos && header.find(')', open) != std::string_view::npos) {
        return text::trimmed(header.substr(0, open));
    }
    const std::size_t dots = header.find("..");
    if (dots != std::string_view::npos && dots > 0) return text::trimmed(header.substr(0, dots));
    return text::trimmed(header);
}

Scale scale_of(Unit unit) {
    switch (unit) {
        case Unit::kInch: return {254, 10, 0};
        case Unit::kTenthMillimetre: return {1, 10, 0};
        case Unit::kFahrenheit: return {5, 9, -32 * std::int64_t{1000000000}};
        case Unit::kKelvin: return {1, 1, -273150000000};
        case Unit::kWattsPerSquareMetre: return {864, 10000, 0};  // 86400 s a day, 10^6 J a MJ
        case Unit::kKilowattHoursPerDay: return {36, 10, 0};
        case Unit::kJoulesPerCm2PerDay: return {1, 100, 0};
        case Unit::kLangleysPerDay: return {4184, 100000, 0};
        case Unit::kPercent: return {1, 100, 0};
        case Unit::kKilometresPerHour: return {5, 18, 0};
        case Unit::kMilesPerHour: return {44704, 100000, 0};  // 1609.344 m in 3600 s
        case Unit::kKnots: return {463, 900, 0};              // 1852 m in 3600 s
        default: return {};
    }
}

double scaled_value(double value, const Scale& scale) {
    return (value + static_cast<double>(scale.offset) / 1e9) * static_cast<double>(scale.numerator) /
           static_cast<double>(scale.denominator);
}

std::string scaled_text(std::string_view text, Unit unit) {
    if (unit != Unit::kInch && unit != Unit::kTenthMillimetre) return std::string(text);
    DecimalDigits number = decimal_digits(text);
    // A value far beyond any rainfall keeps its exponent (the checks of
    // plausible values refuse it), rather than becoming a page of zeros.
    if (number.exponent > 30 || number.exponent < -30) {
        const std::string scaled = unit == Unit::kInch ? times(number.digits, 254) : number.digits;
        return (number.negative ? "-" : "") + scaled + "e" + std::to_string(number.exponent - 1);
    }
    if (unit == Unit::kInch) {
        number.digits = times(number.digits, 254);  // 25.4 mm an inch
        number.exponent -= 1;
    } else {
        number.exponent -= 1;
    }
    return plain_decimal(number.negative, number.digits, number.exponent);
}

Result<Unit> unit_of_values(Quantity quantity, std::optional<Unit> listed, std::optional<Unit> in_file,
                            Settings settings) {
    if (listed && in_file && *listed != *in_file) {
        return problem_text("the file states " + std::string(unit_name(*in_file)) + ", but " +
                            (settings == Settings::station_list ? std::string(unit_column(quantity))
                                                                : setting_name(settings, unit_column(quantity))) +
                            " says " + std::string(unit_name(*listed)));
    }
    if (listed) return *listed;
    if (in_file) return *in_file;
    return model_unit(quantity);
}

}  // namespace wgn::readers
