// Where the values of a daily variable lie: a grid (time, Y, X) with 1-D
// coordinates lat(Y), lon(X) or 2-D ones lat(Y, X), lon(Y, X) (through the
// `coordinates` attribute, as CORDEX's rlat/rlon grids have), or stations
// (time, station) with lat(station), lon(station), an optional altitude and
// a name variable (cf_role = timeseries_id).  A coordinate is found by its
// standard_name (latitude, longitude), its units (degrees_north,
// degrees_east) or its name (lat, latitude, lon, longitude).
//
//   tp(time, latitude, longitude), latitude(latitude), longitude(longitude)
//       -> rows 3, columns 4, positions {lat[j], lon[i]}
//   pr(time, rlat, rlon), pr:coordinates = "lat lon", lat(rlat, rlon)
//       -> positions {lat[j][i], lon[j][i]}
//   pr(time, station), lat(station), lon(station)  -> stations: rows 1, columns n
//   tp(latitude, longitude, time)  -> refused: the order found and (time, Y, X)
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "netcdf/netcdf_file.hpp"
#include "problem/problem.hpp"

namespace wgn::grid {

struct Layout {
    bool stations = false;
    std::size_t rows = 1, columns = 0;        // Y and X lengths (stations: 1 row)
    int time_dimension = -1;                  // in the file
    std::vector<int> space_dimensions;        // Y, X (or the station's)
    std::vector<double> latitude, longitude;  // rows x columns, row-major
    bool latitude_float = false, longitude_float = false;
    std::vector<std::string> names;       // stations: their names (may be empty)
    std::vector<std::string> elevations;  // stations: altitude texts (empty: none)
};

// The layout of `variable` in `file`.
Result<Layout> layout_of(const netcdf::File& file, const netcdf::Variable& variable);

// Whether two layouts place their cells alike (same shape and positions).
bool same_places(const Layout& a, const Layout& b);

// The time coordinate of `variable`'s first dimension: its variable, which
// must be the unlimited dimension's, or have axis = "T", standard_name
// "time" or units "<unit> since <date>".
Result<const netcdf::Variable*> time_coordinate(const netcdf::File& file, const netcdf::Variable& variable);

}  // namespace wgn::grid
