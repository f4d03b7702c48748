// Decimal numbers held exactly, digit for digit, for the grid's values: a
// stored value's shortest text, times a unit's factor, plus an offset, with
// no double in between, so that a value reads in the batch as the decimal
// the grid meant.
//
//   decimal("1.3888889e-05") * decimal("86400")        -> "1.2000000096"
//   decimal("123") * decimal("0.1") + decimal("0")       -> "12.3"
//   decimal("273.65") + decimal("-273.15")               -> "0.5"
//   plain_text(decimal("-2.5e-3"))                       -> "-0.0025"
//   shortest_text(0.1f) -> "0.1"   shortest_text(0.1) -> "0.1"   (float: its own shortest text)
//   divided_rounded(decimal("9806.65"), 980665, 5, 1)   -> "1000.0"   (m2 s-2 / 9.80665, to 0.1)
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace wgn::grid {

// digits x 10^exponent; digits without leading zeros, empty for zero.
struct Decimal {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

// [+-]digits[.digits][(e|E)[+-]digits]; nothing for any other text.
std::optional<Decimal> decimal(std::string_view text);
Decimal operator*(const Decimal& a, const Decimal& b);
Decimal operator+(const Decimal& a, const Decimal& b);
// -1, 0 or 1 as a is less than, equal to or greater than b.
int compare(const Decimal& a, const Decimal& b);
// The exponent moved: x 10^power.
Decimal times_power_of_ten(Decimal value, int power);

// Without exponent and trailing zeros: "12.3", "-0.0025", "40", "0".
std::string plain_text(const Decimal& value);
// value x 10^scale / divisor (divisor > 0), rounded half away from zero to
// `decimals` places, as plain text with exactly that many decimals.
std::string divided_rounded(const Decimal& value, std::uint32_t divisor, int scale, int decimals);
// Rounded half away from zero to `decimals` places, exactly that many shown:
// rounded_text(decimal("52.1255"), 3) -> "52.126".
std::string rounded_text(const Decimal& value, int decimals);

// The shortest text that reads back as the same number.
std::string shortest_text(float value);
std::string shortest_text(double value);
// A stored number's exact decimal: a float's shortest float text, a
// double's shortest double text, an integer's digits.
Decimal stored_decimal(double value, bool is_float);

}  // namespace wgn::grid
