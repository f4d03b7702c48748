#include "modelfiles/fixed_text.hpp"

#include <stdexcept>

namespace wgn::modelfiles {

std::string fixed(const weather::DecimalText& value, int decimals) {
    if (value.empty()) throw std::logic_error("no value to lay out in a number field");
    // The digits without an exponent, as the value was checked to have.
    std::string_view text = value.plain();
    std::string sign;
    if (text.front() == '+' || text.front() == '-') {
        if (text.front() == '-') sign.push_back('-');
        text.remove_prefix(1);
    }
    const std::size_t point = text.find('.');
    std::string whole(text.substr(0, point));
    std::string fraction(point == std::string_view::npos ? "" : text.substr(point + 1));
    if (whole.empty()) whole.push_back('0');
    // 1. Round the digits after the kept ones, half away from zero.
    const auto kept = static_cast<std::size_t>(decimals);
    bool carry = fraction.size() > kept && fraction[kept] >= '5';
    fraction.resize(kept, '0');
    std::string digits = whole;
    digits.append(fraction);
    for (std::size_t i = digits.size(); carry && i-- > 0;) {
        if (digits[i] == '9') {
            digits[i] = '0';
        } else {
            ++digits[i];
            carry = false;
        }
    }
    if (carry) digits.insert(0, 1, '1');
    // 2. Put the point back.
    std::string result = sign;
    result.append(digits, 0, digits.size() - kept);
    if (decimals > 0) result.append(".").append(digits, digits.size() - kept, kept);
    return result;
}

std::string fortran_f(const weather::DecimalText& value, int width, int decimals) {
    std::string shown = fixed(value, decimals);
    // Fortran leaves out the zero before the point when the field is full.
    if (shown.size() > static_cast<std::size_t>(width) && (shown.rfind("0.", 0) == 0 || shown.rfind("-0.", 0) == 0)) {
        shown.erase(shown.find('0'), 1);
    }
    if (shown.size() > static_cast<std::size_t>(width)) return std::string(static_cast<std::size_t>(width), '*');
    return right(shown, static_cast<std::size_t>(width));
}

std::string right(std::string_view text, std::size_t width) {
    std::string result;
    if (text.size() < width) result.assign(width - text.size(), ' ');
    result.append(text);
    return result;
}

}  // namespace wgn::modelfiles
