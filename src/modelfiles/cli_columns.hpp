// The column-name line of a station's block in a weather-wgn.cli, and the
// column each of its 14 fields holds.  SWAT+ Editor names the columns as
// weather::kColumns does (tmp_max_ave ... wnd_ave); older files may name them
// as SWAT 2012's .wgn and userwgn do (TMPMX ... PR_W1 ... WNDAV), or have no
// such line at all, the 12 month lines following the station line.  Names
// are compared by their letters and digits alone, without regard to case:
//
//   {"TMPMX", "TMPMN", ..., "WNDAV"}            -> 0, 1, ..., 13
//   {"tmp_min_ave", "tmp_max_ave", ...}         -> 1, 0, ...  (the values go by name)
//   a line of names not all known, or twice    -> nothing (the fields in the order of kColumns)
//   is_month_line({"5.32", "NaN", ...})         -> true: no column-name line
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace wgn::modelfiles {

// The column of each of the first 14 names, when every one names a column
// of its own; nothing otherwise.
std::optional<std::array<std::size_t, 14>> named_columns(const std::vector<std::string_view>& names);
// Whether a line holds a number: a month line (a value of which may be
// faulty), not a line of names.
bool is_month_line(const std::vector<std::string_view>& fields);

}  // namespace wgn::modelfiles
