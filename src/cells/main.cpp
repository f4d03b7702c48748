// wgnrain-grid: the cells of daily CF NetCDF grids as a batch of stations.
// See grid_options.cpp's usage.
#include <string>
#include <vector>

#include "batch/program_name.hpp"
#include "batch/run_batch.hpp"
#include "cells/cell_stations.hpp"
#include "cells/cell_texts.hpp"
#include "cells/grid_options.hpp"
#include "grid/grid.hpp"
#include "io/platform.hpp"

namespace {

namespace platform = wgn::io::platform;

int run_grid(const wgn::cells::GridOptions& options) {
    // 1. The grid's metadata and the cells chosen; nothing is read of the values yet.
    wgn::Result<wgn::grid::Grid> grid = wgn::grid::Grid::open(options.grid);
    if (!grid) {
        platform::write_error_output("wgnrain-grid: " + grid.problem().message() + "\n");
        return 2;
    }
    std::string found;
    for (const std::string& note : grid->notes()) found.append("wgnrain-grid: ").append(note).append("\n");
    platform::write_standard_output(found);
    // 2. The cells run as the batch's stations, each tile read when its first cell runs.
    wgn::cells::CellTexts texts(*grid);
    return wgn::batch::run_stations_batch(wgn::cells::cell_stations(*grid, options, texts), options.batch);
}

}  // namespace

int main(int argc, char** argv) {
    using wgn::batch::BatchOptions;
    platform::secure_standard_streams();
    platform::keep_freed_memory();
    wgn::batch::set_program_name("wgnrain-grid");
    const std::vector<std::string> arguments = platform::program_arguments(argc, argv);
    const wgn::Result<wgn::cells::GridOptions> parsed = wgn::cells::parse_grid_options(arguments);
    if (!parsed) {
        platform::write_error_output("wgnrain-grid: " + parsed.problem().message() + " (see 'wgnrain-grid --help')\n");
        platform::end_process(2);
    }
    int status = 2;
    switch (parsed->batch.action) {
        case BatchOptions::Action::help:
            status = platform::write_standard_output(wgn::cells::grid_usage()) ? 0 : 1;
            break;
        case BatchOptions::Action::version:
            status = platform::write_standard_output("wgnrain-grid " WGNRAIN_VERSION "\n") ? 0 : 1;
            break;
        case BatchOptions::Action::run: status = run_grid(*parsed); break;
    }
    platform::end_process(static_cast<std::uint32_t>(status));
}
