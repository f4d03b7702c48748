// SWAT+ Editor's weather-generator import, a pair of tables matched by the
// station's id, the columns by position:
//
//   wgn_stations.csv   id,name,lat,lon,elev,rain_yrs
//   wgn_monthly.csv    id,wgn_id,month,tmp_max_ave,...,wnd_ave   (12 rows a station)
//
// A month a station has no row for is a month without values (the audit's
// missing_value).
#pragma once

#include <string_view>

#include "check/check_table.hpp"
#include "problem/problem.hpp"

namespace wgn::check {

enum class EditorTable { none, stations, monthly };

// Which of the pair a text's header line begins: "id,name,lat" or "id,wgn_id,month".
EditorTable editor_table_of(std::string_view text);
Result<CheckTable> read_editor_tables(std::string_view stations_shown, std::string_view stations_text,
                                      std::string_view monthly_shown, std::string_view monthly_text);

}  // namespace wgn::check
