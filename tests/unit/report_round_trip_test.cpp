// The report as wgnrain writes it, read back by the batch: the same layout on
// both sides, whatever the values (numbers the fields cannot show included).
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>

#include "batch/report_reader.hpp"
#include "driver/shared_records.hpp"
#include "io/units.hpp"
#include "report/write_report.hpp"
#include "stats/month_statistics.hpp"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// January's PCP_MM, PCPSTD, PCPSKW, PR_W1, PR_W2, PCPD.
using Six = std::array<float, 6>;
using SixShown = std::array<std::string, 6>;

struct Case {
    std::int32_t first_year, years, leap_years, records, nodata_values;
    Six january;
    // What the batch reads: first year, years, leap years, records, NoData values.
    std::array<std::string, 5> counts;
    SixShown shown;
};

// Written under a name of the running test's own: ctest runs tests side by side.
std::string written_report(const Case& c) {
    const std::string name =
        std::string("report-") + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt";
    wgn::run_settings.output_file_name = name;
    wgn::run_settings.input_file_name = "series.txt";
    wgn::MonthStatistics& s = wgn::month_statistics;
    s = {};
    for (std::size_t m = 1; m <= 12; ++m) {
        const Six v = m == 1 ? c.january : Six{1.5F, 0.25F, -0.5F, 0.125F, 0.75F, 3.0F};
        s.PCP_MM[m] = v[0];
        s.PCPSTD[m] = v[1];
        s.PCPSKW[m] = v[2];
        s.PR_W1[m] = v[3];
        s.PR_W2[m] = v[4];
        s.PCPD[m] = v[5];
    }
    wgn::write_report(c.years, c.first_year, c.leap_years, c.records, c.nodata_values);
    wgn::io::close_unit(400);
    std::ifstream file(name, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    file.close();
    std::remove(name.c_str());
    return text.str();
}

TEST(ReportRoundTrip, TheBatchReadsWhatTheReportShows) {
    const Case cases[] = {
        {1990,
         30,
         7,
         10957,
         12,
         {64.17F, 3.8913F, 3.3283F, 0.3295F, 0.6854F, 16.63F},
         {"1990", "30", "7", "10957", "12"},
         {"64.17", "3.8913", "3.3283", "0.3295", "0.6854", "16.63"}},
        // Rounded to the field's digits; a value below half the last digit is zero.
        {1,
         1,
         0,
         365,
         0,
         {2.675F, 0.00004F, 12.34566F, 1.0F, 0.0F, 31.0F},
         {"1", "1", "0", "365", "0"},
         {"2.67", "0.0000", "12.3457", "1.0000", "0.0000", "31.00"}},
        // NaN, infinities and values too wide for their fields show no number.
        {1990,
         30,
         7,
         10957,
         10957,
         {kNaN, kInf, -kInf, 1e7F, kNaN, 1e9F},
         {"1990", "30", "7", "10957", "10957"},
         {"", "", "", "", "", ""}},
        // Counts too wide for their fields: years from 10,000 on, 1,000 years, 10^8 records.
        {12345,
         1000,
         250,
         365000000,
         123456789,
         {0.0F, 0.0F, 0.0F, 0.0F, 0.0F, 0.0F},
         {"", "", "250", "", ""},
         {"0.00", "0.0000", "0.0000", "0.0000", "0.0000", "0.00"}},
        // Negative years and counts are shown with their sign.
        {-5,
         3,
         0,
         1095,
         0,
         {-1.25F, 0.5F, -2.5F, 0.0F, 0.0F, 0.0F},
         {"-5", "3", "0", "1095", "0"},
         {"-1.25", "0.5000", "-2.5000", "0.0000", "0.0000", "0.00"}},
    };
    for (const Case& c : cases) {
        const std::string text = written_report(c);
        const std::optional<wgn::batch::ReportFigures> figures = wgn::batch::read_report(text);
        ASSERT_TRUE(figures) << text;
        EXPECT_EQ((std::array<std::string, 5>{figures->first_year, figures->years, figures->leap_years,
                                              figures->records, figures->nodata_values}),
                  c.counts)
            << text;
        for (std::size_t p = 0; p < 6; ++p) EXPECT_EQ(figures->values[0][p], c.shown[p]) << p << "\n" << text;
        // The other months, the same in every case.
        EXPECT_EQ(figures->values[11], (SixShown{"1.50", "0.2500", "-0.5000", "0.1250", "0.7500", "3.00"})) << text;
    }
}

// A report cut short, or with a line out of place, is not a report.
TEST(ReportRoundTrip, DamagedReportsAreRefused) {
    const Case c{1990, 30, 7, 10957, 12, {1.0F, 1.0F, 1.0F, 1.0F, 1.0F, 1.0F}, {}, {}};
    const std::string text = written_report(c);
    ASSERT_TRUE(wgn::batch::read_report(text));
    const auto without_line = [&](std::size_t line) {
        std::size_t start = 0;
        for (std::size_t k = 0; k < line; ++k) start = text.find('\n', start) + 1;
        return text.substr(0, start) + text.substr(text.find('\n', start) + 1);
    };
    for (const std::size_t line : {0U, 3U, 4U, 5U, 6U, 13U, 24U}) {
        EXPECT_FALSE(wgn::batch::read_report(without_line(line))) << line;
    }
    EXPECT_FALSE(wgn::batch::read_report(text.substr(0, text.find("    Dec."))));
}

}  // namespace
