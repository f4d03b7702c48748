// The positions a station's files state, beside the one the station takes
// (the list's, else its own file's): a file whose position lies more than
// 10 km away, or more than 100 m higher or lower, holds the weather of
// another place, and the station gets a model note naming both positions.
//
//   station 52.1, 5.18, 155 m;  /d/tmp1.tmp gauge 4 states 52.55, 5.62, 1732
//     -> "position: /d/tmp1.tmp gauge 4 lies 58.3 km from the station and 1577 m higher
//         (52.55, 5.62, 1732 m for the station's 52.1, 5.18, 155 m)"
//   station 52.1, 5.18, 2 m;    /d/sp.tmp states 52.1, 5.18, 2.0   -> no note
//   station 52.1, 5.18 (no elevation);  /d/sp.tmp states 52.1, 5.33, 900
//     -> "position: /d/sp.tmp lies 10.2 km from the station (52.1, 5.33 for the station's 52.1, 5.18)"
//
// The distance is the great-circle distance of nearest_station.hpp; the
// elevations are compared in their decimal digits, so 100 m apart is never
// more than 100 m by a rounding.  A coordinate a file does not state, or
// states as no usable coordinate (GHCN's unknown elevation -999.9, a
// latitude of 91), is not compared: a position without an elevation is
// compared by its distance alone, one with an elevation alone by it.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "weather/model_notes.hpp"
#include "weather/position.hpp"

namespace wgn::batch {

inline constexpr double kFarthestKm = 10.0;  // of a file's position from the station's
inline constexpr int kHighestMetres = 100;   // above or below it

struct StatedPosition {
    std::string source;                // the file as a note names it: "/d/tmp1.tmp gauge 4"
    std::array<std::string, 3> texts;  // latitude, longitude, elevation as written; "" where not stated
};

// The note (kind note) on a stated position beyond either limit of the
// station's; nothing for one within both, or one that has nothing to
// compare with the station's.
std::optional<weather::ModelNote> position_note(const weather::Position& station, const StatedPosition& stated);

}  // namespace wgn::batch
