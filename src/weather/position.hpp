// A station's position as the models take it: latitude -90 ... 90 and
// longitude -180 ... 180 degrees, elevation -450 ... 9000 m (the shore of
// the Dead Sea to above Everest).  A coordinate is kept as a plain decimal,
// its exponent written out exactly; the bounds are compared on the digits.
//
//   position_text(kLatitude, "4.0585e1")   -> "40.585"
//   position_text(kLatitude, "90.0000001") -> problem: "90.0000001" is not a latitude (-90 ... 90)
//   position_text(kElevation, "1559m")     -> problem: "1559m" is not a number
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "problem/problem.hpp"
#include "weather/decimal_text.hpp"

namespace wgn::weather {

enum Coordinate : std::size_t { kLatitude, kLongitude, kElevation };

struct CoordinateBounds {
    const char* name;  // for messages: "latitude"
    int lowest, highest;
};
inline constexpr std::array<CoordinateBounds, 3> kCoordinateBounds = {
    {{"latitude", -90, 90}, {"longitude", -180, 180}, {"elevation", -450, 9000}}};

// The coordinate as a plain decimal; a problem (the text alone, no place)
// when the text is not a number or lies outside the bounds.
Result<DecimalText> position_text(Coordinate coordinate, std::string_view text);

// A coordinate as a station's sources give it: the list's cell (checked
// already), else the file's text and where it stands ("FILE, line 3, column
// lat"); empty texts: not given.
struct GivenCoordinate {
    std::string listed, text, place;
};
// The position (latitude, longitude, elevation) as plain decimals, each the
// list's, else the file's.  When one the file gives is not a number or out of
// its bounds there is no position, and the problem says why, with its
// place.  `ghcnd`: the file is GHCN's station list, where an elevation of
// -999.9 means unknown.  A coordinate given nowhere is no value.
using Position = std::array<DecimalText, 3>;
Result<Position> take_position(const std::array<GivenCoordinate, 3>& given, bool ghcnd);

}  // namespace wgn::weather
