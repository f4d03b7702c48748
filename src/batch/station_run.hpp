// One station of a batch: its folder, the four answers, a run of wgnrain in
// that folder, and what came of it.
//
//   OUTDIR/<station>/answers.txt   the dialogue's answers (standard input)
//                    console.txt   the run's standard output
//                    stderr.txt    its standard error
//                    run.txt       what produced the results, and how the run ended
//                    report.txt, mean_pcp.sta, totalpcp.sta   its results
//                    series.txt, coverage.csv   (a dated file) the series wgnrain
//                                  read and the missing days of each month
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "batch/record_intervals.hpp"
#include "batch/report_reader.hpp"
#include "batch/station_list.hpp"
#include "batch/station_precipitation.hpp"
#include "batch/station_status.hpp"
#include "readers/outlier_days.hpp"
#include "series/whole_years.hpp"
#include "weather/model_notes.hpp"
#include "weather/weather_record.hpp"

namespace wgn::batch {

struct StationOutcome {
    // "ok", the number of the run's failure report ("24", "M6201", "200"),
    // else how the run ended ("signal 9", "not started", "no report",
    // "bad file", "interrupted", "not written"); the batch adds "not run"
    // and "warnings" (station_status.hpp).
    StationStatus status;
    std::string report_line;    // the failure's last report line, or what went wrong
    int warnings = 0;           // warning lines on standard error
    std::string first_warning;  // the first of them
    std::optional<ReportFigures> figures;
    std::optional<series::Coverage> coverage;       // a dated file: the period and its gaps
    std::optional<weather::WeatherRecord> weather;  // the complete record, when the list asks for it
    std::vector<weather::ModelNote> model_notes;    // the changes first (model_notes.hpp)
    std::optional<RecordIntervals> intervals;       // with the complete record (record_intervals.hpp)
    // The six precipitation values the tables and model files take, when it ran well.
    std::optional<StationPrecipitation> precipitation;
    // Days made missing because their value cannot be what it says: the
    // precipitation's (within the period), then the complete record's.
    std::vector<readers::OutlierDay> outlier_days;

    bool ok() const { return status.is(StatusKind::ok); }
};

// The answers typed into the dialogue: the series (quoted, so that any name
// reads as one text), the report name, the first year and the NoData value.
std::string dialogue_answers(std::string_view series, std::string_view first_year, std::string_view nodata);

// What standard error tells of the run's end: the report number and its
// last line.
//   "runlib: severe (24): end-of-file during read, unit 10, file /d/x.txt\r\n" -> "24"
//   "\r\nrun-time error M6201: MATH\r\n- sqrt: DOMAIN error\r\n"              -> "M6201"
void read_failure(std::string_view errors, StationOutcome& outcome);

// Runs the station in its folder and, when the run ended by itself and its
// files were written, leaves the record of it (station_record.hpp)
// beginning with `key`.  Without a record (interrupted, not started, not
// written) the station runs again in the next batch.
StationOutcome run_station(const std::string& program, const std::string& output_folder, const Station& station,
                           const std::string& key, bool complete_record);

// Leaves in the station's folder only its record (run.txt, report.txt and
// coverage.csv, from which the tables, the page and a later batch read the
// station): the rest of a run's files go, for batches of 10^5 stations.
void keep_only_record(const std::string& output_folder, const Station& station);

}  // namespace wgn::batch
