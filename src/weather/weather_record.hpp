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

#include "problem/problem.hpp"
#include "readers/outlier_days.hpp"
#include "readers/station_record.hpp"
#include "readers/variables.hpp"
#include "weather/decimal_text.hpp"
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
    int line = 0;  // the line of its name in the file
    std::string name, latitude, longitude, elevation, rain_yrs;
    std::array<std::array<DecimalText, 14>, 12> values;
};

struct WeatherInputs {
    using Variable = readers::Variable;
    int first_year = 0, last_year = 0;  // the period
    // The daily values of each variable, in day order, each day once,
    // within the period.
    std::map<Variable, std::vector<readers::DailyValue>> variables;
    // Where a wet-day threshold wrote the drizzle of `variables`' pcp as 0:
    // the rain as the file gives it, in the same order, which half-hour rain
    // is checked against.  Empty: pcp itself.
    std::vector<readers::DailyValue> rain_as_read;
    // The unit of each variable's values; absent: the generator's own, and
    // for humidity, told by its values (plausible_values.hpp).
    std::map<Variable, readers::Unit> units;
    // Where each variable's values come from, for messages.
    struct Source {
        std::string file, column;
    };
    std::map<Variable, Source> sources;
    // Variables refused before they got here (a file that could not be
    // read, days that contradict each other), with the reason.
    std::map<Variable, std::string> refused;
    // The report's six values of each month: PCP_MM, PCPSTD, PCPSKW, PR_W1, PR_W2, PCPD.
    std::array<std::array<DecimalText, 6>, 12> precipitation;
    DecimalText latitude, longitude, elevation;  // plain decimals within their bounds (position.hpp)
    std::optional<Problem> position_problem;     // why a position given is refused, with its place
    const ReferenceStation* reference = nullptr;
};

struct WeatherRecord {
    std::array<std::array<DecimalText, 14>, 12> values;  // by month, by column; empty: no value
    DecimalText latitude, longitude, elevation, rain_yrs;
    std::string position_problem;  // why the position given is refused: then there is none
    bool hhr_estimated = false;
    std::vector<std::string> missing_variables;  // "slr_ave", ... (columns with no value in some month)
    std::vector<std::string> filled_variables;   // "dew_ave", "wnd_ave(1-3)" ...
    // Variables left out because a value cannot be what it says, each with
    // its reason: "slr: /d/a.csv, line 40, column srad: slr 397.65 on ...".
    std::vector<std::string> refused;
    // The days left out as missing because their value cannot be what it
    // says (a few of a variable: readers/outlier_days.hpp), by variable in
    // the order checked, each variable's in day order.
    std::vector<readers::OutlierDay> outlier_days;
    // The units converted from, and how humidity's was told: "tmp F",
    // "rh fraction (told by the values; 4 above 1 taken as 1)".
    std::vector<std::string> units;
    // The reference station the list named (fill_file), by its name in the
    // reference, and with fill_station nearest its distance in km, "12.345".
    std::string fill_station, fill_km;
    // Every value in every month, and a position.
    bool complete() const;
    // Why the record is not complete: "no slr_ave; no position (lat, lon, elev)",
    // "no position: FILE, line 4, column 22: ..."; empty when it is.
    std::string incomplete_reason() const;
};

// The months of `column` taken from the reference station, as
// filled_variables names them ("dew_ave" every month, "dew_ave(1,2)" two).
std::array<bool, 12> filled_months(const WeatherRecord& record, Column column);

// Fails only for a precipitation value too large to hold; a variable whose
// values are not plausible is refused (`refused`) and left out, never the
// station; a few such days of a variable are left out alone (`outlier_days`).
Result<WeatherRecord> make_weather_record(const WeatherInputs& inputs);

// The days a record left out as outliers made missing days of `inputs`,
// for everything made of the daily values after the record.
void leave_out_days(WeatherInputs& inputs, const std::vector<readers::OutlierDay>& days);

}  // namespace wgn::weather
