// The month statistics from arrays of values, without any file.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "io/decimal_text.hpp"
#include "stats/analyse_month.hpp"

namespace {

// The values as the month file gives them back: the float nearest to each
// hundredth.
std::vector<float> hundredths(std::initializer_list<std::pair<int, const char*>> runs) {
    std::vector<float> values;
    for (const auto& [count, text] : runs) {
        float value = 0.0F;
        EXPECT_TRUE(wgn::io::parse_real(text, value));
        values.insert(values.end(), static_cast<std::size_t>(count), value);
    }
    return values;
}

// Eight significant digits, as the figures are quoted: "1.6557993E+00".
std::string digits8(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.7E", static_cast<double>(value));
    return text;
}

wgn::MonthStatistics analyse(const std::vector<float>& values, int days, int month = 1) {
    wgn::MonthStatistics table;
    wgn::analyse_month_values(values, days, month, table);
    return table;
}

TEST(MonthStatistics, WorkedJanuaryOfTwoYears) {
    const auto values = hundredths({{3, "5.00"}, {28, "0.00"}, {1, "10.00"}, {29, "0.00"}, {1, "2.00"}});
    const auto t = analyse(values, 31);
    EXPECT_EQ(t.dry_days[1], 57);
    EXPECT_EQ(t.wet_days[1], 5);
    EXPECT_EQ(t.wet_after_dry[1], 1.0F);  // day 31 -> day 1 of the next year is skipped
    EXPECT_EQ(t.wet_after_wet[1], 2.0F);
    EXPECT_EQ(t.PR_W1[1], static_cast<float>(1.0 / 57.0));
    EXPECT_EQ(t.PR_W2[1], 0.4F);
    EXPECT_EQ(t.PCPD[1], 2.5F);
    EXPECT_EQ(t.PCP_MM[1], 13.5F);
    EXPECT_EQ(digits8(t.mean_daily[1]), "4.3548387E-01");
    EXPECT_EQ(digits8(t.PCPSTD[1]), "1.6557993E+00");
    EXPECT_EQ(digits8(t.PCPSKW[1]), "4.3262844E+00");
}

TEST(MonthStatistics, MomentsOfSmallJanuaries) {
    struct Case {
        const char* name;
        std::vector<float> values;
        const char* std_dev;
        const char* skew;
    };
    const Case cases[] = {
        {"31 x 0.10", hundredths({{31, "0.10"}}), "7.4051510E-05", "7.2003348E-11"},
        {"30 x 0.00, 10.00", hundredths({{30, "0.00"}, {1, "10.00"}}), "1.7960531E+00", "5.5677638E+00"},
        {"10.00, 30 x 0.00", hundredths({{1, "10.00"}, {30, "0.00"}}), "1.7960531E+00", "5.5677633E+00"},
        {"29 x 0.00, 10.00, 20.00", hundredths({{29, "0.00"}, {1, "10.00"}, {1, "20.00"}}), "3.9621868E+00",
         "4.3562493E+00"},
    };
    for (const Case& c : cases) {
        const auto t = analyse(c.values, 31);
        EXPECT_EQ(digits8(t.PCPSTD[1]), c.std_dev) << c.name;
        EXPECT_EQ(digits8(t.PCPSKW[1]), c.skew) << c.name;
    }
}

TEST(MonthStatistics, DryWetAndEqualMonths) {
    // All dry: no wet day to divide by.
    auto t = analyse(hundredths({{31, "0.00"}}), 31);
    EXPECT_EQ(t.PR_W1[1], 0.0F);
    EXPECT_TRUE(std::isnan(t.PR_W2[1]));
    EXPECT_EQ(t.PCPD[1], 0.0F);
    EXPECT_EQ(t.PCP_MM[1], 0.0F);
    EXPECT_EQ(t.PCPSTD[1], 0.0F);
    EXPECT_TRUE(std::isnan(t.PCPSKW[1]));

    // All wet for two years: PR_W2 = (n - years) / n, no dry day.
    t = analyse(hundredths({{60, "1.00"}}), 30, 4);
    EXPECT_TRUE(std::isnan(t.PR_W1[4]));
    EXPECT_EQ(t.PR_W2[4], static_cast<float>(58.0 / 60.0));
    EXPECT_EQ(t.PCPSTD[4], 0.0F);  // 1.00 is exact: the numerator is exactly 0

    // Equal values whose rounding makes the variance numerator negative:
    // taken as zero variance, the run goes on.
    for (const auto& values : {hundredths({{310, "0.10"}}), hundredths({{31, "0.30"}})}) {
        t = analyse(values, 31);
        EXPECT_EQ(t.PCPSTD[1], 0.0F) << values.size();
        EXPECT_FALSE(std::isfinite(t.PCPSKW[1])) << values.size();
    }
}

TEST(MonthStatistics, ThresholdsAndNegativeValues) {
    // Negative values are wet days but never "greater than zero".
    auto t = analyse(hundredths({{10, "-1.00"}, {21, "0.00"}}), 31);
    EXPECT_EQ(t.wet_days[1], 10);
    EXPECT_EQ(t.wet_after_dry[1], 0.0F);
    EXPECT_EQ(t.wet_after_wet[1], 0.0F);
    // -0.00 read back is -0.0: dry.
    t = analyse(hundredths({{31, "-0.00"}}), 31);
    EXPECT_EQ(t.dry_days[1], 31);
}

TEST(MonthStatistics, FebruaryBlocksDriftAfterALeapYear) {
    // February 1991-1994: blocks of 28, 29, 28, 28 values (n = 113).  Every
    // value wet, so each counted pair adds one: the pairs skipped are those
    // after positions 28, 56, 84 and 112, whatever the year boundaries.
    std::vector<float> values(113, 1.0F);
    auto t = analyse(values, 28, 2);
    EXPECT_EQ(t.wet_after_wet[2], 112.0F - 4.0F);
    // Make only the pair 1992-02-29 -> 1993-02-01 (positions 57, 58) a
    // dry -> wet pair: it is counted, although it crosses the year.
    std::fill(values.begin(), values.end(), 0.0F);
    values[56] = 0.0F;
    values[57] = 1.0F;
    t = analyse(values, 28, 2);
    EXPECT_EQ(t.wet_after_dry[2], 1.0F);
    // Position 28 -> 29 (1992-02-28 -> 1992-02-29 would be 56 -> 57): skipped.
    std::fill(values.begin(), values.end(), 0.0F);
    values[56] = 1.0F;
    t = analyse(values, 28, 2);
    EXPECT_EQ(t.wet_after_dry[2], 0.0F);
    EXPECT_EQ(t.PCPD[2], 0.25F);  // years_in_month = 113 / 28 = 4
}

TEST(MonthStatistics, WorkedCountsOfTenYears) {
    // 47 wet January days in ten years, totalling 812.5.
    std::vector<float> values(310, 0.0F);
    for (int i = 0; i < 47; ++i) values[static_cast<std::size_t>(i) * 6] = i == 0 ? 812.5F - 46 * 10.0F : 10.0F;
    const auto t = analyse(values, 31);
    EXPECT_EQ(t.PCPD[1], 4.7F);
    EXPECT_EQ(t.PCP_MM[1], 81.25F);
}

}  // namespace
