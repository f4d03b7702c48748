// Coordinates of grid variables (grid_layout.hpp).
#include "grid/grid_layout.hpp"

#include "grid/exact_decimal.hpp"

namespace wgn::grid {
namespace {

enum class Axis { none, latitude, longitude };

Axis axis_of(const netcdf::File& file, const netcdf::Variable& variable) {
    const std::string standard = file.text_attribute(variable.id, "standard_name").value_or("");
    const std::string units = file.text_attribute(variable.id, "units").value_or("");
    if (standard == "latitude" || units == "degrees_north" || units == "degree_north" || units == "degrees_N" ||
        variable.name == "lat" || variable.name == "latitude")
        return Axis::latitude;
    if (standard == "longitude" || units == "degrees_east" || units == "degree_east" || units == "degrees_E" ||
        variable.name == "lon" || variable.name == "longitude")
        return Axis::longitude;
    return Axis::none;
}

std::string dimension_list(const netcdf::File& file, const std::vector<int>& dimensions) {
    std::string list;
    for (const int d : dimensions) list.append(list.empty() ? "" : ", ").append(file.dimensions()[d].name);
    return "(" + list + ")";
}

Result<std::vector<double>> all_values(const netcdf::File& file, const netcdf::Variable& variable) {
    std::vector<std::size_t> start, count;
    std::size_t total = 1;
    for (const int d : variable.dimensions) {
        start.push_back(0);
        count.push_back(file.dimensions()[d].length);
        total *= file.dimensions()[d].length;
    }
    std::vector<double> values(total);
    if (total > 0) {
        if (Done read = file.read(variable, start, count, values.data()); !read) return read.problem();
    }
    return values;
}

// A variable over exactly `dimensions` that is a latitude or a longitude.
const netcdf::Variable* coordinate(const netcdf::File& file, const std::vector<int>& dimensions, Axis wanted,
                                   const std::vector<std::string>& named) {
    for (const std::string& name : named) {
        const netcdf::Variable* candidate = file.variable(name);
        if (candidate != nullptr && candidate->dimensions == dimensions && axis_of(file, *candidate) == wanted)
            return candidate;
    }
    for (const netcdf::Variable& candidate : file.variables()) {
        if (candidate.dimensions == dimensions && axis_of(file, candidate) == wanted) return &candidate;
    }
    return nullptr;
}

std::vector<std::string> words(const std::string& text) {
    std::vector<std::string> list;
    std::string word;
    for (const char c : text + " ") {
        if (c == ' ') {
            if (!word.empty()) list.push_back(word);
            word.clear();
        } else {
            word.push_back(c);
        }
    }
    return list;
}

}  // namespace

Result<const netcdf::Variable*> time_coordinate(const netcdf::File& file, const netcdf::Variable& variable) {
    const std::string expected = " expected (time, Y, X) or (time, station)";
    if (variable.dimensions.size() < 2 || variable.dimensions.size() > 3) {
        return Problem{
            file.path(), 0, "",
            variable.name + " has the dimensions " + dimension_list(file, variable.dimensions) + ";" + expected};
    }
    const netcdf::Dimension& first = file.dimensions()[variable.dimensions[0]];
    const netcdf::Variable* time = file.variable(first.name);
    // A time coordinate by its axis, its standard_name, or units "... since ...".
    const auto is_time = [&file](const netcdf::Variable* candidate) {
        return candidate != nullptr &&
               (file.text_attribute(candidate->id, "axis").value_or("") == "T" ||
                file.text_attribute(candidate->id, "standard_name").value_or("") == "time" ||
                file.text_attribute(candidate->id, "units").value_or("").find(" since ") != std::string::npos);
    };
    if (time == nullptr || time->dimensions.size() != 1 || !(first.unlimited || is_time(time))) {
        return Problem{file.path(), 0, "",
                       variable.name + " has the dimensions " + dimension_list(file, variable.dimensions) +
                           ", the first not a time coordinate;" + expected};
    }
    return time;
}

Result<Layout> layout_of(const netcdf::File& file, const netcdf::Variable& variable) {
    Result<const netcdf::Variable*> time = time_coordinate(file, variable);
    if (!time) return time.problem();
    Layout layout;
    layout.time_dimension = variable.dimensions[0];
    layout.space_dimensions.assign(variable.dimensions.begin() + 1, variable.dimensions.end());
    const std::vector<std::string> named = words(file.text_attribute(variable.id, "coordinates").value_or(""));
    const netcdf::Variable* latitude = nullptr;
    const netcdf::Variable* longitude = nullptr;
    if (layout.space_dimensions.size() == 1) {
        layout.stations = true;
        layout.columns = file.dimensions()[layout.space_dimensions[0]].length;
        latitude = coordinate(file, layout.space_dimensions, Axis::latitude, named);
        longitude = coordinate(file, layout.space_dimensions, Axis::longitude, named);
    } else {
        layout.rows = file.dimensions()[layout.space_dimensions[0]].length;
        layout.columns = file.dimensions()[layout.space_dimensions[1]].length;
        latitude = coordinate(file, layout.space_dimensions, Axis::latitude, named);
        longitude = coordinate(file, layout.space_dimensions, Axis::longitude, named);
        if (latitude == nullptr && longitude == nullptr) {
            const netcdf::Variable* y = file.variable(file.dimensions()[layout.space_dimensions[0]].name);
            const netcdf::Variable* x = file.variable(file.dimensions()[layout.space_dimensions[1]].name);
            const Axis y_axis = y != nullptr && y->dimensions.size() == 1 ? axis_of(file, *y) : Axis::none;
            const Axis x_axis = x != nullptr && x->dimensions.size() == 1 ? axis_of(file, *x) : Axis::none;
            if (y_axis == Axis::longitude && x_axis == Axis::latitude) {
                return Problem{file.path(), 0, "",
                               variable.name + " has the dimensions " + dimension_list(file, variable.dimensions) +
                                   "; expected (time, latitude, longitude)"};
            }
            if (y_axis == Axis::latitude) latitude = y;
            if (x_axis == Axis::longitude) longitude = x;
        }
    }
    if (latitude == nullptr || longitude == nullptr) {
        return Problem{file.path(), 0, "",
                       "no latitude and longitude of " + variable.name + " over " +
                           dimension_list(file, layout.space_dimensions) +
                           " (found by standard_name latitude/longitude, units degrees_north/degrees_east or "
                           "the names lat, latitude, lon, longitude)"};
    }
    layout.latitude_float = latitude->type == netcdf::Type::float32;
    layout.longitude_float = longitude->type == netcdf::Type::float32;
    Result<std::vector<double>> lat = all_values(file, *latitude);
    if (!lat) return lat.problem();
    Result<std::vector<double>> lon = all_values(file, *longitude);
    if (!lon) return lon.problem();
    const std::size_t cells = layout.rows * layout.columns;
    if (latitude->dimensions.size() == 1 && !layout.stations) {
        // lat(Y), lon(X): every cell of row j at lat[j], of column i at lon[i].
        for (std::size_t j = 0; j < layout.rows; ++j) {
            for (std::size_t i = 0; i < layout.columns; ++i) {
                layout.latitude.push_back((*lat)[j]);
                layout.longitude.push_back((*lon)[i]);
            }
        }
    } else {
        layout.latitude = std::move(*lat);
        layout.longitude = std::move(*lon);
    }
    if (layout.latitude.size() != cells || layout.longitude.size() != cells) {
        return Problem{file.path(), 0, "", "the coordinates of " + variable.name + " do not match its dimensions"};
    }
    if (layout.stations) {
        for (const netcdf::Variable& candidate : file.variables()) {
            if (candidate.dimensions.empty() || candidate.dimensions[0] != layout.space_dimensions[0]) continue;
            if (file.text_attribute(candidate.id, "cf_role").value_or("") == "timeseries_id" &&
                candidate.type == netcdf::Type::text) {
                Result<std::vector<std::string>> names = file.read_strings(candidate);
                if (!names) return names.problem();
                layout.names = std::move(*names);
            }
            const std::string standard = file.text_attribute(candidate.id, "standard_name").value_or("");
            if (candidate.dimensions.size() == 1 && candidate.type != netcdf::Type::text &&
                (candidate.name == "alt" || candidate.name == "elevation" || candidate.name == "altitude" ||
                 standard == "surface_altitude" || standard == "height_above_mean_sea_level")) {
                Result<std::vector<double>> heights = all_values(file, candidate);
                if (!heights) return heights.problem();
                const bool as_float = candidate.type == netcdf::Type::float32;
                for (const double height : *heights)
                    layout.elevations.push_back(plain_text(stored_decimal(height, as_float)));
            }
        }
    }
    return layout;
}

bool same_places(const Layout& a, const Layout& b) {
    return a.stations == b.stations && a.rows == b.rows && a.columns == b.columns && a.latitude == b.latitude &&
           a.longitude == b.longitude;
}

}  // namespace wgn::grid
