// The units a grid states for its variables (the `units` attribute), and the
// exact step that turns a value into the weather generator's unit: value x
// factor + offset, in decimal digits.
//
//   canonical_unit("kg/m2/s")       -> "kg m-2 s-1"   canonical_unit("kg m**-2 s**-1") -> "kg m-2 s-1"
//   canonical_unit("W/m2")          -> "W m-2"        canonical_unit("m/s")            -> "m s-1"
//   conversion(pcp, "kg m-2 s-1")   -> x 86400 (mm/day)
//   conversion(tmax, "K")           -> + -273.15
//   conversion(slr, "W m-2")        -> x 0.0864 (MJ/m2/day)
//   conversion(rh, "%")             -> x 0.01 (fraction)
//   conversion(pcp, "furlongs")     -> nothing: known_units(pcp) lists what is
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "grid/exact_decimal.hpp"

namespace wgn::grid {

// The quantities of the grid's variables.
enum class Quantity { precipitation, temperature, radiation, humidity, wind };

struct Conversion {
    Decimal factor;
    Decimal offset;
    std::string shown;  // "x 1000", "- 273.15", "" for none
};

// The unit written one way: symbols with their powers, separated by one
// blank ("kg m-2 s-1"); the words for per cent and degrees Celsius as "%" and
// "degC".
std::string canonical_unit(std::string_view units);
std::optional<Conversion> conversion(Quantity quantity, std::string_view units);
// "kg m-2 s-1, mm, mm/day, kg m-2, m" for the problem's text.
std::string known_units(Quantity quantity);

}  // namespace wgn::grid
