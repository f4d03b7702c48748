// The rain of a wet day's largest half hour, as both models generate it.
//
// At start, the month's mean share of a wet day's rain that falls in its
// largest half hour, from the table's pcp_hhr (the largest half-hour rain of
// the month over rain_yrs years) averaged with the months either side:
//
//   share = 1 - exp(hhr / ln(0.5 / (rain_yrs pcp_days)) / wet-day mean), within [0.1, 0.95]
//
// with the replaced pcp_days and the wet-day mean pcp_ave / pcp_days
// (model_parameters.hpp), rain_yrs below 1 taken as 10 and the models' peak
// rate adjustment at its default of 1; 0.95 where the wet-day mean is 1e-4 mm
// or less.  Each wet day, the day's share is a scaled triangular draw
// (triangular_draw.hpp) about the month's, from 0.02083 (a half hour's share
// of a day of even rain) to 1 - exp(-125 / (rain + 5)), and the half-hour
// rain that share of the day's rain.
//
//   half_hour_share(10, 10, 6, 30) -> 0.23 (10 mm in the largest half hour of 30 years of a month of
//                                     10 wet days of 6 mm)
#pragma once

#include <optional>

namespace wgn::check {

inline constexpr double kEvenHalfHourShare = 0.02083;  // 1/48

// rain_yrs as the model takes it: below 1 (or none) 10.
double model_rain_yrs(std::optional<double> rain_yrs);
// The month's mean share; `hhr` the smoothed pcp_hhr, `wet_days` the replaced pcp_days.
double half_hour_share(double hhr, double wet_days, double wet_day_mean, double rain_yrs);
// The rain of the day's largest half hour, from the month's share and a uniform number.
double half_hour_rain(double share, double rain, double u);

}  // namespace wgn::check
