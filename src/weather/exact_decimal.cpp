#include "weather/exact_decimal.hpp"

#include <algorithm>
#include <cmath>

#include "readers/number_text.hpp"

namespace wgn::weather {

namespace {

// Billionths of a plain decimal of at most nine decimals, [+-]digits[.digits],
// as almost every value is written: the digits read in one pass, with the
// bounds of the general reading below.  False for any other text (an
// exponent, more decimals, no digit), which that reading takes.
//   "12.5" -> 12500000000     "-0.04" -> -40000000     "1e3" -> false
bool plain_billionths(std::string_view text, std::optional<std::int64_t>& result) {
    static constexpr std::int64_t kPowers[] = {1,      10,      100,      1000,      10000,
                                               100000, 1000000, 10000000, 100000000, 1000000000};
    const std::optional<readers::PlainDigits> plain = readers::plain_digits(text, 16);
    if (!plain || plain->decimals > 9) return false;
    const std::int64_t digits = plain->digits;
    const int decimals = plain->decimals;
    // As below: at most 16 digits once scaled to billionths, and at most 100,000.
    const int shift = 9 - decimals;
    if (std::max(plain->significant, 1) + shift > 16 || digits > 100000 * kPowers[decimals]) {
        result = std::nullopt;
        return true;
    }
    const std::int64_t value = digits * kPowers[shift];
    result = plain->negative ? -value : value;
    return true;
}

}  // namespace

std::optional<std::int64_t> billionths_of(const readers::DailyValue& value) {
    if (value.text.empty()) return std::nullopt;
    if (value.decimals >= 0 && value.decimals <= 9 && std::fabs(value.number) < 1e5) {
        // Half a billionth towards its sign, then the whole part: the
        // nearest whole number, since the product is never near a half.
        const double scaled = value.number * 1e9;
        return static_cast<std::int64_t>(scaled + (scaled < 0 ? -0.5 : 0.5));
    }
    return billionths(value.text);
}

std::optional<std::int64_t> billionths(std::string_view text) {
    if (std::optional<std::int64_t> plain; plain_billionths(text, plain)) return plain;
    if (!readers::is_number_text(text)) return std::nullopt;
    bool negative = false;
    if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // 1. The digits of the mantissa (the point passed over, read in place:
    //    no copy of them is made) and the power of ten they are scaled by.
    std::size_t at = 0;
    while (at < text.size() && text[at] != 'e' && text[at] != 'E') ++at;
    const std::string_view mantissa = text.substr(0, at);
    const std::size_t point = mantissa.find('.');
    const std::size_t count = mantissa.size() - (point == std::string_view::npos ? 0 : 1);
    const auto digit = [&](std::size_t i) {
        return mantissa[point != std::string_view::npos && i >= point ? i + 1 : i] - '0';
    };
    int exponent = point == std::string_view::npos ? 0 : -static_cast<int>(at - point - 1);
    if (at < text.size()) {
        const auto power = readers::whole_number(text.substr(at + 1));
        if (!power || *power > 100 || *power < -100) return std::nullopt;
        exponent += *power;
    }
    // The leading zeros are passed over at once (one at a time would take
    // time growing with the square of their number); a single zero stays.
    std::size_t first = 0;
    while (first + 1 < count && digit(first) == 0) ++first;
    const std::size_t size = count - first;
    // 2. Billionths: the digits scaled by 10^(exponent + 9), those beyond the
    //    ninth decimal rounded half away from zero.
    const int shift = exponent + 9;
    Int128 value = 0;
    const Int128 limit = static_cast<Int128>(100000) * kBillion;
    if (shift >= 0) {
        if (size + static_cast<std::size_t>(shift) > 16) return std::nullopt;
        for (std::size_t i = first; i < count; ++i) value = value * 10 + digit(i);
        for (int i = 0; i < shift; ++i) value *= 10;
    } else {
        const std::size_t dropped = static_cast<std::size_t>(-shift);
        const std::size_t keep = size > dropped ? size - dropped : 0;
        if (keep > 16) return std::nullopt;
        for (std::size_t i = 0; i < keep; ++i) value = value * 10 + digit(first + i);
        if (dropped <= size && digit(first + keep) >= 5) value += 1;
    }
    if (value > limit) return std::nullopt;
    return static_cast<std::int64_t>(negative ? -value : value);
}

std::string rounded_text(Int128 numerator, Int128 denominator, int decimals) {
    const bool negative = numerator < 0;
    Int128 scaled = negative ? -numerator : numerator;
    for (int i = 0; i < decimals; ++i) scaled *= 10;
    // Half away from zero: (2n + d) / 2d on the magnitude.
    Int128 units = (2 * scaled + denominator) / (2 * denominator);
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(units % 10)));
        units /= 10;
    } while (units > 0);
    while (digits.size() < static_cast<std::size_t>(decimals) + 1) digits.insert(digits.begin(), '0');
    if (decimals > 0) digits.insert(digits.end() - decimals, '.');
    const bool zero = digits.find_first_not_of("0.") == std::string::npos;
    return negative && !zero ? "-" + digits : digits;
}

std::string hundredths_text(Int128 hundredths) {
    return rounded_text(hundredths, 100, 2);
}

std::string two_decimals(double value) {
    // A value that is not finite (a NaN dew point, say), or beyond what
    // llround can hold, is no value: never a number made up by the rounding.
    const double hundredths = value * 100;
    if (!std::isfinite(hundredths) || std::fabs(hundredths) >= 9e18) return {};
    return hundredths_text(static_cast<Int128>(std::llround(hundredths)));
}

}  // namespace wgn::weather
