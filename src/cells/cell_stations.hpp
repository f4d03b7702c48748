// The cells of a grid as a batch's station list: every cell a dated csv
// station whose text the grid gives (cell_texts.hpp), with its position, and
// the cells of one tile in one shard, so that a shard reads only its tiles.
//
//   cell 52.125N_5.250E of era5.nc, tile 3  ->  {.row = 1, .name = "52.125N_5.250E", .file = "era5.nc",
//                                               .input_name = "era5.nc cell 52.125N_5.250E", .format = csv,
//                                               .weather.lat = "52.125", ...}, shard group 3
#pragma once

#include <string>

#include "batch/station_list.hpp"
#include "cells/grid_options.hpp"
#include "grid/grid.hpp"

namespace wgn::cells {

batch::StationList cell_stations(const grid::Grid& grid, const GridOptions& options, batch::StationTexts& texts);

}  // namespace wgn::cells
