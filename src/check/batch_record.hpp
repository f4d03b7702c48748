// What a wgnrain-batch output folder says of the record each station of its
// weather-wgn.cli was made from, by the station's name in the model files:
//
//   intervals.csv   station,month,variable,value,low,high: the record's value
//                   of every month and column with its 90 % interval
//   summary.csv     its interval_notes column: a record shorter than 20
//                   years, months whose interval is wider than the value
//
// A row of a station the table does not hold is left alone; a month or a
// variable that is none is a problem on its line.
//
//   example,7,pcp_ave,67.88,57.54,78.39   ->  records["example"].values[6][kPcpAve]
#pragma once

#include <string_view>

#include "check/check_table.hpp"
#include "problem/problem.hpp"

namespace wgn::check {

Result<BatchRecords> read_record_intervals(std::string_view shown, std::string_view text);
// Adds the notes of summary.csv's interval_notes column to the records read; a
// summary without the column (an older batch) adds none.
void add_interval_notes(std::string_view summary_text, BatchRecords& records);

}  // namespace wgn::check
