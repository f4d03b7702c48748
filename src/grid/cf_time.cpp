// Time coordinates and CF calendars (cf_time.hpp).
#include "grid/cf_time.hpp"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace wgn::grid {
namespace {

constexpr int kCumulative365[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365};
constexpr int kCumulative366[] = {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335, 366};

bool leap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}
int days_in_month(int year, int month) {
    return kCumulative365[month] - kCumulative365[month - 1] + (month == 2 && leap(year) ? 1 : 0);
}
long floor_div(long a, long b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

// A model date as a day number of its calendar, and back.
long model_days(Calendar calendar, Date date) {
    switch (calendar) {
        case Calendar::noleap: return 365L * date.year + kCumulative365[date.month - 1] + date.day - 1;
        case Calendar::all_leap: return 366L * date.year + kCumulative366[date.month - 1] + date.day - 1;
        case Calendar::day360: return 360L * date.year + 30L * (date.month - 1) + date.day - 1;
        default: return days_from_civil(date);
    }
}
Date model_date(Calendar calendar, long days) {
    const auto in_year = [](long rest, const int* cumulative, int year) {
        int month = 1;
        while (rest >= cumulative[month]) ++month;
        return Date{year, month, static_cast<int>(rest - cumulative[month - 1]) + 1};
    };
    switch (calendar) {
        case Calendar::noleap: {
            const long year = floor_div(days, 365);
            return in_year(days - 365 * year, kCumulative365, static_cast<int>(year));
        }
        case Calendar::all_leap: {
            const long year = floor_div(days, 366);
            return in_year(days - 366 * year, kCumulative366, static_cast<int>(year));
        }
        case Calendar::day360: {
            const long year = floor_div(days, 360);
            const long rest = days - 360 * year;
            return Date{static_cast<int>(year), static_cast<int>(rest / 30) + 1, static_cast<int>(rest % 30) + 1};
        }
        default: return civil_from_days(days);
    }
}

// Reads digits at `at` into `value`; false when there are none.
bool number_at(std::string_view text, std::size_t& at, int& value) {
    const auto [end, error] = std::from_chars(text.data() + at, text.data() + text.size(), value);
    if (error != std::errc()) return false;
    at = static_cast<std::size_t>(end - text.data());
    return true;
}

}  // namespace

long days_from_civil(Date date) {
    const long y = date.year - (date.month <= 2 ? 1 : 0);
    const long era = floor_div(y, 400);
    const long yoe = y - era * 400;
    const long doy = (153L * (date.month + (date.month > 2 ? -3 : 9)) + 2) / 5 + date.day - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

Date civil_from_days(long days) {
    days += 719468;
    const long era = floor_div(days, 146097);
    const long doe = days - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return Date{static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0)), month, day};
}

std::string date_text(Date date) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
    return text;
}

Result<TimeAxis> TimeAxis::open(std::string_view units, std::string_view calendar) {
    TimeAxis axis;
    std::string name(calendar);
    for (char& c : name) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    axis.calendar_name_ = name.empty() ? "standard" : name;
    if (name.empty() || name == "standard" || name == "gregorian") {
        axis.calendar_ = Calendar::standard;
    } else if (name == "proleptic_gregorian") {
        axis.calendar_ = Calendar::proleptic_gregorian;
    } else if (name == "noleap" || name == "365_day") {
        axis.calendar_ = Calendar::noleap;
    } else if (name == "all_leap" || name == "366_day") {
        axis.calendar_ = Calendar::all_leap;
    } else if (name == "360_day") {
        axis.calendar_ = Calendar::day360;
    } else if (name == "julian") {
        return problem_text(
            "the julian calendar is refused: its dates run 13 days behind the real (Gregorian) ones and its "
            "leap years differ, so its days are not the days of a real record");
    } else {
        return problem_text("the calendar \"" + std::string(calendar) +
                            "\" is not one of standard, gregorian, proleptic_gregorian, noleap, 365_day, all_leap, "
                            "366_day, 360_day");
    }
    const std::string bad = "the time units \"" + std::string(units) +
                            "\" are not \"days|hours|minutes|seconds since YYYY-MM-DD[ hh:mm:ss]\"";
    const std::size_t since = units.find(" since ");
    if (since == std::string_view::npos) return problem_text(bad);
    const std::string_view step = units.substr(0, since);
    if (step == "days" || step == "day" || step == "d") {
        axis.seconds_per_unit_ = 86400;
    } else if (step == "hours" || step == "hour" || step == "h") {
        axis.seconds_per_unit_ = 3600;
    } else if (step == "minutes" || step == "minute" || step == "min") {
        axis.seconds_per_unit_ = 60;
    } else if (step == "seconds" || step == "second" || step == "s") {
        axis.seconds_per_unit_ = 1;
    } else {
        return problem_text(bad);
    }
    std::string_view rest = units.substr(since + 7);
    while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    while (!rest.empty() && rest.back() == ' ') rest.remove_suffix(1);
    std::size_t at = 0;
    Date base;
    if (!number_at(rest, at, base.year) || at >= rest.size() || rest[at++] != '-' || !number_at(rest, at, base.month) ||
        at >= rest.size() || rest[at++] != '-' || !number_at(rest, at, base.day) || base.month < 1 || base.month > 12 ||
        base.day < 1 || base.day > 31)
        return problem_text(bad);
    double seconds = 0;
    if (at < rest.size() && (rest[at] == ' ' || rest[at] == 'T')) {
        ++at;
        int hour = 0, minute = 0;
        if (!number_at(rest, at, hour)) return problem_text(bad);
        if (at < rest.size() && rest[at] == ':') {
            ++at;
            if (!number_at(rest, at, minute)) return problem_text(bad);
        }
        double second = 0;
        if (at < rest.size() && rest[at] == ':') {
            ++at;
            const auto [end, error] = std::from_chars(rest.data() + at, rest.data() + rest.size(), second);
            if (error != std::errc()) return problem_text(bad);
            at = static_cast<std::size_t>(end - rest.data());
        }
        seconds = hour * 3600.0 + minute * 60.0 + second;
        while (at < rest.size() && rest[at] == ' ') ++at;
        if (at < rest.size() && rest[at] == 'Z') {
            ++at;
        } else if (at < rest.size() && (rest[at] == '+' || rest[at] == '-')) {
            // A zone east of UTC: the reference is earlier in UTC.
            const int sign = rest[at++] == '+' ? 1 : -1;
            int zone_hours = 0, zone_minutes = 0;
            if (!number_at(rest, at, zone_hours)) return problem_text(bad);
            if (at < rest.size() && rest[at] == ':') {
                ++at;
                if (!number_at(rest, at, zone_minutes)) return problem_text(bad);
            }
            seconds -= sign * (zone_hours * 3600.0 + zone_minutes * 60.0);
        }
    }
    if (at != rest.size()) return problem_text(bad);
    if (axis.calendar_ == Calendar::standard && base < Date{1582, 10, 15}) {
        return problem_text("the time units' reference date " + date_text(base) +
                            " is before 1582-10-15, where the standard calendar's days are Julian ones: give "
                            "the file a later reference date or the proleptic_gregorian calendar");
    }
    axis.base_day_ = model_days(axis.calendar_, base);
    axis.base_fraction_ = seconds / 86400;
    return axis;
}

Result<std::optional<Date>> TimeAxis::date_of(double value) const {
    if (!std::isfinite(value)) return problem_text("a time value is not a number");
    const double days = std::floor(value * seconds_per_unit_ / 86400 + base_fraction_);
    if (std::fabs(days) > 1e8) return problem_text("a time value is beyond any date: " + std::to_string(value));
    const Date model = model_date(calendar_, base_day_ + static_cast<long>(days));
    switch (calendar_) {
        case Calendar::standard:
            if (model < Date{1582, 10, 15}) {
                return problem_text("the date " + date_text(model) +
                                    " is before 1582-10-15, where the standard calendar's days are Julian ones");
            }
            return std::optional<Date>(model);
        case Calendar::all_leap:
        case Calendar::day360:
            if (model.day > days_in_month(model.year, model.month)) return std::optional<Date>();
            return std::optional<Date>(model);
        default: return std::optional<Date>(model);
    }
}

}  // namespace wgn::grid
