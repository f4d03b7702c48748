// A table with a header row and one row per day, as spreadsheets and NASA
// POWER write it: the day in one date column or in year, month and day (or
// day-of-year) columns, values in named columns.
//
//   date,prcp            YEAR,MO,DY,PRECTOTCORR      year;doy;rain
//   2001-01-01,0.5       1991,1,1,0.12               2001;1;0,5
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "readers/csv.hpp"
#include "readers/station_record.hpp"
#include "readers/value_checks.hpp"

namespace wgn::readers {

struct DatedTable {
    CsvCells cells;                              // views into the text parsed, which must outlive the table
    std::vector<std::string_view> header;        // the header row's cells
    int header_line = 1;                         // the line of the header row in the text parsed
    std::size_t first_row = 1;                   // the first row of values in `cells`, after the header
    std::vector<CsvRow> notes;                   // the rows before the header row, if any
    char separator = ',';                        // ';' also means a decimal comma in the values
    int first_line = 1;                          // the line of the file on which the table starts
    std::string date_column;                     // the date's column as the station names it; empty: found by its name
    Settings settings = Settings::station_list;  // who names it, for messages
    // Each row's day, once one column has been read through: the other
    // columns take the days from here instead of reading every date again.
    mutable std::vector<std::int32_t> row_days;
    std::size_t value_rows() const { return cells.rows() - first_row; }
};

// A column a reader will read, asked for as find_column is: by one of
// `names`, or by the name `wanted` when that is given.
struct ColumnAsked {
    std::vector<std::string_view> names;
    std::string_view wanted;
};

// The column of `variable` as find_column asks for it: by the station's
// name for it (ReadOptions::columns), else by the variable's known names.
ColumnAsked column_asked(const VariableFacts& variable, const ReadOptions& options);

// Parses `text` (the table alone), which the table then views; a text that
// is not a table throws.
// `date_column` names the date's column where the table's own name for it
// is not one of the known ones.  `asked`, when given, are the only columns
// that will be read: the value rows keep the cells up to the last of them
// and of the date's columns, and count the others (CellsKept).
DatedTable parse_dated_table(std::string_view text, int first_line, std::string_view date_column = {},
                             Settings settings = Settings::station_list, std::span<const ColumnAsked> asked = {});

// The table's column names for a message, as many as fit a line:
//   header "date,prcp,tmax" -> "date, prcp, tmax"
std::string column_names(const DatedTable& table);

// The column whose name (without regard to case) is `wanted` if given, else
// one of `names`; nothing when there is none; a ProblemError when several match.
//   names {"prcp", "rain"}, header "date,PRCP,tmax" -> 1
// `what` names the variable and `setting` the station list's name of the
// setting that names its column, for messages.
std::optional<std::size_t> find_column(const DatedTable& table, const std::vector<std::string_view>& names,
                                       std::string_view wanted, std::string_view what, std::string_view setting);

// The column that gives each row's date whole, as read_dated_column reads
// it; nothing when year, month and day (or day-of-year) columns give it; a
// ProblemError when the table has neither.
//   header "date,prcp" -> 0      header "year,month,day,prcp" -> nothing
std::optional<std::size_t> date_column_of(const DatedTable& table);

// Whether the dates of `date_column` that end in their year put the day
// before the month: a day above 12 somewhere tells; a column that tells both
// ways, or never, fails (a date that starts with its year tells nothing).
//   "13/01/2001", "02/01/2001" -> true     "01/13/2001" -> false
//   "01/02/2001" alone -> ProblemError     "2001-01-13" alone -> false
bool day_comes_first(const DatedTable& table, std::size_t date_column);

// The values of column `column` on their days.  A missing day is a
// missing-day marker (cell_kind) or a number that `nodata` marks;
// `ordered`: the days must rise from row to row; `traces`: the column holds
// precipitation, whose trace T is 0.
std::vector<DailyValue> read_dated_column(const DatedTable& table, std::size_t column, const NoDataMark& nodata,
                                          bool ordered, bool traces);

}  // namespace wgn::readers
