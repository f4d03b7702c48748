// wgnrain-batch --check: wgnrain-check run on the batch's output folder (its
// weather-wgn.cli, with the record's intervals), its files in OUTDIR/check, and the stations whose
// generated monthly total (pcp_ave) or wet days (pcp_days) leave the
// record's 90 % interval (intervals.csv).
//
//   "ftc: pcp_ave 7 8, pcp_days 7"   (generated July and August totals outside)
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "batch/station_list.hpp"
#include "page/overview_page.hpp"

namespace wgn::batch {

// The check's own command line (--model, --years, --seed and their values)
// refused as wgnrain-check refuses it; empty when it is fine.
std::string check_arguments_problem(const std::vector<std::string>& arguments);

// Runs the check, gives the shown stations their generated values, and
// names those outside their intervals, a line each; nothing (after the check
// has said why) when it failed.
std::optional<std::vector<std::string>> check_batch(const std::string& folder,
                                                    const std::vector<std::string>& arguments,
                                                    std::vector<page::PageStation>& shown);

// The stations outside their intervals, from generated.csv's text.
std::vector<std::string> outside_intervals(std::string_view generated_csv, const std::vector<page::PageStation>& shown);
// Each shown station's generated values of the 14 columns, generated.csv's texts.
void add_generated(std::string_view generated_csv, std::vector<page::PageStation>& shown);

}  // namespace wgn::batch
