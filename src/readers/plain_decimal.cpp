#include "readers/plain_decimal.hpp"

#include <algorithm>

#include "readers/number_text.hpp"

namespace wgn::readers {

std::optional<std::string> plain_decimal(std::string_view text, bool* too_large) {
    if (too_large != nullptr) *too_large = false;
    if (!is_number_text(text)) return std::nullopt;
    const std::size_t e = text.find_first_of("eE");
    if (e == std::string_view::npos) return std::string(text);
    // 1. The mantissa's significant digits and the power of ten that scales
    //    them: "4.0585e1" -> 40585 x 10^(1 - 4).
    std::string_view mantissa = text.substr(0, e);
    const bool negative = mantissa.front() == '-';
    if (mantissa.front() == '+' || mantissa.front() == '-') mantissa.remove_prefix(1);
    std::string digits;
    long scale = 0;
    bool after_point = false;
    for (const char c : mantissa) {
        if (c == '.') {
            after_point = true;
            continue;
        }
        if (!digits.empty() || c != '0') digits.push_back(c);
        if (after_point) --scale;
    }
    if (digits.empty()) return std::string("0");
    std::string_view power = text.substr(e + 1);
    const bool power_negative = power.front() == '-';
    if (power.front() == '+' || power.front() == '-') power.remove_prefix(1);
    // Beyond this the number is too long written out in either direction.
    const long cap = 2 * static_cast<long>(kLongestPlainDecimal + mantissa.size());
    long exponent = 0;
    for (const char c : power) exponent = std::min(cap, exponent * 10 + (c - '0'));
    scale += power_negative ? -exponent : exponent;

    // 2. The point put where the scale says, with the zeros it needs.
    const long whole_digits = static_cast<long>(digits.size()) + scale;
    if (whole_digits > static_cast<long>(kLongestPlainDecimal)) {
        if (too_large != nullptr) *too_large = true;
        return std::nullopt;
    }
    if (-scale > static_cast<long>(kLongestPlainDecimal)) return std::nullopt;
    std::string result = negative ? "-" : "";
    if (scale >= 0) {
        result.append(digits).append(static_cast<std::size_t>(scale), '0');
    } else if (whole_digits > 0) {
        result.append(digits, 0, static_cast<std::size_t>(whole_digits));
        result.append(".").append(digits, static_cast<std::size_t>(whole_digits));
    } else {
        result.append("0.").append(static_cast<std::size_t>(-whole_digits), '0').append(digits);
    }
    if (result.size() > kLongestPlainDecimal) return std::nullopt;
    return result;
}

}  // namespace wgn::readers
