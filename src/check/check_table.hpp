// The stations of the weather-generator tables being checked, one typed
// table whatever the layout they came in: each station's name, position,
// rain_yrs and 12 months of the 14 values, kept as their text (an empty
// value: the table has none), with the file it came from, and, for a table
// a batch wrote, the record it was made from (batch_record.hpp).
//
//   value_of(station, 6, weather::kPcpAve) -> 63.4 (July's pcp_ave), or nothing
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "weather/weather_record.hpp"

namespace wgn::check {

// A value of the record with its 90 % interval, as the batch wrote them; empty bounds: no interval.
struct RecordValue {
    std::string value, low, high;
};

// The record of a station of a batch: by month (0 ... 11) and column, and
// what the batch noted of its intervals (empty: nothing).
struct BatchRecord {
    std::array<std::array<RecordValue, 14>, 12> values;
    std::string notes;
};
// By the station's name in the model files.
using BatchRecords = std::map<std::string, BatchRecord>;

struct TableStation {
    std::string file;  // as shown in messages
    weather::ReferenceStation station;
    std::optional<BatchRecord> record;  // the table came from a batch that kept the record's intervals
};

using CheckTable = std::vector<TableStation>;

// The number a text holds (a plain decimal, as the readers keep them); nothing for another text.
std::optional<double> number_of(std::string_view text);
// The value of a month (0 ... 11) and column, or nothing where the table has none.
std::optional<double> value_of(const TableStation& station, std::size_t month, weather::Column column);

// The days of each month as the models count them (a leap year's).
inline constexpr std::array<int, 12> kModelMonthDays = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

}  // namespace wgn::check
