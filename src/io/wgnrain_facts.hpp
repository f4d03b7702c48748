// What wgnrain and the programs that drive it as a process must agree on:
// the longest name the dialogue keeps, the units of the month files, what a
// NoData answer may be and when a value is NoData, and the lines a failure
// writes on standard error.  Both sides include this one header, so that no
// copy can drift.
//
//   is_nodata_text("-99") -> true       is_nodata_text("1.5q2") -> true
//   is_nodata_text("-9+9") -> true      is_nodata_text("-99 x") -> false
//   is_nodata_text("1e99") -> false     is_nodata_text("NaN") -> false
//   report_number("runlib: severe (29): file not found, unit 10, file a") -> "29"
//   names_month_file("runlib: severe (38): error during write, unit 101, file jan.clm") -> true
#pragma once

#include <cmath>
#include <optional>
#include <string_view>

#include "io/decimal_text.hpp"

namespace wgn::facts {

// The dialogue keeps a file name in a field of this many characters.
inline constexpr std::size_t kLongestSeriesName = 255;

// wgnrain's month files, temporary files of a run: units 101 (January) to 112.
inline constexpr int kFirstMonthUnit = 101;
inline constexpr int kLastMonthUnit = 112;

// A NoData answer the dialogue reads as one real (io::parse_real: E, D or Q
// exponents, an exponent of a sign alone) whose value single precision holds:
// NaN, the infinities and numbers beyond the range would make every value,
// or none, NoData.
inline bool is_nodata_text(std::string_view text) {
    float value = 0.0F;
    return io::parse_real(text, value) && std::isfinite(value);
}

// A value is NoData when it equals the NoData value as a single-precision
// number; +0 equals -0, and a NaN on either side counts as equal.
inline bool is_nodata(float value, float nodata_value) {
    return value == nodata_value || std::isnan(value) || std::isnan(nodata_value);
}

// The lines of standard error.  Every report begins with the prefix:
//   runlib: warning: <text>                  a warning; the run goes on
//   runlib: severe (<number>): <text>        a failure that ends the run
//   runlib: error (<number>): <text>         an interruption (200)
// and a failure on a file ends in ", unit <unit>, file <name>".  The math
// library's failure is a line holding the mark instead.
inline constexpr std::string_view kRunlibPrefix = "runlib: ";
inline constexpr std::string_view kWarningLabel = "warning: ";
inline constexpr std::string_view kMathFailureMark = "M6201";

inline bool is_warning_line(std::string_view line) {
    return line.substr(0, kRunlibPrefix.size() + kWarningLabel.size()) == "runlib: warning: ";
}

// The number of a "runlib: severe (N): ..." or "runlib: error (N): ..." line.
inline std::optional<std::string_view> report_number(std::string_view line) {
    const std::size_t open = line.find(" (");
    const std::size_t close = line.find("): ");
    if (line.substr(0, kRunlibPrefix.size()) != kRunlibPrefix || open == std::string_view::npos ||
        close == std::string_view::npos || close <= open + 2) {
        return std::nullopt;
    }
    const std::string_view number = line.substr(open + 2, close - open - 2);
    if (number.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
    return number;
}

// True when the line reports a failure on one of the month files.
inline bool names_month_file(std::string_view line) {
    const std::size_t unit = line.find(", unit 1");
    if (unit == std::string_view::npos || line.size() <= unit + 10 || line.substr(unit + 10, 7) != ", file ") {
        return false;
    }
    int number = 0;
    for (const char c : line.substr(unit + 7, 3)) {
        if (c < '0' || c > '9') return false;
        number = number * 10 + (c - '0');
    }
    return number >= kFirstMonthUnit && number <= kLastMonthUnit;
}

}  // namespace wgn::facts
