// A small SVG writer for the batch's overview: axes with round ticks, bars,
// lines, a shaded grid, every text escaped.  Charts are drawn by month
// (January ... December) from the tables' own texts, so that a value's
// hover title is the very text of its CSV cell.
//
//   escaped("a < b & \"c\"")    -> "a &lt; b &amp; &quot;c&quot;"
//   round_ticks(0.13, 0.91)     -> 0, 0.2, 0.4, 0.6, 0.8, 1   (step 0.2)
//   round_ticks(-3.5, 27)       -> -10, 0, 10, 20, 30
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wgn::page {

std::string escaped(std::string_view text);
// A count with its thousands set apart: 1234567 -> "1,234,567".
std::string grouped(long count);

struct Ticks {
    double low = 0, high = 1, step = 1;
    std::vector<double> values;
};
// Round ticks (1, 2 or 5 times a power of ten) covering [low, high], about
// `target` of them; an empty or one-point range gets a range around it.
Ticks round_ticks(double low, double high, int target = 5);
// A coordinate to a tenth of a pixel, as "%.1f" rounds it, without a
// trailing ".0":  12.34 -> "12.3"   7.96 -> "8"   -0.02 -> "0"   -3.25 -> "-3.2"
std::string coordinate_text(double value);

// A tick as text with no more decimals than its step needs: 0.2 -> "0.2", 10 -> "10".
std::string tick_text(double value, double step);

// One line (or set of bars) of a chart: twelve monthly values as texts ("" or
// a text that is not a number: no value).
struct MonthSeries {
    std::string name;
    std::array<std::string, 12> texts;
    std::string style;  // a CSS class: "s0", "s1" (a station's), "all", "median", "outlier", "bar"
    // Optional: a deviation around each value, drawn as a shaded band
    // (value - deviation ... value + deviation).
    std::array<std::string, 12> spread;
    // Optional: the 90 % interval of each value (low ... high), drawn as a
    // band of its own where both ends are numbers.
    std::array<std::string, 12> low, high;
};

struct ChartOptions {
    std::string title;
    std::string unit;
    bool bars = false;  // the first series as bars, the others as lines
    int width = 300, height = 150;
};

// A chart by month as an <svg> element; a chart without any value says so.
// A bar carries its value's text as its hover title; a line carries all
// its values ("Jan 64.17, Feb 50.20, ...") as the title of the line.
std::string month_chart(const std::vector<MonthSeries>& series, const ChartOptions& options);

// The year x month grid of missing days, shaded by their share of the month.
std::string coverage_grid(int first_year, const std::vector<std::array<int, 12>>& missing, int width = 320);

}  // namespace wgn::page
