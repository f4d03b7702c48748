#include "batch/position_notes.hpp"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "batch/nearest_station.hpp"
#include "readers/number_text.hpp"
#include "weather/exact_decimal.hpp"

namespace wgn::batch {
namespace {

using weather::DecimalText;

// How many decimals a plain decimal writes: "155" -> 0, "2.50" -> 2.
int decimals_of(const std::string& plain) {
    const std::size_t point = plain.find('.');
    return point == std::string::npos ? 0 : static_cast<int>(plain.size() - point - 1);
}

// A distance for the note, with one decimal; to the metre where one decimal
// would not show it beyond the limit (10.04 km is not "10.0 km").
std::string km_text(double km) {
    char text[64];
    std::snprintf(text, sizeof text, "%.1f", km);
    if (km > kFarthestKm && std::strtod(text, nullptr) <= kFarthestKm) std::snprintf(text, sizeof text, "%.3f", km);
    return text;
}

}  // namespace

std::optional<weather::ModelNote> position_note(const weather::Position& station, const StatedPosition& stated) {
    // 1. The stated coordinates as the station's are taken (plain decimals
    //    within their bounds); any other is not stated.
    weather::Position file;
    for (std::size_t c = 0; c < 3; ++c) {
        if (stated.texts[c].empty()) continue;
        if (Result<DecimalText> plain = weather::position_text(static_cast<weather::Coordinate>(c), stated.texts[c]))
            file[c] = std::move(*plain);
    }
    const auto both = [&](weather::Coordinate c) { return !file[c].empty() && !station[c].empty(); };
    const auto degrees = [](const DecimalText& text) { return readers::number_value(text.plain()).value_or(0.0); };

    // 2. The distance where both give latitude and longitude; the
    //    difference of elevation, in billionths of a metre, where both give one.
    std::optional<double> km;
    if (both(weather::kLatitude) && both(weather::kLongitude)) {
        km = great_circle_km({degrees(station[weather::kLatitude]), degrees(station[weather::kLongitude])},
                             {degrees(file[weather::kLatitude]), degrees(file[weather::kLongitude])});
    }
    std::optional<std::int64_t> higher;
    if (both(weather::kElevation)) {
        const auto at_file = weather::billionths(file[weather::kElevation].plain());
        const auto at_station = weather::billionths(station[weather::kElevation].plain());
        if (at_file && at_station) higher = *at_file - *at_station;
    }
    const bool far = km && *km > kFarthestKm;
    const bool high = higher && std::llabs(*higher) > std::int64_t{kHighestMetres} * weather::kBillion;
    if (!far && !high) return std::nullopt;

    // 3. The note: how far and how much higher, then both positions as
    //    compared, the file's first.
    std::string difference;
    if (higher && *higher != 0) {
        const int decimals =
            std::max(decimals_of(file[weather::kElevation].plain()), decimals_of(station[weather::kElevation].plain()));
        difference = weather::rounded_text(std::llabs(*higher), weather::kBillion, std::min(decimals, 9)) + " m " +
                     (*higher > 0 ? "higher" : "lower");
    }
    std::string text = "position: " + stated.source + " lies ";
    // A file at the station's very place (closer than the distance's
    // decimal) is told by its elevation alone.
    if (km && (far || *km >= 0.05)) {
        text += km_text(*km) + " km from the station" + (difference.empty() ? "" : " and " + difference);
    } else {
        text += difference + " than the station";
    }
    const auto compared = [&](const weather::Position& position) {
        std::string shown;
        if (km) shown = position[weather::kLatitude].text() + ", " + position[weather::kLongitude].text();
        if (higher) shown.append(shown.empty() ? "" : ", ").append(position[weather::kElevation].text()).append(" m");
        return shown;
    };
    text += " (" + compared(file) + " for the station's " + compared(station) + ")";
    return weather::ModelNote{weather::NoteKind::note, std::move(text)};
}

}  // namespace wgn::batch
