// SWAT 2012's userwgn.csv: a header of STATION, WLATITUDE, WLONGITUDE, WELEV,
// RAIN_YRS and the 14 variables of 12 months (TMPMX1 ... WNDAV12), any case,
// in any order; a row a station.
//
//   STATION,WLATITUDE,WLONGITUDE,WELEV,RAIN_YRS,TMPMX1,...,WNDAV12
//   de_bilt,52.1,5.18,2,30,5.3,...,4.6
#pragma once

#include <string_view>

#include "check/check_table.hpp"
#include "problem/problem.hpp"

namespace wgn::check {

// True when the text's first line begins with the STATION column.
bool looks_like_userwgn(std::string_view text);
Result<CheckTable> read_userwgn(std::string_view shown, std::string_view text);

}  // namespace wgn::check
