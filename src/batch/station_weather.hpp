// A station's complete weather-generator record, made after its wgnrain run
// from the report's precipitation digits and the station's files: its own
// file, the files of its other variables (tmp_file, slr_file, hmd_file,
// wnd_file, hhr_file), its position, and a reference station to fill gaps.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "batch/record_intervals.hpp"
#include "batch/report_reader.hpp"
#include "batch/station_list.hpp"
#include "batch/station_precipitation.hpp"
#include "problem/problem.hpp"
#include "readers/station_record.hpp"
#include "weather/model_notes.hpp"
#include "weather/weather_record.hpp"

namespace wgn::batch {

struct StationWeather {
    weather::WeatherRecord record;
    // What the model will do with the numbers (model_notes.hpp), the files
    // that state another position first among the notes (position_notes.hpp).
    std::vector<weather::ModelNote> notes;
    RecordIntervals intervals;           // how sure each value is
    StationPrecipitation precipitation;  // the six values the record took
};

// `own` is the station's file as read already (a dated file), or nothing
// (a plain series, read here); the period runs from `first_year` to
// `last_year`, which for a plain series is 0: its last whole year, counted as
// wgnrain counts them (values / 365).  A problem when the station's own file
// or a file shared by the batch cannot be read, or its precipitation
// contradicts itself; a file of another variable that cannot be read
// refuses that variable only.
Result<StationWeather> station_weather(const Station& station, readers::StationRecord* own, int first_year,
                                       int last_year, const ReportFigures& figures);

}  // namespace wgn::batch
