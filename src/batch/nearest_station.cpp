#include "batch/nearest_station.hpp"

#include <algorithm>
#include <cmath>

namespace wgn::batch {
namespace {

constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;

// No station can be nearer than R times its difference of latitude (in
// radians): a great circle is never shorter than the meridian's arc between
// the two parallels.  The bound is widened by a hair so that rounding in the
// haversine never makes a station of equal distance look nearer than its
// bound: a station read beyond it costs a distance, never a wrong answer.
double latitude_bound_km(double latitude, double other) {
    return kEarthRadiusKm * std::fabs(latitude - other) * kRadiansPerDegree * (1.0 - 1e-12) - 1e-9;
}

}  // namespace

double great_circle_km(GeoPoint from, GeoPoint to) {
    const double f1 = from.latitude * kRadiansPerDegree, f2 = to.latitude * kRadiansPerDegree;
    const double half_f = (f2 - f1) / 2.0;
    const double half_l = (to.longitude - from.longitude) * kRadiansPerDegree / 2.0;
    const double sin_f = std::sin(half_f), sin_l = std::sin(half_l);
    const double a = sin_f * sin_f + std::cos(f1) * std::cos(f2) * (sin_l * sin_l);
    return 2.0 * kEarthRadiusKm * std::asin(std::min(1.0, std::sqrt(a)));
}

NearestStations::NearestStations(std::vector<Entry> entries) : by_latitude_(std::move(entries)) {
    std::sort(by_latitude_.begin(), by_latitude_.end(), [](const Entry& a, const Entry& b) {
        return a.at.latitude != b.at.latitude ? a.at.latitude < b.at.latitude : a.id < b.id;
    });
}

std::optional<NearestStations::Found> NearestStations::nearest(GeoPoint at) const {
    if (by_latitude_.empty()) return std::nullopt;
    // Two fronts leave the query's latitude, north and south; the one
    // nearer in latitude goes next, until neither can hold a nearer station.
    const auto first_north = std::lower_bound(by_latitude_.begin(), by_latitude_.end(), at.latitude,
                                              [](const Entry& e, double latitude) { return e.at.latitude < latitude; });
    std::size_t north = static_cast<std::size_t>(first_north - by_latitude_.begin());
    std::size_t south = north;  // the next southward is south - 1
    std::optional<Found> best;
    while (north < by_latitude_.size() || south > 0) {
        const bool go_north =
            south == 0 || (north < by_latitude_.size() && by_latitude_[north].at.latitude - at.latitude <=
                                                              at.latitude - by_latitude_[south - 1].at.latitude);
        const Entry& entry = go_north ? by_latitude_[north] : by_latitude_[south - 1];
        if (best && latitude_bound_km(entry.at.latitude, at.latitude) > best->km) break;
        go_north ? ++north : --south;
        const double km = great_circle_km(at, entry.at);
        if (!best || km < best->km || (km == best->km && entry.id < best->id)) best = Found{entry.id, km};
    }
    return best;
}

}  // namespace wgn::batch
