// Comma-separated text as spreadsheets write it: a header row, fields
// separated by commas, a field between quotation marks when it holds a
// comma, a quotation mark (written twice) or a line end.
//
//   station,file,note          ->  {"station", "file", "note"}
//   "De Bilt, 260",a.txt,""""  ->  {"De Bilt, 260", "a.txt", "\""}
#pragma once

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

// Reads LF or CR LF lines; a UTF-8 byte order mark at the start is skipped.
// `separator` is ',' or, as spreadsheets with a decimal comma write, ';'.
// A quotation mark never closed is a problem on the line it opens.
Result<CsvText> parse_csv(std::string_view text, char separator = ',');

// The separator of the header row (the first line): ';' when it holds more
// semicolons than commas outside quotation marks, else ','.
//   "date;prcp;tmax"  -> ';'      "date,prcp"  -> ','      "a;b,c,d" -> ','
char detect_separator(std::string_view text);

}  // namespace wgn::readers
