// The general reading of a dated station file's series, for the tests that
// hold the one-pass series against it: the file's values read
// (read_station_file), made millimetres, placed on their days
// (make_whole_years); and a series with its coverage as one text to compare.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "readers/measure_units.hpp"
#include "readers/station_record.hpp"
#include "series/whole_years.hpp"

namespace wgn::test_support {

// The coverage line, the table of missing days, the trace and threshold
// counts, then the series' text.
std::string series_text(const series::WholeYearSeries& series);

// series_text of the general reading's series of `text`, or its message.
std::string general_series(std::string_view text, const readers::ReadOptions& read,
                           std::optional<readers::Unit> pcp_unit, const series::SeriesOptions& options);

}  // namespace wgn::test_support
