// Dew point from relative humidity, through the saturation relation the model
// itself uses to turn a dew point back into humidity,
//
//   e(T) = exp((16.78 T - 116.9) / (T + 237.3))     (kPa, T in degrees C)
//   humidity = e(dew) / e(T mean)
//
// so that the model recovers the humidity it was given:
//   ln(rh) + (16.78 T - 116.9) / (T + 237.3) = L = (16.78 D - 116.9) / (D + 237.3)
//   D = (116.9 + 237.3 L) / (16.78 - L)
//
//   dew_point(0.5, 20.0) -> 9.27...     dew_point(1.0, 12.0) -> 12.0
#pragma once

namespace wgn::weather {

double saturation_pressure(double temperature);
// Nothing meaningful for a humidity <= 0 (the caller leaves such days out).
double dew_point(double humidity_fraction, double mean_temperature);

}  // namespace wgn::weather
