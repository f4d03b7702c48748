// What the overview page shows of a station, from its outcome and folder.
#pragma once

#include <string>

#include "batch/station_list.hpp"
#include "batch/station_run.hpp"
#include "page/overview_page.hpp"

namespace wgn::batch {

inline constexpr std::string_view kPictureName = "parameters.svg";
// The page shows at most this many stations (the first of the list).
inline constexpr std::size_t kPageStations = 1000;

// `folder` is the station's folder (for its coverage.csv when the outcome
// does not hold the missing days).
page::PageStation page_station(const Station& station, const StationOutcome& outcome, const std::string& folder);

}  // namespace wgn::batch
