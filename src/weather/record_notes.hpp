// The words a weather record uses about itself: how a variable's unit was
// found, and which months of a column the reference station filled.
//
//   unit_note(rh, fraction, stated = false, clipped = 4) -> "rh fraction (told by the values; 4 above 1 taken as 1)"
//   unit_note(rh, percent, stated = true, clipped = 0)   -> "rh percent (stated)"
//   unit_note(tmax, fahrenheit, ...)                     -> "tmp F"   (temperatures named once, by tmax)
//   unit_note(tmin, fahrenheit, ...), unit_note(slr, MJ/m²/day, ...) -> ""  (nothing to say)
//   filled_name("dew_ave", {1, 2})        -> "dew_ave(1,2)"
//   filled_name("dew_ave", {1, ..., 12})  -> "dew_ave"
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "readers/measure_units.hpp"
#include "readers/variables.hpp"

namespace wgn::weather {

// Empty when the values are in the generator's unit (humidity's always has
// a note: its unit is told or stated).
std::string unit_note(readers::Variable variable, readers::Unit unit, bool stated, long clipped);

// `months` (1 ... 12, ascending, not empty) of a column filled.
std::string filled_name(std::string_view column, const std::vector<int>& months);

}  // namespace wgn::weather
