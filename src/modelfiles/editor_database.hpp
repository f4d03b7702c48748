// The stations of weather-wgn.cli as tables of an SQLite file, in the layout
// of SWAT+ Editor's weather-generator tables (its datasets database's wgn and
// wgn_mon), so that the Editor's import of a weather-generator database takes
// them by name: a table TABLE and its monthly values in TABLE_mon.
//
//   TABLE      id INTEGER primary key, name VARCHAR(255) (unique index
//              TABLE_name), lat REAL, lon REAL, elev REAL, rain_yrs INTEGER
//   TABLE_mon  id INTEGER primary key, wgn_id INTEGER (index TABLE_mon_wgn_id,
//              foreign key TABLE.id, ON DELETE CASCADE), month INTEGER, and
//              the 14 values REAL in the order of weather::kColumns
// (every column NOT NULL), the statements the Editor's own definitions give.
//
// Each value is the number of its weather-wgn.cli field, "  40.58530" ->
// 40.5853 (the double nearest the decimal, as any reader of the text gets).
// The two tables are replaced whole in one transaction, or the file is left
// as it was; tables of other names are never touched.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "io/platform.hpp"
#include "modelfiles/model_files.hpp"
#include "problem/problem.hpp"

namespace wgn::modelfiles {

// A table name the Editor's import can be given: ASCII letters, digits and
// '_', not beginning with a digit, at most 60 characters, and not SQLite's
// own ("sqlite_..."); empty when it is one, else why not.
std::string table_name_problem(std::string_view table);

// The statements that make the two empty tables and their indexes.
std::vector<std::string> editor_schema(std::string_view table);

struct DatabaseStation {
    int id;  // the station's id, as in wgn_stations.csv
    CliStation station;
};
// Writes the stations into `table` and `table`_mon of `file`, created if
// missing (and removed again when it cannot be written).  `busy` is set when
// another program holds the file.
Done write_editor_database(const io::platform::ResolvedName& file, std::string_view table,
                           const std::vector<DatabaseStation>& stations, bool& busy);

}  // namespace wgn::modelfiles
