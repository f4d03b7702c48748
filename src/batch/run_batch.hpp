// A whole batch: read and check the station list, run the stations a few
// at a time, write the tables.  Returns the exit status (0 all stations
// succeeded, 1 some failed, 2 a bad list or output folder).
#pragma once

#include "batch/batch_options.hpp"
#include "batch/station_list.hpp"

namespace wgn::batch {

int run_batch(const BatchOptions& options);

// A batch of stations that come from elsewhere than a list file (a grid's
// cells, their texts held in memory): the same steps, with the problems of
// `list` (and of its folders) shown as a list's, and then nothing runs.
int run_stations_batch(StationList list, const BatchOptions& options);

}  // namespace wgn::batch
