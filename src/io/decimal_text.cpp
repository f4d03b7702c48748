#include "io/decimal_text.hpp"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace wgn::io {
namespace {

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

bool equals_ignoring_case(std::string_view text, std::string_view word) {
    if (text.size() != word.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != word[i]) return false;
    return true;
}

bool parse_special(std::string_view text, float& value) {
    if (equals_ignoring_case(text, "nan")) {
        value = std::numeric_limits<float>::quiet_NaN();
        return true;
    }
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (equals_ignoring_case(text, "infinity")) {
        value = negative ? -std::numeric_limits<float>::infinity() : std::numeric_limits<float>::infinity();
        return true;
    }
    return false;
}

// Exponents beyond this magnitude give zero or infinity whatever the digits;
// clamping keeps the arithmetic below in range.
constexpr long kExponentClamp = 100000000L;

bool parse_decimal(std::string_view text, int implied_digits, float& value) {
    // NaN and Infinity are the only forms that start with a letter.
    const std::size_t letter_at = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
    if (letter_at < text.size() && !is_digit(text[letter_at]) && text[letter_at] != '.')
        return parse_special(text, value);

    // 1. Sign.
    std::size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
    const std::size_t digits_start = pos;

    // 2. Digits with an optional point.  Up to 19 significant digits are
    //    gathered into an integer for the fast path below.
    std::uint64_t significand = 0;
    int significant_digits = 0;
    bool all_digits_kept = true;
    std::size_t digit_count = 0;
    const auto take_digits = [&] {
        const std::size_t first = pos;
        for (; pos < text.size() && is_digit(text[pos]); ++pos) {
            const auto digit = static_cast<std::uint64_t>(text[pos] - '0');
            if (significant_digits < 19) {
                significand = significand * 10 + digit;
                if (significand != 0) ++significant_digits;  // leading zeros do not count
            } else {
                all_digits_kept = false;
            }
        }
        digit_count += pos - first;
        return static_cast<long>(pos - first);
    };
    take_digits();
    const bool seen_point = pos < text.size() && text[pos] == '.';
    long fraction_digits = 0;
    if (seen_point) {
        ++pos;
        fraction_digits = take_digits();
    }
    if (digit_count == 0) return false;
    const std::size_t digits_end = pos;

    // 3. Exponent: a letter with an optional sign, or a sign alone, then digits.
    long exponent = 0;
    if (pos < text.size()) {
        const char letter = static_cast<char>(text[pos] & ~0x20);  // ASCII upper case
        if (letter == 'E' || letter == 'D' || letter == 'Q')
            ++pos;
        else if (text[pos] != '+' && text[pos] != '-')
            return false;
        bool negative_exponent = false;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative_exponent = text[pos++] == '-';
        if (pos >= text.size()) return false;
        for (; pos < text.size(); ++pos) {
            if (!is_digit(text[pos])) return false;
            if (exponent < kExponentClamp) exponent = exponent * 10 + (text[pos] - '0');
        }
        if (negative_exponent) exponent = -exponent;
    }
    // 4. Without a point, the implied point of an Fw.d field fixes the fraction.
    if (!seen_point) fraction_digits = implied_digits;
    const long scale = exponent - fraction_digits;

    // 5. Fast path: an integer significand of at most 24 bits and a power of
    //    ten up to 10^10 are both exact floats, so one single-precision
    //    multiplication or division gives the correctly rounded result.
    if (all_digits_kept && exact_small_decimal(significand, scale, negative, value)) return true;

    // 6. Otherwise the C library's correctly rounded conversion, on a plain
    //    decimal text made here, so that its hexadecimal and special forms
    //    cannot be reached; overflow gives an infinity, underflow a zero or a
    //    subnormal, as round-to-nearest does.
    std::string canonical;
    canonical.reserve(digits_end - digits_start + 16);
    if (negative) canonical.push_back('-');
    for (std::size_t i = digits_start; i < digits_end; ++i)
        if (text[i] != '.') canonical.push_back(text[i]);
    canonical.push_back('e');
    canonical += std::to_string(scale);
    errno = 0;
    value = std::strtof(canonical.c_str(), nullptr);
    return true;
}

}  // namespace

bool parse_real(std::string_view text, float& value) {
    return parse_decimal(text, 0, value);
}

bool parse_real_implied(std::string_view text, int implied_digits, float& value) {
    return parse_decimal(text, implied_digits, value);
}

bool parse_integer(std::string_view text, std::int32_t& value) {
    std::size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
    if (pos >= text.size()) return false;
    std::int64_t magnitude = 0;
    for (; pos < text.size(); ++pos) {
        if (!is_digit(text[pos])) return false;
        magnitude = magnitude * 10 + (text[pos] - '0');
        if (magnitude > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) return false;
    }
    const std::int64_t signed_value = negative ? -magnitude : magnitude;
    if (signed_value > std::numeric_limits<std::int32_t>::max()) return false;
    value = static_cast<std::int32_t>(signed_value);
    return true;
}

}  // namespace wgn::io
