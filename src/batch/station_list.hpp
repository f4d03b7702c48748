// The station list of a batch: which series to analyse, with the answers
// the dialogue of each run needs.  Every mistake is found before anything
// runs, each reported with its row and column:
//
//   station,file,first_year,nodata      (header; more columns are carried along)
//   ftc,fort-collins.txt,1900,-99
//
// Station files of other formats name it in a column `format` (csv, ghcnd,
// power, swat, swatplus, swat2012; empty or plain: one value per line as
// wgnrain reads it).  For those, first_year and last_year (optional) bound
// the period and nodata (optional, default -99) is written for missing days;
// `pcp_column` and `date_column` name the precipitation and date columns of
// a csv or power file, `gauge` the gauge of a swat2012 file (its name or its
// number from 1); `pcp_threshold` (mm) writes the days below it as dry.
//   ../x,a.txt,19x0,-99   ->  row 3, column station: "../x" is not a plain name ...
//                             row 3, column first_year: "19x0" is not a whole number
#pragma once

#include <array>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "batch/station_texts.hpp"
#include "batch/weather_columns.hpp"
#include "problem/problem.hpp"
#include "readers/formats.hpp"
#include "readers/station_record.hpp"

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
    std::string date_column;                          // csv, power: the date column, if set
    std::string pcp_unit;       // the unit of the precipitation (readers/measure_units.hpp), if set
    std::string pcp_threshold;  // dated formats: mm, the days below it written as 0, if set
    std::string gauge;          // swat2012: the gauge of its files, by name or number, if set
    // The precipitation is in mm whatever the list says (a grid's cell,
    // converted from the unit its file states): its amounts are not looked at.
    bool pcp_in_millimetres = false;
    std::vector<std::string> extra;  // the other columns, in the list's order
    // The complete weather-generator record, as written; the files hold
    // full names.
    WeatherColumns weather;
    // The file's text when it is not on disk (a grid's cell); null: the file
    // input_name names.
    StationTexts* texts = nullptr;

    bool dated() const { return readers::facts(format).dated; }
};

struct StationList {
    std::vector<std::string> extra_columns;  // names of the other columns
    bool dated_columns = false;              // the list has a column of dated files (format ... pcp_threshold)
    bool weather_columns = false;            // the list has a column of kWeatherColumns
    std::vector<Station> stations;
    std::vector<Problem> problems;  // line: the row; column: its name or number
    // The part of a --shard K/N each station belongs to: station i runs in
    // the shard of shard_groups[i] % N (a grid's tiles stay whole); empty:
    // its own place in the list, so that shards interleave.
    std::vector<std::size_t> shard_groups;

    bool in_shard(std::size_t i, unsigned shard, unsigned shards) const {
        return (shard_groups.empty() ? i : shard_groups[i]) % shards == shard - 1;
    }
};

// A problem of the list as the batch shows it: "row 3, column first_year: ...".
std::string list_problem_text(const Problem& problem);

// Checks a station's file: its full name, or what is wrong with it.
using FileCheck = std::function<Result<std::string>(std::string_view file)>;

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
inline constexpr std::string_view kIntervalsName = "intervals.csv";
inline constexpr std::string_view kEditorStationsName = "wgn_stations.csv";
inline constexpr std::string_view kEditorMonthlyName = "wgn_monthly.csv";
inline constexpr std::string_view kUserwgnFullName = "userwgn.csv";
// The folder of the .wgn files under the names SWAT 2012's .sub files hold.
inline constexpr std::string_view kSwat2012Folder = "swat2012";
// The folder of wgnrain-batch --check's files.
inline constexpr std::string_view kCheckFolder = "check";

StationList read_station_list(std::string_view text, const FileCheck& check_file);

// How the station's file of `kind` is read (pcp: its own file): its
// format, its NoData value (`nodata`, where the format honours one) and the
// list's names of the columns that file holds; the own file holds every
// variable that has no file of its own.
readers::ReadOptions read_options(const Station& station, std::string_view nodata,
                                  readers::FileKind kind = readers::FileKind::pcp);

// Why `name` cannot be a station's folder on Linux and Windows alike (nor
// the name of a file the batch writes beside it, nor a cell a spreadsheet
// would take for a formula), or empty.
std::string unsafe_name_reason(std::string_view name);

}  // namespace wgn::batch
