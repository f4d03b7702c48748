// A whole batch: read and check the station list, run the stations a few
// at a time, write the tables.  Returns the exit status (0 all stations
// succeeded, 1 some failed, 2 a bad list or output folder).
#pragma once

#include "batch/batch_options.hpp"

namespace wgn::batch {

int run_batch(const BatchOptions& options);

}  // namespace wgn::batch
