// The files the models read, from a station's weather-generator record.
//
// weather-wgn.cli (SWAT+), a title line, then a block of 14 lines a station,
// which the model reads in free format:
//
//   fort_collins                 40.58530  -105.08440  1559.21000        30
//    tmp_max_ave   tmp_min_ave ...   wnd_ave
//       5.32000     -9.44000   ...   3.21000        (12 month lines)
//
// (the name left-justified in 25 with blanks as '_', numbers %.5f right-
// justified in 12, rain_yrs a whole number in 8, each field followed by two
// blanks).  SWAT+ Editor's import: wgn_stations.csv (id,name,lat,lon,elev,
// rain_yrs) and wgn_monthly.csv (id,wgn_id,month and the 14 values), matched
// by position.  SWAT 2012: userwgn.csv (STATION,WLATITUDE,WLONGITUDE,WELEV,
// RAIN_YRS and the 14 variables of 12 months) and the station's .wgn file: a
// title, latitude, elevation and rain_yrs lines read as (12x,f7.2), then 14
// lines of 12 values f6.2 (the PCPMM line f6.1).  The fields are those of
// model_fit.hpp, which says whether a record fits them.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "problem/problem.hpp"
#include "weather/weather_record.hpp"

namespace wgn::modelfiles {

// A station's name as the model files write it (weather-wgn.cli, the
// Editor's tables, userwgn.csv, the .wgn's title): one word to the models'
// free-format reads and the Editor's import, and at most the 50 bytes
// SWAT+ keeps of a name.  Blanks, apostrophes, quotation marks, commas,
// semicolons, slashes and control characters become '_' (the model reads
// a name up to a blank, comma, semicolon or slash, and an apostrophe or
// quotation mark opens a quoted string); a longer name is cut at 50 bytes,
// before a character whose bytes would not all fit:
//   "De Bilt" -> "De_Bilt"      "'s-Hertogenbosch" -> "_s-Hertogenbosch"
//   "Utrecht, NL" -> "Utrecht__NL"      "Zürich/Kloten" -> "Zürich_Kloten"
std::string model_name(std::string_view name);
std::string cli_title(std::string_view version);
// A station as weather-wgn.cli writes it: its name and its fields' texts,
// blanks before the number ("    40.58530"); the block is these fields.
struct CliStation {
    std::string name;
    std::array<std::string, 4> head;  // lat, lon, elev, rain_yrs
    std::array<std::array<std::string, 14>, 12> months;
};
// Of a complete record that fits the .cli (model_fit).
CliStation cli_station(std::string_view name, const weather::WeatherRecord& record);
std::string cli_block(std::string_view name, const weather::WeatherRecord& record);
// The stations of a weather-wgn.cli, each value a plain decimal; a problem
// (with its line) when the text is not one.  A block's column-name line may
// use SWAT 2012's names or be left out (cli_columns.hpp).
Result<std::vector<weather::ReferenceStation>> read_cli(std::string_view text);
// A name as find_station compares names: "De Bilt" -> "de_bilt".
std::string folded_name(std::string_view name);
// The station of that name (blanks and '_' alike, letter case ignored), or nothing.
const weather::ReferenceStation* find_station(const std::vector<weather::ReferenceStation>& stations,
                                              std::string_view name);
// Every station of that name, as find_station compares them, in the file's order.
std::vector<const weather::ReferenceStation*> stations_named(const std::vector<weather::ReferenceStation>& stations,
                                                             std::string_view name);

std::string editor_stations_header();
std::string editor_stations_row(int id, std::string_view name, const weather::WeatherRecord& record);
std::string editor_monthly_header();
// The 12 rows of a station; `first_id` is the id of its first row.
std::string editor_monthly_rows(int first_id, int station_id, const weather::WeatherRecord& record);

std::string userwgn_header();
// Every station: empty cells where a value is missing.
std::string userwgn_row(std::string_view name, const weather::WeatherRecord& record);

std::string wgn_file(std::string_view name, const weather::WeatherRecord& record, std::string_view version);

}  // namespace wgn::modelfiles
