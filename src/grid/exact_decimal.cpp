// Exact decimal arithmetic on digit strings (exact_decimal.hpp).
#include "grid/exact_decimal.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

namespace wgn::grid {
namespace {

// Leading zeros off; trailing zeros moved into the exponent.
Decimal normalised(Decimal value) {
    const std::size_t first = value.digits.find_first_not_of('0');
    if (first == std::string::npos) return Decimal{};
    value.digits.erase(0, first);
    while (value.digits.back() == '0') {
        value.digits.pop_back();
        ++value.exponent;
    }
    return value;
}

// a - b for digit strings of equal length with a >= b.
std::string subtracted(const std::string& a, const std::string& b) {
    std::string out(a.size(), '0');
    int borrow = 0;
    for (std::size_t k = a.size(); k-- > 0;) {
        int digit = (a[k] - '0') - (b[k] - '0') - borrow;
        borrow = digit < 0 ? 1 : 0;
        out[k] = static_cast<char>('0' + digit + 10 * borrow);
    }
    return out;
}

std::string added(const std::string& a, const std::string& b) {
    std::string out(a.size() + 1, '0');
    int carry = 0;
    for (std::size_t k = a.size(); k-- > 0;) {
        const int digit = (a[k] - '0') + (b[k] - '0') + carry;
        carry = digit / 10;
        out[k + 1] = static_cast<char>('0' + digit % 10);
    }
    out[0] = static_cast<char>('0' + carry);
    return out;
}

}  // namespace

std::optional<Decimal> decimal(std::string_view text) {
    Decimal value;
    std::size_t at = 0;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) value.negative = text[at++] == '-';
    bool any = false, point = false;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if (c >= '0' && c <= '9') {
            value.digits.push_back(c);
            if (point) --value.exponent;
            any = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!any) return std::nullopt;
    if (at < text.size()) {
        if (text[at] != 'e' && text[at] != 'E') return std::nullopt;
        int power = 0;
        const char* end = text.data() + text.size();
        const char* from = text.data() + at + 1;
        if (from < end && *from == '+') ++from;
        const auto [rest, error] = std::from_chars(from, end, power);
        if (error != std::errc() || rest != end || power > 100000 || power < -100000) return std::nullopt;
        value.exponent += power;
    }
    return normalised(value);
}

Decimal operator*(const Decimal& a, const Decimal& b) {
    if (a.digits.empty() || b.digits.empty()) return Decimal{};
    // The column sums on the stack for the usual short digit strings.
    const std::size_t length = a.digits.size() + b.digits.size();
    int small[64] = {};
    std::vector<int> large;
    if (length > 64) large.assign(length, 0);
    int* const sum = length > 64 ? large.data() : small;
    for (std::size_t i = a.digits.size(); i-- > 0;) {
        for (std::size_t j = b.digits.size(); j-- > 0;) sum[i + j + 1] += (a.digits[i] - '0') * (b.digits[j] - '0');
    }
    for (std::size_t k = length; k-- > 1;) {
        sum[k - 1] += sum[k] / 10;
        sum[k] %= 10;
    }
    Decimal product{a.negative != b.negative, "", a.exponent + b.exponent};
    for (std::size_t k = 0; k < length; ++k) product.digits.push_back(static_cast<char>('0' + sum[k]));
    return normalised(product);
}

Decimal operator+(const Decimal& a, const Decimal& b) {
    if (a.digits.empty()) return b;
    if (b.digits.empty()) return a;
    // Both written with the smaller exponent and the same length.
    const int exponent = std::min(a.exponent, b.exponent);
    std::string x = a.digits + std::string(static_cast<std::size_t>(a.exponent - exponent), '0');
    std::string y = b.digits + std::string(static_cast<std::size_t>(b.exponent - exponent), '0');
    const std::size_t width = std::max(x.size(), y.size());
    x.insert(0, width - x.size(), '0');
    y.insert(0, width - y.size(), '0');
    if (a.negative == b.negative) return normalised(Decimal{a.negative, added(x, y), exponent});
    if (x >= y) return normalised(Decimal{a.negative, subtracted(x, y), exponent});
    return normalised(Decimal{b.negative, subtracted(y, x), exponent});
}

int compare(const Decimal& a, const Decimal& b) {
    Decimal negated = b;
    negated.negative = !negated.negative;
    const Decimal difference = a + negated;
    if (difference.digits.empty()) return 0;
    return difference.negative ? -1 : 1;
}

Decimal times_power_of_ten(Decimal value, int power) {
    if (!value.digits.empty()) value.exponent += power;
    return value;
}

std::string plain_text(const Decimal& value) {
    if (value.digits.empty()) return "0";
    std::string text = value.negative ? "-" : "";
    const int length = static_cast<int>(value.digits.size());
    if (value.exponent >= 0) return text + value.digits + std::string(static_cast<std::size_t>(value.exponent), '0');
    const int whole = length + value.exponent;  // digits before the point
    if (whole > 0) {
        return text + value.digits.substr(0, static_cast<std::size_t>(whole)) + "." +
               value.digits.substr(static_cast<std::size_t>(whole));
    }
    return text + "0." + std::string(static_cast<std::size_t>(-whole), '0') + value.digits;
}

std::string rounded_text(const Decimal& value, int decimals) {
    return divided_rounded(value, 1, 0, decimals);
}

std::string divided_rounded(const Decimal& value, std::uint32_t divisor, int scale, int decimals) {
    // q = trunc(|value| x 10^(scale + decimals + 1) / divisor): its last
    // digit decides the rounding (half away from zero: up from 5), and
    // truncating the dividend first leaves that quotient unchanged.
    std::string dividend;
    const int shift = value.exponent + scale + decimals + 1;
    if (!value.digits.empty()) {
        if (shift >= 0) {
            dividend = value.digits + std::string(static_cast<std::size_t>(shift), '0');
        } else if (static_cast<int>(value.digits.size()) + shift > 0) {
            dividend = value.digits.substr(0, value.digits.size() - static_cast<std::size_t>(-shift));
        }
    }
    std::string quotient;
    std::uint64_t remainder = 0;
    for (const char c : dividend) {
        remainder = remainder * 10 + static_cast<std::uint64_t>(c - '0');
        quotient.push_back(static_cast<char>('0' + remainder / divisor));
        remainder %= divisor;
    }
    // Rounded: drop the last digit, adding one when it is 5 or more.
    const bool up = !quotient.empty() && quotient.back() >= '5';
    if (!quotient.empty()) quotient.pop_back();
    if (quotient.empty()) quotient = "0";
    if (up) quotient = added(std::string(quotient.size() - 1, '0') + "1", quotient);
    quotient.erase(0, std::min(quotient.find_first_not_of('0'), quotient.size() - 1));
    if (static_cast<int>(quotient.size()) <= decimals) {
        quotient.insert(0, static_cast<std::size_t>(decimals + 1) - quotient.size(), '0');
    }
    if (decimals > 0) quotient.insert(quotient.size() - static_cast<std::size_t>(decimals), ".");
    const bool zero = quotient.find_first_not_of("0.") == std::string::npos;
    return (value.negative && !zero ? "-" : "") + quotient;
}

std::string shortest_text(float value) {
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return std::string(buffer, end);
}

std::string shortest_text(double value) {
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return std::string(buffer, end);
}

Decimal stored_decimal(double value, bool is_float) {
    const std::string text = is_float ? shortest_text(static_cast<float>(value)) : shortest_text(value);
    return decimal(text).value_or(Decimal{});
}

}  // namespace wgn::grid
