// The six precipitation values from the years' sums against the same values
// computed day by day over the concatenated blocks: on the whole period and
// on drawn years with repeats, with leap Februaries in any order, negative
// days (neither dry nor wet) and short periods; and, with missing days, the
// gap-aware values.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "batch/precipitation_sums.hpp"
#include "check/random_numbers.hpp"
#include "readers/calendar_days.hpp"

namespace wgn::batch {
namespace {

float hundredths(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", value);
    return std::strtof(text, nullptr);
}

// Rain on about one day in three, now and then a negative day.
MonthBlocks blocks_of(int first_year, int years, std::uint64_t seed) {
    check::RandomNumbers numbers(seed);
    MonthBlocks blocks(static_cast<std::size_t>(years));
    for (int y = 0; y < years; ++y) {
        for (int m = 0; m < 12; ++m) {
            for (int d = 0; d < readers::days_in_month(first_year + y, m + 1); ++d) {
                const double u = numbers.uniform();
                const double rain = u < 0.02 ? -0.5 : u < 0.35 ? -8.0 * std::log(numbers.uniform()) : 0.0;
                blocks[static_cast<std::size_t>(y)][static_cast<std::size_t>(m)].push_back(hundredths(rain));
            }
        }
    }
    return blocks;
}

TEST(PrecipitationSums, GiveTheDayByDayValues) {
    struct Case {
        int first_year, years;
    };
    // A leap year first, last, none; one year; a long period.
    const Case cases[] = {{1996, 9}, {2001, 4}, {2097, 4}, {2100, 1}, {1961, 40}};
    // Counted values alike to the bit; moments to the single-precision sums.
    const double tolerance[6] = {2e-5, 2e-5, 1e-3, 0.0, 0.0, 0.0};
    for (const Case& c : cases) {
        const MonthBlocks blocks = blocks_of(c.first_year, c.years, 40 + static_cast<std::uint64_t>(c.years));
        const PrecipitationSums sums(blocks);
        check::RandomNumbers numbers(c.years);
        std::vector<int> years(static_cast<std::size_t>(c.years));
        for (int draw = 0; draw < 60; ++draw) {
            for (std::size_t i = 0; i < years.size(); ++i)
                years[i] = draw == 0 ? int(i) : int(numbers.next() % static_cast<std::uint64_t>(c.years));
            const auto want = precipitation_values(blocks, years);
            const auto got = sums.values(years);
            for (std::size_t m = 0; m < 12; ++m) {
                for (std::size_t p = 0; p < 6; ++p) {
                    const std::string where = std::to_string(c.first_year) + "+" + std::to_string(c.years) + " draw " +
                                              std::to_string(draw) + " month " + std::to_string(m + 1) + " value " +
                                              std::to_string(p);
                    if (std::isnan(want[m][p])) {
                        EXPECT_TRUE(std::isnan(got[m][p])) << where;
                        continue;
                    }
                    EXPECT_LE(std::fabs(got[m][p] - want[m][p]), tolerance[p] * std::max(1.0, std::fabs(want[m][p])))
                        << where << ": " << got[m][p] << " against " << want[m][p];
                }
            }
        }
    }
}

TEST(PrecipitationSums, GapAwareGiveTheExactValues) {
    struct Case {
        int first_year, years;
        double missing;  // share of the days
    };
    // Leap years in any order, a month missing whole now and then, a record of one year.
    const Case cases[] = {{1996, 9, 0.05}, {2097, 4, 0.3}, {2100, 1, 0.02}, {1961, 40, 0.1}};
    // Counted values alike to the last digit; moments to the double sums.
    const double tolerance[6] = {0.0051, 0.00006, 0.0006, 0.00005, 0.00005, 0.0051};
    for (const Case& c : cases) {
        const MonthBlocks blocks = blocks_of(c.first_year, c.years, 70 + static_cast<std::uint64_t>(c.years));
        check::RandomNumbers gaps(c.years);
        weather::SeriesMonths months(blocks.size());
        for (std::size_t y = 0; y < blocks.size(); ++y) {
            for (std::size_t m = 0; m < 12; ++m) {
                for (const float day : blocks[y][m]) {
                    const bool missing = gaps.uniform() < c.missing;
                    months[y][m].days.push_back(missing ? weather::SeriesDay{}
                                                        : weather::SeriesDay{std::llround(double(day) * 100)});
                }
            }
        }
        const GapAwareSums sums(months);
        check::RandomNumbers numbers(c.years + 1);
        std::vector<int> years(static_cast<std::size_t>(c.years));
        for (int draw = 0; draw < 40; ++draw) {
            for (std::size_t i = 0; i < years.size(); ++i)
                years[i] = draw == 0 ? int(i) : int(numbers.next() % static_cast<std::uint64_t>(c.years));
            const auto got = sums.values(years);
            for (std::size_t m = 0; m < 12; ++m) {
                const std::array<std::string, 6> want = weather::gap_aware_month(months, years, m);
                for (std::size_t p = 0; p < 6; ++p) {
                    const std::string where = std::to_string(c.first_year) + "+" + std::to_string(c.years) + " draw " +
                                              std::to_string(draw) + " month " + std::to_string(m + 1) + " value " +
                                              std::to_string(p);
                    if (want[p].empty()) {
                        EXPECT_TRUE(std::isnan(got[m][p])) << where;
                        continue;
                    }
                    EXPECT_NEAR(got[m][p], std::stod(want[p]), tolerance[p] * std::max(1.0, std::fabs(got[m][p])))
                        << where;
                }
            }
        }
    }
}

}  // namespace
}  // namespace wgn::batch
