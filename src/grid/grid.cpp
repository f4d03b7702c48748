// Grid::open, the tiles' reading, and each cell's csv station text (grid.hpp).
#include "grid/grid.hpp"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <unordered_map>

#include "grid/grid_state.hpp"

namespace wgn::grid {
namespace {

// The csv columns in the order the text writes them; wnd from wnd, or from
// uas and vas.
constexpr const char* kColumns[] = {"pcp", "tmax", "tmin", "slr", "dew", "rh", "wnd"};

// The wind speed of a day from its u and v texts, in double, as its
// shortest text: sqrt(u^2 + v^2).
std::string speed_text(const Decimal& u, const Decimal& v) {
    // strtod: the nearest double, also for a value below the smallest normal one.
    const double east = std::strtod(plain_text(u).c_str(), nullptr);
    const double north = std::strtod(plain_text(v).c_str(), nullptr);
    const double speed = std::sqrt(east * east + north * north);
    return plain_text(*decimal(shortest_text(speed)));
}

}  // namespace

Result<Grid> Grid::open(const GridChoice& choice) {
    auto state = std::make_shared<GridState>();
    state->memory_bytes = choice.memory_bytes;
    if (choice.files.empty()) return problem_text("no grid file");
    for (const std::string& path : choice.files) {
        Result<netcdf::File> file = netcdf::File::open(path);
        if (!file) return file.problem();
        state->files.push_back(std::move(*file));
    }
    if (Done found = find_sources(choice, *state); !found) return found.problem();
    if (Done chosen = choose_cells(choice, *state); !chosen) return chosen.problem();
    return Grid(std::move(state));
}

const std::vector<GridCell>& Grid::cells() const {
    return state_->cells;
}
std::size_t Grid::tiles() const {
    return state_->tiles.size();
}
std::vector<std::string> Grid::notes() const {
    return state_->notes;
}
bool Grid::has_variable(const std::string& key) const {
    return state_->source(key) != nullptr;
}

Result<TileValues> Grid::read_tile(std::size_t tile) const {
    if (tile >= state_->tiles.size()) return problem_text("no tile " + std::to_string(tile));
    const Tile& rectangle = state_->tiles[tile];
    const Layout& layout = state_->layout;
    TileValues values;
    values.state_ = state_;
    values.first_ = rectangle.first_cell;
    values.count_ = rectangle.cell_count;
    const std::size_t days = state_->days.size();
    // Built a series at a time: no copy of a whole source's values at once.
    values.values_.resize(state_->sources.size());
    for (std::vector<std::vector<double>>& source : values.values_) {
        source.reserve(values.count_);
        for (std::size_t c = 0; c < values.count_; ++c) source.emplace_back(days, std::nan(""));
    }
    const std::size_t area = rectangle.rows * rectangle.columns;
    // A read of whole time steps of the rectangle, a sixteenth of the bound at most.
    const std::size_t steps_per_read = std::max<std::size_t>(1, state_->memory_bytes / 16 / (area * sizeof(double)));
    std::vector<double> buffer;
    for (std::size_t s = 0; s < state_->sources.size(); ++s) {
        const Source& source = state_->sources[s];
        for (const Piece& piece : source.pieces) {
            const netcdf::File& file = state_->files[piece.file];
            const netcdf::Variable& variable = file.variables()[static_cast<std::size_t>(piece.variable)];
            const std::size_t steps = piece.row_of_step.size();
            for (std::size_t from = 0; from < steps; from += steps_per_read) {
                const std::size_t count = std::min(steps_per_read, steps - from);
                buffer.resize(count * area);
                std::vector<std::size_t> start{from}, extent{count};
                if (!layout.stations) {
                    start.push_back(rectangle.row);
                    extent.push_back(rectangle.rows);
                }
                start.push_back(rectangle.column);
                extent.push_back(rectangle.columns);
                if (Done read = file.read(variable, start, extent, buffer.data()); !read) return read.problem();
                for (std::size_t c = 0; c < values.count_; ++c) {
                    const std::size_t place = state_->places[values.first_ + c];
                    const std::size_t row = place / layout.columns - rectangle.row;
                    const std::size_t column = place % layout.columns - rectangle.column;
                    std::vector<double>& series = values.values_[s][c];
                    for (std::size_t t = 0; t < count; ++t) {
                        const long day = piece.row_of_step[from + t];
                        if (day < 0) continue;
                        const double stored = buffer[t * area + row * rectangle.columns + column];
                        series[static_cast<std::size_t>(day)] = piece.code.is_missing(stored) ? std::nan("") : stored;
                    }
                }
            }
        }
    }
    return values;
}

bool TileValues::all_missing(std::size_t cell) const {
    for (std::size_t s = 0; s < state_->sources.size(); ++s) {
        if (state_->sources[s].key != "pcp") continue;
        for (const double stored : values_[s][cell - first_]) {
            if (!std::isnan(stored)) return false;
        }
    }
    return true;
}

std::string TileValues::csv_text(std::size_t cell) const {
    const GridState& state = *state_;
    const std::size_t local = cell - first_;
    // The sources of each column, in the text's order.
    struct Column {
        std::string name;
        std::vector<std::size_t> sources;  // one, or u and v
        // The last value's stored numbers, piece and text: a dry spell's
        // zeros are written once and copied.
        double last[2] = {std::nan(""), std::nan("")};
        int last_piece[2] = {-1, -1};
        std::string last_text;
        // A column of one source: the text of each stored number met
        // before in the piece of `known_piece`, by the number's bits (-0
        // apart from 0).  A cell's days repeat their values (a temperature
        // of a tenth of a degree, a packed short), and making a text from
        // a stored number costs its exact decimal's arithmetic.
        int known_piece = -2;
        std::unordered_map<std::uint64_t, std::string> known;
    };
    std::vector<Column> columns;
    for (const char* name : kColumns) {
        Column column;
        column.name = name;
        for (std::size_t s = 0; s < state.sources.size(); ++s) {
            const std::string& key = state.sources[s].key;
            if (key == name || (std::string(name) == "wnd" && (key == "uas" || key == "vas")))
                column.sources.push_back(s);
        }
        if (!column.sources.empty()) columns.push_back(column);
    }
    std::string text;
    text.reserve(state.days.size() * (12 + 10 * columns.size()));
    text = "date";
    for (const Column& column : columns) text.append(",").append(column.name);
    text.push_back('\n');
    const auto value_of = [&](std::size_t s, std::size_t row) -> std::optional<Decimal> {
        const Source& source = state.sources[s];
        const double stored = values_[s][local][row];
        if (std::isnan(stored) || source.piece_of_row[row] < 0) return std::nullopt;
        return source.pieces[static_cast<std::size_t>(source.piece_of_row[row])].code.value(stored);
    };
    for (std::size_t row = 0; row < state.days.size(); ++row) {
        text.append(state.day_texts[row]);
        for (Column& column : columns) {
            text.push_back(',');
            const std::size_t first = column.sources[0];
            const double stored = values_[first][local][row];
            const double other = column.sources.size() == 1 ? 0.0 : values_[column.sources[1]][local][row];
            const int piece = state.sources[first].piece_of_row[row];
            const int other_piece = column.sources.size() == 1 ? 0 : state.sources[column.sources[1]].piece_of_row[row];
            if (std::isnan(stored) || std::isnan(other)) continue;
            // The same stored numbers (and their sign: -0 is not 0's text) of the same piece: the same text.
            if (piece == column.last_piece[0] && other_piece == column.last_piece[1] && stored == column.last[0] &&
                other == column.last[1] && std::signbit(stored) == std::signbit(column.last[0]) &&
                std::signbit(other) == std::signbit(column.last[1])) {
                text.append(column.last_text);
                continue;
            }
            column.last_text.clear();
            if (column.sources.size() == 1) {
                if (piece != column.known_piece) {
                    column.known.clear();
                    column.known_piece = piece;
                }
                const auto [known, added] = column.known.try_emplace(std::bit_cast<std::uint64_t>(stored));
                if (added) {
                    if (const auto value = value_of(first, row)) known->second = plain_text(*value);
                }
                column.last_text = known->second;
            } else {
                const auto u = value_of(first, row);
                const auto v = value_of(column.sources[1], row);
                if (u && v) column.last_text = speed_text(*u, *v);
            }
            column.last[0] = stored;
            column.last[1] = other;
            column.last_piece[0] = piece;
            column.last_piece[1] = other_piece;
            text.append(column.last_text);
        }
        text.push_back('\n');
    }
    return text;
}

}  // namespace wgn::grid
