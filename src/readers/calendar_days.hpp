// Days of the proleptic Gregorian calendar, numbered without gaps, so that a
// record's values can be placed on their days and the days between counted.
//
//   day_number({1970, 1, 1}) -> 0        day_number({2000, 3, 1}) -> 11017
//   is_valid_date({2023, 2, 29}) -> false, is_valid_date({2024, 2, 29}) -> true
#pragma once

#include <cstdint>

namespace wgn::readers {

struct Date {
    int year = 0;
    int month = 0;  // 1 ... 12
    int day = 0;    // 1 ... 31
};

bool is_leap_year(int year);
int days_in_month(int year, int month);
int days_in_year(int year);
bool is_valid_date(const Date& date);

// Days since 1 January 1970 (negative before it); the date must be valid.
std::int32_t day_number(const Date& date);
Date date_of(std::int32_t day);
// The day after a valid date, by the calendar alone:
//   day_after({2000, 2, 28}) -> {2000, 2, 29}    day_after({2001, 12, 31}) -> {2002, 1, 1}
Date day_after(Date date);
// The date of the `day_of_year`-th day (1 = 1 January); invalid when it lies
// outside the year.
Date date_of_day_in_year(int year, int day_of_year);

}  // namespace wgn::readers
