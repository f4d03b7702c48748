// Numbers as station files write them, kept as text: a value goes into the
// series exactly as the file wrote it, so no digit is gained or lost on the
// way to wgnrain.
//
//   is_number_text("12.5"), ("-0.3"), ("1.25E+01"), (".5")  -> true
//   is_number_text("12.5mm"), ("NaN"), (""), ("1e")          -> false
//   tenths_text("123") -> "12.3",  ("5") -> "0.5",  ("-12") -> "-1.2",  ("0") -> "0.0"
//   decimal_point_text("12,5") -> "12.5"   (a decimal comma, as a semicolon-separated file writes it)
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "io/powers_of_ten.hpp"

namespace wgn::readers {

// Digits with an optional sign, decimal point and exponent; nothing else.
bool is_number_text(std::string_view text);
// The value of a number text (see is_number_text); nothing for other text.
std::optional<double> number_value(std::string_view text);
// The same, and in `plain_decimals` how many decimals the text has when it
// is a plain decimal of at most 15 digits ([+-]digits[.digits]), else -1.
//   "12.50" -> 12.5, 2    "1e3" -> 1000, -1    "x" -> nothing, -1
std::optional<double> number_value(std::string_view text, int& plain_decimals);
// The same into `number`, false for a text that is no number: for the loop
// over every cell, where an optional double passed through memory costs
// more than reading the number.
bool read_number(std::string_view text, double& number, int& plain_decimals);
// The value of a number text when it is finite; nothing for an empty text,
// another text, or a number too large to hold (a value a page can draw).
//   "12.5" -> 12.5      "" -> nothing      "1e999" -> nothing
std::optional<double> finite_number(std::string_view text);

// A plain decimal, [+-]digits[.digits] with at least one digit, read in one
// pass: its digits as a whole number (leading zeros aside, at most
// `most_digits` of them, at most 18) and how many of them follow the point.
// Nothing for any other text (an exponent, more digits), which the general
// readings take; the quick paths of number_value and billionths.
//   "-012.50" -> {negative, 1250, 4 digits, 2 decimals}
struct PlainDigits {
    bool negative = false;
    std::int64_t digits = 0;
    int significant = 0;  // the digits from the first that is not 0
    int decimals = 0;
};
// How many decimal digits a whole number has (0 for 0 and below):
// its bits tell the power of ten within one (1233 / 4096 is just above
// log10 2), the table which.
//   decimal_length(0) -> 0    decimal_length(9) -> 1    decimal_length(10) -> 2
inline int decimal_length(std::int64_t number) {
    if (number <= 0) return 0;
    const auto magnitude = static_cast<std::uint64_t>(number);
    const int power = (static_cast<int>(std::bit_width(magnitude)) * 1233) >> 12;
    return power + (magnitude >= io::kPowersOfTen[power] ? 1 : 0);
}

// Inline: it runs for every value of every file, from two readings.
inline std::optional<PlainDigits> plain_digits(std::string_view text, int most_digits) {
    PlainDigits plain;
    const char* at = text.data();
    const char* const end = at + text.size();
    plain.negative = at < end && *at == '-';
    if (at < end && (*at == '-' || *at == '+')) ++at;
    // 1. The whole part, then the decimals: one test a character for a digit
    //    (its value as unsigned, 0 to 9), the point looked for only where a
    //    digit is not.
    const char* const whole = at;
    const char* point = nullptr;
    // 2. A text of at most `most_digits` characters has no more digits than
    //    that: its digits are taken as they come, and the significant ones
    //    (from the first that is not 0) counted from their number.  A longer
    //    one counts them as they come: zeros before the first other digit
    //    are not significant.
    const auto read_digits = [&](bool count_significant) {
        for (; at < end; ++at) {
            const unsigned digit = static_cast<unsigned char>(*at) - unsigned{'0'};
            if (digit > 9) {
                if (*at != '.' || point != nullptr) return false;
                point = at;
                continue;
            }
            if (count_significant) {
                if (plain.digits == 0 && digit == 0) continue;
                if (++plain.significant > most_digits) return false;
            }
            plain.digits = plain.digits * 10 + digit;
        }
        return true;
    };
    if (end - at <= most_digits) {
        if (!read_digits(false)) return std::nullopt;
        plain.significant = decimal_length(plain.digits);
    } else if (!read_digits(true)) {
        return std::nullopt;
    }
    const std::ptrdiff_t count = (end - whole) - (point != nullptr ? 1 : 0);
    if (count == 0) return std::nullopt;
    if (point != nullptr) plain.decimals = static_cast<int>(end - point - 1);
    return plain;
}

// A whole number (optional sign, digits) within 32 bits; nothing for other text.
std::optional<int> whole_number(std::string_view text);
// A whole number of tenths written as a decimal with one digit after the
// point, by moving the point in the text; `digits` is a whole number.
std::string tenths_text(std::string_view digits);
// The text with its one decimal comma (if any) written as a point.
std::string decimal_point_text(std::string_view text);

}  // namespace wgn::readers
