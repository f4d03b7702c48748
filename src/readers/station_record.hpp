// What a reader makes of one station file: for each variable the values on
// their days, each as the text the file wrote, and the station's position
// where the file gives it.  Missing days are either marked (a value without
// text) or absent; the calendar fills the absent ones in.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "problem/problem.hpp"
#include "readers/formats.hpp"
#include "readers/measure_units.hpp"

namespace wgn::readers {

struct DailyValue {
    std::int32_t day = 0;  // day number (calendar_days.hpp)
    std::string text;      // the number as written; empty: the file marks the day missing
    bool flagged = false;  // missing because the file flags the value as failing a quality check
    int line = 0;          // the line of the file it came from
};

// The variables by their short names, with the names of the columns that
// hold them in a table (compared without regard to case):
//   pcp   precipitation, mm              tmax, tmin  temperature, degrees C
//   slr   solar radiation, MJ/m2/day     dew   dew point, degrees C
//   rh    relative humidity (fraction or %)   wnd   wind speed, m/s
//   hhr   the day's largest half-hour rainfall, mm
inline constexpr const char* kPrecipitation = "pcp";
struct VariableNames {
    std::string_view variable;
    std::string_view what;                    // for messages
    std::array<std::string_view, 5> columns;  // unused places empty
};
inline constexpr std::array<VariableNames, 8> kVariables = {{
    {"pcp", "precipitation", {"precipitation", "prcp", "pcp", "rain", "prectotcorr"}},
    {"tmax", "maximum temperature", {"tmax", "temp_max", "tmp_max", "t2m_max", ""}},
    {"tmin", "minimum temperature", {"tmin", "temp_min", "tmp_min", "t2m_min", ""}},
    {"slr", "radiation", {"slr", "solar", "allsky_sfc_sw_dwn", "", ""}},
    {"dew", "dew point", {"dew", "dewpoint", "dew_point", "t2mdew", ""}},
    {"rh", "humidity", {"rh", "rhum", "relative_humidity", "rh2m", ""}},
    {"wnd", "wind", {"wind", "wnd", "wind_speed", "ws2m", ""}},
    {"hhr", "half-hour rain", {"hhr", "pcp_hhr", "", "", ""}},
}};

// A place in a file, for messages: a line and a column (a name or a
// character position counted from 1).
struct TextPlace {
    int line = 0;
    std::string column;
};

struct StationRecord {
    std::map<std::string, std::vector<DailyValue>> variables;
    // The position where the file gives it, as written (the batch checks
    // it): degrees, metres; and where each of latitude, longitude and
    // elevation was read.
    std::string latitude, longitude, elevation;
    std::array<TextPlace, 3> position_places;
    // The units the file itself states for its variables (POWER's header, a
    // column named "srad (W/m^2)"):  {"slr", kKilowattHoursPerDay}
    std::map<std::string, Unit> units;
    // Where each variable's values stand, for messages: the column's name as
    // the header writes it, or the field's number.
    std::map<std::string, std::string> columns;
    // Variables other than precipitation whose column could not be read,
    // with the reason: {"tmax", "line 12, column tmax: \"--\" is not a number"}.
    // Precipitation is the point of the file: its faults fail the file.
    std::map<std::string, std::string> refused;
    std::string station_id;  // GHCN-Daily: the station's ID
};

// What the reader needs beyond the file itself.
struct ReadOptions {
    Format format = Format::plain;
    std::optional<int> first_year;  // plain: the year of the first value
    std::string nodata;             // a value marking a missing day; empty: the format's own marks only
    // csv, power: the column of a variable when its name is not recognised
    //   {"pcp", "NEERSLAG"}
    std::map<std::string, std::string> columns;
    // swat, swatplus: what the file holds (one variable a file): pcp, tmp
    // (maximum and minimum), slr, hmd (humidity), wnd, hhr.
    std::string kind = "pcp";
};

}  // namespace wgn::readers
