// Numbers laid out for the models' files from their decimal text, never
// through a binary fraction, so that a value keeps its printed digits:
//
//   fixed("64.17", 5)  -> "64.17000"        (C's %.5f)
//   fixed("3.8913", 2) -> "3.89"           fixed("0.125", 2) -> "0.13"   (half away from zero)
//   fixed("-0.004", 2) -> "-0.00"          (as %.2f prints it)
//   fixed("4.0585e1", 2) -> "40.59"
//   fortran_f("64.17", 6, 1)   -> "  64.2"     (Fortran's F6.1)
//   fortran_f("12345.6", 6, 2) -> "******"     (too wide for the field)
// The texts are DecimalTexts, numbers by construction; a value that is no
// value (DecimalText{}) has no layout, and asking for one throws
// std::logic_error: the writers are given complete records only.
#pragma once

#include <string>
#include <string_view>

#include "weather/decimal_text.hpp"

namespace wgn::modelfiles {

std::string fixed(const weather::DecimalText& value, int decimals);
std::string fortran_f(const weather::DecimalText& value, int width, int decimals);
// `text` right-justified in `width` (never cut).
std::string right(std::string_view text, std::size_t width);

}  // namespace wgn::modelfiles
