// The stations of the weather-generator tables being checked, one typed
// table whatever the layout they came in: each station's name, position,
// rain_yrs and 12 months of the 14 values, kept as their text (an empty
// value: the table has none), with the file it came from.
//
//   value_of(station, 6, weather::kPcpAve) -> 63.4 (July's pcp_ave), or nothing
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "weather/weather_record.hpp"

namespace wgn::check {

struct TableStation {
    std::string file;  // as shown in messages
    weather::ReferenceStation station;
};

using CheckTable = std::vector<TableStation>;

// The number a text holds (a plain decimal, as the readers keep them); nothing for another text.
std::optional<double> number_of(std::string_view text);
// The value of a month (0 ... 11) and column, or nothing where the table has none.
std::optional<double> value_of(const TableStation& station, std::size_t month, weather::Column column);

// The days of each month as the models count them (a leap year's).
inline constexpr std::array<int, 12> kModelMonthDays = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

}  // namespace wgn::check
