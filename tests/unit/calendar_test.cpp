#include <gtest/gtest.h>

#include <cstdint>

#include "partition/calendar.hpp"

namespace {

TEST(Calendar, GregorianLeapYears) {
    struct Case {
        std::int32_t year;
        bool leap;
    };
    const Case cases[] = {{1996, true}, {2000, true},  {1900, false}, {1999, false}, {0, true},
                          {-4, true},   {-100, false}, {-400, true},  {2100, false}, {INT32_MIN, true}};
    for (const Case& c : cases) EXPECT_EQ(wgn::is_leap_year(c.year), c.leap) << c.year;
}

TEST(Calendar, LeapYearsOfAPeriodAndWrappingYears) {
    EXPECT_EQ(wgn::leap_years_in(1990, 10), 2);
    EXPECT_EQ(wgn::leap_years_in(1896, 8), 1);  // 1896, not 1900
    EXPECT_EQ(wgn::leap_years_in(1996, 8), 2);  // 1996 and 2000
    EXPECT_EQ(wgn::leap_years_in(1990, 0), 0);
    EXPECT_EQ(wgn::following_year(INT32_MAX), INT32_MIN);
    EXPECT_EQ(wgn::year_after(1961, 29), 1990);
}

}  // namespace
