// The models' daily weather generator, written from their algorithm:
//
//   occurrence   wet when a uniform number is at most wet_dry (conditioning day dry) or
//                wet_wet (wet); SWAT 2012 conditions on yesterday, SWAT+ (as its source
//                reads) on the day before yesterday
//   amount       (skewed_normal(z, skew) pcp_sd + wet-day mean) factor, at least 0.1 mm
//   residuals    Richardson's new = B e + A old for maximum and minimum temperature and
//                radiation; SWAT+ clamps each to [-1, 1]
//   temperature  maximum tmp_max_ave + amp wet_fraction (less amp on a wet day) + tmp_max_sd r1,
//                amp = (tmp_max_ave - tmp_min_ave) / 2; minimum tmp_min_ave + tmp_min_sd r2;
//                a minimum above the maximum becomes max - 0.2 |max|
//   radiation    SWAT 2012: slr_ave / (1 - 0.5 wet_fraction), halved on a wet day, plus r3 times
//                a quarter of what the day's clear-sky radiation leaves; SWAT+: slr_ave every day
//   humidity     the month's humidity adjusted for wet days, a triangular draw around it whose
//                mean is that; 1 or more taken as 0.99, 0 or less as 0.001
//   wind         wnd_ave (-ln u)^0.3
//   half hour    on a wet day, the rain of its largest half hour (half_hour_rain.hpp), from a
//                stream of numbers of its own, so that the other variables are those of a
//                generator without it
#pragma once

#include <array>
#include <cstdint>

#include "check/model_parameters.hpp"
#include "check/random_numbers.hpp"

namespace wgn::check {

struct Day {
    double pcp = 0, tmax = 0, tmin = 0, slr = 0, humidity = 0, wind = 0;
    double half_hour = 0;  // the rain of the largest half hour, mm
};

// The largest radiation of a day at a latitude (degrees), MJ/m²/day, as the models compute it.
double clear_sky_radiation(double latitude, int day_of_year);

class DailyGenerator {
  public:
    DailyGenerator(Model model, const StationParameters& station, RandomNumbers& numbers,
                   RandomNumbers& half_hour_numbers);
    // The next day, of `month` (0 ... 11) and `day_of_year` (1 ... 366).
    Day next(std::size_t month, int day_of_year);

  private:
    bool occurrence(const MonthParameters& month);
    double amount(const MonthParameters& month);
    void residuals();
    double radiation(const MonthParameters& month, bool wet, int day_of_year) const;
    double humidity(const MonthParameters& month, bool wet);

    Model model_;
    const StationParameters& station_;
    RandomNumbers& numbers_;
    RandomNumbers& half_hour_numbers_;
    bool yesterday_wet_ = false, before_yesterday_wet_ = false;
    std::array<double, 3> residual_{};
};

}  // namespace wgn::check
