// Daily values held exactly: a value of a station file is a decimal text,
// held here as a whole number of billionths, so that sums, means and the
// rounding of a mean to two decimals are exact, whatever the values.
//
//   billionths("12.5")      -> 12500000000
//   billionths("-0.3")      -> -300000000
//   billionths("1.25E+01")  -> 12500000000
//   billionths("1e6")       -> nothing (beyond 100000: no weather value is that large)
//   rounded_text(1234567, 100000, 2) -> "12.35"   (12.34567, half away from zero)
//   rounded_text(-5, 1000, 2)        -> "-0.01"   (-0.005)
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "readers/station_record.hpp"

namespace wgn::weather {

__extension__ typedef __int128 Int128;

inline constexpr std::int64_t kBillion = 1000000000;

// Nothing for a text that is not a number or beyond +-100000; digits beyond
// the ninth decimal are rounded half away from zero.
std::optional<std::int64_t> billionths(std::string_view text);
// billionths(value.text), from the number its reader kept where it can:
// a plain decimal of at most nine decimals below 100000 in magnitude is
// within 0.03 of a whole number of billionths once its double is scaled
// (its double within 2^-53 of it, the product rounded within 2^-6).
std::optional<std::int64_t> billionths_of(const readers::DailyValue& value);

// numerator / denominator (denominator > 0) rounded half away from zero to
// `decimals` places, as text.
std::string rounded_text(Int128 numerator, Int128 denominator, int decimals);

// A whole number of hundredths as text: 1234 -> "12.34", -5 -> "-0.05".
std::string hundredths_text(Int128 hundredths);

// A double rounded half away from zero to two decimals, as text; empty (no
// value) for NaN, an infinity or a magnitude of 9e16 and above.
std::string two_decimals(double value);

}  // namespace wgn::weather
