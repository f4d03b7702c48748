#include "series/wet_day_threshold.hpp"

#include <optional>

#include "readers/number_text.hpp"
#include "text/plain_text.hpp"

namespace wgn::series {
namespace {

// A number text as the digits from its first significant one, without
// trailing zeros, and the power of ten of that first digit; zero has no
// digits.  "0.0125" -> {"125", -2}, "1.25E+01" -> {"125", 1}, "0.00" -> {"", 0}
struct Decimal {
    bool negative = false;
    std::string digits;
    long long exponent = 0;
};

// Exponents beyond this are clamped: no amount of rain comes near either end.
constexpr long long kExponentBound = 1000000;

std::optional<Decimal> decimal_of(std::string_view text) {
    if (!readers::is_number_text(text)) return std::nullopt;
    Decimal decimal;
    std::size_t at = 0;
    decimal.negative = text[at] == '-';
    if (text[at] == '-' || text[at] == '+') ++at;
    long long before_point = 0;  // the digits before the point, leading zeros aside
    long long leading_zeros_after = 0;
    bool point = false;
    for (; at < text.size() && text[at] != 'e' && text[at] != 'E'; ++at) {
        const char c = text[at];
        if (c == '.') {
            point = true;
        } else if (decimal.digits.empty() && c == '0') {
            if (point) ++leading_zeros_after;
        } else {
            decimal.digits.push_back(c);
            if (!point) ++before_point;
        }
    }
    long long exponent = 0;
    if (at < text.size()) {
        ++at;  // the exponent's letter; a number text has digits after it
        const bool down = at < text.size() && text[at] == '-';
        if (at < text.size() && (text[at] == '-' || text[at] == '+')) ++at;
        for (; at < text.size(); ++at) {
            if (exponent < kExponentBound) exponent = exponent * 10 + (text[at] - '0');
        }
        if (down) exponent = -exponent;
    }
    while (!decimal.digits.empty() && decimal.digits.back() == '0') decimal.digits.pop_back();
    if (decimal.digits.empty()) return Decimal{};
    // 0.d1d2... x 10^(position): the first digit's place.
    decimal.exponent = (before_point > 0 ? before_point : -leading_zeros_after) + exponent;
    return decimal;
}

// -1, 0 or 1 as the magnitude of `a` is below, equal to or above that of `b`.
int compare_magnitudes(const Decimal& a, const Decimal& b) {
    if (a.digits.empty() || b.digits.empty()) return a.digits.empty() ? (b.digits.empty() ? 0 : -1) : 1;
    if (a.exponent != b.exponent) return a.exponent < b.exponent ? -1 : 1;
    const int order = a.digits.compare(b.digits);  // no trailing zeros: shorter with the same start is smaller
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}

}  // namespace

Result<std::string> wet_day_threshold(std::string_view text) {
    const std::optional<Decimal> threshold = decimal_of(text);
    if (!threshold || (threshold->negative && !threshold->digits.empty()))
        return problem_text(text::quoted(text) + " is not a wet-day threshold (a number of mm, 0 or more)");
    return std::string(text);
}

bool is_drizzle(std::string_view value, std::string_view threshold) {
    const std::optional<Decimal> amount = decimal_of(value);
    const std::optional<Decimal> bound = decimal_of(threshold);
    if (!amount || !bound || amount->digits.empty() || amount->negative) return false;
    return !bound->negative && compare_magnitudes(*amount, *bound) < 0;
}

}  // namespace wgn::series
