// Daily CF NetCDF grids as station files: each chosen cell of the grid
// becomes the text of a csv station file holding its daily values in the
// weather generator's units, which the batch's csv reader reads as it reads
// any station's file.
//
//   GridChoice choice{.files = {"/d/era5_2001.nc", "/d/era5_2002.nc"}};
//   Result<Grid> grid = Grid::open(choice);        // metadata only; the cells chosen
//   grid->cells()[0]  -> {"52.125N_5.250E", "52.125", "5.25", "", tile 0}
//   grid->notes()     -> {"pcp: tp in era5_2001.nc, era5_2002.nc, m (x 1000)", "calendar: standard", ...}
//   Result<TileValues> values = grid->read_tile(0);
//   values->csv_text(0) ->
//       date,pcp,tmax,tmin
//       2001-01-01,1.2,3.5,-0.25
//       2001-01-02,,4.1,0.5                   (an empty cell: a missing value)
//
// Tiles are rectangles of the grid (runs of stations) shaped by the
// precipitation's chunks (bands of whole chunk rows where they fit), numbered
// row-major, so that a shard of tiles reads only its part of the files.
//
// Memory: a tile holds its cells' values, cells x days x variables x 8
// bytes, at most `memory_bytes` (a tile has at least one cell), and reads
// them through one buffer of at most memory_bytes / 16 (or one time step of
// the tile's rectangle, when that is larger), with HDF5's chunk cache at 4 MB
// a variable: about 1.1 x memory_bytes in all, whatever the number of days
// (more days: fewer cells a tile).  wgnrain-grid holds at most one tile more
// than it has jobs: with -j 2 and the default 64 MB, some 220 MB.
#pragma once

#include <array>
#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "problem/problem.hpp"

namespace wgn::grid {

struct GridChoice {
    std::vector<std::string> files;                     // the NetCDF files, any order
    std::map<std::string, std::string> variable_names;  // "pcp" -> "tp" (keys: pcp tmax tmin slr rh dew wnd uas vas)
    std::optional<std::array<double, 4>> bbox;          // lat_min, lat_max, lon_min, lon_max (degrees)
    std::string points_file;                            // csv: name,lat,lon[,elev]
    std::string mask;                                   // "VAR" (in the grid files) or "FILE:VAR"
    std::string elevation;                              // "VAR" or "FILE:VAR"
    std::size_t memory_bytes = 64u << 20;               // bound on the values of a tile
};

struct GridCell {
    std::string name;                            // the station's name
    std::string latitude, longitude, elevation;  // decimal texts; elevation empty when unknown
    std::size_t tile = 0;                        // the tile it is read with
};

struct GridState;
class TileValues;

class Grid {
  public:
    static Result<Grid> open(const GridChoice& choice);
    // Ordered by tile, then row-major (points: in the order of their cells).
    const std::vector<GridCell>& cells() const;
    std::size_t tiles() const;
    // What was found, a line each, for the console.
    std::vector<std::string> notes() const;
    // Whether the cells' texts have the variable (pcp tmax tmin slr rh dew wnd).
    bool has_variable(const std::string& key) const;
    // Every cell of the tile, every day, every variable.
    Result<TileValues> read_tile(std::size_t tile) const;

  private:
    explicit Grid(std::shared_ptr<const GridState> state) : state_(std::move(state)) {}
    std::shared_ptr<const GridState> state_;
};

class TileValues {
  public:
    // The cell's csv station text (cell: an index into Grid::cells(), of this tile):
    // "date,pcp[,tmax][,tmin][,slr][,dew|rh][,wnd]", then a row per day with a time step.
    std::string csv_text(std::size_t cell) const;
    // Whether every precipitation value of the cell is missing (sea in a
    // land-only grid): no station to make.
    bool all_missing(std::size_t cell) const;
    std::size_t first_cell() const { return first_; }
    std::size_t cell_count() const { return count_; }

  private:
    friend class Grid;
    std::shared_ptr<const GridState> state_;
    std::size_t first_ = 0, count_ = 0;
    // [source][cell - first][row]: the stored value, NaN when missing.
    std::vector<std::vector<std::vector<double>>> values_;
};

}  // namespace wgn::grid
