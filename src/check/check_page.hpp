// OUTDIR/index.html of wgnrain-check: one self-contained page (styles and
// charts inline, nothing fetched), a section a station: its findings in
// words, a chart a variable with the table's value by month as bars and the
// generated one as a line, and the ratios generated / table by month, those
// more than 10 % from 1 marked; for a table a batch wrote, the record's
// value and 90 % interval as a band in each chart and by month beside the
// table's and the generated value (record_table.hpp).
#pragma once

#include <string>
#include <vector>

#include "check/audit.hpp"
#include "check/check_table.hpp"
#include "check/generated_statistics.hpp"

namespace wgn::check {

struct PageStation {
    const TableStation* station = nullptr;
    std::vector<AuditRow> findings;
    std::vector<GeneratedRow> generated;  // empty: not generated
    std::string not_generated;            // why, then
};

// `run` says what was generated: "SWAT+, 1000 years, seed 1".
std::string check_page(const std::vector<PageStation>& stations, const std::string& run);

}  // namespace wgn::check
