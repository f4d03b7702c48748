#pragma once

#include <cstdint>

namespace wgn {

// Reads the input file named in `run_settings` (unit 10): one daily value per
// record, the first value of each record, until the end of the file or the
// first record without a readable value.  Counts the records, the NoData
// values and the whole years, fills `DailySeries` with every NoData value
// replaced by the mean of the valid values, and allocates both grids.
void read_daily_series(std::int32_t& record_count, std::int32_t& year_count, float nodata_value,
                       std::int32_t& nodata_count);

// A value is NoData when it equals `nodata_value` as a single-precision
// number; +0 equals -0, and a NaN on either side counts as equal.
bool is_nodata(float value, float nodata_value);

}  // namespace wgn
