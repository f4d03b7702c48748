// The cells of a grid as the batch's station texts: each cell's csv text
// made from the values of its tile when the batch asks for it.  A tile is
// read once, when the first of its cells is asked for, and let go when every
// cell of it has been released; the batch takes the cells in tile order, so
// that a tile is held only while a job still runs one of its cells: at most
// one tile more than the batch has jobs.  A tile that cannot be read refuses each of its cells with
// the reason.
#pragma once

#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>

#include "batch/station_texts.hpp"
#include "grid/grid.hpp"

namespace wgn::cells {

class CellTexts final : public batch::StationTexts {
  public:
    // A station's row is its cell's place in grid.cells(), from 1.
    explicit CellTexts(const grid::Grid& grid);

    Result<std::shared_ptr<const std::string>> text(const batch::Station& station) override;
    void release(const batch::Station& station) override;

    // How many tiles have been read so far (a tile read twice counts twice).
    std::size_t tiles_read() const;

  private:
    struct Tile {
        bool loading = true;
        std::shared_ptr<const grid::TileValues> values;  // null when it could not be read
        Problem problem;
        std::set<std::size_t> released;  // the cells let go since it was read
    };
    std::shared_ptr<Tile> tile_of(std::size_t tile);

    const grid::Grid& grid_;
    std::map<std::size_t, std::size_t> tile_cells_;  // cells per tile
    mutable std::mutex mutex_;
    std::condition_variable loaded_;
    std::map<std::size_t, std::shared_ptr<Tile>> tiles_;
    std::map<std::size_t, std::shared_ptr<const std::string>> texts_;  // by cell, until released
    std::size_t tiles_read_ = 0;
};

}  // namespace wgn::cells
