// Reads a station file of any known format into dated daily values.
//
//   format    what the file holds
//   plain     one value per line from 1 January of `first_year`
//   csv       a header row, a date (or year, month, day) and named value columns
//   ghcnd     GHCN-Daily .dly: a month per line and element, values in tenths
//   power     a NASA POWER daily CSV with its header block
//   swat      a SWAT 2012 station file: the start date, then a value per line
//   swatplus  a SWAT+ .pcp file: title, header, position, then year, day, value
//   swat2012  a SWAT 2012 project's pcpN.pcp or tmpN.tmp: gauges side by side
//             in fixed columns, the one read chosen by `gauge`
//
// A file that cannot be read gives one message naming the file, the line and
// the column: "/d/a.csv, line 12, column date: 2001-04-31 is not a date".
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "problem/problem.hpp"
#include "readers/formats.hpp"
#include "readers/station_record.hpp"

namespace wgn::readers {

// `shown_name` is the file's name for messages, `text` its whole content;
// the problem names that file, the line and the column.
Result<StationRecord> read_station_file(std::string_view shown_name, std::string_view text, const ReadOptions& options);

// The readers, one per format; each fails with a ProblemError (problem/problem.hpp).
StationRecord read_plain(std::string_view text, const ReadOptions& options);
StationRecord read_csv(std::string_view text, const ReadOptions& options);
StationRecord read_ghcnd(std::string_view text, const ReadOptions& options);
StationRecord read_power(std::string_view text, const ReadOptions& options);
StationRecord read_swat(std::string_view text, const ReadOptions& options);
StationRecord read_swatplus(std::string_view text, const ReadOptions& options);
StationRecord read_swat2012(std::string_view text, const ReadOptions& options);

}  // namespace wgn::readers
