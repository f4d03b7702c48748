// The SVG writer of the overview page: escaping, round ticks, charts with
// missing and non-numeric values, the coverage grid, link addresses.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include "page/overview_page.hpp"
#include "page/svg_writer.hpp"

namespace wgn::page {
namespace {

TEST(Svg, TextEscaped) {
    EXPECT_EQ(escaped("a < b & \"c\" > 'd'"), "a &lt; b &amp; &quot;c&quot; &gt; &#39;d&#39;");
    EXPECT_EQ(escaped("Zürich"), "Zürich");
    EXPECT_EQ(link_address("De Bilt #2/report.txt"), "De%20Bilt%20%232/report.txt");
    EXPECT_EQ(link_address("Zürich/x"), "Z%C3%BCrich/x");
}

TEST(Svg, RoundTicks) {
    struct Case {
        double low, high;
        std::vector<double> ticks;
    };
    const Case cases[] = {
        {0.13, 0.91, {0, 0.2, 0.4, 0.6, 0.8, 1}},
        {-3.5, 27, {-10, 0, 10, 20, 30}},
        {5, 5, {4.4, 4.6, 4.8, 5, 5.2, 5.4, 5.6}},  // one value: a tenth of it either side
        {0, 0, {-1, -0.5, 0, 0.5, 1}},
        {27, -3.5, {-10, 0, 10, 20, 30}},  // given the wrong way round
        {1200, 1900, {1200, 1400, 1600, 1800, 2000}},
    };
    for (const Case& c : cases) {
        const Ticks ticks = round_ticks(c.low, c.high);
        ASSERT_EQ(ticks.values.size(), c.ticks.size()) << c.low << " " << c.high;
        for (std::size_t i = 0; i < c.ticks.size(); ++i) EXPECT_NEAR(ticks.values[i], c.ticks[i], 1e-9) << c.low;
    }
    EXPECT_EQ(tick_text(0.6000000001, 0.2), "0.6");
    EXPECT_EQ(tick_text(20, 10), "20");
    EXPECT_EQ(tick_text(0.25, 0.05), "0.25");
}

TEST(Svg, ChartsOfMissingAndOddValues) {
    MonthSeries s{"st <1>", {"1.5", "", "NaN", "2.5", "Infinity", "3", "", "", "", "", "", "4"}, "s0", {}, {}, {}};
    const std::string line = month_chart({s}, ChartOptions{"t & u", "mm"});
    // The line's title names every value drawn and no other; the name escaped.
    EXPECT_NE(line.find("<title>st &lt;1&gt;: Jan 1.5 Apr 2.5 Jun 3 Dec 4</title>"), std::string::npos) << line;
    EXPECT_NE(line.find("t &amp; u (mm)"), std::string::npos);
    // Bars: a title each, with the text of its cell.
    const std::string bars = month_chart({s}, ChartOptions{"t", "", true});
    EXPECT_NE(bars.find("<title>st &lt;1&gt;, Apr: 2.5</title>"), std::string::npos);
    EXPECT_EQ(bars.find("NaN"), std::string::npos);
    // Nothing to draw: said so.
    MonthSeries none{"x", {}, "s0", {}, {}, {}};
    EXPECT_NE(month_chart({none}, ChartOptions{"t", ""}).find("no values"), std::string::npos);
}

TEST(Svg, CoverageGridShadesOnlyTheGaps) {
    std::vector<std::array<int, 12>> missing(3);
    missing[1][1] = 28;  // February 2001 wholly missing
    missing[2][0] = 3;
    const std::string grid = coverage_grid(2000, missing);
    EXPECT_NE(grid.find("<title>Feb 2001: 28 days missing</title>"), std::string::npos);
    EXPECT_NE(grid.find("fill-opacity=\"1.00\""), std::string::npos);
    EXPECT_NE(grid.find("<title>Jan 2002: 3 days missing</title>"), std::string::npos);
    EXPECT_EQ(grid.find("Mar 2000"), std::string::npos);
}

}  // namespace
}  // namespace wgn::page

namespace wgn::page {
namespace {

// The quick tenths against "%.1f" itself, over the sizes a chart's
// coordinates take, the ties and their neighbours included.
TEST(Svg, CoordinatesAsPrintfRoundsThem) {
    const auto by_printf = [](double value) {
        char text[32];
        std::snprintf(text, sizeof text, "%.1f", value);
        std::string shown = text;
        if (shown.size() > 2 && shown.compare(shown.size() - 2, 2, ".0") == 0) shown.resize(shown.size() - 2);
        return shown == "-0" ? std::string("0") : shown;
    };
    std::uint64_t state = 12345;
    for (int i = 0; i < 300000; ++i) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        const double value = (static_cast<double>(state >> 11) / 9007199254740992.0 - 0.5) * 4000.0;
        ASSERT_EQ(coordinate_text(value), by_printf(value)) << value;
    }
    for (int k = -20000; k <= 20000; ++k) {
        const double tie = k / 10.0 + 0.05;
        for (const double value :
             {tie, std::nextafter(tie, -1e9), std::nextafter(tie, 1e9), k / 10.0, k / 4.0, -0.0, 1e300})
            ASSERT_EQ(coordinate_text(value), by_printf(value)) << value;
    }
}

}  // namespace
}  // namespace wgn::page
