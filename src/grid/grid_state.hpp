// What Grid::open finds, shared by the grid and the tiles read from it: the
// files, the variables and their pieces, the days, the layout, the chosen
// cells and the tiles.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "grid/cf_time.hpp"
#include "grid/grid.hpp"
#include "grid/grid_layout.hpp"
#include "grid/value_code.hpp"
#include "netcdf/netcdf_file.hpp"

namespace wgn::grid {

// One file's part of a variable.
struct Piece {
    std::size_t file = 0;
    int variable = 0;  // its id in the file
    ValueCode code;
    std::vector<long> row_of_step;  // each time step's row of the csv text; -1: dropped
};

// A variable of the csv text (or u, v of the wind), from its pieces in time order.
struct Source {
    std::string key;       // pcp tmax tmin slr rh dew wnd uas vas
    std::string variable;  // its name in the files
    std::vector<Piece> pieces;
    std::vector<int> piece_of_row;  // -1: no step on that day
};

struct Tile {
    std::size_t row = 0, rows = 1, column = 0, columns = 1;  // the rectangle
    std::size_t first_cell = 0, cell_count = 0;
};

struct GridState {
    std::vector<netcdf::File> files;
    std::vector<Source> sources;
    std::vector<Date> days;              // the csv rows
    std::vector<std::string> day_texts;  // "2001-01-31", a row each
    Layout layout;
    std::vector<GridCell> cells;
    std::vector<std::size_t> places;  // each cell's place in the layout (row x columns + column)
    std::vector<Tile> tiles;
    std::vector<std::string> notes;
    std::size_t memory_bytes = 0;  // the bound on a tile's values

    const Source* source(const std::string& key) const {
        for (const Source& found : sources) {
            if (found.key == key) return &found;
        }
        return nullptr;
    }
};

// The variables of the files, their pieces, time steps and the days
// (grid_sources.cpp).
Done find_sources(const GridChoice& choice, GridState& state);
// The layout, the chosen cells with their names and elevations, and the
// tiles (grid_cells.cpp).
Done choose_cells(const GridChoice& choice, GridState& state);

}  // namespace wgn::grid
