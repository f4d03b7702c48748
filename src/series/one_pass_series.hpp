// The series of a dated csv file made in one pass over its text, for the
// file as almost every one is written: a header row on the first line with
// a date column and a precipitation column; then a row a day, its date
// YYYY-MM-DD rising, its precipitation a plain decimal of millimetres from 0
// to below 2000, the NoData value or a missing-day marker (empty, NA, ...).
// No cell is kept and no value made: each day's line of the series is
// written as its row is read, and the period is cut from the whole years
// written.
//
// Anything else (a quotation mark, another date's writing, a day out of
// order or twice, a unit, a trace T, a wet-day threshold, a period the
// record does not hold, amounts that read as tenths of mm or as inches
// (precipitation_values.hpp), ...) answers nothing, and the general reading makes
// the series or says what is wrong; where this answers, it answers what the
// general reading does, byte for byte.
//
//   date,prcp,tmax          -> "0.5\r\n-99\r\n..." (1 January to 31 December)
//   1991-01-01,0.5,7.7
//   1991-01-02,,7.0
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string_view>

#include "readers/measure_units.hpp"
#include "readers/station_record.hpp"
#include "series/whole_years.hpp"

namespace wgn::series {

// The file's lines one at a time, each without its LF (io::FileLines):
// false at the end.
using NextLine = std::function<bool(std::string_view& line)>;

// The series of the file whose lines `next_line` gives (`file_size` bytes,
// a hint); `read` and `series` as the general reading takes them;
// `pcp_unit`, the unit the command line states.
std::optional<WholeYearSeries> one_pass_series(const NextLine& next_line, std::size_t file_size,
                                               const readers::ReadOptions& read, std::optional<readers::Unit> pcp_unit,
                                               const SeriesOptions& series);
// The same of a text held whole.
std::optional<WholeYearSeries> one_pass_series(std::string_view text, const readers::ReadOptions& read,
                                               std::optional<readers::Unit> pcp_unit, const SeriesOptions& series);

}  // namespace wgn::series
