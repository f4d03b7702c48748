// The cells a grid run takes: all, those in a bounding box, those a mask
// takes (its value at least 0.5), or the nearest of each point of a list;
// their names, positions and elevations; and the tiles they are read in.
//
//   cell at 52.125, 5.25      -> "52.125N_5.250E"     at -33.875, 151  -> "33.875S_151.000E"
//   cell at 10, 355.5         -> "10.000N_4.500W"     (longitudes as -180..180)
//   a second cell of one name -> "..._2", then "..._3"
//   point "De Bilt,52.1,5.18" -> the nearest cell, named De Bilt, at 52.1, 5.18
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <limits>
#include <map>
#include <sstream>

#include "batch/nearest_station.hpp"
#include "batch/station_list.hpp"
#include "grid/grid_state.hpp"
#include "readers/csv.hpp"

namespace wgn::grid {
namespace {

// "|lat| to 3 decimals N|S _ |lon| to 3 decimals E|W", the longitude as -180..180.
std::string position_name(const Decimal& latitude, Decimal longitude) {
    if (compare(longitude, *decimal("180")) > 0) longitude = longitude + *decimal("-360");
    if (compare(longitude, *decimal("-180")) <= 0) longitude = longitude + *decimal("360");
    Decimal lat_size = latitude, lon_size = longitude;
    lat_size.negative = lon_size.negative = false;
    return rounded_text(lat_size, 3) + (latitude.negative ? "S" : "N") + "_" + rounded_text(lon_size, 3) +
           (longitude.negative ? "W" : "E");
}

// "FILE:VAR" or "VAR": the file (empty: the grid's files) and the variable.
std::pair<std::string, std::string> file_and_variable(const std::string& choice) {
    const std::size_t colon = choice.rfind(':');
    if (colon == std::string::npos) return {"", choice};
    return {choice.substr(0, colon), choice.substr(colon + 1)};
}

// A field of the layout's shape (its first time step where it has time):
// each place's stored value and the code that reads it.
struct Field {
    std::vector<double> values;
    ValueCode code;
    std::string variable, file;
};

Result<Field> read_field(const GridState& state, const std::string& choice, const char* what) {
    const auto [file_name, name] = file_and_variable(choice);
    std::optional<netcdf::File> own;
    const netcdf::File* file = nullptr;
    if (!file_name.empty()) {
        Result<netcdf::File> opened = netcdf::File::open(file_name);
        if (!opened) return opened.problem();
        own.emplace(std::move(*opened));
        file = &*own;
    } else {
        for (const netcdf::File& candidate : state.files) {
            if (candidate.variable(name) != nullptr) {
                file = &candidate;
                break;
            }
        }
        if (file == nullptr)
            return problem_text("no " + std::string(what) + " variable " + name + " in the grid files");
    }
    const netcdf::Variable* variable = file->variable(name);
    if (variable == nullptr) return Problem{file->path(), 0, "", "no " + std::string(what) + " variable " + name};
    const Layout& layout = state.layout;
    const std::size_t space = layout.stations ? 1 : 2;
    std::vector<std::size_t> start(variable->dimensions.size(), 0), count(variable->dimensions.size(), 1);
    bool fits = variable->dimensions.size() >= space && variable->dimensions.size() <= space + 1;
    if (fits) {
        const std::size_t first = variable->dimensions.size() - space;
        const std::vector<std::size_t> shape = layout.stations ? std::vector<std::size_t>{layout.columns}
                                                               : std::vector<std::size_t>{layout.rows, layout.columns};
        for (std::size_t k = 0; k < space; ++k) {
            count[first + k] = file->dimensions()[variable->dimensions[first + k]].length;
            fits = fits && count[first + k] == shape[k];
        }
    }
    if (!fits) {
        return Problem{file->path(), 0, "",
                       "the " + std::string(what) + " variable " + name + " is not over the grid's " +
                           std::to_string(layout.rows) + " x " + std::to_string(layout.columns) + " cells"};
    }
    Field field;
    field.values.resize(layout.rows * layout.columns);
    if (Done read = file->read(*variable, start, count, field.values.data()); !read) return read.problem();
    Result<ValueCode> code = value_code(*file, *variable, std::nullopt);
    if (!code) return code.problem();
    field.code = std::move(*code);
    field.variable = name;
    field.file = file->path();
    return field;
}

// The elevation texts of every place: metres as stored, a geopotential
// (m2 s-2) divided by 9.80665 to 0.1 m.
Result<std::vector<std::string>> elevations(const GridState& state, const std::string& choice, std::string& note) {
    Result<Field> field = read_field(state, choice, "elevation");
    if (!field) return field.problem();
    const std::string units = canonical_unit(field->code.units);
    const bool metres = units == "m" || units == "meters" || units == "metres" || units == "meter" || units == "metre";
    const bool geopotential = units == "m2 s-2";
    if (!metres && !geopotential) {
        return Problem{field->file, 0, "",
                       "the units of the elevation " + field->variable + " (\"" + field->code.units +
                           "\") are not m or m2 s-2 (a geopotential)"};
    }
    note = "elevation: " + field->variable + " in " + field->file + ", " + field->code.units +
           (geopotential ? " (a geopotential: / 9.80665, written to 0.1 m)" : "");
    std::vector<std::string> texts;
    for (const double stored : field->values) {
        const std::optional<Decimal> value = field->code.value(stored);
        if (!value) {
            texts.emplace_back();
        } else {
            texts.push_back(geopotential ? divided_rounded(*value, 980665, 5, 1) : plain_text(*value));
        }
    }
    return texts;
}

struct Point {
    std::string name, latitude, longitude, elevation;
    double lat = 0, lon = 0;
    int line = 0;
};

Result<std::vector<Point>> read_points(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return Problem{path, 0, "", "cannot read the points file"};
    std::stringstream text;
    text << in.rdbuf();
    Result<readers::CsvText> csv = readers::parse_csv(text.str());
    if (!csv) return csv.problem().in_file(path);
    std::vector<Point> points;
    for (const readers::CsvRow& row : csv->rows) {
        const auto field = [&row](std::size_t k) {
            std::string cell = k < row.fields.size() ? row.fields[k] : "";
            while (!cell.empty() && (cell.back() == ' ' || cell.back() == '\r')) cell.pop_back();
            while (!cell.empty() && cell.front() == ' ') cell.erase(0, 1);
            return cell;
        };
        const std::optional<Decimal> lat = decimal(field(1));
        const std::optional<Decimal> lon = decimal(field(2));
        if (points.empty() && row.line == csv->rows.front().line && (!lat || !lon)) continue;  // a header
        if (row.fields.size() < 3 || row.fields.size() > 4 || !lat || !lon) {
            return Problem{path, row.line, "", "a point is name,lat,lon[,elev]"};
        }
        Point point{field(0),
                    field(1),
                    field(2),
                    field(3),
                    std::strtod(field(1).c_str(), nullptr),
                    std::strtod(field(2).c_str(), nullptr),
                    row.line};
        if (std::fabs(point.lat) > 90 || std::fabs(point.lon) > 360) {
            return Problem{path, row.line, "",
                           "the position " + point.latitude + ", " + point.longitude + " is on no map"};
        }
        if (!point.elevation.empty() && !decimal(point.elevation)) {
            return Problem{path, row.line, "", "the elevation \"" + point.elevation + "\" is not a number"};
        }
        if (const std::string reason = batch::unsafe_name_reason(point.name); !reason.empty()) {
            return Problem{path, row.line, "", "the name \"" + point.name + "\": " + reason};
        }
        points.push_back(std::move(point));
    }
    if (points.empty()) return Problem{path, 0, "", "no points"};
    return points;
}

bool in_box(const std::array<double, 4>& box, double lat, double lon) {
    if (lat < box[0] || lat > box[1]) return false;
    const double width = box[3] - box[2];
    if (width >= 360) return true;
    const double span = std::fmod(std::fmod(width, 360) + 360, 360);
    const double from = std::fmod(std::fmod(lon - box[2], 360) + 360, 360);
    return from <= span;
}

// The largest great-circle distance between neighbouring cells of a grid
// (stations: between a station and its nearest other, up to 5000 stations).
double largest_spacing(const Layout& layout) {
    double largest = 0;
    const auto at = [&layout](std::size_t place) {
        return batch::GeoPoint{layout.latitude[place], layout.longitude[place]};
    };
    if (layout.stations) {
        // Every pair: for a few thousand stations; beyond, no bound is set.
        if (layout.columns > 5000) return std::numeric_limits<double>::infinity();
        for (std::size_t a = 0; a < layout.columns; ++a) {
            double nearest = -1;
            for (std::size_t b = 0; b < layout.columns; ++b) {
                if (a == b) continue;
                const double km = batch::great_circle_km(at(a), at(b));
                if (nearest < 0 || km < nearest) nearest = km;
            }
            largest = std::max(largest, nearest);
        }
        return largest;
    }
    for (std::size_t j = 0; j < layout.rows; ++j) {
        for (std::size_t i = 0; i < layout.columns; ++i) {
            const std::size_t place = j * layout.columns + i;
            if (i + 1 < layout.columns) largest = std::max(largest, batch::great_circle_km(at(place), at(place + 1)));
            if (j + 1 < layout.rows)
                largest = std::max(largest, batch::great_circle_km(at(place), at(place + layout.columns)));
        }
    }
    return largest;
}

// The rows and columns of a tile of at most `most` cells, shaped by the
// precipitation's chunks so that a chunk is read by as few tiles as may be:
// bands of whole chunk rows across the grid where they fit, else runs of
// whole chunks, else a part of a chunk.  A contiguous variable (a classic
// file) is stored row by row: its chunk is one row.
std::pair<std::size_t, std::size_t> tile_shape(const GridState& state, std::size_t most) {
    const Layout& layout = state.layout;
    std::size_t chunk_rows = 1, chunk_columns = layout.columns;
    const Piece& piece = state.sources.front().pieces.front();
    const netcdf::File& file = state.files[piece.file];
    if (const auto chunks = file.chunks(file.variables()[static_cast<std::size_t>(piece.variable)])) {
        chunk_columns = std::max<std::size_t>(1, chunks->back());
        if (!layout.stations) chunk_rows = std::max<std::size_t>(1, (*chunks)[1]);
    }
    chunk_rows = std::min(chunk_rows, layout.rows);
    chunk_columns = std::min(chunk_columns, layout.columns);
    if (most >= chunk_rows * layout.columns) {
        return {std::min(layout.rows, chunk_rows * (most / (chunk_rows * layout.columns))), layout.columns};
    }
    if (most >= chunk_rows * chunk_columns) {
        return {chunk_rows, std::min(layout.columns, chunk_columns * (most / (chunk_rows * chunk_columns)))};
    }
    const std::size_t width = std::min(layout.columns, most);
    return {std::min(layout.rows, std::max<std::size_t>(1, most / width)), width};
}

}  // namespace

Done choose_cells(const GridChoice& choice, GridState& state) {
    // Every file of every variable places its cells alike.
    std::optional<std::size_t> first_file;
    for (const Source& source : state.sources) {
        for (const Piece& piece : source.pieces) {
            const netcdf::File& file = state.files[piece.file];
            Result<Layout> layout = layout_of(file, file.variables()[static_cast<std::size_t>(piece.variable)]);
            if (!layout) return layout.problem();
            if (!first_file) {
                state.layout = std::move(*layout);
                first_file = piece.file;
            } else if (!same_places(state.layout, *layout)) {
                return problem_text("the grids of " + state.files[*first_file].path() + " and " + file.path() +
                                    " differ: their cells are not at the same places");
            }
        }
    }
    const Layout& layout = state.layout;
    const std::size_t places = layout.rows * layout.columns;
    if (layout.stations) {
        state.notes.push_back("stations: " + std::to_string(layout.columns));
    } else {
        state.notes.push_back("grid: " + std::to_string(layout.rows) + " x " + std::to_string(layout.columns) +
                              " cells");
    }
    std::vector<bool> taken(places, true);
    if (!choice.mask.empty()) {
        Result<Field> mask = read_field(state, choice.mask, "mask");
        if (!mask) return mask.problem();
        std::size_t count = 0;
        for (std::size_t place = 0; place < places; ++place) {
            const std::optional<Decimal> value = mask->code.value(mask->values[place]);
            taken[place] = value && compare(*value, *decimal("0.5")) >= 0;
            count += taken[place] ? 1 : 0;
        }
        state.notes.push_back("mask: " + mask->variable + " in " + mask->file + " takes " + std::to_string(count) +
                              " cells (a value of at least 0.5)");
    }
    if (choice.bbox) {
        for (std::size_t place = 0; place < places; ++place) {
            taken[place] = taken[place] && in_box(*choice.bbox, layout.latitude[place], layout.longitude[place]);
        }
    }
    std::vector<std::string> heights;
    if (!choice.elevation.empty()) {
        std::string note;
        Result<std::vector<std::string>> found = elevations(state, choice.elevation, note);
        if (!found) return found.problem();
        heights = std::move(*found);
        state.notes.push_back(note);
    } else if (layout.stations && !layout.elevations.empty()) {
        heights = layout.elevations;
    }
    // Each cell: its place, and for a point its own name, position and elevation.
    struct Chosen {
        std::size_t place;
        std::size_t order;
        GridCell cell;
    };
    std::vector<Chosen> chosen;
    const auto coordinate_text = [&layout](std::size_t place, bool latitude) {
        return latitude ? stored_decimal(layout.latitude[place], layout.latitude_float)
                        : stored_decimal(layout.longitude[place], layout.longitude_float);
    };
    if (!choice.points_file.empty()) {
        Result<std::vector<Point>> points = read_points(choice.points_file);
        if (!points) return points.problem();
        std::vector<batch::NearestStations::Entry> entries;
        for (std::size_t place = 0; place < places; ++place) {
            if (taken[place]) entries.push_back({{layout.latitude[place], layout.longitude[place]}, place});
        }
        const batch::NearestStations index(std::move(entries));
        const double spacing = largest_spacing(layout);
        for (std::size_t k = 0; k < points->size(); ++k) {
            const Point& point = (*points)[k];
            const auto found = index.nearest({point.lat, point.lon});
            if (!found) return problem_text("no cell of the grid is chosen for the points");
            if (found->km > spacing && places > 1) {
                char distance[64];
                std::snprintf(distance, sizeof distance, "%.1f km", found->km);
                return Problem{choice.points_file, point.line, "",
                               "the point " + point.name + " is " + distance +
                                   " from its nearest cell, farther than the grid's spacing"};
            }
            GridCell cell{point.name, point.latitude, point.longitude, point.elevation, 0};
            if (!heights.empty() && !heights[found->id].empty()) cell.elevation = heights[found->id];
            chosen.push_back({found->id, k, cell});
        }
        state.notes.push_back("points: " + std::to_string(points->size()) + " from " + choice.points_file);
    } else {
        for (std::size_t place = 0; place < places; ++place) {
            if (!taken[place]) continue;
            GridCell cell;
            cell.latitude = plain_text(coordinate_text(place, true));
            cell.longitude = plain_text(coordinate_text(place, false));
            const bool named = layout.stations && !layout.names.empty() && !layout.names[place].empty();
            cell.name = named ? layout.names[place]
                              : position_name(coordinate_text(place, true), coordinate_text(place, false));
            if (named) {
                if (const std::string reason = batch::unsafe_name_reason(cell.name); !reason.empty()) {
                    return problem_text("the station name \"" + cell.name + "\": " + reason);
                }
            }
            if (!heights.empty()) cell.elevation = heights[place];
            chosen.push_back({place, place, cell});
        }
    }
    if (chosen.empty()) return problem_text("no cell of the grid is chosen");
    // Tiles: rectangles of the grid (or runs of stations) whose values fit
    // the memory bound, numbered row-major; those without a chosen cell left out.
    const std::size_t per_cell = state.days.size() * state.sources.size() * sizeof(double);
    const std::size_t most = std::max<std::size_t>(1, choice.memory_bytes / std::max<std::size_t>(1, per_cell));
    // (Named apart: a lambda cannot take a structured binding in every compiler.)
    const auto shape = tile_shape(state, most);
    const std::size_t height = shape.first, width = shape.second;
    const std::size_t across = (layout.columns + width - 1) / width;
    const auto tile_of = [&](std::size_t place) {
        return (place / layout.columns / height) * across + (place % layout.columns) / width;
    };
    std::stable_sort(chosen.begin(), chosen.end(), [&](const Chosen& a, const Chosen& b) {
        const std::size_t ta = tile_of(a.place), tb = tile_of(b.place);
        if (ta != tb) return ta < tb;
        if (a.place != b.place) return a.place < b.place;
        return a.order < b.order;
    });
    std::map<std::string, int> seen;
    std::size_t last_tile = static_cast<std::size_t>(-1);
    for (Chosen& one : chosen) {
        const std::size_t tile = tile_of(one.place);
        if (tile != last_tile) {
            Tile rectangle;
            rectangle.row = (tile / across) * height;
            rectangle.rows = std::min(height, layout.rows - rectangle.row);
            rectangle.column = (tile % across) * width;
            rectangle.columns = std::min(width, layout.columns - rectangle.column);
            rectangle.first_cell = state.cells.size();
            state.tiles.push_back(rectangle);
            last_tile = tile;
        }
        ++state.tiles.back().cell_count;
        one.cell.tile = state.tiles.size() - 1;
        if (!choice.points_file.empty()) {
            if (seen[one.cell.name]++ > 0) return problem_text("two points are named " + one.cell.name);
        } else if (const int before = seen[one.cell.name]++; before > 0) {
            one.cell.name += "_" + std::to_string(before + 1);
        }
        state.cells.push_back(one.cell);
        state.places.push_back(one.place);
    }
    state.notes.push_back("cells: " + std::to_string(state.cells.size()) + " in " + std::to_string(state.tiles.size()) +
                          (state.tiles.size() == 1 ? " tile" : " tiles"));
    return {};
}

}  // namespace wgn::grid
