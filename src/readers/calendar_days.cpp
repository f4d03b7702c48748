#include "readers/calendar_days.hpp"

namespace wgn::readers {

bool is_leap_year(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int days_in_month(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && is_leap_year(year) ? 29 : kDays[month - 1];
}

int days_in_year(int year) {
    return is_leap_year(year) ? 366 : 365;
}

bool is_valid_date(const Date& date) {
    // Years of four digits: what every station file writes.
    return date.year >= 1 && date.year <= 9999 && date.month >= 1 && date.month <= 12 && date.day >= 1 &&
           date.day <= days_in_month(date.year, date.month);
}

// The civil-day conversions count in eras of 400 years (146097 days), which
// repeat exactly; March is taken as the first month so that the leap day
// falls at the end of the counted year.
std::int32_t day_number(const Date& date) {
    const int year = date.month <= 2 ? date.year - 1 : date.year;
    const int era = (year >= 0 ? year : year - 399) / 400;
    const int year_of_era = year - era * 400;                                       // 0 ... 399
    const int month_from_march = date.month > 2 ? date.month - 3 : date.month + 9;  // 0 ... 11
    const int day_of_year = (153 * month_from_march + 2) / 5 + date.day - 1;        // 0 ... 365
    const int day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
    return era * 146097 + day_of_era - 719468;
}

Date date_of(std::int32_t day) {
    const std::int32_t shifted = day + 719468;
    const std::int32_t era = (shifted >= 0 ? shifted : shifted - 146096) / 146097;
    const std::int32_t day_of_era = shifted - era * 146097;
    const std::int32_t year_of_era = (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
    const std::int32_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
    const std::int32_t month_from_march = (5 * day_of_year + 2) / 153;
    Date date;
    date.day = day_of_year - (153 * month_from_march + 2) / 5 + 1;
    date.month = month_from_march < 10 ? month_from_march + 3 : month_from_march - 9;
    date.year = year_of_era + era * 400 + (date.month <= 2 ? 1 : 0);
    return date;
}

Date date_of_day_in_year(int year, int day_of_year) {
    if (day_of_year < 1 || day_of_year > days_in_year(year)) return Date{year, 0, 0};
    return date_of(day_number(Date{year, 1, 1}) + day_of_year - 1);
}

}  // namespace wgn::readers
