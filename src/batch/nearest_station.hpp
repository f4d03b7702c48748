// The reference station nearest a position, by the great-circle distance on
// a sphere of radius 6371.0 km, among many (the global weather-generator
// database holds some 180,000 grid points): the positions are indexed once,
// then each look-up reads only the stations whose latitude alone does not
// put them farther than the nearest found so far.
//
//   NearestStations index({{52.1, 5.18}, {51.9, 4.45}});
//   index.nearest({52.0, 4.9}) -> {.id = 0, .km = 21.3...}
//
// Ties (equal distances) go to the smallest id: the first in the file.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

namespace wgn::batch {

inline constexpr double kEarthRadiusKm = 6371.0;

struct GeoPoint {
    double latitude = 0, longitude = 0;  // degrees, north and east positive
};

// The haversine formula on a sphere of radius R = 6371.0 km, with the
// latitudes f1, f2 and the longitudes l1, l2 in radians:
//   a = sin^2((f2 - f1) / 2) + cos f1 cos f2 sin^2((l2 - l1) / 2)
//   d = 2 R asin(min(1, sqrt(a)))
// Longitudes that differ by 360 degrees are one meridian: the antimeridian
// needs no care.
double great_circle_km(GeoPoint from, GeoPoint to);

class NearestStations {
  public:
    struct Entry {
        GeoPoint at;
        std::size_t id = 0;  // the caller's: the station's place in its table
    };
    struct Found {
        std::size_t id = 0;
        double km = 0;
    };

    explicit NearestStations(std::vector<Entry> entries);
    // Nothing when the index holds no station.
    std::optional<Found> nearest(GeoPoint at) const;
    std::size_t size() const { return by_latitude_.size(); }

  private:
    std::vector<Entry> by_latitude_;  // by latitude, then id
};

}  // namespace wgn::batch
