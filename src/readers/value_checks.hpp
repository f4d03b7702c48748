// The checks every reader makes of a value field.
#pragma once

#include <cstdint>
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
    bool marks(std::optional<double> value) const { return value && marks_number(*value); }
    bool marks_number(double value) const { return marker_ && value == *marker_; }

  private:
    std::optional<double> marker_;
};

// What a cell of a dated station file says beyond a number: the markers
// spreadsheets, R, pandas and weather services write for a day without a
// value, and the trace of rain too small to measure.
//   cell_kind("") , ("NA"), ("N/A"), ("NaN"), ("null"), ("-"), ("--"), ("M") -> missing
//   cell_kind("T") -> trace        cell_kind("12.5"), ("x") -> other
// (Letters without regard to case.)
enum class CellKind : std::uint8_t { other, missing, trace };
CellKind cell_kind(std::string_view cell);

// The text a trace of precipitation is read as.
inline constexpr std::string_view kTraceText = "0.0";

// True when `text` is the station's NoData value: NoDataMark(nodata).marks(text).
bool is_nodata_text(std::string_view text, std::string_view nodata);

// The value of a field that must be a number, else a ProblemError at the line
// and column: 'column prcp: "12,5mm" is not a number'.
double checked_number(std::string_view text, int line, const std::string& column);
// The same for a field already read as a number: `value` is number_value(text).
double checked_number(std::optional<double> value, std::string_view text, int line, const std::string& column);
// The same for a text that `read` says read_number read as `value`.
double checked_number(bool read, double value, std::string_view text, int line, const std::string& column);

// The number of a cell in value column `column` (counted from 1) of a file
// holding `variable` in it.  A cell that is no number fails the file where
// the variable is precipitation, the point of the file; any other variable
// is refused alone (into record.refused) and its cells from then on give
// nothing, as does the bad one: one odd cell of temperature never costs the
// precipitation.  The reader erases a refused variable's values at its end.
std::optional<double> column_number(std::string_view cell, int line, std::size_t column, Variable variable,
                                    StationRecord& record);
// Erases the values of the variables the reader refused.
void drop_refused(StationRecord& record);

// "2001-04-31" for messages.
std::string date_text(int year, int month, int day);

// Where in a file a message is about, each part left out when not known
// (an empty name or column, a line of 0):
//   ("/d/a.csv", 12, "srad") -> "/d/a.csv, line 12, column srad"
//   ("", 12, "tmax")         -> "line 12, column tmax"
//   ("/d/a.csv", 0, "")      -> "/d/a.csv"
std::string place_text(std::string_view file, int line, std::string_view column);

}  // namespace wgn::readers
