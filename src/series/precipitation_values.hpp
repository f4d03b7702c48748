// Precipitation as wgnrain must read it: millimetres, every day's amount a
// plausible one.  The texts of a station's pcp and hhr are turned into
// millimetres exactly, digit by digit (0.12 in -> 3.048), and a day below 0
// or above 2,000 mm is refused with its file, line and column, and a hint
// at the likely cause:
//
//   /d/a.csv, line 40, column prcp: pcp 2540 on 2001-02-08 is above 2000 mm: is the column in
//   tenths of mm? give pcp_unit
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "problem/problem.hpp"
#include "readers/measure_units.hpp"
#include "readers/station_record.hpp"

namespace wgn::series {

inline constexpr double kMostDailyRain = 2000;  // mm; the world's largest daily totals lie below

// Converts `variable`'s values (pcp or hhr) from `unit` into millimetres.
void to_millimetres(std::vector<readers::DailyValue>& values, readers::Unit unit);

// The record's precipitation (and half-hour rain) in millimetres, in the
// unit the list states (`listed`) or the file does; the problem (with the
// file's name `shown_file`, line and column) when the units disagree or a
// day is not plausible; the hints name the settings as `settings` does.
Done millimetre_precipitation(readers::StationRecord& record, std::optional<readers::Unit> listed,
                              std::string_view shown_file,
                              readers::Settings settings = readers::Settings::station_list);

}  // namespace wgn::series
