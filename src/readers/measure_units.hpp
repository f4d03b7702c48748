// The units station files write their values in, and how each becomes the
// unit the weather generator wants.  A unit is stated (by the station list,
// a command-line option, or the file itself: POWER's header, a column named
// "srad (W/m^2)", a note "RR : Precipitation amount in 0.1 mm"), never
// guessed; humidity alone may be told by its values (plausible_values.hpp),
// and precipitation whose unit nothing states is refused where its amounts
// read as another unit (series/precipitation_values.hpp).
//
//   quantity       the generator's unit   other units
//   precipitation  mm                     in, tenths_mm
//   temperature    C                      F, K
//   radiation      MJ/m2/day              W/m2, kWh/m2/day, J/cm2/day, langley/day
//   humidity       fraction               percent
//   wind           m/s                    km/h, mph, knots
//
//   unit_named(kTemperature, "F")          -> kFahrenheit
//   unit_in_text(kRadiation, "srad (W/m^2)") -> kWattsPerSquareMetre
//   scale_of(kFahrenheit)                  -> (x - 32) * 5 / 9
//   scaled_text("0.12", kInch)             -> "3.048"   (exact: 0.12 x 25.4)
#pragma once

#include "readers/settings.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "problem/problem.hpp"

namespace wgn::readers {

enum class Quantity { kPrecipitation, kTemperature, kRadiation, kHumidity, kWind };

enum class Unit {
    kMillimetre,
    kInch,
    kTenthMillimetre,
    kCelsius,
    kFahrenheit,
    kKelvin,
    kMegajoulesPerDay,     // MJ/m2/day
    kWattsPerSquareMetre,  // a day's mean flux, W/m2
    kKilowattHoursPerDay,  // kWh/m2/day
    kJoulesPerCm2PerDay,   // J/cm2/day
    kLangleysPerDay,       // cal/cm2/day (thermochemical calorie, 4.184 J)
    kFraction,
    kPercent,
    kMetresPerSecond,
    kKilometresPerHour,
    kMilesPerHour,
    kKnots,
};

// The list's column (and the series option's stem) naming a quantity's unit:
// pcp_unit, tmp_unit, slr_unit, hmd_unit, wnd_unit.
std::string_view unit_column(Quantity quantity);
// The unit the weather generator wants.
Unit model_unit(Quantity quantity);
// The quantity a unit measures.
Quantity quantity_of(Unit unit);
// The unit's name as the list writes it: "mm", "F", "W/m2".
std::string_view unit_name(Unit unit);
// The names a list may give, for messages: "mm, in, tenths_mm".
std::string unit_names(Quantity quantity);

// A unit named in the list or on the command line, without regard to case
// ("mm", "in", "F", "W/m2", "percent"); nothing for another name.
std::optional<Unit> unit_named(Quantity quantity, std::string_view name);
// A unit written in a column's header or a file's header line: the text in
// parentheses ("prcp (mm/day)", "ALLSKY_SFC_SW_DWN ... (kW-hr/m^2/day)") or
// after two points as R writes it ("prcp..mm.day."); nothing when the text
// names no unit of the quantity.
std::optional<Unit> unit_in_text(Quantity quantity, std::string_view text);
// A column's name without the unit it carries: "prcp (mm/day)" -> "prcp",
// "prcp..mm.day." -> "prcp", "tmax" -> "tmax".
std::string_view name_without_unit(std::string_view header);

// How a value becomes the generator's unit, exactly: (x + offset) * numerator
// / denominator, with `offset` in billionths of the unit it converts from.
struct Scale {
    std::int64_t numerator = 1;
    std::int64_t denominator = 1;
    std::int64_t offset = 0;
    bool identity() const { return numerator == denominator && offset == 0; }
};
Scale scale_of(Unit unit);
// A value in the generator's unit, for the checks of plausible values.
double scaled_value(double value, const Scale& scale);
// The same, inline for the loops over every day: a unit that is the
// generator's own adds 0 alone (which makes -0 into 0, as the whole
// formula does) and scales by 1.
inline double model_scaled(double value, const Scale& scale) {
    const bool own = scale.numerator == 1 && scale.denominator == 1 && scale.offset == 0;
    return own ? value + 0.0 : scaled_value(value, scale);
}

// A precipitation text in the generator's millimetres, computed exactly in
// decimal digits: ("0.12", kInch) -> "3.048", ("123", kTenthMillimetre) ->
// "12.3", ("1.5e1", kInch) -> "381".  The text must be a number text.
std::string scaled_text(std::string_view text, Unit unit);

// The unit a variable's values are in: the one the list states (`listed`)
// or the file states (`in_file`), else the generator's own.  Both stated
// and different: a problem saying so.
// `settings`: who set `listed`, for the message.
Result<Unit> unit_of_values(Quantity quantity, std::optional<Unit> listed, std::optional<Unit> in_file,
                            Settings settings = Settings::station_list);

}  // namespace wgn::readers
