// The complete weather-generator record of a station: the 14 monthly values
// SWAT and SWAT+ read, with the station's position and rain_yrs, from the
// precipitation digits of the station's wgnrain report and the daily values
// of the other variables over the station's period.
//
//   tmp_max_ave, tmp_min_ave   means of the daily maxima and minima
//   tmp_max_sd, tmp_min_sd     their sample standard deviations (n - 1)
//   pcp_ave ... pcp_days       the report's PCP_MM, PCPSTD, PCPSKW, PR_W1, PR_W2, PCPD
//   pcp_hhr                    the largest half-hour rain of the month; without
//                              half-hour data the largest daily value times (30/1440)^0.25
//   slr_ave, wnd_ave           means of the daily values
//   dew_ave                    mean of the daily dew points; from relative humidity
//                              where the record has no dew point (dew_point.hpp)
// A variable without data has no values; a reference station (a block of an
// existing weather-wgn.cli) may fill what the record cannot give.
#pragma once

#include <array>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "readers/station_record.hpp"
#include "weather/monthly_statistics.hpp"

namespace wgn::weather {

// The 14 columns, in the order of SWAT+'s weather-generator table.
inline constexpr std::array<const char*, 14> kColumns = {
    "tmp_max_ave", "tmp_min_ave", "tmp_max_sd", "tmp_min_sd", "pcp_ave", "pcp_sd",  "pcp_skew",
    "wet_dry",     "wet_wet",     "pcp_days",   "pcp_hhr",    "slr_ave", "dew_ave", "wnd_ave"};
enum Column : std::size_t {
    kTmpMaxAve,
    kTmpMinAve,
    kTmpMaxSd,
    kTmpMinSd,
    kPcpAve,
    kPcpSd,
    kPcpSkew,
    kWetDry,
    kWetWet,
    kPcpDays,
    kPcpHhr,
    kSlrAve,
    kDewAve,
    kWndAve
};

// A station of a weather-wgn.cli: its line and 12 months of the 14 values.
struct ReferenceStation {
    std::string name, latitude, longitude, elevation, rain_yrs;
    std::array<std::array<std::string, 14>, 12> values;
};

struct WeatherInputs {
    int first_year = 0, last_year = 0;  // the period
    // The daily values of each variable (kVariables' names), in day order,
    // each day once, within the period.
    std::map<std::string, std::vector<readers::DailyValue>> variables;
    std::map<std::string, std::pair<int, int>> factors;  // unit factors by variable
    std::optional<bool> humidity_in_percent;             // unset: told by the values
    // The report's six values of each month: PCP_MM, PCPSTD, PCPSKW, PR_W1, PR_W2, PCPD.
    std::array<std::array<std::string, 6>, 12> precipitation;
    std::string latitude, longitude, elevation;  // plain decimals within their bounds (position.hpp)
    std::string position_problem;                // why a position given is refused, with its place
    const ReferenceStation* reference = nullptr;
};

struct WeatherRecord {
    std::array<std::array<std::string, 14>, 12> values;  // by month, by column; empty: no value
    std::string latitude, longitude, elevation, rain_yrs;
    std::string position_problem;  // why the position given is refused: then there is none
    bool hhr_estimated = false;
    std::vector<std::string> missing_variables;  // "slr_ave", ... (columns with no value in some month)
    std::vector<std::string> filled_variables;   // "dew_ave", "wnd_ave(1-3)" ...
    // Every value in every month, and a position.
    bool complete() const;
    // Why the record is not complete: "no slr_ave; no position (lat, lon, elev)",
    // "no position: FILE, line 4, column 22: ..."; empty when it is.
    std::string incomplete_reason() const;
};

// Fails (a text saying why) only for inputs that contradict themselves.
WeatherRecord make_weather_record(const WeatherInputs& inputs, std::string& problem);

}  // namespace wgn::weather
