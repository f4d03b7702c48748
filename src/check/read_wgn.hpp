// A SWAT 2012 station .wgn: a title; the latitude (and longitude), elevation
// and rain_yrs lines, each value in 7 characters after 12 (the longitude 12
// after the latitude); then 14 lines of 12 values in 6 characters each, the
// variables in the order of weather::kColumns.  The station is named after
// the file ("ftc.wgn": ftc).  A value written without its leading 0
// (".0964", "-.5") is read as one.
//
//   ftc: weather generator data written by wgnrain-batch 1.0.0
//     LATITUDE =  40.59 LONGITUDE =-105.08
//     ELEV (m) =1559.21
//     RAIN_YRS =  30.00
//    5.32  7.01 ...                       (14 lines of 12 values)
#pragma once

#include <string_view>

#include "check/check_table.hpp"
#include "problem/problem.hpp"

namespace wgn::check {

// True when the text's second line holds "LATITUDE".
bool looks_like_wgn(std::string_view text);
Result<CheckTable> read_wgn(std::string_view shown, std::string_view name, std::string_view text);

}  // namespace wgn::check
