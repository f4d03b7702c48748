// What a reader makes of one station file: for each variable the values on
// their days, each as the text the file wrote, and the station's position
// where the file gives it.  Missing days are either marked (a value without
// text) or absent; the calendar fills the absent ones in.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace wgn::readers {

struct DailyValue {
    std::int32_t day = 0;   // day number (calendar_days.hpp)
    std::string text;       // the number as written; empty: the file marks the day missing
    bool flagged = false;   // missing because the file flags the value as failing a quality check
    int line = 0;           // the line of the file it came from
};

// The variables by their short names: "pcp" (precipitation, mm).
inline constexpr const char* kPrecipitation = "pcp";

struct StationRecord {
    std::map<std::string, std::vector<DailyValue>> variables;
    std::optional<double> latitude, longitude, elevation;  // degrees, metres
};

// What the reader needs beyond the file itself.
struct ReadOptions {
    std::string format = "plain";
    std::optional<int> first_year;  // plain, swat: the year of the first value (swat: from the file)
    std::string nodata;             // a value marking a missing day; empty: the format's own marks only
    std::string pcp_column;         // csv, power: the precipitation column when its name is not recognised
};

// Why a file cannot be read, with the place in it.
struct ReadError : std::runtime_error {
    ReadError(int line_number, std::string column_name, const std::string& what)
        : std::runtime_error(what), line(line_number), column(std::move(column_name)) {}
    int line = 0;        // 0: the file as a whole
    std::string column;  // a column name or character position; empty: the line as a whole
};

}  // namespace wgn::readers
