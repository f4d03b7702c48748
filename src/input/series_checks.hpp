// Checks of a daily series that is probably not what the user meant.  They
// are made while the series is read and change nothing: each kind of finding
// becomes one warning line on standard error, with its count and its first
// line in the file (every line counts, blank ones too), for example
//
//   runlib: warning: lines with more than one value: 365, first on line 1;
//   only the first value of a line is read (a decimal comma, or a date before
//   the value?)
//
// (one line on the screen).  A clean series gives no warning at all.
#pragma once

#include <cstdint>
#include <string_view>

namespace wgn {

struct SeriesChecks {
    float nodata_value = 0.0F;

    std::int64_t values = 0;  // values read so far
    std::int64_t nodata = 0;
    std::int64_t crowded_lines = 0;  // lines with more than one value
    std::int64_t first_crowded_line = 0;
    std::int64_t blank_lines = 0;  // blank lines before a value
    std::int64_t first_blank_line = 0;
    std::int64_t negatives = 0;  // negative values that are not NoData
    std::int64_t first_negative_line = 0;
    float smallest = 0.0F;
    std::int64_t infinite = 0;
    std::int64_t first_infinite_line = 0;
    std::int64_t first_infinite_index = 0;
    std::int64_t too_wide = 0;  // values that the month files cannot hold
    std::int64_t first_too_wide_line = 0;
    std::int64_t first_too_wide_index = 0;
    float first_too_wide = 0.0F;
    std::int64_t stop_line = 0;  // a line without a readable value ended the series
    std::int64_t lines_after_stop = 0;
};

// A value read from `line`, after `blank_lines` blank lines; `rest` is what
// the line holds after the value.  The usual value (one clean number a line,
// not negative, not NoData, narrow enough) is only counted.
void note_unusual_value(SeriesChecks& checks, std::int64_t line, std::int64_t blank_lines, std::string_view rest,
                        float value, bool nodata);
inline void note_value(SeriesChecks& checks, std::int64_t line, std::int64_t blank_lines, std::string_view rest,
                       float value, bool nodata) {
    // 9.9e7: every smaller magnitude fits the month files' field F12.2.
    if (blank_lines == 0 && rest.empty() && !nodata && value >= 0.0F && value < 9.9e7F) {
        ++checks.values;
        return;
    }
    note_unusual_value(checks, line, blank_lines, rest, value, nodata);
}

// Reading ended at `line`, which holds no readable value, with `lines_after`
// lines after it.
void note_stop(SeriesChecks& checks, std::int64_t line, std::int64_t lines_after);

// Writes the warnings.  The month walk takes the first `analysed` values, for
// `years` calendar years from `first_year`.
void report_findings(const SeriesChecks& checks, std::int64_t analysed, std::int32_t years, std::int32_t first_year);

}  // namespace wgn
