#include "io/plain_numbers.hpp"

#include <cstdint>
#include <cstring>

#include "io/decimal_text.hpp"

namespace wgn::io {
namespace {

// The digit of `c`, or a value above 9 when `c` is no digit.
unsigned digit_of(char c) {
    return static_cast<unsigned char>(c - '0');
}

// The exponent part and the end of a lone real: a letter, an optional sign,
// one to three digits, then the record's end.  Rare in a series, so kept
// out of the usual path.
[[gnu::noinline]] bool exponent_to_end(const char* at, const char* end, long& exponent) {
    if (*at != 'E' && *at != 'e' && *at != 'D' && *at != 'd') return false;
    ++at;
    bool negative = false;
    if (at < end && (*at == '+' || *at == '-')) negative = *at++ == '-';
    const char* const first = at;
    while (at < end && digit_of(*at) <= 9 && at - first < 3) exponent = exponent * 10 + (*at++ - '0');
    if (at == first || at != end) return false;
    if (negative) exponent = -exponent;
    return true;
}

}  // namespace

bool read_lone_real(std::string_view record, float& value) {
    const char* at = record.data();
    const char* const end = at + record.size();

    // 1. Blanks and tabs before the value.
    while (at < end && (*at == ' ' || *at == '\t')) ++at;
    const char* const start = at;

    // 2. Sign, digits, point, digits: one to 18 digits in all (more could
    //    overflow the significand; the general path takes those).
    bool negative = false;
    if (at < end && (*at == '+' || *at == '-')) negative = *at++ == '-';
    std::uint64_t significand = 0;
    const char* const integer_start = at;
    for (unsigned digit = 0; at < end && (digit = digit_of(*at)) <= 9; ++at) significand = significand * 10 + digit;
    std::ptrdiff_t digits = at - integer_start;
    std::ptrdiff_t fraction_digits = 0;
    if (at < end && *at == '.') {
        const char* const fraction_start = ++at;
        for (unsigned digit = 0; at < end && (digit = digit_of(*at)) <= 9; ++at) {
            significand = significand * 10 + digit;
        }
        fraction_digits = at - fraction_start;
        digits += fraction_digits;
    }
    if (digits == 0 || digits > 18) return false;

    // 3. An exponent, and nothing after the number: anything else is the
    //    general reader's to judge.
    long exponent = 0;
    if (at != end && !exponent_to_end(at, end, exponent)) return false;

    // 4. Exact in one operation, or by the general conversion of the same text.
    if (exact_small_decimal(significand, exponent - static_cast<long>(fraction_digits), negative, value)) return true;
    return parse_real(std::string_view(start, static_cast<std::size_t>(end - start)), value);
}

namespace {

// The field of the month files, F12.2, with its width and fraction compiled
// in: read from the right end, where the number stands.  The same shapes as
// read_plain_fixed below; false for any other.
template <int kWidth, int kDigits>
[[gnu::always_inline]] inline bool read_plain_fixed_at(const char* text, float& value) {
    static_assert(kWidth >= kDigits + 2 && kDigits >= 0 && kDigits <= 9);
    // 1. The fraction's digits and the point.
    std::uint64_t significand = 0;
    for (int k = kWidth - kDigits; k < kWidth; ++k) {
        const unsigned digit = digit_of(text[k]);
        if (digit > 9) return false;
        significand = significand * 10 + digit;
    }
    if (text[kWidth - kDigits - 1] != '.') return false;
    // 2. Up to 9 digits before the point, right to left.
    constexpr int kLast = kWidth - kDigits - 2;  // the digit next to the point
    std::uint64_t weight = 1;
    for (int k = 0; k < kDigits; ++k) weight *= 10;
    constexpr int kStop = kLast - 9 > -1 ? kLast - 9 : -1;  // where a tenth digit would stand
    int at = kLast;
    for (unsigned digit = 0; at > kStop && (digit = digit_of(text[at])) <= 9; --at) {
        significand += digit * weight;
        weight *= 10;
    }
    if (at == kLast && kDigits == 0) return false;  // no digit at all
    if constexpr (kStop >= 0) {
        if (at == kStop && digit_of(text[at]) <= 9) return false;  // a tenth digit
    }
    // 3. An optional sign, and blanks only before it.
    bool negative = false;
    if (at >= 0 && (text[at] == '-' || text[at] == '+')) negative = text[at--] == '-';
    for (; at >= 7; at -= 8) {
        std::uint64_t chunk = 0;
        std::memcpy(&chunk, text + at - 7, 8);
        if (chunk != 0x2020202020202020U) return false;
    }
    for (; at >= 0; --at) {
        if (text[at] != ' ') return false;
    }
    return exact_small_decimal(significand, -kDigits, negative, value);
}

}  // namespace

bool read_plain_fixed(std::string_view field, int digits, float& value) {
    if (field.size() == 12 && digits == 2) return read_plain_fixed_at<12, 2>(field.data(), value);
    // Read from the right end, where the number stands: `digits` digits, the
    // point, up to 9 digits, an optional sign, and blanks only before them.
    const auto width = static_cast<std::ptrdiff_t>(field.size());
    if (digits < 0 || digits > 9 || width < digits + 2) return false;
    const char* const text = field.data();
    std::ptrdiff_t at = width - digits;
    std::uint64_t significand = 0;
    for (std::ptrdiff_t i = at; i < width; ++i) {
        const unsigned digit = digit_of(text[i]);
        if (digit > 9) return false;
        significand = significand * 10 + digit;
    }
    if (text[--at] != '.') return false;
    static constexpr std::uint64_t kPowersOfTen[] = {1,      10,      100,      1000,      10000,
                                                     100000, 1000000, 10000000, 100000000, 1000000000};
    std::uint64_t weight = kPowersOfTen[digits];  // of the digit before the point
    const std::ptrdiff_t point = at;
    unsigned digit = 0;
    while (--at >= 0 && (digit = digit_of(text[at])) <= 9) {
        if (point - at > 9) return false;
        significand += digit * weight;
        weight *= 10;
    }
    if (point - at - 1 + digits == 0) return false;
    bool negative = false;
    if (at >= 0 && (text[at] == '-' || text[at] == '+')) negative = text[at--] == '-';
    // Blanks before, eight at a time while they last.
    static constexpr char kBlanks[8] = {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
    for (; at >= 7; at -= 8) {
        if (std::memcmp(text + at - 7, kBlanks, 8) != 0) return false;
    }
    for (; at >= 0; --at) {
        if (text[at] != ' ') return false;
    }
    return exact_small_decimal(significand, -digits, negative, value);
}

std::size_t scan_lone_real_records(std::string_view bytes, std::span<float> values, std::size_t& used) {
    // Only whole lines are taken: past the last line end nothing is looked
    // at, and within them every scan below stops at a line end at the
    // latest, so no scan needs a test of the end of its own.
    const char* at = bytes.data();
    const char* end = at + bytes.size();
    while (end > at && end[-1] != '\n') --end;
    std::size_t count = 0;
    while (count < values.size() && at < end) {
        const char* p = at;
        // 1. Blanks, sign, digits, point, digits, as in a lone real.
        while (*p == ' ' || *p == '\t') ++p;
        bool negative = false;
        if (*p == '+' || *p == '-') negative = *p++ == '-';
        std::uint64_t significand = 0;
        const char* const integer_start = p;
        for (unsigned digit = 0; (digit = digit_of(*p)) <= 9; ++p) significand = significand * 10 + digit;
        std::ptrdiff_t digits = p - integer_start;
        std::ptrdiff_t fraction_digits = 0;
        if (*p == '.') {
            const char* const fraction_start = ++p;
            for (unsigned digit = 0; (digit = digit_of(*p)) <= 9; ++p) significand = significand * 10 + digit;
            fraction_digits = p - fraction_start;
            digits += fraction_digits;
        }
        if (digits == 0 || digits > 18) break;
        // 2. The line end directly after the number.
        if (*p == '\r') ++p;
        if (*p != '\n') break;
        // 3. One exact operation.
        if (!exact_small_decimal(significand, -static_cast<long>(fraction_digits), negative, values[count])) break;
        ++count;
        at = p + 1;
    }
    used = static_cast<std::size_t>(at - bytes.data());
    return count;
}

std::size_t scan_plain_fixed_records(std::string_view bytes, int width, int digits, std::span<float> values,
                                     std::size_t& used) {
    const auto size = static_cast<std::size_t>(width);
    std::size_t at = 0;
    std::size_t count = 0;
    const bool month_field = width == 12 && digits == 2;
    while (count < values.size() && bytes.size() - at > size) {
        // The field, then CR LF or LF: exactly a record of the field's width.
        std::size_t after = at + size;
        if (bytes[after] == '\r') ++after;
        if (after >= bytes.size() || bytes[after] != '\n') break;
        const bool read = month_field ? read_plain_fixed_at<12, 2>(bytes.data() + at, values[count])
                                      : read_plain_fixed(bytes.substr(at, size), digits, values[count]);
        if (!read) break;
        ++count;
        at = after + 1;
    }
    used = at;
    return count;
}

}  // namespace wgn::io
