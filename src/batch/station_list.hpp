// The station list of a batch: which series to analyse, with the answers
// the dialogue of each run needs.  Every mistake is found before anything
// runs, each reported with its row and column:
//
//   station,file,first_year,nodata      (header; more columns are carried along)
//   ftc,fort-collins.txt,1900,-99
//
// Station files of other formats name it in a column `format` (csv, ghcnd,
// power, swat, swatplus; empty or plain: one value per line as wgnrain reads
// it).  For those, first_year and last_year (optional) bound the period and
// nodata (optional, default -99) is written for missing days; `pcp_column`
// names the precipitation column of a csv or power file.
//   ../x,a.txt,19x0,-99   ->  row 3, column station: "../x" is not a plain name ...
//                             row 3, column first_year: "19x0" is not a whole number
#pragma once

#include <array>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "readers/formats.hpp"

namespace wgn::batch {

struct Station {
    int row = 0;                                      // line of the list it came from
    std::string name;                                 // also the name of its folder
    std::string file;                                 // as written in the list
    std::string input_name;                           // the full name of the series, typed into the dialogue
    std::string first_year;                           // as written, checked to be a whole number
    std::string nodata;                               // as written, checked to be a number
    readers::Format format = readers::Format::plain;  // how the file is read (readers/formats.hpp)
    std::string last_year;                            // dated formats: the last year of the period, if set
    std::string pcp_column;                           // csv, power: the precipitation column, if set
    std::string pcp_unit;            // the unit of the precipitation (readers/measure_units.hpp), if set
    std::vector<std::string> extra;  // the other columns, in the list's order
    // The complete weather-generator record (kWeatherColumns), as written;
    // the *_file, stations_file and fill_file entries hold full names.
    std::map<std::string, std::string> weather;

    bool dated() const { return readers::facts(format).dated; }
    // The value of a weather column, empty when not given.
    std::string weather_option(const std::string& column) const {
        const auto found = weather.find(column);
        return found == weather.end() ? std::string() : found->second;
    }
};

// The list's columns for the complete weather-generator record: files of the
// other variables (read in the station's format), the columns of a csv file
// that holds them, a wind unit, the position, GHCN's station file, and a
// reference station that fills what the record cannot give.
inline constexpr std::array<std::string_view, 22> kWeatherColumns = {
    "tmp_file",   "slr_file",  "hmd_file",   "wnd_file",      "hhr_file",  "tmax_column", "tmin_column", "slr_column",
    "dew_column", "rh_column", "wnd_column", "hhr_column",    "tmp_unit",  "slr_unit",    "hmd_unit",    "wnd_unit",
    "lat",        "lon",       "elev",       "stations_file", "fill_file", "fill_station"};
// The columns among them that name files.
bool is_file_column(std::string_view column);

struct StationList {
    std::vector<std::string> extra_columns;  // names of the other columns
    bool dated_columns = false;              // the list has a format, last_year or pcp_column column
    bool weather_columns = false;            // the list has a column of kWeatherColumns
    std::vector<Station> stations;
    std::vector<std::string> problems;  // "row 3, column first_year: ..."
};

// Checks a station's file: returns what is wrong with it, or an empty text
// and its full name in `full_name`.
using FileCheck = std::function<std::string(std::string_view file, std::string& full_name)>;

// The default NoData value of a series made from a dated file.
inline constexpr std::string_view kDefaultNodata = "-99";

// The names the batch writes into the output folder beside the station
// folders (and its locks, folder_lock.hpp); no station may take one.
inline constexpr std::string_view kPageName = "index.html";
inline constexpr std::string_view kSummaryName = "summary.csv";
inline constexpr std::string_view kUserwgnName = "userwgn_pcp.csv";
inline constexpr std::string_view kMonthlyName = "wgn_mon_pcp.csv";
// ... and, for a list with the columns of the complete record:
inline constexpr std::string_view kCliName = "weather-wgn.cli";
inline constexpr std::string_view kEditorStationsName = "wgn_stations.csv";
inline constexpr std::string_view kEditorMonthlyName = "wgn_monthly.csv";
inline constexpr std::string_view kUserwgnFullName = "userwgn.csv";

StationList read_station_list(std::string_view text, const FileCheck& check_file);

// Why `name` cannot be a station's folder on Linux and Windows alike (nor
// the name of a file the batch writes beside it, nor a cell a spreadsheet
// would take for a formula), or empty.
std::string unsafe_name_reason(std::string_view name);

}  // namespace wgn::batch
