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

// Leap years by their rule, on any int: std::chrono::year holds only
// -32767 ... 32767, and a file may write any year.
inline bool is_leap_year(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}
inline int days_in_month(int year, int month) {
    constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && is_leap_year(year) ? 29 : kDays[month - 1];
}
int days_in_year(int year);
bool is_valid_date(const Date& date);

// Days since 1 January 1970 (negative before it); the date must be valid.
std::int32_t day_number(const Date& date);
Date date_of(std::int32_t day);
// The day after a valid date, by the calendar alone:
//   day_after({2000, 2, 28}) -> {2000, 2, 29}    day_after({2001, 12, 31}) -> {2002, 1, 1}
// (Inline: the readers and the whole years take it for every day.)
inline Date day_after(Date date) {
    if (++date.day <= 28 || date.day <= days_in_month(date.year, date.month)) return date;
    date.day = 1;
    if (++date.month <= 12) return date;
    date.month = 1;
    ++date.year;
    return date;
}
// The digits of `date` (a year of four digits) in their places of a date
// written YYYY-MM-DD (or with '/' or '.'), its separators left as they
// are: the day's, and the month's and year's too when `whole` or when the
// day is the first of its month (else they are the day before's).
//   {2001, 2, 1}, false, "2001-01-31" -> "2001-02-01"
//   {2001, 1, 7}, false, "2001-01-06" -> "2001-01-07" (the day alone written)
inline void write_date_digits(Date date, bool whole, char* text) {
    const auto two_digits = [text](int at, int value) {
        text[at] = static_cast<char>('0' + value / 10);
        text[at + 1] = static_cast<char>('0' + value % 10);
    };
    two_digits(8, date.day);
    if (date.day != 1 && !whole) return;
    two_digits(5, date.month);
    two_digits(0, date.year / 100);
    two_digits(2, date.year % 100);
}
// The date of the `day_of_year`-th day (1 = 1 January); invalid when it lies
// outside the year.
Date date_of_day_in_year(int year, int day_of_year);

}  // namespace wgn::readers
