// The checks every reader makes of a value field.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "readers/station_record.hpp"

namespace wgn::readers {

// The station's NoData value, read once for the many fields compared with
// it.  A field marks a missing day when its number equals the value's
// ("-99.0" is "-99"); no field does when no NoData value is set.
//   NoDataMark("-99").marks("-99.0") -> true    NoDataMark("").marks("-99") -> false
class NoDataMark {
  public:
    explicit NoDataMark(std::string_view nodata);
    bool marks(std::string_view text) const;
    // The same for a field already read as a number (number_value).
    bool marks(std::optional<double> value) const { return value && marker_ && *value == *marker_; }

  private:
    std::optional<double> marker_;
};

// True when `text` is the station's NoData value: NoDataMark(nodata).marks(text).
bool is_nodata_text(std::string_view text, std::string_view nodata);

// The value of a field that must be a number, else a ProblemError at the line
// and column: 'column prcp: "12,5mm" is not a number'.
double checked_number(std::string_view text, int line, const std::string& column);
// The same for a field already read as a number: `value` is number_value(text).
double checked_number(std::optional<double> value, std::string_view text, int line, const std::string& column);

// "2001-04-31" for messages.
std::string date_text(int year, int month, int day);

// Where in a file a message is about, each part left out when not known
// (an empty name or column, a line of 0):
//   ("/d/a.csv", 12, "srad") -> "/d/a.csv, line 12, column srad"
//   ("", 12, "tmax")         -> "line 12, column tmax"
//   ("/d/a.csv", 0, "")      -> "/d/a.csv"
std::string place_text(std::string_view file, int line, std::string_view column);

}  // namespace wgn::readers
