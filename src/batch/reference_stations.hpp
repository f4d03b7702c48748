// The reference station that fills what a station's record cannot give,
// from the list's fill_file: a weather-wgn.cli, or an SQLite database (told
// by its first 16 bytes) with the table pair fill_table (default
// wgn_cfsr_world, modelfiles/wgn_database.hpp).
//
//   fill_station = NAME     the station of that name (blanks and '_' alike, any case)
//   fill_station empty      the station of the station's own name
//   fill_station = nearest  the station nearest the station's position, by the
//                           great-circle distance (nearest_station.hpp), ties to
//                           the first in the file (a database: the lowest id);
//                           one farther than fill_max_km (default 100) is refused
//
// Each reference is read once per batch, and its positions indexed once: a
// database's stations then (its monthly table only for the stations taken,
// by their wgn_id, where an index of it begins with wgn_id; else whole).
#pragma once

#include <string>
#include <string_view>

#include "batch/station_list.hpp"
#include "problem/problem.hpp"
#include "weather/weather_record.hpp"

namespace wgn::batch {

inline constexpr std::string_view kNearestStation = "nearest";
inline constexpr std::string_view kDefaultFillMaxKm = "100";

struct ChosenReference {
    const weather::ReferenceStation* station = nullptr;  // nothing without a fill_file
    std::string km;                                      // nearest: the distance, "12.345"
};

// A problem when the reference cannot be read, has no such station (or two
// of its name), or, for nearest, when the station has no position or the
// nearest is farther than fill_max_km.
Result<ChosenReference> reference_station(const Station& station, const weather::WeatherInputs& inputs);

// The distance as the summary shows it: km to the metre, "12.345".
std::string km_text(double km);

}  // namespace wgn::batch
