// The checks every reader makes of a value field.
#pragma once

#include <string>
#include <string_view>

#include "readers/station_record.hpp"

namespace wgn::readers {

// True when `text` is the station's NoData value (compared as numbers:
// "-99.0" is "-99"); never when no NoData value is set.
bool is_nodata_text(std::string_view text, std::string_view nodata);

// The value of a field that must be a number, else a ProblemError at the line
// and column: 'column prcp: "12,5mm" is not a number'.
double checked_number(std::string_view text, int line, const std::string& column);

// "2001-04-31" for messages.
std::string date_text(int year, int month, int day);

// Where in a file a message is about, each part left out when not known
// (an empty name or column, a line of 0):
//   ("/d/a.csv", 12, "srad") -> "/d/a.csv, line 12, column srad"
//   ("", 12, "tmax")         -> "line 12, column tmax"
//   ("/d/a.csv", 0, "")      -> "/d/a.csv"
std::string place_text(std::string_view file, int line, std::string_view column);

}  // namespace wgn::readers
