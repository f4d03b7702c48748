#include "check/record_table.hpp"

#include <array>
#include <map>

#include "check/number_text.hpp"
#include "page/svg_writer.hpp"

namespace wgn::check {
namespace {

using page::escaped;

constexpr std::array<const char*, 12> kMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::string cell(const std::string& text, const char* attributes = "") {
    return std::string("<td") + attributes + ">" + escaped(text) + "</td>";
}

}  // namespace

bool outside_interval(const RecordValue& record, double generated) {
    const std::optional<double> low = number_of(record.low), high = number_of(record.high);
    return low && high && (generated < *low || generated > *high);
}

std::string record_table(const TableStation& station, const std::vector<GeneratedRow>& generated) {
    if (!station.record) return {};
    std::string html;
    if (!station.record->notes.empty())
        html.append("<p class=\"notes\">Intervals: " + escaped(station.record->notes) + ".</p>\n");
    std::map<std::pair<int, std::string>, double> by_month;
    for (const GeneratedRow& row : generated) by_month[{row.month, row.variable}] = row.generated;
    html.append(
        "<details class=\"record\"><summary>The record beside the table: its value and 90 % interval by month "
        "(a generated value outside the interval shaded)</summary><table><thead><tr><th>month</th><th>variable</th>"
        "<th>table</th><th>record</th><th>90 % interval</th><th>generated</th></tr></thead><tbody>");
    for (std::size_t m = 0; m < 12; ++m) {
        for (std::size_t c = 0; c < weather::kColumns.size(); ++c) {
            const RecordValue& record = station.record->values[m][c];
            const std::string interval = record.low.empty() ? "" : record.low + " … " + record.high;
            // dew_ave is generated as the humidity it stands for (rh), another quantity.
            const auto found = by_month.find({static_cast<int>(m + 1), weather::kColumns[c]});
            std::string shown;
            const char* shading = "";
            if (found != by_month.end()) {
                shown = fixed(found->second, 4);
                if (outside_interval(record, found->second)) shading = " class=\"far\"";
            }
            html.append("<tr>" + cell(kMonthNames[m]) + cell(weather::kColumns[c]) +
                        cell(station.station.values[m][c].text()) + cell(record.value) + cell(interval) +
                        cell(shown, shading) + "</tr>");
        }
    }
    return html + "</tbody></table></details>\n";
}

}  // namespace wgn::check
