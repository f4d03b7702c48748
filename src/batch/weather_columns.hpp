// The station list's columns of the complete weather-generator record, one
// field a column, and the one table that names them:
//
//   tmp_file,tmax_column,wnd_unit,lat    ->  {.tmp_file = "t.csv", .tmax_column = "TX", .wnd_unit = "km/h", .lat =
//   "52.1"} weather_column_named("hmd_file")     ->  the entry {"hmd_file", &WeatherColumns::hmd_file, variable_file}
//
// The files of the other variables (read in the station's format), the
// columns of a csv file that holds them, their units, the position, GHCN's
// station file, and a reference station that fills what the record cannot
// give.  The table goes in the byte order of the names: the order of the
// lines of run.txt and of the list's problems.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "readers/variables.hpp"

namespace wgn::batch {

struct WeatherColumns {
    std::string tmp_file, slr_file, hmd_file, wnd_file, hhr_file;                                     // full names
    std::string tmax_column, tmin_column, slr_column, dew_column, rh_column, wnd_column, hhr_column;  // of a csv file
    std::string tmp_unit, slr_unit, hmd_unit, wnd_unit;
    std::string lat, lon, elev;
    std::string stations_file, fill_file;  // full names
    std::string fill_station;              // a name, or nearest
    std::string fill_table;                // a database fill_file's table pair
    std::string fill_max_km;               // how far the nearest station may be

    // The file of a kind of variable, the csv column of a variable (none for
    // precipitation: the station's pcp_column), the unit of a quantity (none
    // for precipitation: the station's pcp_unit); empty where not given.
    const std::string& file_of(readers::FileKind kind) const;
    const std::string& column_of(readers::Variable variable) const;
    const std::string& unit_of(readers::Quantity quantity) const;
};

enum class WeatherColumnKind : std::uint8_t {
    variable_file,   // a file of other variables, in the station's format
    reference_file,  // GHCN's station list, or the file of reference stations
    csv_column,      // the column of a variable in a csv file
    unit,            // the unit of a quantity
    position,        // lat, lon, elev
    name,            // the reference station's name, or its table's
    distance,        // km
};

struct WeatherColumn {
    std::string_view name;
    std::string WeatherColumns::*field;
    WeatherColumnKind kind;
};

namespace columns_of {
using readers::FileKind;
using readers::Variable;
constexpr std::string_view file(FileKind kind) {
    return readers::facts(kind).list_column;
}
constexpr std::string_view csv(Variable variable) {
    return readers::facts(variable).list_column;
}
}  // namespace columns_of

inline constexpr std::array<WeatherColumn, 24> kWeatherColumns = {{
    {columns_of::csv(readers::Variable::dew), &WeatherColumns::dew_column, WeatherColumnKind::csv_column},
    {"elev", &WeatherColumns::elev, WeatherColumnKind::position},
    {"fill_file", &WeatherColumns::fill_file, WeatherColumnKind::reference_file},
    {"fill_max_km", &WeatherColumns::fill_max_km, WeatherColumnKind::distance},
    {"fill_station", &WeatherColumns::fill_station, WeatherColumnKind::name},
    {"fill_table", &WeatherColumns::fill_table, WeatherColumnKind::name},
    {columns_of::csv(readers::Variable::hhr), &WeatherColumns::hhr_column, WeatherColumnKind::csv_column},
    {columns_of::file(readers::FileKind::hhr), &WeatherColumns::hhr_file, WeatherColumnKind::variable_file},
    {columns_of::file(readers::FileKind::hmd), &WeatherColumns::hmd_file, WeatherColumnKind::variable_file},
    {"hmd_unit", &WeatherColumns::hmd_unit, WeatherColumnKind::unit},
    {"lat", &WeatherColumns::lat, WeatherColumnKind::position},
    {"lon", &WeatherColumns::lon, WeatherColumnKind::position},
    {columns_of::csv(readers::Variable::rh), &WeatherColumns::rh_column, WeatherColumnKind::csv_column},
    {columns_of::csv(readers::Variable::slr), &WeatherColumns::slr_column, WeatherColumnKind::csv_column},
    {columns_of::file(readers::FileKind::slr), &WeatherColumns::slr_file, WeatherColumnKind::variable_file},
    {"slr_unit", &WeatherColumns::slr_unit, WeatherColumnKind::unit},
    {"stations_file", &WeatherColumns::stations_file, WeatherColumnKind::reference_file},
    {columns_of::csv(readers::Variable::tmax), &WeatherColumns::tmax_column, WeatherColumnKind::csv_column},
    {columns_of::csv(readers::Variable::tmin), &WeatherColumns::tmin_column, WeatherColumnKind::csv_column},
    {columns_of::file(readers::FileKind::tmp), &WeatherColumns::tmp_file, WeatherColumnKind::variable_file},
    {"tmp_unit", &WeatherColumns::tmp_unit, WeatherColumnKind::unit},
    {columns_of::csv(readers::Variable::wnd), &WeatherColumns::wnd_column, WeatherColumnKind::csv_column},
    {columns_of::file(readers::FileKind::wnd), &WeatherColumns::wnd_file, WeatherColumnKind::variable_file},
    {"wnd_unit", &WeatherColumns::wnd_unit, WeatherColumnKind::unit},
}};

// The column of that name (as the header writes it, folded to lower case).
constexpr const WeatherColumn* weather_column_named(std::string_view name) {
    for (const WeatherColumn& column : kWeatherColumns) {
        if (column.name == name) return &column;
    }
    return nullptr;
}

inline const std::string& WeatherColumns::file_of(readers::FileKind kind) const {
    using readers::FileKind;
    switch (kind) {
        case FileKind::tmp: return tmp_file;
        case FileKind::slr: return slr_file;
        case FileKind::hmd: return hmd_file;
        case FileKind::wnd: return wnd_file;
        case FileKind::hhr: return hhr_file;
        case FileKind::pcp: break;
    }
    static const std::string none;
    return none;
}

inline const std::string& WeatherColumns::column_of(readers::Variable variable) const {
    using readers::Variable;
    switch (variable) {
        case Variable::tmax: return tmax_column;
        case Variable::tmin: return tmin_column;
        case Variable::slr: return slr_column;
        case Variable::dew: return dew_column;
        case Variable::rh: return rh_column;
        case Variable::wnd: return wnd_column;
        case Variable::hhr: return hhr_column;
        case Variable::pcp: break;
    }
    static const std::string none;
    return none;
}

inline const std::string& WeatherColumns::unit_of(readers::Quantity quantity) const {
    using readers::Quantity;
    switch (quantity) {
        case Quantity::kTemperature: return tmp_unit;
        case Quantity::kRadiation: return slr_unit;
        case Quantity::kHumidity: return hmd_unit;
        case Quantity::kWind: return wnd_unit;
        case Quantity::kPrecipitation: break;
    }
    static const std::string none;
    return none;
}

constexpr bool names_file(const WeatherColumn& column) {
    return column.kind == WeatherColumnKind::variable_file || column.kind == WeatherColumnKind::reference_file;
}

}  // namespace wgn::batch
