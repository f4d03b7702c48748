// Numbers typed as text: the forms that list reads and Fw.d fields accept,
// converted straight from the decimal text to the nearest single-precision
// number (never through a double, which would round twice).
//
//   "12.5" -> 12.5f     "-99" -> -99.0f     "1.25E+01" -> 12.5f    "1.5d2" -> 150.0f
//   "nan" -> NaN        "-INFINITY" -> -inf  "Inf" -> not a number  "1e60" -> +inf
//   with an implied point (Fw.d, d = 2): "1234" -> 12.34f
#pragma once

#include <cstdint>
#include <string_view>

namespace wgn::io {

// A real: optional sign, digits with an optional decimal point, an optional
// exponent (E, D or Q with optional sign and digits, or a signed exponent
// without a letter); or "NaN" (no sign) or "Infinity" (optional sign) in any
// case.  Returns false when the text is not such a number.
bool parse_real(std::string_view text, float& value);

// The same, for the text of an Fw.d input field whose blanks have been
// removed: without a decimal point the last `implied_digits` digits are the
// fraction.
bool parse_real_implied(std::string_view text, int implied_digits, float& value);

// The float nearest to significand * 10^scale, when one single-precision
// operation decides it exactly: a significand of at most 24 bits and a power
// of ten up to 10^10 are both exact floats, so their product or quotient is
// correctly rounded (Clinger's fast path).  False when that does not apply.
//   (1234, -2) -> 12.34f     (5, 10) -> 5e10f     (16777217, 0) -> false
inline bool exact_small_decimal(std::uint64_t significand, long scale, bool negative, float& value) {
    // Powers of ten that single precision holds exactly (5^10 < 2^24).
    static constexpr float kExactPowers[] = {1e0F, 1e1F, 1e2F, 1e3F, 1e4F, 1e5F, 1e6F, 1e7F, 1e8F, 1e9F, 1e10F};
    if (significand > (std::uint64_t{1} << 24) || scale < -10 || scale > 10) return false;
    float magnitude = static_cast<float>(significand);
    magnitude = scale < 0 ? magnitude / kExactPowers[-scale] : magnitude * kExactPowers[scale];
    value = negative ? -magnitude : magnitude;
    return true;
}

// An integer: optional sign and decimal digits, within 32 bits.
bool parse_integer(std::string_view text, std::int32_t& value);

}  // namespace wgn::io
