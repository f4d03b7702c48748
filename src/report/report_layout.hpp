// The layout of the statistics report, written by write_report and read back
// by the batch (batch/report_reader): every label, field list and line number
// is here once, so that the reader cannot drift from the writer.
//
//   line 0   "Statistical Analysis of Daily Precipitation Data (1990 - 2019)"
//   line 3   "Number of Years =  30"                    (A18, I3)
//   line 13  "    Jan.     64.17      3.8913 ...  16.63" (A8, F10.2, 4F12.4, F10.2)
//   ...
//   line 24  "    Dec. ..."
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace wgn::report_layout {

inline constexpr std::array<std::string_view, 12> kMonthLabels = {
    "Jan.", "Feb.", "Mar.", "Apr.", "May.", "Jun.", "Jul.", "Aug.", "Sep.", "Oct.", "Nov.", "Dec.",
};

// Line 0: the title, the first year, " - ", the last year, ")".
inline constexpr std::string_view kTitle = "Statistical Analysis of Daily Precipitation Data (";
inline constexpr std::string_view kTitleFormat = "(A50, I4, A3, I4, A1)";

// A count of the series: its label in the A field, its number in the I field.
struct CountLine {
    std::size_t line;
    std::string_view label;
    std::string_view format;
};
inline constexpr CountLine kYears{3, "Number of Years = ", "(A18, I3)"};
// The label has a trailing blank that the 22-wide field drops.
inline constexpr CountLine kLeapYears{4, "Number of Leap Years = ", "(A22, I3)"};
inline constexpr CountLine kRecords{5, "Number of Records = ", "(A20, I8)"};
inline constexpr CountLine kNodataValues{6, "Number of NoData values = ", "(A26, I8)"};

// Lines 13 to 24: a month's label, then PCP_MM, PCPSTD, PCPSKW, PR_W1, PR_W2, PCPD.
inline constexpr std::size_t kFirstMonthLine = 13;
inline constexpr std::string_view kMonthRowFormat = "(A8, F10.2, 4F12.4, F10.2)";
inline constexpr std::size_t kParameterCount = 6;

// What an A field of `width` shows of `text`: right-justified, or its first
// `width` characters.
//   ("Jan.", 8) -> "    Jan."      ("Number of Leap Years = ", 22) -> "Number of Leap Years ="
inline std::string shown_in_a_field(std::string_view text, std::size_t width) {
    if (text.size() >= width) return std::string(text.substr(0, width));
    return std::string(width - text.size(), ' ').append(text);
}

}  // namespace wgn::report_layout
