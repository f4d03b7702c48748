#include "cells/cell_stations.hpp"

#include "batch/station_list.hpp"

namespace wgn::cells {

batch::StationList cell_stations(const grid::Grid& grid, const GridOptions& options, batch::StationTexts& texts) {
    batch::StationList list;
    list.dated_columns = true;
    list.weather_columns = true;
    const std::string& file = options.grid.files.front();
    const bool humidity = grid.has_variable("rh");
    for (std::size_t c = 0; c < grid.cells().size(); ++c) {
        const grid::GridCell& cell = grid.cells()[c];
        batch::Station station;
        station.row = static_cast<int>(c + 1);
        station.name = cell.name;
        station.file = file;
        station.input_name = file + " cell " + cell.name;
        station.format = readers::Format::csv;
        station.first_year = options.first_year;
        station.last_year = options.last_year;
        station.weather.lat = cell.latitude;
        station.weather.lon = cell.longitude;
        station.weather.elev = cell.elevation;
        // The grid's humidity is written as a fraction, whatever its values;
        // its precipitation in mm, from the unit its file states.
        if (humidity) station.weather.hmd_unit = "fraction";
        station.pcp_in_millimetres = true;
        station.texts = &texts;
        if (const std::string why = batch::unsafe_name_reason(cell.name); !why.empty())
            list.problems.push_back(Problem{"", station.row, "station", why});
        list.stations.push_back(std::move(station));
        list.shard_groups.push_back(cell.tile);
    }
    return list;
}

}  // namespace wgn::cells
