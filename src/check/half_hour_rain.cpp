#include "check/half_hour_rain.hpp"

#include <algorithm>

#include "check/exact_math.hpp"
#include "check/triangular_draw.hpp"

namespace wgn::check {

double model_rain_yrs(std::optional<double> rain_yrs) {
    return rain_yrs && *rain_yrs >= 1.0 ? *rain_yrs : 10.0;
}

double half_hour_share(double hhr, double wet_days, double wet_day_mean, double rain_yrs) {
    if (wet_day_mean <= 1e-4) return 0.95;
    // The chance that a wet day of the month holds the largest half hour of rain_yrs years, about one in
    // 2 rain_yrs wet_days; its logarithm is 0 where that chance is 1, the share then as large as it goes.
    const double log_chance = natural_log(0.5 / rain_yrs / wet_days);
    if (log_chance == 0.0) return hhr > 0.0 ? 0.95 : 0.1;
    const double share = 1.0 - natural_exp(hhr / log_chance / wet_day_mean);
    return std::clamp(share, 0.1, 0.95);
}

double half_hour_rain(double share, double rain, double u) {
    const double largest = 1.0 - natural_exp(-125.0 / (rain + 5.0));
    return scaled_triangular(kEvenHalfHourShare, share, largest, u) * rain;
}

}  // namespace wgn::check
