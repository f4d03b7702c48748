// The one line of standard error a station's findings earn, so that a batch
// of thousands of stations stays readable: the counts, the finding that
// matters most, and where to read the rest.
//
//   "wgnrain-batch: de-bilt: 2 model changes, 1 model note; worst: pcp_days: ...; see out/summary.csv\n"
//   "wgnrain-batch: ftc: 1 variable refused, 1 model change; worst: /d/ftc.csv, line 2, column srad: ..."
//
// A station without findings has no line.
#pragma once

#include <string>
#include <vector>

#include "weather/model_notes.hpp"

namespace wgn::batch {

struct StationFindings {
    std::vector<weather::ModelNote> model_notes;  // the changes first, the worst first
    std::vector<std::string> refused;             // variables left out, with the reason: worse than any note
    std::string position_problem;                 // why the station has no position, with its place
};

// `summary` is the summary's name as the user gave the output folder.
std::string findings_line(const std::string& station, const StationFindings& findings, const std::string& summary);

}  // namespace wgn::batch
