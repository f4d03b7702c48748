// The batch's overview page (OUTDIR/index.html) and each station's picture
// (OUTDIR/<station>/parameters.svg): one self-contained file each, styles,
// charts and the table's sorting inline, nothing fetched from anywhere.
//
// The page: a header (when, which version, how many stations succeeded,
// failed, have notes; what the model does with every pcp_days); the station table (failures first, then stations with
// notes; sortable by clicking a column, complete without script); the
// comparison of all stations by month (every station a thin line, the median
// bold, the stations furthest from it named); a section per station with its
// charts, its coverage grid, its warnings and model notes, and links to its
// files.  Between the table and the comparison, where two or more stations
// have a position, a map of them shaded by a value chosen (station_map.hpp).
// Every value drawn carries its table text on hover.  With the check, the
// header names the stations whose generated values leave their intervals
// and each station's charts draw the generated values beside the record's.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "weather/model_notes.hpp"

namespace wgn::page {

struct PageStation {
    std::string name, status, period, missing_percent, report_line;
    std::string years_outside;  // well-covered years left out of the period, "1974 1975"
    std::string pcp_threshold;  // the wet-day threshold in mm, "0.1"; empty: none
    long below_threshold = 0;   // the days of the period below it, written as dry
    // The days left out as missing, their values not plausible:
    // "pcp 2001-02-08 2540; slr 2018-07-01 397.65" (readers::outlier_list); empty: none.
    std::string outlier_days;
    std::string model_name;  // the name in the model files, where it is not the station's own
    // The position in decimal degrees ("52.1", "5.18"); empty: not known.
    std::string latitude, longitude;
    bool ok = false;
    // The 14 columns of the weather-generator table by month (the tables'
    // texts; only the precipitation columns for a precipitation-only list).
    std::array<std::array<std::string, 14>, 12> values;
    int warnings = 0;
    std::string first_warning;
    std::vector<weather::ModelNote> notes;  // the model notes, the changes first
    // Variables left out as not plausible, and why the position was, each with its place.
    std::vector<std::string> refused;
    int coverage_first_year = 0;
    std::vector<std::array<int, 12>> coverage;  // missing days by year and month
    std::vector<std::string> files;             // the station's files to link to, by name
    // The 90 % intervals of the values, by month and column (empty: none),
    // and what they say of the record ("12 years (fewer than 20); ...").
    std::array<std::array<std::string, 14>, 12> low, high;
    std::string interval_notes;
    // With the check: what the model generates of each value (generated.csv's
    // texts, by month and column; empty: not generated), drawn as a dashed
    // line in the value's chart.
    std::array<std::array<std::string, 14>, 12> generated;
};

struct PageTotals {
    std::string when, version;
    std::size_t stations = 0, ok = 0, failed = 0, not_run = 0;
    std::size_t shown = 0;  // stations on the page (the first of the list)
    // With the check: the stations whose generated pcp_ave or pcp_days leave
    // the record's interval, a line each ("ftc: pcp_ave 7 8").
    bool checked = false;
    std::vector<std::string> outside_intervals;
    std::string program = "wgnrain-batch";  // the program that wrote the page
};

// The page, handed to `write` a piece at a time (a station's section a piece).
void overview_page(const std::vector<PageStation>& stations, const PageTotals& totals,
                   const std::function<void(std::string_view)>& write);
// The station's charts as one standalone SVG file.
std::string station_picture(const PageStation& station);

// A file name as a link's address: "De Bilt/report.txt" -> "De%20Bilt/report.txt".
std::string link_address(std::string_view path);

}  // namespace wgn::page
