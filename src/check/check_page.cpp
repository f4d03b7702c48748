#include "check/check_page.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>

#include "check/number_text.hpp"
#include "check/record_table.hpp"
#include "page/svg_writer.hpp"

namespace wgn::check {
namespace {

using page::escaped;

constexpr std::array<const char*, 12> kMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

constexpr const char* kStyle =
    "body{font:14px/1.4 system-ui,sans-serif;margin:1em 2em;color:#222}h1{font-size:1.4em}"
    "h2{font-size:1.15em;margin-top:1.6em}table{border-collapse:collapse}"
    "th,td{padding:2px 6px;border-bottom:1px solid #ddd;text-align:right}th:first-child,td:first-child{text-align:left}"
    "td.far{background:#fde8e8}.charts{display:flex;flex-wrap:wrap;gap:6px}"
    ".chart{background:#fff;border:1px solid #e4e4e4}.head{font-size:11px;font-weight:600}"
    ".tick{font-size:9px;fill:#666;text-anchor:end}.months{font-size:9px;fill:#666;text-anchor:middle}"
    ".none{font-size:11px;fill:#999;text-anchor:middle}.grid{stroke:#eee;fill:none}"
    "polyline{fill:none;stroke-width:1.5}.s0{stroke:#c0392b;fill:#c0392b}polyline.s0{fill:none}"
    "rect.bar{fill:#5b8fd0}.change{color:#8a4b00}.suspect,.missing{color:#b03020}"
    ".rec{stroke:#2e8b57;fill:#2e8b57}polyline.rec{fill:none;stroke-dasharray:3 2}.band{stroke:none;fill-opacity:.15}"
    ".notes{color:#8a4b00}details.record{margin:.6em 0}"
    "section{border-top:2px solid #ccc;margin-top:1.5em}";

// The variables charted, with their units.
struct Charted {
    const char* variable;
    const char* unit;
};
constexpr std::array<Charted, 12> kCharted = {{
    {"pcp_ave", "mm"},
    {"pcp_days", "days"},
    {"pcp_hhr", "mm"},
    {"wet_dry", ""},
    {"wet_wet", ""},
    {"tmp_max_ave", "°C"},
    {"tmp_min_ave", "°C"},
    {"tmp_max_sd", "°C"},
    {"tmp_min_sd", "°C"},
    {"slr_ave", "MJ/m²/day"},
    {"rh", ""},
    {"wnd_ave", "m/s"},
}};

std::string findings_list(const std::vector<AuditRow>& findings) {
    if (findings.empty()) return "<p>No findings: the model reads the table as it is written.</p>\n";
    std::string html = "<ul class=\"findings\">";
    for (const AuditRow& row : findings) {
        const std::string kind(name(kind_of(row.finding)));
        const std::string when = row.month == 0 ? "" : std::string(kMonthNames[row.month - 1]) + " ";
        html.append("<li class=\"").append(kind).append("\">");
        html.append(escaped(when + row.variable + ": " + row.detail)).append(" (");
        html.append(escaped(std::string(name(row.finding)))).append(", ").append(kind).append(")</li>");
    }
    return html + "</ul>\n";
}

// The record's values and intervals of a variable charted, where the station has them.
std::optional<page::MonthSeries> record_series(const TableStation& station, std::string_view variable) {
    const auto column = std::find(weather::kColumns.begin(), weather::kColumns.end(), variable);
    if (!station.record || column == weather::kColumns.end()) return std::nullopt;
    page::MonthSeries series{"record", {}, "rec", {}, {}, {}};
    for (std::size_t m = 0; m < 12; ++m) {
        const RecordValue& value =
            station.record->values[m][static_cast<std::size_t>(column - weather::kColumns.begin())];
        series.texts[m] = value.value;
        series.low[m] = value.low;
        series.high[m] = value.high;
    }
    return series;
}

std::string charts(const TableStation& station,
                   const std::map<std::string, std::array<const GeneratedRow*, 12>>& by_variable) {
    std::string html = "<div class=\"charts\">";
    for (const Charted& charted : kCharted) {
        const auto found = by_variable.find(charted.variable);
        if (found == by_variable.end()) continue;
        page::MonthSeries table{"table", {}, "bar", {}, {}, {}}, generated{"generated", {}, "s0", {}, {}, {}};
        for (std::size_t m = 0; m < 12; ++m) {
            if (const GeneratedRow* row = found->second[m]) {
                table.texts[m] = row->table;
                generated.texts[m] = fixed(row->generated, 4);
            }
        }
        page::ChartOptions options;
        options.title = std::string(charted.variable) + ": table (bars), generated (line)";
        options.unit = charted.unit;
        options.bars = true;
        std::vector<page::MonthSeries> series = {table, generated};
        if (std::optional<page::MonthSeries> record = record_series(station, charted.variable)) {
            options.title = std::string(charted.variable) + ": table (bars), generated (line), record (band)";
            series.push_back(std::move(*record));
        }
        html.append(page::month_chart(series, options));
    }
    return html + "</div>\n";
}

std::string ratio_table(const std::map<std::string, std::array<const GeneratedRow*, 12>>& by_variable,
                        const std::vector<GeneratedRow>& rows) {
    std::string html = "<table><thead><tr><th>generated / table</th>";
    for (const char* month : kMonthNames) html.append("<th>").append(month).append("</th>");
    html.append("</tr></thead><tbody>");
    std::vector<std::string> order;
    for (const GeneratedRow& row : rows) {
        if (row.month == 1) order.push_back(row.variable);
    }
    for (const std::string& variable : order) {
        html.append("<tr><td>" + escaped(variable) + "</td>");
        for (const GeneratedRow* row : by_variable.at(variable)) {
            const std::optional<double> table = row != nullptr ? number_of(row->table) : std::nullopt;
            if (!table || *table == 0.0) {
                html.append("<td title=\"generated " + (row != nullptr ? fixed(row->generated, 4) : "") + "\"></td>");
                continue;
            }
            const double ratio = row->generated / *table;
            const bool far = std::fabs(ratio - 1.0) > 0.1;
            html.append(std::string("<td") + (far ? " class=\"far\"" : "") + " title=\"table " + escaped(row->table) +
                        ", generated " + fixed(row->generated, 4) + "\">" + fixed(ratio, 2) + "</td>");
        }
        html.append("</tr>");
    }
    return html + "</tbody></table>\n";
}

}  // namespace

std::string check_page(const std::vector<PageStation>& stations, const std::string& run) {
    std::string html =
        "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><title>What the model will "
        "make of " +
        std::to_string(stations.size()) + " stations</title><style>" + kStyle + "</style></head><body>\n";
    html.append("<h1>What the model will make of " + std::to_string(stations.size()) + " stations</h1><p>" +
                escaped(run) +
                ". Each chart: the table's value by month (bars) and the same statistic of the "
                "generated days (line); a ratio more than 10 % from 1 is shaded.</p>\n");
    for (const PageStation& station : stations) {
        html.append("<section><h2>" + escaped(station.station->station.name) + "</h2><p>" +
                    escaped(station.station->file) + ", line " + std::to_string(station.station->station.line) +
                    "</p>\n");
        html.append(findings_list(station.findings));
        if (station.generated.empty()) {
            html.append("<p>Not generated: " + escaped(station.not_generated) + ".</p></section>\n");
            continue;
        }
        std::map<std::string, std::array<const GeneratedRow*, 12>> by_variable;
        for (const GeneratedRow& row : station.generated) {
            by_variable[row.variable][static_cast<std::size_t>(row.month - 1)] = &row;
        }
        html.append(charts(*station.station, by_variable)).append(ratio_table(by_variable, station.generated));
        html.append(record_table(*station.station, station.generated)).append("</section>\n");
    }
    return html + "</body></html>\n";
}

}  // namespace wgn::check
