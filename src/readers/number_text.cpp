#include "readers/number_text.hpp"

#include <charconv>
#include <cmath>

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

std::optional<double> number_value(std::string_view text) {
    if (!is_number_text(text)) return std::nullopt;
    if (text.front() == '+') text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    // Out of range: from_chars leaves the value alone and says so.
    if (error == std::errc::result_out_of_range) return text.front() == '-' ? -HUGE_VAL : HUGE_VAL;
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
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
