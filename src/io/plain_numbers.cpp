#include "io/plain_numbers.hpp"

#include <cstdint>
#include <cstring>

#include "io/decimal_text.hpp"

namespace wgn::io {
namespace {

bool is_digit(char c) {
    return static_cast<unsigned char>(c - '0') < 10;
}

// Gathers the digits from `at` on into `significand`; the caller limits how
// many may count (more than 18 could overflow).
const char* take_digits(const char* at, const char* end, std::uint64_t& significand) {
    while (at < end && is_digit(*at)) {
        significand = significand * 10 + static_cast<std::uint64_t>(*at - '0');
        ++at;
    }
    return at;
}

}  // namespace

bool read_lone_real(std::string_view record, float& value) {
    const char* at = record.data();
    const char* const end = at + record.size();

    // 1. Blanks and tabs before the value.
    while (at < end && (*at == ' ' || *at == '\t')) ++at;
    const char* const start = at;

    // 2. Sign, digits, point, digits: one to 18 digits in all.
    bool negative = false;
    if (at < end && (*at == '+' || *at == '-')) negative = *at++ == '-';
    std::uint64_t significand = 0;
    const char* const integer_start = at;
    at = take_digits(at, end, significand);
    std::ptrdiff_t digits = at - integer_start;
    std::ptrdiff_t fraction_digits = 0;
    if (at < end && *at == '.') {
        const char* const fraction_start = ++at;
        if (digits <= 18) at = take_digits(at, end, significand);
        fraction_digits = at - fraction_start;
        digits += fraction_digits;
    }
    if (digits == 0 || digits > 18) return false;

    // 3. Exponent: a letter, an optional sign, one to three digits.
    long exponent = 0;
    if (at < end && (*at == 'E' || *at == 'e' || *at == 'D' || *at == 'd')) {
        ++at;
        bool negative_exponent = false;
        if (at < end && (*at == '+' || *at == '-')) negative_exponent = *at++ == '-';
        const char* const first = at;
        while (at < end && is_digit(*at) && at - first < 3) exponent = exponent * 10 + (*at++ - '0');
        if (at == first) return false;
        if (negative_exponent) exponent = -exponent;
    }

    // 4. Nothing may follow: anything else is the general reader's to judge.
    if (at != end) return false;

    // 5. Exact in one operation, or by the general conversion of the same text.
    if (exact_small_decimal(significand, exponent - static_cast<long>(fraction_digits), negative, value)) return true;
    return parse_real(std::string_view(start, static_cast<std::size_t>(end - start)), value);
}

bool read_plain_fixed(std::string_view field, int digits, float& value) {
    const char* at = field.data();
    const char* const end = at + field.size();

    // 1. Leading blanks, eight at a time while they last.
    static constexpr char kBlanks[8] = {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
    while (end - at >= 8 && std::memcmp(at, kBlanks, 8) == 0) at += 8;
    while (at < end && *at == ' ') ++at;

    // 2. Sign, digits, the point, exactly `digits` digits to the field's end.
    bool negative = false;
    if (at < end && (*at == '+' || *at == '-')) negative = *at++ == '-';
    std::uint64_t significand = 0;
    const char* const integer_start = at;
    at = take_digits(at, end, significand);
    const std::ptrdiff_t integer_digits = at - integer_start;
    if (at == end || *at != '.' || end - at - 1 != digits || integer_digits > 9 || digits > 9) return false;
    const char* const fraction_start = ++at;
    at = take_digits(at, end, significand);
    if (at != end || integer_digits + (at - fraction_start) == 0) return false;

    // 3. At most 24 bits: one exact division.
    return exact_small_decimal(significand, -static_cast<long>(digits), negative, value);
}

}  // namespace wgn::io
