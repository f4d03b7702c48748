// The weather-generator tables of an SQLite database in the layout of the
// SWAT+ Editor's datasets tables wgn / wgn_mon (swatplus_wgn.sqlite holds
// wgn_cfsr_world and wgn_cfsr_world_mon in it):
//
//   T        id, name, lat, lon, elev, rain_yrs   (further columns are left alone)
//   T_mon    id, wgn_id, month, tmp_max_ave, tmp_min_ave, tmp_max_sd, tmp_min_sd, pcp_ave,
//            pcp_sd, pcp_skew, wet_dry, wet_wet, pcp_days, pcp_hhr, slr_ave, dew_ave, wnd_ave
//
// The columns by name; the stations in the order of their id, the months
// matched by wgn_id.  Every value is kept as the database's text of it
// (database_rows.hpp), written out without an exponent: a weather-wgn.cli
// that holds the same texts gives the same stations, digit for digit.  A
// NULL, or a month without its row, is a value the table lacks.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "modelfiles/database_rows.hpp"
#include "weather/weather_record.hpp"

namespace wgn::modelfiles {

// The SWAT+ global weather-generator table.
inline constexpr std::string_view kGlobalWgnTable = "wgn_cfsr_world";

// A station of the table without its months: a ReferenceStation holds 168
// values, too many to make for each of 180,000 grid points.
struct DatabaseStation {
    int id = 0;
    std::string name, latitude, longitude, elevation, rain_yrs;
};

class WgnDatabase {
  public:
    // A problem when the file is no database, or lacks the table, its
    // monthly table or one of their columns (the tables it has are named).
    static Result<WgnDatabase> open(const io::platform::ResolvedName& file, std::string_view table);

    // The stations without their months, in the order of their id.
    Result<std::vector<DatabaseStation>> stations() const;
    // A station with its 12 months, read from the monthly table; `line` holds its id.
    Result<weather::ReferenceStation> with_months(const DatabaseStation& station) const;
    // Whether an index of the monthly table begins with wgn_id: then a
    // station's months are found without reading the whole table.
    Result<bool> months_indexed() const;
    // Every station with its months, the monthly table read once.
    Result<std::vector<weather::ReferenceStation>> stations_with_months() const;

    const std::string& shown() const { return database_.shown(); }
    const std::string& table() const { return table_; }
    // Where a station is, in problems: "/d/wgn.sqlite, table wgn, id 7".
    std::string place_of(const weather::ReferenceStation& station) const;

  private:
    WgnDatabase(ReadOnlyDatabase database, std::string table)
        : database_(std::move(database)), table_(std::move(table)) {}
    std::string monthly_query(std::string_view where) const;
    Result<void> take_month(const TextRow& row, weather::ReferenceStation& station) const;

    ReadOnlyDatabase database_;
    std::string table_;
};

}  // namespace wgn::modelfiles
