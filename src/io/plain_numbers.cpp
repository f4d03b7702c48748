#include "io/plain_numbers.hpp"

#include <cstdint>

#include "io/decimal_text.hpp"

namespace wgn::io {
namespace {

bool is_digit(char c) {
    return static_cast<unsigned char>(c - '0') < 10;
}

// Gathers digits into `significand` from `at` on; false when there are more
// than 18 of them (more could overflow; the general path takes those).
bool take_digits(std::string_view text, std::size_t& at, std::uint64_t& significand, std::size_t& count) {
    const std::size_t first = at;
    while (at < text.size() && is_digit(text[at])) {
        significand = significand * 10 + static_cast<std::uint64_t>(text[at] - '0');
        ++at;
    }
    count = at - first;
    return count <= 18;
}

}  // namespace

bool read_lone_real(std::string_view record, float& value) {
    // 1. Blanks and tabs before the value.
    std::size_t at = 0;
    while (at < record.size() && (record[at] == ' ' || record[at] == '\t')) ++at;
    const std::size_t start = at;

    // 2. Sign, digits, point, digits: at least one digit in all.
    bool negative = false;
    if (at < record.size() && (record[at] == '+' || record[at] == '-')) negative = record[at++] == '-';
    std::uint64_t significand = 0;
    std::size_t integer_digits = 0;
    std::size_t fraction_digits = 0;
    if (!take_digits(record, at, significand, integer_digits)) return false;
    if (at < record.size() && record[at] == '.') {
        ++at;
        if (!take_digits(record, at, significand, fraction_digits) || integer_digits + fraction_digits > 18) {
            return false;
        }
    }
    if (integer_digits + fraction_digits == 0) return false;

    // 3. Exponent: a letter, an optional sign, one to three digits.
    long exponent = 0;
    if (at < record.size() && (record[at] == 'E' || record[at] == 'e' || record[at] == 'D' || record[at] == 'd')) {
        ++at;
        bool negative_exponent = false;
        if (at < record.size() && (record[at] == '+' || record[at] == '-')) negative_exponent = record[at++] == '-';
        const std::size_t first = at;
        while (at < record.size() && is_digit(record[at]) && at - first < 3) {
            exponent = exponent * 10 + (record[at] - '0');
            ++at;
        }
        if (at == first) return false;
        if (negative_exponent) exponent = -exponent;
    }

    // 4. Nothing may follow: anything else is the general reader's to judge.
    if (at != record.size()) return false;

    // 5. Exact in one operation, or by the general conversion of the same text.
    const long scale = exponent - static_cast<long>(fraction_digits);
    if (exact_small_decimal(significand, scale, negative, value)) return true;
    return parse_real(record.substr(start), value);
}

bool read_plain_fixed(std::string_view field, int digits, float& value) {
    std::size_t at = 0;
    while (at < field.size() && field[at] == ' ') ++at;
    bool negative = false;
    if (at < field.size() && (field[at] == '+' || field[at] == '-')) negative = field[at++] == '-';
    std::uint64_t significand = 0;
    std::size_t integer_digits = 0;
    std::size_t fraction_digits = 0;
    if (!take_digits(field, at, significand, integer_digits)) return false;
    if (at == field.size() || field[at] != '.') return false;
    ++at;
    if (!take_digits(field, at, significand, fraction_digits)) return false;
    if (at != field.size() || fraction_digits != static_cast<std::size_t>(digits)) return false;
    if (integer_digits + fraction_digits == 0) return false;
    return exact_small_decimal(significand, -static_cast<long>(fraction_digits), negative, value);
}

}  // namespace wgn::io
