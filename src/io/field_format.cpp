#include "io/field_format.hpp"

#include <bit>
#include <cmath>

#include "io/big_natural.hpp"

namespace wgn::io {
namespace {

void append_asterisks(std::string& out, int width) { out.append(static_cast<std::size_t>(width), '*'); }

void append_right_justified(std::string& out, std::string_view text, int width) {
    out.append(static_cast<std::size_t>(width) - text.size(), ' ');
    out.append(text);
}

// NaN and the infinities: one blank, the text, blanks to the end of the field.
void append_special(std::string& out, std::string_view text, int width) {
    if (static_cast<int>(text.size()) + 1 > width) {
        append_asterisks(out, width);
        return;
    }
    out.push_back(' ');
    out.append(text);
    out.append(static_cast<std::size_t>(width) - text.size() - 1, ' ');
}

// The digits of |value| * 10^digits rounded to an integer, exact halves away
// from zero.
//
// 1. Split the float into m * 2^e with an integer m (24 bits at most).
// 2. Scale exactly: N = m * 10^digits, still an integer.
// 3. For e >= 0 the result is N * 2^e, an integer with nothing to round.
//    For e < 0 divide by 2^-e; the highest dropped bit is the half, so the
//    quotient goes up exactly when the remainder is at least one half.
// Working on the exact binary value avoids the double rounding that a detour
// through a shorter decimal form would cause (2.675f is 2.67499990463..., so
// it must give 2.67, not 2.68).
std::string scaled_magnitude_digits(float value, int digits) {
    const std::uint32_t bits = std::bit_cast<std::uint32_t>(value);
    const std::uint32_t exponent_field = (bits >> 23) & 0xFFU;
    const std::uint32_t fraction = bits & 0x7FFFFFU;
    std::uint32_t mantissa = fraction;
    int exponent = -149;
    if (exponent_field != 0) {
        mantissa = fraction | 0x800000U;
        exponent = static_cast<int>(exponent_field) - 150;
    }
    BigNatural scaled(mantissa);
    scaled.multiply_by_power_of_ten(digits);
    if (exponent >= 0)
        scaled.shift_left(exponent);
    else
        scaled.shift_right_round_half_up(-exponent);
    return scaled.decimal_digits();
}

}  // namespace

void append_text_field(std::string& out, std::string_view text, int width) {
    if (width <= 0) return;
    if (static_cast<int>(text.size()) >= width)
        out.append(text.substr(0, static_cast<std::size_t>(width)));
    else
        append_right_justified(out, text, width);
}

void append_integer_field(std::string& out, std::int32_t value, int width) {
    if (width <= 0) return;
    // Widened first: the magnitude of INT32_MIN does not fit in 32 bits.
    std::int64_t magnitude = value;
    if (magnitude < 0) magnitude = -magnitude;
    char buffer[16];
    int length = 0;
    do {
        buffer[15 - length++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) buffer[15 - length++] = '-';
    if (length > width)
        append_asterisks(out, width);
    else
        append_right_justified(out, std::string_view(buffer + 16 - length, static_cast<std::size_t>(length)), width);
}

void append_real_field(std::string& out, float value, int width, int digits) {
    if (width <= 0) return;
    if (std::isnan(value)) return append_special(out, "NaN", width);
    if (std::isinf(value)) return append_special(out, value < 0 ? "-Infinity" : "Infinity", width);

    std::string scaled = scaled_magnitude_digits(value, digits);
    const bool negative = std::signbit(value) && scaled != "0";  // a rounded zero has no sign

    // Integer part: what lies before the last `digits` digits, at least "0".
    const std::size_t fraction_length = static_cast<std::size_t>(digits);
    if (scaled.size() <= fraction_length) scaled.insert(0, fraction_length + 1 - scaled.size(), '0');
    const std::size_t integer_length = scaled.size() - fraction_length;

    std::string text;
    text.reserve(scaled.size() + 2);
    if (negative) text.push_back('-');
    // The 0 before the point is the first thing given up when room is short.
    const bool drop_leading_zero = integer_length == 1 && scaled[0] == '0' &&
                                   static_cast<int>(scaled.size() + 1 + (negative ? 1 : 0)) > width;
    text.append(scaled, drop_leading_zero ? 1 : 0, integer_length - (drop_leading_zero ? 1 : 0));
    text.push_back('.');
    text.append(scaled, integer_length, fraction_length);

    if (static_cast<int>(text.size()) > width)
        append_asterisks(out, width);
    else
        append_right_justified(out, text, width);
}

}  // namespace wgn::io
