// Comma-separated text as spreadsheets write it: a header row, fields
// separated by commas, a field between quotation marks when it holds a
// comma, a quotation mark (written twice) or a line end.
//
//   station,file,note          ->  {"station", "file", "note"}
//   "De Bilt, 260",a.txt,""""  ->  {"De Bilt, 260", "a.txt", "\""}
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "problem/problem.hpp"

namespace wgn::readers {

struct CsvRow {
    int line = 0;  // the line on which the row starts, counting from 1
    std::vector<std::string> fields;
};

struct CsvText {
    std::vector<CsvRow> rows;  // rows of blanks only are left out
};

// The same rows as cells seen in place: each cell a view into the text read,
// or, where quotation marks make the cell differ from what the file wrote,
// into the table's own copy of it.  The text must outlive the table.  A
// station's file of 11,000 rows reads without a string or a vector per row.
struct CsvCells {
    std::vector<std::string_view> cells;    // row by row
    std::vector<std::size_t> starts = {0};  // row r's cells: [starts[r], starts[r + 1])
    std::vector<int> lines;                 // the line on which each row starts
    std::deque<std::string> unquoted;       // the quoted cells as read (a deque keeps their places)
    // Each row's number of fields, where rows keep only their leading cells
    // (see CellsKept); empty when every row keeps all its cells.
    std::vector<std::size_t> widths;
    std::size_t kept = static_cast<std::size_t>(-1);  // the leading cells every row keeps at least (when it has them)
    std::size_t rows() const { return lines.size(); }
    std::size_t fields(std::size_t r) const { return widths.empty() ? starts[r + 1] - starts[r] : widths[r]; }
    std::span<const std::string_view> row(std::size_t r) const {
        return std::span<const std::string_view>(cells).subspan(starts[r], starts[r + 1] - starts[r]);
    }
};

// Reads LF or CR LF lines; a UTF-8 byte order mark at the start is skipped.
// `separator` is ',' or, as spreadsheets with a decimal comma write, ';'.
// A quotation mark never closed is a problem on the line it opens.
Result<CsvText> parse_csv(std::string_view text, char separator = ',');
Result<CsvCells> parse_csv_cells(std::string_view text, char separator = ',');

// How many leading cells of each row to keep, asked after each row while it
// answers nothing (every row so far kept whole, the last one just read); its
// answer holds for every later row, whose other cells are counted in
// `widths` and not kept.  A reader that needs two columns of eight does not
// make the other six cells of every row.  A row with a quotation mark, and
// a row whose kept cells are blank (a blank row is left out only when all
// its cells are), keeps all its cells.
using CellsKept = std::function<std::optional<std::size_t>(const CsvCells& so_far)>;
Result<CsvCells> parse_csv_cells(std::string_view text, char separator, const CellsKept& kept);

// The separator of the header row (the first line): ';' when it holds more
// semicolons than commas outside quotation marks, else ','.
//   "date;prcp;tmax"  -> ';'      "date,prcp"  -> ','      "a;b,c,d" -> ','
char detect_separator(std::string_view text);

}  // namespace wgn::readers
