#include "batch/report_reader.hpp"

#include <vector>

namespace wgn::batch {
namespace {

constexpr std::string_view kTitle = "Statistical Analysis of Daily Precipitation Data (";
constexpr std::array<std::string_view, 12> kMonthLabels = {"    Jan.", "    Feb.", "    Mar.", "    Apr.",
                                                           "    May.", "    Jun.", "    Jul.", "    Aug.",
                                                           "    Sep.", "    Oct.", "    Nov.", "    Dec."};
// Where each parameter stands in a month row (first column counted from 0).
struct Field {
    std::size_t start, width;
};
constexpr std::array<Field, kParameterCount> kMonthFields = {
    {{8, 10}, {18, 12}, {30, 12}, {42, 12}, {54, 12}, {66, 10}}};

std::vector<std::string_view> lines_of(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

// The field of `line` at columns start+1 .. start+width, or nothing when the
// line is shorter.
std::optional<std::string_view> field_of(std::string_view line, std::size_t start, std::size_t width) {
    if (line.size() < start + width) return std::nullopt;
    return line.substr(start, width);
}

std::optional<std::string> count_after(std::string_view line, std::string_view label, std::size_t width) {
    if (line.substr(0, label.size()) != label) return std::nullopt;
    const auto field = field_of(line, label.size(), width);
    if (!field) return std::nullopt;
    return shown_number(*field);
}

}  // namespace

std::string shown_number(std::string_view field) {
    const std::size_t first = field.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    field = field.substr(first, field.find_last_not_of(' ') - first + 1);
    std::size_t at = field.front() == '-' ? 1 : 0;
    bool digit = false;
    bool point = false;
    for (; at < field.size(); ++at) {
        if (field[at] >= '0' && field[at] <= '9') {
            digit = true;
        } else if (field[at] == '.' && !point) {
            point = true;
        } else {
            return {};
        }
    }
    return digit ? std::string(field) : std::string();
}

std::optional<ReportFigures> read_report(std::string_view text) {
    const std::vector<std::string_view> lines = lines_of(text);
    if (lines.size() < 25) return std::nullopt;
    ReportFigures figures;
    if (lines[0].substr(0, kTitle.size()) != kTitle) return std::nullopt;
    const auto first_year = field_of(lines[0], kTitle.size(), 4);
    if (!first_year) return std::nullopt;
    figures.first_year = shown_number(*first_year);

    const auto years = count_after(lines[3], "Number of Years = ", 3);
    const auto leap_years = count_after(lines[4], "Number of Leap Years =", 3);
    const auto records = count_after(lines[5], "Number of Records = ", 8);
    const auto nodata_values = count_after(lines[6], "Number of NoData values = ", 8);
    if (!years || !leap_years || !records || !nodata_values) return std::nullopt;
    figures.years = *years;
    figures.leap_years = *leap_years;
    figures.records = *records;
    figures.nodata_values = *nodata_values;

    for (std::size_t month = 0; month < 12; ++month) {
        const std::string_view row = lines[13 + month];
        if (row.substr(0, 8) != kMonthLabels[month] || row.size() != 76) return std::nullopt;
        for (std::size_t p = 0; p < kParameterCount; ++p) {
            figures.values[month][p] = shown_number(row.substr(kMonthFields[p].start, kMonthFields[p].width));
        }
    }
    return figures;
}

}  // namespace wgn::batch
