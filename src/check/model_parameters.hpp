// What the models make of a table at start, before any day is generated
// (both models alike):
//   - wet_wet <= wet_dry or wet_dry <= 0: pcp_days raised to at least 0.1,
//     wet_dry = 0.75 pcp_days / days, wet_wet = 0.25 + wet_dry;
//     otherwise pcp_days replaced by days wet_dry / (1 - wet_wet + wet_dry);
//   - the wet-day mean pcp_ave / pcp_days (with the replaced pcp_days);
//   - pcp_skew below 0.2 raised to 0.2;
//   - a factor per month on the amounts, so that 1,000 draws (each at least
//     0.01 mm) have the wet-day mean;
//   - dew_ave read as humidity when all twelve lie in [0, 1], else as a dew
//     point turned into humidity at the month's mean temperature;
// with the days of a leap year's months.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "check/check_table.hpp"
#include "check/random_numbers.hpp"

namespace wgn::check {

enum class Model : std::uint8_t { swatplus, swat2012 };

struct MonthParameters {
    double wet_dry = 0, wet_wet = 0;
    double wet_fraction = 0;  // the replaced pcp_days / days
    double wet_day_mean = 0;  // pcp_ave / replaced pcp_days
    double pcp_sd = 0, skew = 0, amount_factor = 1;
    double tmax = 0, tmin = 0, tmax_sd = 0, tmin_sd = 0;
    double slr = 0, humidity = 0, wind = 0;
    double half_hour_share = 0;
};

struct StationParameters {
    std::array<MonthParameters, 12> months;
    double latitude = 0;
    double rain_yrs = 10;  // as the model takes it: below 1 (or none) 10
};

// The humidity the model reads from dew_ave, by month.
std::optional<std::array<double, 12>> model_humidity(const TableStation& station);
// The skewed normal of Nicks: the wet-day amount's deviation from its mean, in units of pcp_sd.
double skewed_normal(double z, double skew);
// The station as the model reads it, or the first value it lacks ("no pcp_sd in Mar").
// `numbers` gives the draws of the amount factor.
std::optional<StationParameters> model_parameters(const TableStation& station, RandomNumbers& numbers,
                                                  std::string& lacking);

}  // namespace wgn::check
