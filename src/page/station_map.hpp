// The overview page's map of the stations: an inline SVG, every station with
// a position a small square placed by longitude (x) and latitude (y), north
// up, shaded by one value of the weather-generator table chosen in a
// <select> (a column by month, or its year), with a legend of the colour
// ramp and its lowest and highest value.
//
//   stations at 52.1N 5.18E and 51.4N 5.9E  ->  two squares, the first higher
//                                              and further left
//   one station with a position             ->  "" (no map)
//
// The projection is equirectangular, x scaled by the cosine of the middle
// latitude so that a degree east is as long as it is there.  The squares'
// size is the smallest distance between two stations (a grid's cells tile
// the area), at least kMinSquare pixels so that scattered stations stay
// visible.  Without script the map shows the default value, precipitation
// pcp_ave for the year; a small script recolours the squares from each
// square's data-v attribute, the station's texts of the 14 columns by month
// and year (column-major: column c, month m at c * 13 + m, the year at
// c * 13 + 12).
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "page/overview_page.hpp"

namespace wgn::page {

inline constexpr double kMinSquare = 6, kMaxSquare = 24;  // pixels

// The colour of the ramp at t (0 ... 1, clamped) as "#rrggbb", interpolated
// linearly between its stops (dark violet, blue, teal, green, yellow: lighter
// with the value, readable in grey and by most colour-blind readers).  The
// page's script holds the same stops and formula, written from these.
//   ramp_colour(0) -> "#440154"   ramp_colour(1) -> "#fde725"   ramp_colour(0.5) -> "#21918c"
std::string ramp_colour(double t);

// A year's value of a column from its twelve monthly texts: the sum for
// pcp_ave and pcp_days, the mean for the others, with the most decimals the
// months have; empty when a month has no value.
//   pcp_ave 64.17 50.2 ... (12)  ->  "812.34"      tmp_max_ave 4.5 ... with a month ""  ->  ""
std::string year_text(const std::array<std::string, 12>& months, std::size_t column);

// A position's longitude for the map: the longitudes of the stations shifted
// so that they lie together where they straddle the antimeridian.
//   178.5, 179.5, -179.5  ->  178.5, 179.5, 180.5
std::vector<double> contiguous_longitudes(std::vector<double> longitudes);

// The map's section of the page; "" when fewer than two of the stations have
// a position.  `shown` and `total`: the stations on the page and in the
// batch, said under the map when the batch has more.
std::string station_map(const std::vector<PageStation>& stations, std::size_t shown, std::size_t total);

}  // namespace wgn::page
