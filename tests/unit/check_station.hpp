// A station of twelve alike months for the check's tests: a temperate climate
// whose listed pcp_days is within 10 % of what the model recomputes, so that
// it has no finding until a test changes a value.
#pragma once

#include <array>
#include <string>

#include <gtest/gtest.h>

#include <optional>

#include "check/check_table.hpp"
#include "check/model_parameters.hpp"
#include "check/random_numbers.hpp"

namespace wgn::check::testing {

inline constexpr std::array<const char*, 14> kAlikeMonth = {"20",   "10",  "3",    "2",  "60", "6", "1.5",
                                                            "0.25", "0.6", "11.9", "10", "15", "8", "3"};

inline TableStation alike_station() {
    TableStation station;
    station.file = "test.cli";
    station.station.name = "alike";
    station.station.latitude = "52";
    station.station.longitude = "5";
    station.station.elevation = "2";
    station.station.rain_yrs = "30";
    for (auto& month : station.station.values) {
        for (std::size_t c = 0; c < 14; ++c) month[c] = weather::DecimalText::made(kAlikeMonth[c]);
    }
    return station;
}

// What the model makes of a station at start, with a fixed seed.
inline StationParameters parameters_of(const TableStation& station) {
    RandomNumbers numbers(7);
    std::string lacking;
    const std::optional<StationParameters> parameters = model_parameters(station, numbers, lacking);
    if (!parameters) ADD_FAILURE() << lacking;
    return parameters.value_or(StationParameters{});
}

// Sets a column in every month.
inline void set_all(TableStation& station, weather::Column column, const char* value) {
    for (auto& month : station.station.values) month[column] = weather::DecimalText::made(value);
}

}  // namespace wgn::check::testing
