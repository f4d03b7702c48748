// Numbers laid out for the models' files from their decimal text, never
// through a binary fraction, so that a value keeps its printed digits:
//
//   fixed("64.17", 5)  -> "64.17000"        (C's %.5f)
//   fixed("3.8913", 2) -> "3.89"           fixed("0.125", 2) -> "0.13"   (half away from zero)
//   fixed("-0.004", 2) -> "-0.00"          (as %.2f prints it)
//   fixed("4.0585e1", 2) -> "40.59"        fixed("NaN", 2) -> ""  (not a number)
//   fortran_f("64.17", 6, 1)   -> "  64.2"     (Fortran's F6.1)
//   fortran_f("12345.6", 6, 2) -> "******"     (too wide for the field, or not a number)
#pragma once

#include <string>
#include <string_view>

namespace wgn::modelfiles {

// Empty for a text that is not a number (or too long written out).
std::string fixed(std::string_view text, int decimals);
std::string fortran_f(std::string_view text, int width, int decimals);
// `text` right-justified in `width` (never cut).
std::string right(std::string_view text, std::size_t width);

}  // namespace wgn::modelfiles
