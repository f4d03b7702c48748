#include "readers/calendar_days.hpp"

#include <chrono>

namespace wgn::readers {
namespace {

namespace chrono = std::chrono;

chrono::year_month_day civil(const Date& date) {
    return chrono::year{date.year} / chrono::month{static_cast<unsigned>(date.month)} /
           chrono::day{static_cast<unsigned>(date.day)};
}

}  // namespace

int days_in_year(int year) {
    return is_leap_year(year) ? 366 : 365;
}

bool is_valid_date(const Date& date) {
    // Years of four digits: what every station file writes.
    return date.year >= 1 && date.year <= 9999 && date.month >= 1 && date.month <= 12 && date.day >= 1 &&
           date.day <= days_in_month(date.year, date.month);
}

// Day 0 is the epoch of sys_days, 1 January 1970; the conversions are
// std::chrono's (years -32767 ... 32767).
std::int32_t day_number(const Date& date) {
    return static_cast<std::int32_t>(chrono::sys_days{civil(date)}.time_since_epoch().count());
}

Date date_of(std::int32_t day) {
    const chrono::year_month_day civil{chrono::sys_days{chrono::days{day}}};
    return Date{static_cast<int>(civil.year()), static_cast<int>(static_cast<unsigned>(civil.month())),
                static_cast<int>(static_cast<unsigned>(civil.day()))};
}

Date date_of_day_in_year(int year, int day_of_year) {
    if (day_of_year < 1 || day_of_year > days_in_year(year)) return Date{year, 0, 0};
    return date_of(day_number(Date{year, 1, 1}) + day_of_year - 1);
}

}  // namespace wgn::readers
