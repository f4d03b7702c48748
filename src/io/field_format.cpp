#include "io/field_format.hpp"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>

#include "io/big_natural.hpp"
#include "io/fixed_field_fast.hpp"

namespace wgn::io {
namespace {

void append_asterisks(std::string& out, int width) {
    out.append(static_cast<std::size_t>(width), '*');
}

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
// from zero, written to `out` (no leading zeros; "0" for zero).
//
// 1. Split the float into m * 2^e with an integer m (24 bits at most).
// 2. Scale exactly: N = m * 10^digits, still an integer.
// 3. For e >= 0 the result is N * 2^e, an integer with nothing to round.
//    For e < 0 divide by 2^-e; the highest dropped bit is the half, so the
//    quotient goes up exactly when the remainder is at least one half.
// Working on the exact binary value avoids the double rounding that a detour
// through a shorter decimal form would cause (2.675f is 2.67499990463..., so
// it must give 2.67, not 2.68).  Values whose scaled form fits in 64 bits
// (every value the program prints) take the integer fast path; the others
// use the wide integer.
std::size_t scaled_magnitude_digits(float value, int digits, char* out) {
    const std::uint32_t bits = std::bit_cast<std::uint32_t>(value);
    const std::uint32_t exponent_field = (bits >> 23) & 0xFFU;
    const std::uint32_t fraction = bits & 0x7FFFFFU;
    std::uint64_t mantissa = fraction;
    int exponent = -149;
    if (exponent_field != 0) {
        mantissa = fraction | 0x800000U;
        exponent = static_cast<int>(exponent_field) - 150;
    }

    if (digits <= 9) {
        // m < 2^24 and 10^9 < 2^30: N < 2^54.
        static constexpr std::uint64_t kPowers[] = {1,      10,      100,      1000,      10000,
                                                    100000, 1000000, 10000000, 100000000, 1000000000};
        const std::uint64_t scaled = mantissa * kPowers[digits];
        std::uint64_t result = 0;
        bool fits = true;
        if (exponent >= 0) {
            fits = exponent < 64 && (scaled >> (63 - exponent)) == 0;
            if (fits) result = scaled << exponent;
        } else if (exponent > -64) {
            const int shift = -exponent;
            result = (scaled >> shift) + ((scaled >> (shift - 1)) & 1U);
        }  // else N < 2^54 <= 2^(shift - 1): below one half, result 0
        if (fits) return static_cast<std::size_t>(std::to_chars(out, out + 24, result).ptr - out);
    }

    BigNatural scaled(mantissa);
    scaled.multiply_by_power_of_ten(digits);
    if (exponent >= 0)
        scaled.shift_left(exponent);
    else
        scaled.shift_right_round_half_up(-exponent);
    const std::string text = scaled.decimal_digits();
    text.copy(out, text.size());
    return text.size();
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
    char field[32];
    if (width <= 32 && format_real_fast(value, width, digits, field)) {
        out.append(field, static_cast<std::size_t>(width));
        return;
    }
    append_real_field_general(out, value, width, digits);
}

void append_real_field_general(std::string& out, float value, int width, int digits) {
    if (width <= 0) return;
    if (digits < 0 || digits > kMaxFractionDigits) return append_asterisks(out, width);
    if (std::isnan(value)) return append_special(out, "NaN", width);
    if (std::isinf(value)) return append_special(out, value < 0 ? "-Infinity" : "Infinity", width);

    // Room for the digits of FLT_MAX * 10^40 and the zeros before a fraction.
    char scaled[128];
    std::size_t length = scaled_magnitude_digits(value, digits, scaled);
    const bool negative = std::signbit(value) && !(length == 1 && scaled[0] == '0');  // a rounded zero has no sign

    // Integer part: what lies before the last `digits` digits, at least "0".
    const auto fraction_length = static_cast<std::size_t>(digits);
    if (length <= fraction_length) {
        const std::size_t zeros = fraction_length + 1 - length;
        std::memmove(scaled + zeros, scaled, length);
        std::memset(scaled, '0', zeros);
        length += zeros;
    }
    const std::size_t integer_length = length - fraction_length;

    char text[136];
    std::size_t size = 0;
    if (negative) text[size++] = '-';
    // The 0 before the point is the first thing given up when room is short.
    const bool drop_leading_zero =
        integer_length == 1 && scaled[0] == '0' && static_cast<int>(length + 1 + (negative ? 1 : 0)) > width;
    const std::size_t skip = drop_leading_zero ? 1 : 0;
    std::memcpy(text + size, scaled + skip, integer_length - skip);
    size += integer_length - skip;
    text[size++] = '.';
    std::memcpy(text + size, scaled + integer_length, fraction_length);
    size += fraction_length;

    if (static_cast<int>(size) > width) return append_asterisks(out, width);
    // The whole field at once: blanks, then the number.
    const std::size_t start = out.size();
    out.resize(start + static_cast<std::size_t>(width), ' ');
    std::memcpy(out.data() + start + static_cast<std::size_t>(width) - size, text, size);
}

}  // namespace wgn::io
