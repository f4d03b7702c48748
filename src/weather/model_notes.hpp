// What the model will do with a station's numbers: each month where SWAT or
// SWAT+ will not use a value as given, in words.
//
//   "Mar: wet_wet 0.2000 <= wet_dry 0.3000: the model replaces both from pcp_days"
//   "Jul: pcp_skew 0.1500 below 0.2: the model raises it to 0.2"
//   "Aug: pcp_days 12.00, but the model recomputes 9.55 from wet_dry and wet_wet"
//   "dew_ave: all twelve between 0 and 1: the model would read them as humidity fractions"
#pragma once

#include <string>
#include <vector>

#include "weather/weather_record.hpp"

namespace wgn::weather {

std::vector<std::string> model_notes(const WeatherRecord& record);

// The largest daily precipitation of each month ("" where unknown), for the
// note on a pcp_hhr above it.
std::vector<std::string> model_notes(const WeatherRecord& record, const MonthTexts& largest_daily);

}  // namespace wgn::weather
