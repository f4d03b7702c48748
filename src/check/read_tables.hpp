// The weather-generator tables named on the command line, into one table:
//
//   weather-wgn.cli      SWAT+ (any Editor version: modelfiles::read_cli)
//   userwgn.csv          SWAT 2012's table: STATION,WLATITUDE,WLONGITUDE,WELEV,RAIN_YRS,TMPMX1 ... WNDAV12,
//                        the columns by name, any case; an empty cell is a value the table lacks
//   wgn_stations.csv     SWAT+ Editor's pair (read_editor.hpp), named by either table, the other
//   wgn_monthly.csv      beside it under its usual name; the pair read once when both are named
//   STATION.wgn          SWAT 2012's station file (read_wgn.hpp)
//   a folder             a wgnrain-batch output folder: its weather-wgn.cli, each station with
//                        its record from the folder's intervals.csv and summary.csv where the
//                        batch wrote them (batch_record.hpp)
//   an SQLite database   (its first 16 bytes) the table pair `database_table`, `database_table`_mon
//                        in the Editor's layout (modelfiles/wgn_database.hpp)
//
// A file that is none of these, or cannot be read, is a problem with the
// file, the line and what was expected there:
//   "/d/userwgn.csv, line 3, column PCPMM7: \"x\" is not a number"
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "check/check_table.hpp"
#include "problem/problem.hpp"

namespace wgn::check {

// The stations of one table's text; `shown` names it in problems and in the table.
Result<CheckTable> read_table_text(std::string_view shown, std::string_view text);
// The stations of every table named, in order.
Result<CheckTable> read_tables(const std::vector<std::string>& names, std::string_view database_table);

}  // namespace wgn::check
