#include "io/fixed_field_fast.hpp"

#include <bit>
#include <cstdint>
#include <cstring>

#include "io/powers_of_ten.hpp"

namespace wgn::io {
namespace {

// "00" "01" ... "99": two digits per division.
constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Step 4 below: blanks, then the digits from the right end of the field:
// the fraction, the point, at least one digit before it, and a sign only on
// a number that did not round to zero.  Two digits at a time; the usual
// fraction widths are compiled for their own count (kDigits < 0: any).
template <int kDigits>
[[gnu::always_inline]] inline bool write_field(std::uint64_t rounded, bool negative, int width, int digits,
                                               char* field) {
    if constexpr (kDigits >= 0) digits = kDigits;
    // Numbers that surely fit with a sign: below 10^(width - 2) in units of
    // the last digit, and a zero before the point counts as a digit too.
    // Wider ones are the general path's to judge (asterisks, a dropped
    // leading zero, or an exact fit).
    if (digits + 3 > width || (width - 2 < 19 && rounded >= kPowersOfTen[width - 2])) return false;
    std::memset(field, ' ', 32);
    char* at = field + width;
    int fraction = digits;
    if (fraction % 2 != 0) {
        *--at = static_cast<char>('0' + rounded % 10);
        rounded /= 10;
        --fraction;
    }
    for (; fraction > 0; fraction -= 2) {
        at -= 2;
        std::memcpy(at, kDigitPairs + 2 * (rounded % 100), 2);
        rounded /= 100;
    }
    *--at = '.';
    // The integer part mostly fits 32 bits, where division is cheaper.
    const auto pairs = [&at](auto integer) {
        while (integer >= 100) {
            at -= 2;
            std::memcpy(at, kDigitPairs + 2 * (integer % 100), 2);
            integer /= 100;
        }
        if (integer >= 10) {
            at -= 2;
            std::memcpy(at, kDigitPairs + 2 * integer, 2);
        } else {
            *--at = static_cast<char>('0' + integer);
        }
    };
    if (rounded <= 0xFFFFFFFFU)
        pairs(static_cast<std::uint32_t>(rounded));
    else
        pairs(rounded);
    if (negative) *--at = '-';
    return true;
}

}  // namespace

namespace {

// The whole field; kWidth and kDigits, when not negative, are compiled in
// (the month files' F12.2).
template <int kWidth, int kDigits>
[[gnu::always_inline]] inline bool format_field(float value, int width, int digits, char* field) {
    if constexpr (kWidth >= 0) width = kWidth;
    if constexpr (kDigits >= 0) digits = kDigits;
    if (digits < 0 || digits > 9 || width < 2 || width > 32) return false;

    // 1. The float as m * 2^e, m an integer of at most 24 bits.
    const std::uint32_t bits = std::bit_cast<std::uint32_t>(value);
    const std::uint32_t exponent_field = (bits >> 23) & 0xFFU;
    if (exponent_field == 0xFFU) return false;  // NaN, infinity
    std::uint64_t mantissa = bits & 0x7FFFFFU;
    int exponent = -149;
    if (exponent_field != 0) {
        mantissa |= 0x800000U;
        exponent = static_cast<int>(exponent_field) - 150;
    }

    // 2. N = m * 10^digits, exact (below 2^54); then N * 2^e rounded to an
    //    integer, halves up: the highest dropped bit is the half.
    const std::uint64_t scaled = mantissa * kPowersOfTen[digits];
    std::uint64_t rounded = 0;
    if (exponent >= 0) {
        if (exponent > 9) return false;  // beyond 2^63: the general path decides
        rounded = scaled << exponent;
    } else if (exponent > -64) {
        const int shift = -exponent;
        rounded = (scaled >> shift) + ((scaled >> (shift - 1)) & 1U);
    }  // else below one half of the last digit: zero
    const bool zero = rounded == 0;

    // 3-4. The field, with the usual fraction widths compiled apart.
    const bool negative = (bits >> 31) != 0 && !zero;
    if constexpr (kDigits >= 0) {
        return write_field<kDigits>(rounded, negative, width, digits, field);
    } else {
        switch (digits) {
            case 2: return write_field<2>(rounded, negative, width, digits, field);
            case 4: return write_field<4>(rounded, negative, width, digits, field);
            default: return write_field<-1>(rounded, negative, width, digits, field);
        }
    }
}

}  // namespace

bool format_real_fast(float value, int width, int digits, char* field) {
    if (width == 12 && digits == 2) return format_field<12, 2>(value, width, digits, field);
    return format_field<-1, -1>(value, width, digits, field);
}

}  // namespace wgn::io
