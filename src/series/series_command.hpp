// wgnrain-series: one station file of any known format made into the series
// wgnrain reads, with the answers to give wgnrain on standard output.
//
//   wgnrain-series USC00053005.dly --format ghcnd -o ftc.txt
//     ftc.txt            one value per line, 1 January 1900 ... 31 December 1999, -99 where missing
//     standard output    "/home/me/ftc.txt"            (the four answers of wgnrain's dialogue,
//                        "/home/me/ftc-report.txt"      so the output can be piped into it)
//                        1900
//                        -99
//     standard error     wgnrain-series: 1900-1999: 36524 days, 12 missing (0.0 %), 3 flagged
#pragma once

#include <span>
#include <string>

namespace wgn::series {

// Runs the command and gives the exit status: 0 written, 1 the file could not
// be read or the series not written, 2 a bad command line.
int run_series_command(std::span<const std::string> arguments);

extern const char* const kSeriesUsage;

}  // namespace wgn::series
