#include "cells/cell_texts.hpp"

#include <utility>

#include "batch/station_list.hpp"

namespace wgn::cells {

CellTexts::CellTexts(const grid::Grid& grid) : grid_(grid) {
    for (const grid::GridCell& cell : grid.cells()) ++tile_cells_[cell.tile];
}

std::size_t CellTexts::tiles_read() const {
    const std::lock_guard<std::mutex> guard(mutex_);
    return tiles_read_;
}

std::shared_ptr<CellTexts::Tile> CellTexts::tile_of(std::size_t number) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (const auto found = tiles_.find(number); found != tiles_.end()) {
        std::shared_ptr<Tile> tile = found->second;
        loaded_.wait(lock, [&] { return !tile->loading; });
        return tile;
    }
    auto tile = std::make_shared<Tile>();
    tiles_[number] = tile;
    ++tiles_read_;
    lock.unlock();
    // Read without the lock: the other threads go on with the cells of tiles held.
    Result<grid::TileValues> values = grid_.read_tile(number);
    lock.lock();
    if (values) {
        tile->values = std::make_shared<const grid::TileValues>(std::move(*values));
    } else {
        tile->problem = values.problem();
    }
    tile->loading = false;
    loaded_.notify_all();
    return tile;
}

Result<std::shared_ptr<const std::string>> CellTexts::text(const batch::Station& station) {
    const std::size_t cell = static_cast<std::size_t>(station.row) - 1;
    {
        const std::lock_guard<std::mutex> guard(mutex_);
        if (const auto found = texts_.find(cell); found != texts_.end()) return found->second;
    }
    const std::shared_ptr<Tile> tile = tile_of(grid_.cells()[cell].tile);
    if (!tile->values) return tile->problem;
    if (tile->values->all_missing(cell)) {
        return problem_text(
            "every day's precipitation of the cell is missing (sea in a land-only grid? choose the cells with "
            "--mask)");
    }
    auto text = std::make_shared<const std::string>(tile->values->csv_text(cell));
    const std::lock_guard<std::mutex> guard(mutex_);
    texts_[cell] = text;
    return text;
}

void CellTexts::release(const batch::Station& station) {
    const std::size_t cell = static_cast<std::size_t>(station.row) - 1;
    const std::size_t number = grid_.cells()[cell].tile;
    const std::lock_guard<std::mutex> guard(mutex_);
    texts_.erase(cell);
    const auto found = tiles_.find(number);
    if (found == tiles_.end() || found->second->loading) return;
    found->second->released.insert(cell);
    if (found->second->released.size() == tile_cells_[number]) tiles_.erase(found);
}

}  // namespace wgn::cells
