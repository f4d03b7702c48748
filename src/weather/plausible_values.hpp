// What a day's value of a weather variable can physically be, in the
// generator's units, and how humidity tells its unit by its values.  Many
// values outside their bounds almost always mean a wrong unit (radiation in
// W/m², temperature in °F); where the values as a whole point to one, the
// message says which unit to state:
//
//   slr 397.65 on 2018-07-01 is above 41.93 MJ/m²/day, the top of the atmosphere's at latitude
//   40.59 ... : is the column in W/m²? give slr_unit
//
//   variable      bounds
//   tmax tmin dew -90 ... 60 °C; tmin at most 1 °C above the day's tmax
//   slr           0 ... the radiation at the top of the atmosphere for the
//                 latitude and day (+1 MJ/m²/day for rounding); without a
//                 latitude, the largest of any latitude that day
//   rh            0 ... 1 (fractions) or 0 ... 100 (per cent); overshoots up to
//                 1.05 or 105 are taken as 1 or 100
//   wnd           0 ... 75 m/s
//   hhr           0 ... the day's precipitation
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "problem/problem.hpp"
#include "readers/measure_units.hpp"
#include "readers/variables.hpp"
#include "weather/monthly_statistics.hpp"

namespace wgn::weather {

inline constexpr double kLowestTemperature = -90;   // °C
inline constexpr double kHighestTemperature = 60;   // °C
inline constexpr double kMinimumOverMaximum = 1;    // °C a day's minimum may exceed its maximum by
inline constexpr double kMostWind = 75;             // m/s, a day's mean
inline constexpr double kRadiationMargin = 1;       // MJ/m²/day above the top of the atmosphere
inline constexpr double kHumidityOvershoot = 1.05;  // fractions up to this are sensor overshoot

// The daily radiation at the top of the atmosphere (MJ/m²/day) at a
// latitude (degrees, -90 ... 90) on a day of the year (1 ... 366), as the
// FAO-56 relation gives it:  top_of_atmosphere(40.59, 182) -> 41.93...
double top_of_atmosphere(double latitude, int day_of_year);

// The unit a record's humidity is in, told by its values (billionths, as
// written): fractions when none is above 1.05; per cent when the median is
// at least 5 and none is above 105; otherwise a problem giving the range
// and median.
Result<readers::Unit> humidity_unit_of_values(const std::vector<DayValue>& days);

// Values a little above the top of their unit's range taken as its top:
// fractions in (1, 1.05] become 1, per cent in (100, 105] 100; returns how
// many were.
long clip_humidity(std::vector<DayValue>& days, readers::Unit unit);

// Why one day of a variable is not plausible (in words, with the day), or
// empty.  `value` is in the generator's unit; `written` the value as the
// file wrote it, for the message; `latitude` the station's, if known.
std::string implausible_day(readers::Variable variable, std::int32_t day, double value, const std::string& written,
                            readers::Unit unit, std::optional<double> latitude);

// The unit a variable's days (in billionths of `unit`, as written) point
// to as a whole, where `unit` is the generator's own: a large share of them
// above the variable's top, which the other unit would make plausible
// (all but readers::outlier_limit of them); nothing for a few stray days.
//
//   variable         the unit pointed to   share of the days above the top
//   tmax tmin dew    K, else F             10 % (°F makes the warm days of most climates too warm)
//   slr              W/m2                  50 % (the median)
//   rh               percent               50 %
//   wnd              km/h                  10 %
std::optional<readers::Unit> unit_pointed_to(readers::Variable variable, const std::vector<DayValue>& days,
                                             readers::Unit unit, std::optional<double> latitude);
// The hint at that unit: ": is the column in °F? give tmp_unit".
std::string unit_hint(readers::Variable variable, readers::Unit pointed_to);
// The same verdict without the message, for the many days that pass it:
// a variable's bounds made once for all its days, the top of the
// atmosphere once for each day of the year.
//   PlausibleDays wind(Variable::wnd, std::nullopt);
//   wind.plausible(day, 12.0) -> true      wind.plausible(day, 80.0) -> false
class PlausibleDays {
  public:
    PlausibleDays(readers::Variable variable, std::optional<double> latitude);
    bool plausible(std::int32_t day, double value) {
        if (value < low_) return false;
        return !above(day, value);
    }
    // Whether the value lies above the variable's top that day.
    bool above(std::int32_t day, double value) { return value > (by_day_ ? radiation_top(day) : high_); }

  private:
    // The top of the atmosphere on the day with the margin for rounding.
    double radiation_top(std::int32_t day);
    double low_, high_;
    bool by_day_ = false;
    std::optional<double> latitude_;
    std::array<double, 367> tops_{};                     // by day of the year; NaN: not yet computed
    std::int32_t year_start_ = 0, next_year_start_ = 0;  // of the year last asked for
};

// A value in billionths as the shortest decimal: 397650000000 -> "397.65".
std::string decimal_text(std::int64_t billionths);

}  // namespace wgn::weather
