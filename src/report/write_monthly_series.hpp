#pragma once

#include <cstdint>

namespace wgn {

// The two year-by-month tables in the working directory: mean_pcp.sta (unit
// 201, average daily precipitation of each month of each year) and
// totalpcp.sta (unit 202, monthly totals and the yearly total).  Each is
// complete and closed before the next is opened.
void write_monthly_series(std::int32_t year_count, std::int32_t first_year);

}  // namespace wgn
