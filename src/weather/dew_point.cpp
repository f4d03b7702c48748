#include "weather/dew_point.hpp"

#include <cmath>

namespace wgn::weather {

double saturation_pressure(double temperature) {
    return std::exp((16.78 * temperature - 116.9) / (temperature + 237.3));
}

double dew_point(double humidity_fraction, double mean_temperature) {
    const double l = std::log(humidity_fraction) + (16.78 * mean_temperature - 116.9) / (mean_temperature + 237.3);
    return (116.9 + 237.3 * l) / (16.78 - l);
}

}  // namespace wgn::weather
