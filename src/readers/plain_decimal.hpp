// A number text written out without its exponent, digit for digit, so that
// every file shows the same plain decimal whatever form the number came in:
//
//   plain_decimal("4.0585e1")  -> "40.585"      plain_decimal("1.50E+01") -> "15.0"
//   plain_decimal("-2.5e-3")   -> "-0.0025"     plain_decimal("0e999")    -> "0"
//   plain_decimal("12.5")      -> "12.5"        (a text without an exponent, as written)
//   plain_decimal("1e308")     -> nothing, too_large   (309 digits)
//   plain_decimal("1e-400")    -> nothing              (402 characters)
//   plain_decimal("abc")       -> nothing
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace wgn::readers {

// The most characters a number with an exponent may take written out.
inline constexpr std::size_t kLongestPlainDecimal = 40;

// Nothing for a text that is not a number or too long written out; then
// `too_large` (when given) says whether the digits before the point alone
// are too many.
std::optional<std::string> plain_decimal(std::string_view text, bool* too_large = nullptr);

}  // namespace wgn::readers
