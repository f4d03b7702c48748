// The indexed nearest-station search against reading every station, and the
// haversine distance against distances known on the sphere.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <vector>

#include "batch/nearest_station.hpp"

namespace wgn::batch {
namespace {

using Entries = std::vector<NearestStations::Entry>;

std::optional<NearestStations::Found> every_station(const Entries& entries, GeoPoint at) {
    std::optional<NearestStations::Found> best;
    for (const NearestStations::Entry& entry : entries) {
        const double km = great_circle_km(at, entry.at);
        if (!best || km < best->km || (km == best->km && entry.id < best->id)) best = {{entry.id, km}};
    }
    return best;
}

TEST(GreatCircle, KnownDistances) {
    const double quarter = kEarthRadiusKm * 3.14159265358979323846 / 2.0;
    struct Case {
        GeoPoint from, to;
        double km;
    };
    const Case cases[] = {
        {{0, 0}, {0, 90}, quarter},          // a quarter of the equator
        {{0, 0}, {90, 0}, quarter},          // equator to pole
        {{0, 179.5}, {0, -179.5}, 111.195},  // across the antimeridian: one degree
        {{89.9, 0}, {89.9, 180}, 22.239},    // over the pole: 0.2 degrees
        {{90, 0}, {90, 123}, 0},             // the pole has every longitude
        {{10, 20}, {10, 380}, 0},            // one meridian, 360 degrees apart
    };
    for (const Case& c : cases) EXPECT_NEAR(great_circle_km(c.from, c.to), c.km, 1e-3) << c.to.longitude;
}

// Table-driven: stations and queries where a search by longitude or by a
// flat grid would go wrong.
TEST(NearestStations, AgreesWithEveryStation) {
    struct Case {
        const char* what;
        Entries stations;
        GeoPoint at;
        std::size_t id;
    };
    const std::vector<Case> cases = {
        {"across the antimeridian", {{{0, 170}, 0}, {{0, -179.9}, 1}}, {0, 179.9}, 1},
        {"across the antimeridian, west to east", {{{-20, -170}, 0}, {{-20, 179.8}, 1}}, {-20, -179.8}, 1},
        {"over the north pole", {{{89.5, 0}, 0}, {{89.8, 180}, 1}}, {89.9, 0}, 1},
        {"at the south pole", {{{-89.0, 45}, 0}, {{-89.5, -135}, 1}}, {-90, 0}, 1},
        {"equal distances: the first in the file", {{{1, 1}, 0}, {{1, -1}, 1}}, {1, 0}, 0},
        {"equal distances, the later one north", {{{0, 0.5}, 3}, {{0.5, 0}, 1}, {{-0.5, 0}, 2}}, {0, 0}, 1},
        {"one station far away", {{{-45, 60}, 7}}, {45, -120}, 7},
        {"two stations at one place", {{{5, 5}, 4}, {{5, 5}, 2}}, {5.1, 5}, 2},
    };
    for (const Case& c : cases) {
        const NearestStations index(c.stations);
        const auto found = index.nearest(c.at);
        ASSERT_TRUE(found) << c.what;
        EXPECT_EQ(found->id, c.id) << c.what;
        EXPECT_EQ(found->km, every_station(c.stations, c.at)->km) << c.what;
    }
    EXPECT_FALSE(NearestStations({}).nearest({0, 0}));
}

// Random stations on the whole sphere, on a coarse grid (many equal
// distances), and crowded near a pole; random queries.
TEST(NearestStations, RandomPositions) {
    std::mt19937_64 random(20261209);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const auto on_sphere = [&] {
        return GeoPoint{std::asin(2 * unit(random) - 1) * 180 / 3.14159265358979323846, 360 * unit(random) - 180};
    };
    struct Layout {
        const char* what;
        std::function<GeoPoint()> station;
    };
    const Layout layouts[] = {
        {"sphere", on_sphere},
        {"grid",
         [&] {
             return GeoPoint{std::floor(unit(random) * 36) * 5 - 90, std::floor(unit(random) * 72) * 5 - 180};
         }},
        {"near a pole",
         [&] {
             return GeoPoint{88 + 2 * unit(random), 360 * unit(random) - 180};
         }},
    };
    for (const Layout& layout : layouts) {
        Entries entries;
        for (std::size_t i = 0; i < 3000; ++i) entries.push_back({layout.station(), i});
        const NearestStations index(entries);
        for (int q = 0; q < 500; ++q) {
            const GeoPoint at = q % 2 == 0 ? on_sphere() : layout.station();
            const auto found = index.nearest(at), expected = every_station(entries, at);
            ASSERT_TRUE(found);
            EXPECT_EQ(found->id, expected->id) << layout.what << " " << at.latitude << " " << at.longitude;
            EXPECT_EQ(found->km, expected->km) << layout.what;
        }
    }
}

}  // namespace
}  // namespace wgn::batch
