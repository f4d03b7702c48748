// The time coordinate of a daily grid: its `units` ("days since
// 1950-01-01", "hours since 1900-01-01 00:00:00.0", "seconds since
// 1970-01-01T00:00:00Z") and `calendar`, and the real date of each time step.
// A step's day is the calendar day its time falls in (floor).
//
//   standard, gregorian      real dates from 1582-10-15 on (earlier: refused)
//   proleptic_gregorian      real dates
//   noleap, 365_day          real dates; 29 February has no step (a missing day)
//   all_leap, 366_day        29 February of a year that is not leap: dropped
//   360_day                  model day D of month M is real day D of month M where
//                            that day exists; 29 and 30 February of a year that
//                            is not leap, and 30 February always, are dropped; a
//                            real 31st has no step (a missing day)
//   julian                   refused (its dates are not the real ones)
//
//   TimeAxis axis = *time_axis("days since 2000-02-27", "360_day");
//   axis.date_of(3.0) -> 2000-02-30 model: dropped        axis.date_of(2.9) -> 2000-02-29
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "problem/problem.hpp"

namespace wgn::grid {

struct Date {
    int year = 0, month = 0, day = 0;
    auto operator<=>(const Date&) const = default;
};
// Days from 1970-01-01 in the proleptic Gregorian calendar, and back.
long days_from_civil(Date date);
Date civil_from_days(long days);
std::string date_text(Date date);  // "2001-02-28"

enum class Calendar { standard, proleptic_gregorian, noleap, all_leap, day360 };

class TimeAxis {
  public:
    // Nothing's reason in the problem's text: a unit or calendar not read.
    static Result<TimeAxis> open(std::string_view units, std::string_view calendar);
    // The real date of a time value; nothing when the model's day has no real
    // date (dropped); a problem for a day before the Gregorian calendar.
    Result<std::optional<Date>> date_of(double value) const;
    Calendar calendar() const { return calendar_; }
    std::string calendar_name() const { return calendar_name_; }

  private:
    Calendar calendar_ = Calendar::standard;
    std::string calendar_name_;
    double seconds_per_unit_ = 86400;
    long base_day_ = 0;         // the reference date as a model day number
    double base_fraction_ = 0;  // the reference time of day, in days (time zone applied)
};

}  // namespace wgn::grid
