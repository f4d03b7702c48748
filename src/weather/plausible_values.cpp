#include "weather/plausible_values.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "readers/calendar_days.hpp"
#include "readers/outlier_days.hpp"
#include "readers/value_checks.hpp"
#include "weather/exact_decimal.hpp"

namespace wgn::weather {
namespace {

using readers::Unit;

constexpr double kPi = 3.14159265358979323846;

std::string day_text(std::int32_t day) {
    const readers::Date date = readers::date_of(day);
    return readers::date_text(date.year, date.month, date.day);
}

std::string two_places(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

int day_of_year(std::int32_t day) {
    const readers::Date date = readers::date_of(day);
    return static_cast<int>(day - readers::day_number({date.year, 1, 1})) + 1;
}

// The largest radiation at the top of the atmosphere of any latitude on a day.
double highest_top_of_atmosphere(int day) {
    double highest = 0;
    for (int latitude = -90; latitude <= 90; ++latitude) highest = std::max(highest, top_of_atmosphere(latitude, day));
    return highest;
}

}  // namespace

double top_of_atmosphere(double latitude, int day_of_year) {
    // 1. The inverse relative distance Earth-Sun and the solar declination.
    const double angle = 2 * kPi * day_of_year / 365.0;
    const double distance = 1 + 0.033 * std::cos(angle);
    const double declination = 0.409 * std::sin(angle - 1.39);
    // 2. The sunset hour angle; beyond the polar circles the sun may not set
    //    (pi) or not rise (0) at all.
    const double phi = latitude * kPi / 180;
    const double cosine = std::clamp(-std::tan(phi) * std::tan(declination), -1.0, 1.0);
    const double sunset = std::acos(cosine);
    // 3. The day's radiation, with the solar constant 0.0820 MJ/m²/min.
    return 24 * 60 / kPi * 0.0820 * distance *
           (sunset * std::sin(phi) * std::sin(declination) + std::cos(phi) * std::cos(declination) * std::sin(sunset));
}

Result<Unit> humidity_unit_of_values(const std::vector<DayValue>& days) {
    if (days.empty()) return Unit::kFraction;
    const auto [smallest, largest] = std::minmax_element(
        days.begin(), days.end(), [](const DayValue& a, const DayValue& b) { return a.value < b.value; });
    const auto overshoot = static_cast<std::int64_t>(kHumidityOvershoot * kBillion);
    if (largest->value <= overshoot) return Unit::kFraction;
    // The median: the middle value (of two, the upper), as in the values sorted.
    std::vector<std::int64_t> values;
    values.reserve(days.size());
    for (const DayValue& day : days) values.push_back(day.value);
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2), values.end());
    const std::int64_t median = values[values.size() / 2];
    if (median >= 5 * kBillion && largest->value <= 100 * overshoot) return Unit::kPercent;
    return problem_text("humidity from " + decimal_text(smallest->value) + " to " + decimal_text(largest->value) +
                        " (median " + decimal_text(median) +
                        ") is neither fractions (at most 1) nor per cent: give hmd_unit (fraction or "
                        "percent)");
}

long clip_humidity(std::vector<DayValue>& days, Unit unit) {
    const std::int64_t top = unit == Unit::kPercent ? 100 * kBillion : kBillion;
    const auto overshoot = static_cast<std::int64_t>(kHumidityOvershoot * static_cast<double>(top));
    long clipped = 0;
    for (DayValue& day : days) {
        if (day.value > top && day.value <= overshoot) {
            day.value = top;
            ++clipped;
        }
    }
    return clipped;
}

std::string implausible_day(readers::Variable variable, std::int32_t day, double value, const std::string& written,
                            Unit unit, std::optional<double> latitude) {
    using readers::Variable;
    // The day as a message shows it, made only for a day found implausible:
    // most days are not, and a batch checks millions of them.
    const auto shown = [&] {
        return std::string(readers::name(variable)) + " " + written +
               (unit == readers::model_unit(readers::quantity_of(variable))
                    ? std::string()
                    : " " + std::string(readers::unit_name(unit))) +
               " on " + day_text(day);
    };
    if (variable == Variable::tmax || variable == Variable::tmin || variable == Variable::dew) {
        if (value < kLowestTemperature) return shown() + " is below -90 °C";
        if (value > kHighestTemperature) return shown() + " is above 60 °C";
        return {};
    }
    if (variable == Variable::slr) {
        if (value < 0) return shown() + " is below 0";
        const bool at_latitude = latitude && *latitude >= -90 && *latitude <= 90;
        const double top =
            at_latitude ? top_of_atmosphere(*latitude, day_of_year(day)) : highest_top_of_atmosphere(day_of_year(day));
        if (value > top + kRadiationMargin) {
            return shown() + " is above " + two_places(top) + " MJ/m²/day, the top of the atmosphere's" +
                   (at_latitude ? " at latitude " + two_places(*latitude) : std::string(" at any latitude"));
        }
        return {};
    }
    if (variable == Variable::rh) {
        if (value < 0) return shown() + " is below 0";
        if (value > 1) {
            return shown() + (unit == Unit::kPercent ? " is above 100 %" : " is above 1 (a fraction)");
        }
        return {};
    }
    if (variable == Variable::wnd) {
        if (value < 0) return shown() + " is below 0";
        if (value > kMostWind) return shown() + " is above 75 m/s";
        return {};
    }
    if (variable == Variable::hhr && value < 0) return shown() + " is below 0";
    return {};
}

std::optional<Unit> unit_pointed_to(readers::Variable variable, const std::vector<DayValue>& days, Unit unit,
                                    std::optional<double> latitude) {
    using readers::Variable;
    // The units a variable's values may be in instead, and the share of its
    // days above the top (in per cent) that points to them.
    struct Pointed {
        std::array<Unit, 2> units;
        std::size_t count;
        long percent;
    };
    const bool temperature = variable == Variable::tmax || variable == Variable::tmin || variable == Variable::dew;
    const Pointed pointed = temperature                 ? Pointed{{Unit::kKelvin, Unit::kFahrenheit}, 2, 10}
                            : variable == Variable::slr ? Pointed{{Unit::kWattsPerSquareMetre, {}}, 1, 50}
                            : variable == Variable::rh  ? Pointed{{Unit::kPercent, {}}, 1, 50}
                            : variable == Variable::wnd ? Pointed{{Unit::kKilometresPerHour, {}}, 1, 10}
                                                        : Pointed{{}, 0, 0};
    if (pointed.count == 0 || days.empty() || unit != readers::model_unit(readers::quantity_of(variable)))
        return std::nullopt;
    // 1. A large share above the top, as written.
    PlausibleDays bounds(variable, latitude);
    const auto number = [](const DayValue& day) { return static_cast<double>(day.value) / kBillion; };
    long above = 0;
    for (const DayValue& day : days) above += bounds.above(day.day, number(day)) ? 1 : 0;
    if (above * 100 < pointed.percent * static_cast<long>(days.size())) return std::nullopt;
    // 2. The first unit that makes all but a few days plausible.
    const long limit = readers::outlier_limit(static_cast<long>(days.size()));
    for (std::size_t u = 0; u < pointed.count; ++u) {
        const readers::Scale scale = readers::scale_of(pointed.units[u]);
        long implausible = 0;
        for (const DayValue& day : days) {
            implausible += bounds.plausible(day.day, readers::scaled_value(number(day), scale)) ? 0 : 1;
            if (implausible > limit) break;
        }
        if (implausible <= limit) return pointed.units[u];
    }
    return std::nullopt;
}

std::string unit_hint(readers::Variable variable, Unit pointed_to) {
    std::string shown(readers::unit_name(pointed_to));
    if (pointed_to == Unit::kFahrenheit) shown = "°F";
    if (pointed_to == Unit::kWattsPerSquareMetre) shown = "W/m²";
    if (pointed_to == Unit::kPercent) shown = "per cent";
    return ": is the column in " + shown + "? give " +
           std::string(readers::unit_column(readers::quantity_of(variable)));
}

PlausibleDays::PlausibleDays(readers::Variable variable, std::optional<double> latitude)
    : low_(-std::numeric_limits<double>::infinity()), high_(std::numeric_limits<double>::infinity()) {
    using readers::Variable;
    // The bounds implausible_day checks, as `value < low` and `value > high`
    // (a NaN is neither).
    if (variable == Variable::tmax || variable == Variable::tmin || variable == Variable::dew) {
        low_ = kLowestTemperature;
        high_ = kHighestTemperature;
    } else if (variable == Variable::slr) {
        low_ = 0;
        by_day_ = true;
        latitude_ = latitude;
        tops_.fill(std::numeric_limits<double>::quiet_NaN());
    } else if (variable == Variable::rh) {
        low_ = 0;
        high_ = 1;
    } else if (variable == Variable::wnd) {
        low_ = 0;
        high_ = kMostWind;
    } else if (variable == Variable::hhr) {
        low_ = 0;
    }
}

double PlausibleDays::radiation_top(std::int32_t day) {
    if (day < year_start_ || day >= next_year_start_) {
        const int year = readers::date_of(day).year;
        year_start_ = readers::day_number({year, 1, 1});
        next_year_start_ = readers::day_number({year + 1, 1, 1});
    }
    const int day_of_year = static_cast<int>(day - year_start_) + 1;
    double& top = tops_[static_cast<std::size_t>(day_of_year)];
    if (std::isnan(top)) {
        const bool at_latitude = latitude_ && *latitude_ >= -90 && *latitude_ <= 90;
        top = (at_latitude ? top_of_atmosphere(*latitude_, day_of_year) : highest_top_of_atmosphere(day_of_year)) +
              kRadiationMargin;
    }
    return top;
}

std::string decimal_text(std::int64_t billionths) {
    std::string text = rounded_text(billionths, kBillion, 9);
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text;
}

}  // namespace wgn::weather
