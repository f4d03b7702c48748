#include "page/overview_page.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

#include "page/station_map.hpp"
#include "page/svg_writer.hpp"
#include "readers/number_text.hpp"
#include "weather/model_notes.hpp"
#include "weather/weather_record.hpp"

namespace wgn::page {
namespace {

using weather::kDewAve, weather::kPcpAve, weather::kPcpDays, weather::kPcpHhr, weather::kPcpSd, weather::kPcpSkew;
using weather::kSlrAve, weather::kTmpMaxAve, weather::kTmpMaxSd, weather::kTmpMinAve, weather::kTmpMinSd;
using weather::kWetDry, weather::kWetWet, weather::kWndAve;
constexpr const auto& kNames = weather::kColumns;

constexpr const char* kStyle =
    "body{font:14px/1.4 system-ui,sans-serif;margin:1em 2em;color:#222}"
    "h1{font-size:1.4em}h2{font-size:1.15em;margin-top:1.6em}"
    "table{border-collapse:collapse}th,td{padding:2px 8px;border-bottom:1px solid #ddd;text-align:left}"
    "th{cursor:pointer;background:#f3f3f3}tr.failed td{background:#fde8e8}tr.notes td{background:#fff6dd}"
    "figure{margin:0 8px 8px "
    "0;max-width:470px}.charts{display:flex;flex-wrap:wrap;gap:6px}.chart{background:#fff;border:1px solid #e4e4e4}"
    ".head{font-size:11px;font-weight:600}.tick{font-size:9px;fill:#666;text-anchor:end}"
    ".months{font-size:9px;fill:#666;text-anchor:middle}.none{font-size:11px;fill:#999;text-anchor:middle}"
    ".grid{stroke:#eee;fill:none}polyline{fill:none;stroke-width:1.5}"
    ".s0{stroke:#1f5fa8;fill:#1f5fa8}.s1{stroke:#c0392b;fill:#c0392b}rect.bar{fill:#5b8fd0}"
    "polyline.s0,polyline.s1{fill:none}.band{stroke:none;fill-opacity:.15}"
    "polyline.all{stroke:#9ab;stroke-width:.6;stroke-opacity:.6}polyline.median{stroke:#111;stroke-width:2.5}"
    "polyline.outlier{stroke:#d35400;stroke-width:1.2}.full{fill:#2e8b57;fill-opacity:.12}.gap{fill:#c0392b}"
    "section.station{border-top:2px solid #ccc;margin-top:1.5em;content-visibility:auto;contain-intrinsic-size:auto "
    "700px}.notes li{color:#8a4b00}"
    "@media print{th{cursor:auto}section.station{break-inside:avoid}}";

// The generated values of the check, a dashed line.
constexpr const char* kCheckStyle = ".gen{stroke:#555;fill:#555}polyline.gen{fill:none;stroke-dasharray:4 2}";

constexpr const char* kSortScript =
    "document.querySelectorAll('table.sortable th').forEach(function(th,i){th.addEventListener('click',function(){"
    "var tb=th.closest('table').tBodies[0],rows=Array.from(tb.rows),up=th.dataset.up!=='1';th.dataset.up=up?'1':'0';"
    "rows.sort(function(a,b){var x=a.cells[i].textContent,y=b.cells[i].textContent,p=parseFloat(x),q=parseFloat(y);"
    "var c=(!isNaN(p)&&!isNaN(q))?p-q:x.localeCompare(y);return "
    "up?c:-c;});rows.forEach(function(r){tb.appendChild(r);});});});";

std::array<std::string, 12> column(const PageStation& station, std::size_t c) {
    std::array<std::string, 12> texts;
    for (std::size_t m = 0; m < 12; ++m) texts[m] = station.values[m][c];
    return texts;
}

MonthSeries series_of(const PageStation& station, std::size_t c, const char* style, std::size_t spread = 99) {
    MonthSeries s{kNames[c], column(station, c), style, {}, {}, {}};
    if (spread < 14) s.spread = column(station, spread);
    for (std::size_t m = 0; m < 12; ++m) s.low[m] = station.low[m][c], s.high[m] = station.high[m][c];
    return s;
}

// The generated values of the series' column, where the check gave any.
std::optional<MonthSeries> generated_of(const PageStation& station, const MonthSeries& of) {
    const auto column = std::find(kNames.begin(), kNames.end(), of.name);
    if (column == kNames.end()) return std::nullopt;
    MonthSeries s{"generated " + of.name, {}, "gen", {}, {}, {}};
    bool any = false;
    for (std::size_t m = 0; m < 12; ++m) {
        s.texts[m] = station.generated[m][static_cast<std::size_t>(column - kNames.begin())];
        any = any || !s.texts[m].empty();
    }
    if (!any) return std::nullopt;
    return s;
}

bool has_values(const PageStation& station, std::size_t c) {
    for (std::size_t m = 0; m < 12; ++m) {
        if (readers::finite_number(station.values[m][c])) return true;
    }
    return false;
}

std::string id_of(std::string_view name) {
    std::string id = "st-";
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if ((u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || c == '-' || c == '_') {
            id.push_back(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, ".%02X", u);
            id.append(hex);
        }
    }
    return id;
}

// The station's charts, by parameter group.
std::vector<std::string> station_charts(const PageStation& station) {
    std::vector<std::string> charts;
    const auto chart = [&](std::vector<MonthSeries> series, const char* title, const char* unit, bool bars = false) {
        const std::size_t own = series.size();
        for (std::size_t i = 0; i < own; ++i) {
            if (std::optional<MonthSeries> generated = generated_of(station, series[i]))
                series.push_back(std::move(*generated));
        }
        const std::string shown = series.size() > own ? std::string(title) + "; generated dashed" : title;
        charts.push_back(month_chart(series, ChartOptions{shown, unit, bars}));
    };
    chart({series_of(station, kPcpAve, "bar")}, "precipitation, pcp_ave", "mm", true);
    chart({series_of(station, kPcpDays, "s0")}, "wet days, pcp_days", "days");
    chart({series_of(station, kWetDry, "s0"), series_of(station, kWetWet, "s1")}, "wet_dry (blue), wet_wet (red)", "");
    chart({series_of(station, kPcpSd, "s0"), series_of(station, kPcpSkew, "s1")}, "pcp_sd (blue), pcp_skew (red)", "");
    if (has_values(station, kTmpMaxAve) || has_values(station, kTmpMinAve)) {
        chart({series_of(station, kTmpMaxAve, "s1", kTmpMaxSd), series_of(station, kTmpMinAve, "s0", kTmpMinSd)},
              "tmp max (red), min (blue), \xC2\xB1"
              "1 sd",
              "\xC2\xB0"
              "C");
    }
    if (has_values(station, kPcpHhr)) chart({series_of(station, kPcpHhr, "s0")}, "pcp_hhr", "mm");
    if (has_values(station, kSlrAve))
        chart({series_of(station, kSlrAve, "s0")}, "radiation, slr_ave", "MJ/m\xC2\xB2/day");
    if (has_values(station, kDewAve))
        chart({series_of(station, kDewAve, "s0")}, "dew point, dew_ave",
              "\xC2\xB0"
              "C");
    if (has_values(station, kWndAve)) chart({series_of(station, kWndAve, "s0")}, "wind, wnd_ave", "m/s");
    if (!station.coverage.empty()) charts.push_back(coverage_grid(station.coverage_first_year, station.coverage));
    return charts;
}

// For one parameter: every station a thin line, the median of the stations
// bold, the three stations furthest from it (summed over the months) named.
std::string comparison_chart(const std::vector<PageStation>& stations, std::size_t c, std::string& named) {
    std::vector<MonthSeries> series;
    std::array<std::string, 12> median_texts;
    std::array<double, 12> median{};
    for (std::size_t m = 0; m < 12; ++m) {
        std::vector<double> values;
        for (const PageStation& s : stations) {
            if (const auto v = readers::finite_number(s.values[m][c]); v && s.ok) values.push_back(*v);
        }
        if (values.empty()) continue;
        std::sort(values.begin(), values.end());
        const std::size_t n = values.size();
        median[m] = n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
        char text[32];
        std::snprintf(text, sizeof text, "%.4g", median[m]);
        median_texts[m] = text;
    }
    std::vector<std::pair<double, std::size_t>> distances;
    for (std::size_t i = 0; i < stations.size(); ++i) {
        if (!stations[i].ok || !has_values(stations[i], c)) continue;
        double distance = 0;
        for (std::size_t m = 0; m < 12; ++m) {
            if (const auto v = readers::finite_number(stations[i].values[m][c])) distance += std::fabs(*v - median[m]);
        }
        distances.emplace_back(distance, i);
        // The stations side by side, without their intervals.
        series.push_back(MonthSeries{stations[i].name + ", " + kNames[c], column(stations[i], c), "all", {}, {}, {}});
    }
    if (series.empty()) return {};
    std::sort(distances.begin(), distances.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    for (std::size_t k = 0; k < std::min<std::size_t>(3, distances.size()) && distances.size() > 3; ++k) {
        const PageStation& far = stations[distances[k].second];
        series.push_back(MonthSeries{far.name + ", " + kNames[c], column(far, c), "outlier", {}, {}, {}});
        named.append(named.empty() ? "" : ", ").append(far.name);
    }
    series.push_back(MonthSeries{"median of the stations", median_texts, "median", {}, {}, {}});
    return month_chart(series, ChartOptions{kNames[c], "", false, 460, 220});
}

std::string list_item(std::string_view text) {
    return "<li>" + escaped(text) + "</li>";
}

// A station that succeeded but has something to say: wgnrain's warnings,
// values left out, or model notes.
bool has_findings(const PageStation& s) {
    return !s.notes.empty() || s.warnings > 0 || !s.refused.empty();
}

// The station table's cell of model notes: "0", else "2 changes, 1 note"
// (sorted by the changes).
std::string notes_cell(const PageStation& s) {
    if (s.notes.empty()) return "0";
    const auto counted = [](std::size_t count, const char* what) {
        return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
    };
    return counted(weather::count_of(s.notes, weather::NoteKind::change), "change") + ", " +
           counted(weather::count_of(s.notes, weather::NoteKind::note), "note");
}

// A station's notes of one kind under their heading; nothing without any.
std::string notes_list(const PageStation& s, weather::NoteKind kind, std::string_view heading) {
    std::string html;
    for (const weather::ModelNote& note : s.notes) {
        if (note.kind == kind) html.append(list_item(note.text));
    }
    if (html.empty()) return html;
    return "<p>" + std::string(heading) + "</p><ul class=\"notes\">" + html + "</ul>";
}

}  // namespace

std::string link_address(std::string_view path) {
    std::string address;
    for (const char c : path) {
        const auto u = static_cast<unsigned char>(c);
        if (u <= 32 || u >= 127 || c == '%' || c == '#' || c == '?' || c == '"' || c == '<' || c == '>' || c == '&' ||
            c == '\\') {
            char hex[8];
            std::snprintf(hex, sizeof hex, "%%%02X", u);
            address.append(hex);
        } else {
            address.push_back(c);
        }
    }
    return address;
}

std::string station_picture(const PageStation& station) {
    // The charts side by side, three to a row, in one SVG with its own styles.
    const std::vector<std::string> charts = station_charts(station);
    const int columns = 3, width = 300, height = 150;
    const int rows = static_cast<int>((charts.size() + columns - 1) / columns);
    int tallest_last = height;
    if (!station.coverage.empty()) tallest_last = std::max(height, 20 + 7 * static_cast<int>(station.coverage.size()));
    const int total_height = 24 + (rows - 1) * (height + 6) + tallest_last;
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                      std::to_string(columns * (width + 6)) + "\" height=\"" + std::to_string(total_height) + "\">";
    svg.append("<style>").append(kStyle).append("</style>");
    svg.append("<text class=\"head\" x=\"2\" y=\"14\">")
        .append(escaped(station.name + ": " + station.period))
        .append("</text>");
    for (std::size_t i = 0; i < charts.size(); ++i) {
        const int x = static_cast<int>(i % columns) * (width + 6),
                  y = 22 + static_cast<int>(i / columns) * (height + 6);
        svg.append("<g transform=\"translate(" + std::to_string(x) + "," + std::to_string(y) + ")\">")
            .append(charts[i])
            .append("</g>");
    }
    svg.append("</svg>\n");
    return svg;
}

void overview_page(const std::vector<PageStation>& stations, const PageTotals& totals,
                   const std::function<void(std::string_view)>& write) {
    std::size_t with_notes = 0;
    for (const PageStation& s : stations) with_notes += s.ok && has_findings(s) ? 1 : 0;
    std::string html =
        "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"/>"
        "<meta name=\"viewport\" content=\"width=device-width\"/><title>" +
        escaped(totals.program) + ": " + std::to_string(totals.stations) + " stations</title><style>" + kStyle +
        (totals.checked ? kCheckStyle : "") + "</style></head><body>\n";
    // 1. The header.
    html.append("<header><h1>Weather-generator parameters of " + std::to_string(totals.stations) +
                " stations</h1><p id=\"totals\">Written " + escaped(totals.when) + " by " + escaped(totals.program) +
                " " + escaped(totals.version) + ": " + std::to_string(totals.stations) + " stations, " +
                std::to_string(totals.ok) + " succeeded, " + std::to_string(totals.failed) + " failed, " +
                std::to_string(totals.not_run) + " not run; " + std::to_string(with_notes) +
                " with warnings, values left out or model notes.</p>");
    if (totals.shown < totals.stations) {
        html.append("<p>The page shows the first " + std::to_string(totals.shown) +
                    " stations of the list; summary.csv and the other tables hold all.</p>");
    }
    html.append(
        "<p>Tables: <a href=\"summary.csv\">summary.csv</a>, <a href=\"userwgn_pcp.csv\">userwgn_pcp.csv</a>, "
        "<a href=\"wgn_mon_pcp.csv\">wgn_mon_pcp.csv</a></p>");
    html.append("<p id=\"pcp-days\">" + escaped(weather::recomputed_pcp_days().text) + "</p>");
    if (totals.checked) {
        html.append(
            "<div id=\"check\"><p>The model's generated monthly total or wet days (<a "
            "href=\"check/index.html\">check/index.html</a>) outside the record's 90 % interval (<a "
            "href=\"intervals.csv\">intervals.csv</a>): ");
        if (totals.outside_intervals.empty()) {
            html.append("no station.</p></div>");
        } else {
            html.append(std::to_string(totals.outside_intervals.size()) + " stations, by month:</p><ul>");
            for (const std::string& line : totals.outside_intervals) html.append(list_item(line));
            html.append("</ul></div>");
        }
    }
    html.append("</header>\n");

    // 2. The station table: failures first, then stations with notes.
    std::vector<std::size_t> order(stations.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    const auto rank = [&](const PageStation& s) { return !s.ok ? 0 : has_findings(s) ? 1 : 2; };
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return rank(stations[a]) < rank(stations[b]); });
    html.append(
        "<section id=\"stations\"><h2>Stations</h2><table class=\"sortable\"><thead><tr><th>station</th>"
        "<th>status</th><th>period</th><th>missing %</th><th>warnings</th><th>model notes</th></tr></thead><tbody>\n");
    for (const std::size_t i : order) {
        const PageStation& s = stations[i];
        const char* row_class = rank(s) == 0 ? " class=\"failed\"" : rank(s) == 1 ? " class=\"notes\"" : "";
        html.append(std::string("<tr") + row_class + "><td><a href=\"#" + id_of(s.name) + "\">" + escaped(s.name) +
                    "</a></td><td>" + escaped(s.status) + "</td><td>" + escaped(s.period) + "</td><td>" +
                    escaped(s.missing_percent) + "</td><td>" + std::to_string(s.warnings) + "</td><td>" +
                    notes_cell(s) + "</td></tr>\n");
    }
    html.append("</tbody></table></section>\n");

    // 3. Where the stations are, when two or more have a position.
    html.append(station_map(stations, totals.shown, totals.stations));

    // 4. All stations by month.
    html.append(
        "<section id=\"comparison\"><h2>All stations by month</h2><p>Every station a thin line, the median "
        "of the stations bold, the three furthest from it in orange and named.</p><div class=\"charts\">");
    for (const std::size_t c : {kPcpAve, kPcpDays, kWetDry, kWetWet, kTmpMaxAve, kTmpMinAve}) {
        std::string named;
        const std::string chart = comparison_chart(stations, c, named);
        if (chart.empty()) continue;
        html.append("<figure>" + chart + "<figcaption>" + kNames[c] +
                    (named.empty() ? "" : ": furthest from the median ") + escaped(named) + "</figcaption></figure>");
    }
    html.append("</div></section>\n");
    write(html);

    // 5. Each station, written as it is made.
    for (const PageStation& s : stations) {
        html.clear();
        html.append("<section class=\"station\" id=\"" + id_of(s.name) + "\"><h2>" + escaped(s.name) + "</h2><p>" +
                    escaped(s.status));
        if (!s.period.empty()) html.append(", " + escaped(s.period) + ", " + escaped(s.missing_percent) + " % missing");
        if (!s.report_line.empty()) html.append(": " + escaped(s.report_line));
        html.append("</p>");
        if (!s.model_name.empty())
            html.append("<p>In the model files: " + escaped(s.model_name) + " (one word of at most 50 bytes).</p>");
        if (!s.years_outside.empty()) {
            html.append("<p>Well-covered years outside the period (at most 10 % of their days missing): " +
                        escaped(s.years_outside) + ".</p>");
        }
        if (!s.pcp_threshold.empty()) {
            html.append("<p>Days below " + escaped(s.pcp_threshold) +
                        " mm written as dry: " + grouped(s.below_threshold) + ".</p>");
        }
        if (!s.outlier_days.empty()) {
            html.append("<p>Days left out as missing, their values not plausible: " + escaped(s.outlier_days) +
                        ".</p>");
        }
        if (!s.interval_notes.empty()) html.append("<p>Intervals: " + escaped(s.interval_notes) + ".</p>");
        if (s.ok) {
            html.append("<div class=\"charts\">");
            for (const std::string& chart : station_charts(s)) html.append(chart);
            html.append("</div>");
        }
        if (s.warnings > 0) {
            html.append("<p>" + std::to_string(s.warnings) + " warning" + (s.warnings > 1 ? "s" : "") +
                        " of wgnrain, the first:</p><ul class=\"notes\">" + list_item(s.first_warning) + "</ul>");
        }
        if (!s.refused.empty()) {
            html.append(
                "<p>Left out: values that cannot be what they say (most often a unit not stated):</p>"
                "<ul class=\"notes\">");
            for (const std::string& why : s.refused) html.append(list_item(why));
            html.append("</ul>");
        }
        html.append(notes_list(s, weather::NoteKind::change,
                               "Changes: the model generates other weather than the table says:"));
        html.append(notes_list(s, weather::NoteKind::note,
                               "Notes: the model reads these values otherwise than they are meant:"));
        if (!s.files.empty()) {
            html.append("<p>Files:");
            for (const std::string& file : s.files) {
                html.append(" <a href=\"" + link_address(s.name + "/" + file) + "\">" + escaped(file) + "</a>");
            }
            html.append("</p>");
        }
        html.append("</section>\n");
        write(html);
    }
    html.clear();
    // (Inside CDATA markers, so that the page is also well-formed XML.)
    html.append(std::string("<script>/*<![CDATA[*/") + kSortScript + "/*]]>*/</script>\n</body></html>\n");
    write(html);
}

}  // namespace wgn::page
