#include "readers/number_text.hpp"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace wgn::readers {
namespace {

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

bool is_number_text(std::string_view text) {
    std::size_t at = 0;
    const auto digits = [&] {
        const std::size_t start = at;
        while (at < text.size() && is_digit(text[at])) ++at;
        return at - start;
    };
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
    std::size_t mantissa = digits();
    if (at < text.size() && text[at] == '.') {
        ++at;
        mantissa += digits();
    }
    if (mantissa == 0) return false;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        ++at;
        if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
        if (digits() == 0) return false;
    }
    return at == text.size();
}

namespace {

// The value of a plain decimal of at most 15 digits (leading zeros aside)
// and 15 decimals: its digits as a whole number and the power of ten of its
// decimals are both exact doubles, so their quotient is the correctly
// rounded value of the decimal, as from_chars gives it (the classic fast
// path of decimal reading).  Nothing for any other text.
//   "12.5" -> 125 / 10      "-0.04" -> -(4 / 100)      "1e3" -> nothing
bool plain_decimal_value(std::string_view text, int& plain_decimals, double& number) {
    static constexpr double kPowers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    plain_decimals = -1;
    const std::optional<PlainDigits> plain = plain_digits(text, 15);
    if (!plain || plain->decimals > 15) return false;
    plain_decimals = plain->decimals;
    const double value = static_cast<double>(plain->digits) / kPowers[plain->decimals];
    number = plain->negative ? -value : value;
    return true;
}

// Whether a number text (is_number_text) that no double holds lies below
// the smallest one ("1e-400") rather than above the largest ("1e400"):
// the power of ten of its first digit that is not 0 is below 0.
//   "1e-400" -> true    "0.001e-330" -> true    "12e400" -> false
bool below_every_double(std::string_view text) {
    const std::size_t e = text.find_first_of("eE");
    const std::string_view mantissa = text.substr(0, e);
    long long power = 0;
    if (e != std::string_view::npos) {
        // Beyond some digits the exponent alone decides; more are not read.
        std::string_view exponent = text.substr(e + 1);
        const bool negative = !exponent.empty() && exponent.front() == '-';
        if (!exponent.empty() && (exponent.front() == '-' || exponent.front() == '+')) exponent.remove_prefix(1);
        while (exponent.size() > 1 && exponent.front() == '0') exponent.remove_prefix(1);
        if (exponent.size() > 9) return negative;
        for (const char c : exponent) power = power * 10 + (c - '0');
        if (negative) power = -power;
    }
    const std::size_t point = mantissa.find('.');
    const std::size_t first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos) return true;
    const std::size_t whole_digits = point == std::string_view::npos ? mantissa.size() : point;
    // The first digit stands at 10^(whole_digits - first - 1), one less past the point.
    const long long place = first < whole_digits ? static_cast<long long>(whole_digits - first - 1)
                                                 : -static_cast<long long>(first - whole_digits);
    return power + place < 0;
}

}  // namespace

std::optional<double> number_value(std::string_view text) {
    int plain_decimals = 0;
    return number_value(text, plain_decimals);
}

std::optional<double> number_value(std::string_view text, int& plain_decimals) {
    double number = 0.0;
    if (!read_number(text, number, plain_decimals)) return std::nullopt;
    return number;
}

bool read_number(std::string_view text, double& number, int& plain_decimals) {
    if (plain_decimal_value(text, plain_decimals, number)) return true;
    if (!is_number_text(text)) return false;
    if (text.front() == '+') text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    // Out of range: from_chars leaves the value alone and says so; a number
    // too small to hold is 0 (which the checks of a field refuse as too
    // small), one too large infinite.
    if (error == std::errc::result_out_of_range) {
        const double magnitude = below_every_double(text) ? 0.0 : HUGE_VAL;
        number = text.front() == '-' ? -magnitude : magnitude;
        return true;
    }
    if (error != std::errc() || end != text.data() + text.size()) return false;
    number = value;
    return true;
}

std::optional<double> finite_number(std::string_view text) {
    const std::optional<double> value = text.empty() ? std::nullopt : number_value(text);
    if (value && !std::isfinite(*value)) return std::nullopt;
    return value;
}

std::optional<int> whole_number(std::string_view text) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::string tenths_text(std::string_view digits) {
    std::string sign;
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) {
        if (digits.front() == '-') sign = "-";
        digits.remove_prefix(1);
    }
    while (digits.size() > 1 && digits.front() == '0') digits.remove_prefix(1);
    std::string text = sign;
    if (digits.size() < 2) {
        text.append("0.").append(digits.empty() ? "0" : digits);
    } else {
        text.append(digits.substr(0, digits.size() - 1)).append(".").append(digits.substr(digits.size() - 1));
    }
    if (text == "-0.0") text = "0.0";
    return text;
}

std::string decimal_point_text(std::string_view text) {
    std::string result(text);
    const std::size_t comma = result.find(',');
    if (comma != std::string::npos && result.find(',', comma + 1) == std::string::npos) result[comma] = '.';
    return result;
}

}  // namespace wgn::readers
