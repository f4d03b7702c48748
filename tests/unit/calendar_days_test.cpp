// The day numbers of the readers' calendar against the count of days by
// hand: every day from 1583 to 9999 converts both ways as the years' and
// months' lengths add up.
#include <gtest/gtest.h>

#include <cstdint>

#include "readers/calendar_days.hpp"

namespace wgn::readers {
namespace {

TEST(CalendarDays, EveryDayFollowsTheLastOne) {
    std::int32_t expected = day_number(Date{1583, 1, 1});
    for (int year = 1583; year <= 9999; ++year) {
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= days_in_month(year, month); ++day, ++expected) {
                const Date date{year, month, day};
                ASSERT_EQ(day_number(date), expected) << year << "-" << month << "-" << day;
                const Date back = date_of(expected);
                ASSERT_TRUE(back.year == year && back.month == month && back.day == day) << expected;
            }
        }
    }
}

TEST(CalendarDays, KnownDays) {
    const struct {
        Date date;
        std::int32_t day;
    } cases[] = {
        {{1970, 1, 1}, 0}, {{2000, 3, 1}, 11017}, {{1969, 12, 31}, -1}, {{1, 1, 1}, -719162}, {{9999, 12, 31}, 2932896},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(day_number(c.date), c.day);
        const Date back = date_of(c.day);
        EXPECT_TRUE(back.year == c.date.year && back.month == c.date.month && back.day == c.date.day) << c.day;
    }
    EXPECT_FALSE(is_leap_year(100000 + 100));  // beyond std::chrono::year
    EXPECT_TRUE(is_leap_year(100000 + 400));
}

}  // namespace
}  // namespace wgn::readers
