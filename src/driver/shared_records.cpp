#include "driver/shared_records.hpp"

namespace wgn {

RunSettings run_settings;
SeriesCounts series_counts;
std::vector<float> DailySeries;
MonthlyGrid MonthlyMeanGrid;
MonthlyGrid MonthlyTotalGrid;

void MonthlyGrid::allocate(std::int32_t years) {
    years_ = years > 0 ? years : 0;  // a negative extent is taken as 0
    cells_.assign(static_cast<std::size_t>(years_) * 12, 0.0F);
}

void MonthlyGrid::release() {
    years_ = 0;
    cells_ = std::vector<float>();
}

}  // namespace wgn
