#include "batch/report_reader.hpp"

#include <vector>

#include "io/field_list.hpp"

namespace wgn::batch {
namespace {

namespace layout = report_layout;

// Where a field stands in its line (first column counted from 0).
struct Field {
    std::size_t start, width;
};

// The fields of a field list, one after another from column 0.
std::vector<Field> fields_of(std::string_view format) {
    std::vector<Field> fields;
    std::size_t start = 0;
    const io::FieldList list(format);
    for (const io::FieldCode& code : list.fields()) {
        const auto width = static_cast<std::size_t>(code.width);
        fields.push_back({start, width});
        start += width;
    }
    return fields;
}

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

// The count of a (label, number) line, as shown.
std::optional<std::string> count_of(const std::vector<std::string_view>& lines, const layout::CountLine& count) {
    const std::vector<Field> fields = fields_of(count.format);
    const std::string label = layout::shown_in_a_field(count.label, fields[0].width);
    const std::string_view line = lines[count.line];
    if (line.substr(0, label.size()) != label) return std::nullopt;
    const auto field = field_of(line, fields[1].start, fields[1].width);
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
    static const std::vector<Field> title_fields = fields_of(layout::kTitleFormat);
    static const std::vector<Field> month_fields = fields_of(layout::kMonthRowFormat);
    static const std::size_t month_row_length = month_fields.back().start + month_fields.back().width;
    if (lines.size() < layout::kFirstMonthLine + 12) return std::nullopt;
    ReportFigures figures;
    const std::string title = layout::shown_in_a_field(layout::kTitle, title_fields[0].width);
    if (lines[0].substr(0, title.size()) != title) return std::nullopt;
    const auto first_year = field_of(lines[0], title_fields[1].start, title_fields[1].width);
    if (!first_year) return std::nullopt;
    figures.first_year = shown_number(*first_year);

    const auto years = count_of(lines, layout::kYears);
    const auto leap_years = count_of(lines, layout::kLeapYears);
    const auto records = count_of(lines, layout::kRecords);
    const auto nodata_values = count_of(lines, layout::kNodataValues);
    if (!years || !leap_years || !records || !nodata_values) return std::nullopt;
    figures.years = *years;
    figures.leap_years = *leap_years;
    figures.records = *records;
    figures.nodata_values = *nodata_values;

    for (std::size_t month = 0; month < 12; ++month) {
        const std::string_view row = lines[layout::kFirstMonthLine + month];
        const std::string label = layout::shown_in_a_field(layout::kMonthLabels[month], month_fields[0].width);
        if (row.substr(0, label.size()) != label || row.size() != month_row_length) return std::nullopt;
        for (std::size_t p = 0; p < kParameterCount; ++p) {
            const Field& field = month_fields[p + 1];
            figures.values[month][p] = shown_number(row.substr(field.start, field.width));
        }
    }
    return figures;
}

}  // namespace wgn::batch
