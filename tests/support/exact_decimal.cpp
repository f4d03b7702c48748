#include "exact_decimal.hpp"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace wgn::exact {
namespace {

// ---- decimal digit strings: most significant digit first -------------------

using Digits = std::string;  // '0'...'9'

Digits times_small(const Digits& a, int factor) {
    Digits result(a.size() + 3, '0');
    int carry = 0;
    std::size_t out = result.size();
    for (std::size_t i = a.size(); i-- > 0;) {
        const int product = (a[i] - '0') * factor + carry;
        result[--out] = static_cast<char>('0' + product % 10);
        carry = product / 10;
    }
    while (carry != 0) {
        result[--out] = static_cast<char>('0' + carry % 10);
        carry /= 10;
    }
    result.erase(0, out);
    const std::size_t first = result.find_first_not_of('0');
    return first == Digits::npos ? Digits("0") : result.substr(first);
}

int compare(const Digits& a, const Digits& b) {  // both without leading zeros
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    return a.compare(b) < 0 ? -1 : (a.compare(b) > 0 ? 1 : 0);
}

Digits times_power(Digits a, int base, int power) {
    for (int i = 0; i < power; ++i) a = times_small(a, base);
    return a;
}

Digits increment(Digits a) {
    std::size_t i = a.size();
    while (i-- > 0) {
        if (a[i] != '9') {
            ++a[i];
            return a;
        }
        a[i] = '0';
    }
    return "1" + a;
}

}  // namespace

std::string exact_decimal(float value) {
    const std::uint32_t bits = std::bit_cast<std::uint32_t>(value);
    const bool negative = (bits >> 31) != 0;
    const int exponent_field = static_cast<int>((bits >> 23) & 0xFF);
    std::uint32_t mantissa = bits & 0x7FFFFF;
    int exponent = -149;
    if (exponent_field != 0) {
        mantissa |= 0x800000;
        exponent = exponent_field - 150;
    }
    // m * 2^e; for e < 0 that is m * 5^-e / 10^-e.
    Digits digits = std::to_string(mantissa);
    int fraction = 0;
    if (exponent >= 0) {
        digits = times_power(digits, 2, exponent);
    } else {
        digits = times_power(digits, 5, -exponent);
        fraction = -exponent;
    }
    if (static_cast<int>(digits.size()) <= fraction)
        digits.insert(0, static_cast<std::size_t>(fraction) + 1 - digits.size(), '0');
    std::string text = negative ? "-" : "";
    text += digits.substr(0, digits.size() - static_cast<std::size_t>(fraction));
    if (fraction > 0) text += "." + digits.substr(digits.size() - static_cast<std::size_t>(fraction));
    return text;
}

std::string fixed_field(float value, int width, int digits) {
    const std::string stars(static_cast<std::size_t>(width), '*');
    if (std::isnan(value) || std::isinf(value)) {
        const std::string word = std::isnan(value) ? "NaN" : (value < 0 ? "-Infinity" : "Infinity");
        if (static_cast<int>(word.size()) + 1 > width) return stars;
        std::string field = " " + word;
        field.resize(static_cast<std::size_t>(width), ' ');
        return field;
    }
    std::string text = exact_decimal(value);
    const bool negative = text[0] == '-';
    if (negative) text.erase(0, 1);
    const std::size_t point = text.find('.');
    std::string whole = point == std::string::npos ? text : text.substr(0, point);
    std::string fraction = point == std::string::npos ? "" : text.substr(point + 1);
    fraction.resize(std::max(fraction.size(), static_cast<std::size_t>(digits) + 1), '0');
    // Rounding digit: the first one dropped.  Exact halves are "5" followed
    // by zeros only; they go up, like everything above them.
    const bool up = fraction[static_cast<std::size_t>(digits)] >= '5';
    Digits kept = whole + fraction.substr(0, static_cast<std::size_t>(digits));
    kept.erase(0, std::min(kept.find_first_not_of('0'), kept.size() - 1));
    if (up) kept = increment(kept);
    const bool zero = kept.find_first_not_of('0') == std::string::npos;
    if (kept.size() <= static_cast<std::size_t>(digits))
        kept.insert(0, static_cast<std::size_t>(digits) + 1 - kept.size(), '0');
    std::string integer = kept.substr(0, kept.size() - static_cast<std::size_t>(digits));
    std::string result = (negative && !zero ? "-" : "") + integer + "." + kept.substr(integer.size());
    if (static_cast<int>(result.size()) > width && integer == "0") result.erase(result.find('0'), 1);
    if (static_cast<int>(result.size()) > width) return stars;
    return std::string(static_cast<std::size_t>(width) - result.size(), ' ') + result;
}

std::optional<float> nearest_float(std::string_view text, int implied_digits) {
    std::size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
    Digits digits;
    bool point = false;
    long fraction = 0;
    std::size_t count = 0;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c >= '0' && c <= '9') {
            digits.push_back(c);
            ++count;
            if (point) ++fraction;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (count == 0) return std::nullopt;
    long exponent = 0;
    if (pos < text.size()) {
        const char c = text[pos];
        if (c == 'e' || c == 'E' || c == 'd' || c == 'D' || c == 'q' || c == 'Q')
            ++pos;
        else if (c != '+' && c != '-')
            return std::nullopt;
        bool minus = false;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) minus = text[pos++] == '-';
        if (pos >= text.size()) return std::nullopt;
        for (; pos < text.size(); ++pos) {
            if (text[pos] < '0' || text[pos] > '9') return std::nullopt;
            if (exponent < 100000000) exponent = exponent * 10 + (text[pos] - '0');
        }
        if (minus) exponent = -exponent;
    }
    if (!point) fraction = implied_digits;
    const float zero = negative ? -0.0F : 0.0F;
    const std::size_t first = digits.find_first_not_of('0');
    if (first == Digits::npos) return zero;
    digits.erase(0, first);
    // value = D * 10^scale
    const long scale = exponent - fraction;
    const long magnitude = static_cast<long>(digits.size()) + scale;  // value < 10^magnitude
    if (magnitude > 40)
        return negative ? -std::numeric_limits<float>::infinity() : std::numeric_limits<float>::infinity();
    if (magnitude < -46) return zero;  // below 10^-46, less than half the smallest subnormal

    // Compare D * 10^scale with M * 2^E exactly, both made integers.
    const auto compare_with = [&](const Digits& m, int e) {  // sign of D*10^scale - m*2^e
        Digits left = digits;
        Digits right = m;
        if (scale >= 0)
            left = times_power(left, 10, static_cast<int>(scale));
        else
            right = times_power(right, 10, static_cast<int>(-scale));
        if (e >= 0)
            right = times_power(right, 2, e);
        else
            left = times_power(left, 2, -e);
        return compare(left, right);
    };
    // Walk the floats from a first guess until the value lies between the
    // midpoints around one of them.
    float guess = std::strtof(std::string(digits + "e" + std::to_string(scale)).c_str(), nullptr);
    if (std::isinf(guess)) guess = std::numeric_limits<float>::max();
    for (;;) {
        const std::uint32_t bits = std::bit_cast<std::uint32_t>(guess);
        const int field = static_cast<int>(bits >> 23);
        std::uint32_t m = bits & 0x7FFFFF;
        int e = -149;
        if (field != 0) {
            m |= 0x800000;
            e = field - 150;
        }
        // Midpoints (2m - 1) * 2^(e-1) and (2m + 1) * 2^(e-1); below the
        // smallest normal the lower neighbour is one unit down as well.
        const bool at_power = field > 1 && (bits & 0x7FFFFF) == 0;
        const Digits low = at_power ? std::to_string(4ULL * m - 1) : std::to_string(2ULL * m - 1);
        const int low_e = at_power ? e - 2 : e - 1;
        const int below_low = m == 0 ? 1 : compare_with(low, low_e);
        const int below_high = compare_with(std::to_string(2ULL * m + 1), e - 1);
        if (m != 0 && (below_low < 0 || (below_low == 0 && (m & 1) == 1))) {
            guess = std::nextafter(guess, 0.0F);
            continue;
        }
        if (below_high > 0 || (below_high == 0 && (m & 1) == 1)) {
            if (guess == std::numeric_limits<float>::max())
                return negative ? -std::numeric_limits<float>::infinity() : std::numeric_limits<float>::infinity();
            guess = std::nextafter(guess, std::numeric_limits<float>::infinity());
            continue;
        }
        return negative ? -guess : guess;
    }
}

}  // namespace wgn::exact
