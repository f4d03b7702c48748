#include "input/series_checks.hpp"

#include <charconv>
#include <cmath>
#include <string>

#include "io/failure.hpp"
#include "io/field_format.hpp"
#include "io/wgnrain_facts.hpp"

namespace wgn {
namespace {

// "1 line", "2 lines".
std::string count_of(std::int64_t count, std::string_view thing) {
    std::string text = std::to_string(count) + " ";
    text.append(thing);
    if (count != 1) text.push_back('s');
    return text;
}

// A value as printf's %g shows it: -9999, 1e+10, 0.5.
std::string shown(float value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, static_cast<double>(value), std::chars_format::general, 6);
    return std::string(text, end.ptr);
}

// True when what a read left of a line holds another value: anything but
// blanks, tabs and commas, unless a slash (the end of a list) comes first.
bool holds_more(std::string_view rest) {
    const std::size_t next = rest.find_first_not_of(" \t,");
    return next != std::string_view::npos && rest[next] != '/';
}

// The month files' field F12.2 holds every value of a smaller magnitude
// (-99999999.99 is its widest negative value; the float below 1e8 is 99999992).
constexpr float kNeverTooWide = 9.9e7F;  // also in note_value

// True when the month files' field F12.2 cannot hold the value.
bool too_wide_for_month_file(float value) {
    std::string field;
    io::append_real_field(field, value, 12, 2);
    return field.front() == '*';
}

void warn(const std::string& text) {
    io::write_runlib_line(std::string(facts::kWarningLabel) + text);
}

}  // namespace

void note_unusual_value(SeriesChecks& checks, std::int64_t line, std::int64_t blank_lines, std::string_view rest,
                        float value, bool nodata) {
    const std::int64_t index = checks.values++;
    if (blank_lines > 0) {
        if (checks.blank_lines == 0) checks.first_blank_line = line - blank_lines;
        checks.blank_lines += blank_lines;
    }
    if (!rest.empty() && holds_more(rest) && checks.crowded_lines++ == 0) checks.first_crowded_line = line;
    if (nodata) {
        ++checks.nodata;
        return;
    }
    if (value < 0.0F) {
        if (checks.negatives++ == 0 || value < checks.smallest) checks.smallest = value;
        if (checks.negatives == 1) checks.first_negative_line = line;
    }
    if (std::fabs(value) < kNeverTooWide) return;
    if (std::isinf(value)) {
        if (checks.infinite++ == 0) {
            checks.first_infinite_line = line;
            checks.first_infinite_index = index;
        }
    } else if (too_wide_for_month_file(value) && checks.too_wide++ == 0) {
        checks.first_too_wide_line = line;
        checks.first_too_wide_index = index;
        checks.first_too_wide = value;
    }
}

void note_stop(SeriesChecks& checks, std::int64_t line, std::int64_t lines_after) {
    checks.stop_line = line;
    checks.lines_after_stop = lines_after;
}

void report_findings(const SeriesChecks& checks, std::int64_t analysed, std::int32_t years, std::int32_t first_year) {
    const auto first_on = [](std::int64_t count, std::int64_t line) {
        return std::to_string(count) + ", first on line " + std::to_string(line);
    };
    if (checks.stop_line > 0)
        warn("line " + std::to_string(checks.stop_line) +
             " holds no readable value, so the series ends before it: " + count_of(checks.values, "value") + " kept, " +
             count_of(checks.lines_after_stop, "line") + " after it not read");
    if (checks.crowded_lines > 0)
        warn("lines with more than one value: " + first_on(checks.crowded_lines, checks.first_crowded_line) +
             "; only the first value of a line is read (a decimal comma, or a date before the value?)");
    if (checks.blank_lines > 0)
        warn("blank lines among the values: " + first_on(checks.blank_lines, checks.first_blank_line) +
             "; they are passed over, so every later value moves up one day for each");
    if (checks.negatives > 0)
        warn(
            "negative values that are not the NoData value: " + first_on(checks.negatives, checks.first_negative_line) +
            ", the smallest " + shown(checks.smallest) + "; they are taken as precipitation");
    if (checks.nodata == 0 && checks.negatives > 0)
        warn("no value equals the NoData value " + shown(checks.nodata_value) +
             ": the file probably marks missing days with another value");
    if (checks.nodata_value == 0.0F && checks.nodata > 0 && checks.nodata < checks.values)
        warn("the NoData value is 0: " + count_of(checks.nodata, "day") +
             " of 0 count as missing and take the mean of the other values");
    if (checks.values > 0 && checks.nodata == checks.values)
        warn("every value is NoData: there is no mean to replace them with, and no statistic can be computed");
    if (checks.infinite > 0 && checks.first_infinite_index < analysed)
        warn("infinite values: " + first_on(checks.infinite, checks.first_infinite_line) +
             "; no statistic of their months can be computed");
    if (checks.too_wide > 0 && checks.first_too_wide_index < analysed)
        warn("values too large for the month files (F12.2): " + first_on(checks.too_wide, checks.first_too_wide_line) +
             ": " + shown(checks.first_too_wide) + "; the run will end with a failure on them");
    if (checks.values > analysed && years > 0)
        warn("values not analysed: " + std::to_string(checks.values - analysed) + ", after the " +
             count_of(years, "whole calendar year") + " from " + std::to_string(first_year));
}

}  // namespace wgn
