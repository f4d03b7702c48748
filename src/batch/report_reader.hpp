// Reads back what a station's statistics report shows: the counts of the
// series and the six parameters of each month, as the very characters the
// report prints, so that a table made from them holds the report's digits.
//
//   "    Jan.     64.17      3.8913      3.3283      0.3295      0.6854     16.63"
//     -> {"64.17", "3.8913", "3.3283", "0.3295", "0.6854", "16.63"}
//   "    Apr.      0.00      0.0000 NaN              0.0000 NaN              0.00"
//     -> {"0.00", "0.0000", "", "0.0000", "", "0.00"}, NaN noted as not shown
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "report/report_layout.hpp"

namespace wgn::batch {

inline constexpr std::size_t kParameterCount = report_layout::kParameterCount;

struct ReportFigures {
    std::string first_year, years, leap_years, records, nodata_values;
    // Month by month, PCP_MM, PCPSTD, PCPSKW, PR_W1, PR_W2, PCPD; a value
    // shown as NaN, Infinity or asterisks is empty.
    std::array<std::array<std::string, kParameterCount>, 12> values;
};

// Nothing when the text is not a complete report.
std::optional<ReportFigures> read_report(std::string_view text);

// The printed number as it stands, or empty when the field shows no number
// (asterisks, NaN, Infinity).
std::string shown_number(std::string_view field);

}  // namespace wgn::batch
