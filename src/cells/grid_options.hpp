// The command line of wgnrain-grid: the grid's files and how its cells are
// chosen, then the batch's own options (-o, -j, --shard, --merge, --sqlite,
// ...), which mean for the cells what they mean for a list's stations.
//
//   wgnrain-grid era5.nc -o out                    -> every cell of era5.nc, into out
//   wgnrain-grid pr.nc tasmax.nc tasmin.nc -o out --bbox 50,54,3,8
//                                                  -> the cells between 50 and 54 N, 3 and 8 E
//   wgnrain-grid g.nc -o out --var pcp=tp          -> precipitation from the variable tp
//   wgnrain-grid g.nc                              -> problem: "no output folder (-o OUTDIR)"
#pragma once

#include <span>
#include <string>
#include <vector>

#include "batch/batch_options.hpp"
#include "grid/grid.hpp"
#include "problem/problem.hpp"

namespace wgn::cells {

struct GridOptions {
    grid::GridChoice grid;
    batch::BatchOptions batch;          // its action also says --help and --version
    std::string first_year, last_year;  // bounds of every cell's period, as given; empty: the record's own
};

// The options, or why the command line is refused.
Result<GridOptions> parse_grid_options(std::span<const std::string> arguments);

// The help as this system shows it.
std::string grid_usage();

}  // namespace wgn::cells
