#include "stats/month_statistics.hpp"

namespace wgn {

MonthStatistics month_statistics;

}  // namespace wgn
