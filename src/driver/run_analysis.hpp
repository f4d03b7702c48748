#pragma once

namespace wgn {

// One complete analysis: the dialogue, the daily series, the month files and
// grids, the twelve month analyses, the report and the two tables.  Every
// failure inside a stage is reported and ends the run there.
void run_analysis();

}  // namespace wgn
