// The record a finished station leaves in its folder (run.txt): what
// produced its results and how the run ended.  A later batch reuses the
// results while the record's first lines still describe the station as the
// list and its file are now; the tables are made from these records.
//
//   wgnrain-batch station record
//   version: 1.0.0
//   settings: format=csv first_year= last_year=2020 nodata=-99 pcp_column=
//   file: /data/ftc.csv
//   size: 402113
//   modified: 1733640000123456789
//   hash: 5f0c2d9e1a7b3c44                  (FNV-1a, 64 bits, of the file's bytes)
//   exit: 0
//   status: ok
//   report_line:
//   warnings: 1
//   first_warning: runlib: warning: ...
//   period: 1991-2020 ...                   (a dated file: its coverage)
//   outlier_days: pcp 2001-02-08 2540       (days made missing, where there are any)
//   lat: 52.1 ...                           (a complete record: its position, ...)
//   model_changes: pcp_days: ... | ...      (its model notes by kind, model_notes.hpp)
//   model_notes: dew_ave: ...
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "batch/station_list.hpp"
#include "batch/station_run.hpp"

namespace wgn::batch {

inline constexpr std::string_view kRecordName = "run.txt";

// The first lines of a record: the station as the list names it and its
// file as it is now; empty when the file cannot be read.
std::string station_key(const Station& station);

// The whole record of a finished run.
std::string record_text(std::string_view key, std::string_view exit, const StationOutcome& outcome);

// The outcome a record tells, when it begins with `key` (any key when
// `key` is empty); the figures are read from the station's report.  Nothing
// when the record is missing, stale or incomplete: the station has to run
// (again).
std::optional<StationOutcome> recorded_outcome(std::string_view folder, std::string_view key);

// 64-bit FNV-1a of the bytes, as 16 hexadecimal digits.
std::string content_hash(std::string_view bytes);

}  // namespace wgn::batch
