#include "page/svg_writer.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "readers/calendar_days.hpp"
#include "readers/number_text.hpp"

namespace wgn::page {
namespace {

constexpr const char* kMonthLetters[12] = {"J", "F", "M", "A", "M", "J", "J", "A", "S", "O", "N", "D"};
constexpr const char* kMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::string number(double value) {
    return coordinate_text(value);
}

}  // namespace

std::string coordinate_text(double value) {
    // 1. Ten times the value, rounded to a whole number: the tenths "%.1f"
    //    prints, unless the product lies so near a half that its own rounding
    //    may have moved it across (a tie, or within the error of the
    //    multiplication); such a value, and one too large, take snprintf.
    const double tenths = value * 10.0;
    const double whole = std::nearbyint(tenths);
    if (std::fabs(tenths) < 1e15 && std::fabs(std::fabs(tenths - whole) - 0.5) > 1e-6) {
        // 2. Written as digits, the tenth only when it is not 0; -0 is 0.
        const auto count = static_cast<long long>(whole);
        if (count == 0) return "0";
        const unsigned long long size =
            count < 0 ? 0ULL - static_cast<unsigned long long>(count) : static_cast<unsigned long long>(count);
        std::string shown = (count < 0 ? "-" : "") + std::to_string(size / 10);
        if (size % 10 != 0) shown.append(1, '.').append(1, static_cast<char>('0' + size % 10));
        return shown;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    std::string shown = text;
    if (shown.size() > 2 && shown.compare(shown.size() - 2, 2, ".0") == 0) shown.resize(shown.size() - 2);
    return shown == "-0" ? "0" : shown;
}

std::string grouped(long count) {
    std::string digits = std::to_string(count);
    const std::size_t first = digits.front() == '-' ? 1 : 0;
    for (std::size_t at = digits.size(); at > first + 3; at -= 3) digits.insert(at - 3, ",");
    return digits;
}

std::string escaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&': out.append("&amp;"); break;
            case '<': out.append("&lt;"); break;
            case '>': out.append("&gt;"); break;
            case '"': out.append("&quot;"); break;
            case '\'': out.append("&#39;"); break;
            default: out.push_back(c);
        }
    }
    return out;
}

Ticks round_ticks(double low, double high, int target) {
    Ticks ticks;
    if (!std::isfinite(low) || !std::isfinite(high)) low = 0, high = 1;
    if (high < low) std::swap(low, high);
    if (high - low < 1e-12) {
        const double pad = std::fabs(low) > 1e-12 ? std::fabs(low) * 0.1 : 1.0;
        low -= pad;
        high += pad;
    }
    // The step: 1, 2 or 5 times a power of ten, the one nearest (high - low) / target.
    const double rough = (high - low) / std::max(1, target);
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = power;
    for (const double factor : {1.0, 2.0, 5.0, 10.0}) {
        step = factor * power;
        if (step >= rough) break;
    }
    ticks.step = step;
    ticks.low = std::floor(low / step) * step;
    ticks.high = std::ceil(high / step) * step;
    const long count = std::lround((ticks.high - ticks.low) / step);
    for (long i = 0; i <= count; ++i) {
        const double t = ticks.low + static_cast<double>(i) * step;
        ticks.values.push_back(std::fabs(t) < step * 1e-9 ? 0.0 : t);
    }
    return ticks;
}

std::string tick_text(double value, double step) {
    int decimals = 0;
    while (decimals < 6 &&
           std::fabs(step * std::pow(10.0, decimals) - std::round(step * std::pow(10.0, decimals))) > 1e-9) {
        ++decimals;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string month_chart(const std::vector<MonthSeries>& series, const ChartOptions& options) {
    // 1. The range of every value drawn, the bands' ends included.
    double low = INFINITY, high = -INFINITY;
    const auto extend = [&](double v) {
        low = std::min(low, v);
        high = std::max(high, v);
    };
    for (const MonthSeries& s : series) {
        for (std::size_t m = 0; m < 12; ++m) {
            const auto v = readers::finite_number(s.texts[m]);
            if (!v) continue;
            extend(*v);
            if (const auto spread = readers::finite_number(s.spread[m])) extend(*v - *spread), extend(*v + *spread);
            if (const auto l = readers::finite_number(s.low[m]), h = readers::finite_number(s.high[m]); l && h)
                extend(*l), extend(*h);
        }
    }
    const bool empty = !std::isfinite(low);
    if (options.bars && !empty) extend(0);
    const Ticks ticks = empty ? round_ticks(0, 1) : round_ticks(low, high, 4);

    // 2. The frame: the plot area right of the tick labels, above the months.
    const double left = 34, right = options.width - 4.0, top = 20, bottom = options.height - 14.0;
    const double slot = (right - left) / 12;
    const auto x = [&](std::size_t m) { return left + slot * (static_cast<double>(m) + 0.5); };
    const auto y = [&](double v) { return bottom - (v - ticks.low) / (ticks.high - ticks.low) * (bottom - top); };
    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"chart\" width=\"" +
                      std::to_string(options.width) + "\" height=\"" + std::to_string(options.height) + "\">";
    svg.append("<text class=\"head\" x=\"2\" y=\"12\">").append(escaped(options.title));
    if (!options.unit.empty()) svg.append(" (").append(escaped(options.unit)).append(")");
    svg.append("</text><path class=\"grid\" d=\"");
    for (const double t : ticks.values) svg.append("M" + number(left) + " " + number(y(t)) + "H" + number(right));
    svg.append("\"/>");
    for (const double t : ticks.values) {
        svg.append("<text class=\"tick\" x=\"" + number(left - 2) + "\" y=\"" + number(y(t) + 3) + "\">" +
                   tick_text(t, ticks.step) + "</text>");
    }
    svg.append("<text class=\"months\" y=\"" + number(bottom + 11) + "\">");
    for (std::size_t m = 0; m < 12; ++m) {
        svg.append("<tspan x=\"" + number(x(m)) + "\">" + kMonthLetters[m] + "</tspan>");
    }
    svg.append("</text>");
    if (empty) {
        svg.append("<text class=\"none\" x=\"" + number((left + right) / 2) + "\" y=\"" + number((top + bottom) / 2) +
                   "\">no values</text></svg>");
        return svg;
    }

    // 3. Bands, bars and lines, each value's text on hover.
    for (std::size_t i = 0; i < series.size(); ++i) {
        const MonthSeries& s = series[i];
        std::string upper, lower, above, below, points, title = escaped(s.name) + ":";
        for (std::size_t m = 0; m < 12; ++m) {
            const auto v = readers::finite_number(s.texts[m]);
            if (!v) continue;
            if (const auto spread = readers::finite_number(s.spread[m])) {
                upper.append(number(x(m)) + "," + number(y(*v + *spread)) + " ");
                lower.insert(0, number(x(m)) + "," + number(y(*v - *spread)) + " ");
            }
            if (const auto l = readers::finite_number(s.low[m]), h = readers::finite_number(s.high[m]); l && h) {
                above.append(number(x(m)) + "," + number(y(*h)) + " ");
                below.insert(0, number(x(m)) + "," + number(y(*l)) + " ");
            }
            if (options.bars && i == 0) {
                const double top_y = std::min(y(*v), y(0)), height = std::fabs(y(*v) - y(0));
                svg.append("<rect class=\"" + s.style + "\" x=\"" + number(x(m) - slot * 0.35) + "\" y=\"" +
                           number(top_y) + "\" width=\"" + number(slot * 0.7) + "\" height=\"" + number(height) +
                           "\"><title>" + escaped(s.name) + ", " + kMonthNames[m] + ": " + escaped(s.texts[m]) +
                           "</title></rect>");
            } else {
                points.append(number(x(m)) + "," + number(y(*v)) + " ");
                title.append(" ").append(kMonthNames[m]).append(" ").append(escaped(s.texts[m]));
            }
        }
        if (!above.empty()) {
            above.append(below);
            above.pop_back();
            svg.append("<polygon class=\"band interval ").append(s.style).append("\" points=\"");
            svg.append(above).append("\"><title>").append(escaped(s.name)).append(", 90 % interval</title></polygon>");
        }
        if (!upper.empty()) {
            svg.append("<polygon class=\"band ").append(s.style).append("\" points=\"");
            svg.append(upper).append(lower).append("\"/>");
        }
        if (!points.empty()) {
            points.pop_back();
            svg.append("<polyline class=\"").append(s.style).append("\" points=\"").append(points);
            svg.append("\"><title>").append(title).append("</title></polyline>");
        }
    }
    svg.append("</svg>");
    return svg;
}

std::string coverage_grid(int first_year, const std::vector<std::array<int, 12>>& missing, int width) {
    const double cell_height = 7, left = 34;
    const double cell_width = (width - left - 4) / 12;
    const double height = 18 + cell_height * static_cast<double>(missing.size()) + 2;
    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"chart\" width=\"" + std::to_string(width) +
                      "\" height=\"" + number(height) + "\">";
    svg.append("<text class=\"head\" x=\"2\" y=\"12\">missing days by year and month</text>");
    // Complete years and months as one pale area; each month with gaps on
    // it, darker as more of its days are missing.
    svg.append("<rect class=\"full\" x=\"" + number(left) + "\" y=\"16\" width=\"" + number(cell_width * 12) +
               "\" height=\"" + number(cell_height * static_cast<double>(missing.size())) + "\"/>");
    for (std::size_t r = 0; r < missing.size(); ++r) {
        const int year = first_year + static_cast<int>(r);
        const double top = 16 + cell_height * static_cast<double>(r);
        if (r % 5 == 0) {
            svg.append("<text class=\"tick\" x=\"" + number(left - 2) + "\" y=\"" + number(top + cell_height) + "\">" +
                       std::to_string(year) + "</text>");
        }
        for (std::size_t m = 0; m < 12; ++m) {
            if (missing[r][m] == 0) continue;
            const int days = readers::days_in_month(year, static_cast<int>(m) + 1);
            char opacity[16];
            std::snprintf(opacity, sizeof opacity, "%.2f",
                          0.25 + 0.75 * std::min(1.0, static_cast<double>(missing[r][m]) / days));
            svg.append("<rect class=\"gap\" fill-opacity=\"" + std::string(opacity) + "\" x=\"" +
                       number(left + cell_width * static_cast<double>(m)) + "\" y=\"" + number(top) + "\" width=\"" +
                       number(cell_width) + "\" height=\"" + number(cell_height) + "\"><title>" + kMonthNames[m] + " " +
                       std::to_string(year) + ": " + std::to_string(missing[r][m]) + " days missing</title></rect>");
        }
    }
    svg.append("</svg>");
    return svg;
}

}  // namespace wgn::page
