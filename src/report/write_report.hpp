#pragma once

#include <cstdint>

namespace wgn {

// The statistics report (unit 400, the output file of the dialogue): period
// and counts of the series, the six parameters of the twelve months, their
// legend.  The unit stays connected until the end of the run.
void write_report(std::int32_t year_count, std::int32_t first_year, std::int32_t leap_year_count,
                  std::int32_t record_count, std::int32_t nodata_count);

}  // namespace wgn
