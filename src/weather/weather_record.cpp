#include "weather/weather_record.hpp"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <set>

#include "readers/calendar_days.hpp"
#include "readers/number_text.hpp"
#include "readers/value_checks.hpp"
#include "weather/dew_point.hpp"
#include "weather/exact_decimal.hpp"
#include "weather/plausible_values.hpp"
#include "weather/record_notes.hpp"

namespace wgn::weather {
namespace {

using readers::Unit;

// The variables other than precipitation, in the order they are checked.
constexpr const char* kChecked[] = {"tmax", "tmin", "dew", "slr", "rh", "wnd", "hhr"};

// The days of one variable in billionths of the unit they are written in.
struct Days {
    std::vector<DayValue> values;
    Unit unit = Unit::kMillimetre;
    readers::Scale scale;
    double model_value(const DayValue& day) const {
        return readers::scaled_value(static_cast<double>(day.value) / kBillion, scale);
    }
};

// "FILE, line 12, column srad" for a message.
std::string where(const WeatherInputs& inputs, const std::string& variable, int line) {
    const auto found = inputs.sources.find(variable);
    if (found == inputs.sources.end()) return readers::place_text(variable, line, "");
    return readers::place_text(found->second.file, line, found->second.column);
}

// The valid days of a variable in billionths; nothing (and why) when a
// value is too large to be a weather value at all.
std::optional<std::vector<DayValue>> exact_days(const WeatherInputs& inputs, const std::string& variable,
                                                std::string& why) {
    std::vector<DayValue> days;
    const auto found = inputs.variables.find(variable);
    if (found == inputs.variables.end()) return days;
    days.reserve(found->second.size());
    for (const readers::DailyValue& value : found->second) {
        if (value.text.empty()) continue;
        const std::optional<std::int64_t> exact = billionths(value.text);
        if (!exact) {
            why = where(inputs, variable, value.line) + ": " + variable + " " + value.text +
                  " is too large for a weather value";
            return std::nullopt;
        }
        days.push_back({value.day, *exact, value.line});
    }
    return days;
}

// Every checked variable's days, in its unit, each found plausible; those
// that are not are refused with the reason and left out.
std::map<std::string, Days> checked_days(const WeatherInputs& inputs, WeatherRecord& record,
                                         std::set<std::string>& refused_names) {
    std::map<std::string, Days> all;
    const auto refuse = [&](const std::string& variable, const std::string& why) {
        record.refused.push_back(why);
        refused_names.insert(variable);
        all.erase(variable);
    };
    std::optional<double> latitude;
    if (const auto value = readers::number_value(inputs.latitude); value && !inputs.latitude.empty()) latitude = value;

    // 1. Each variable's days and unit; humidity's told by its values where
    //    nothing states it.
    for (const char* name : kChecked) {
        const std::string variable = name;
        if (const auto refused = inputs.refused.find(variable); refused != inputs.refused.end()) {
            record.refused.push_back(refused->second);
            refused_names.insert(variable);
            continue;
        }
        std::string why;
        std::optional<std::vector<DayValue>> days = exact_days(inputs, variable, why);
        if (!days) {
            refuse(variable, why);
            continue;
        }
        if (days->empty()) continue;
        Days& entry = all[variable];
        entry.values = std::move(*days);
        const auto stated = inputs.units.find(variable);
        if (stated != inputs.units.end()) {
            entry.unit = stated->second;
        } else if (variable == "rh") {
            const std::optional<Unit> told = humidity_unit_of_values(entry.values, why);
            if (!told) {
                refuse(variable, where(inputs, variable, 0) + ": " + why);
                continue;
            }
            entry.unit = *told;
        } else {
            entry.unit = readers::model_unit(readers::quantity_of(variable));
        }
        entry.scale = readers::scale_of(entry.unit);
        const long clipped = variable == "rh" ? clip_humidity(entry.values, entry.unit) : 0;
        const std::string unit_note =
            weather::unit_note(*readers::variable_named(variable), entry.unit, stated != inputs.units.end(), clipped);
        if (!unit_note.empty()) record.units.push_back(unit_note);
    }

    // 2. Every day within the bounds of its variable, in the generator's unit.
    for (const char* name : kChecked) {
        const auto found = all.find(name);
        if (found == all.end()) continue;
        for (const DayValue& day : found->second.values) {
            const std::string why = implausible_day(name, day.day, found->second.model_value(day),
                                                    decimal_text(day.value), found->second.unit, latitude);
            if (!why.empty()) {
                refuse(name, where(inputs, name, day.line) + ": " + why);
                break;
            }
        }
    }

    // 3. A day's minimum not above its maximum (beyond a tolerance): one of
    //    the two columns is wrong, so neither is used.
    if (all.count("tmax") != 0 && all.count("tmin") != 0) {
        std::map<std::int32_t, std::pair<double, std::int64_t>> maxima;
        for (const DayValue& day : all["tmax"].values) maxima[day.day] = {all["tmax"].model_value(day), day.value};
        for (const DayValue& day : all["tmin"].values) {
            const auto tmax = maxima.find(day.day);
            if (tmax == maxima.end() || all["tmin"].model_value(day) <= tmax->second.first + kMinimumOverMaximum)
                continue;
            const readers::Date date = readers::date_of(day.day);
            const std::string why = where(inputs, "tmin", day.line) + ": tmin " + decimal_text(day.value) + " on " +
                                    readers::date_text(date.year, date.month, date.day) + " is above that day's tmax " +
                                    decimal_text(tmax->second.second) + " (neither is used): are the columns swapped?";
            refuse("tmax", why);
            refused_names.insert("tmin");
            all.erase("tmin");
            break;
        }
    }

    // 4. The largest half-hour rain of a day within the day's rain.
    if (all.count("hhr") != 0) {
        std::map<std::int32_t, std::int64_t> rain;
        const auto pcp = inputs.variables.find(readers::kPrecipitation);
        if (pcp != inputs.variables.end()) {
            for (const readers::DailyValue& value : pcp->second) {
                if (const auto exact = value.text.empty() ? std::nullopt : billionths(value.text))
                    rain[value.day] = *exact;
            }
        }
        for (const DayValue& day : all["hhr"].values) {
            const auto total = rain.find(day.day);
            if (total == rain.end() || day.value <= total->second) continue;
            const readers::Date date = readers::date_of(day.day);
            refuse("hhr", where(inputs, "hhr", day.line) + ": hhr " + decimal_text(day.value) + " on " +
                              readers::date_text(date.year, date.month, date.day) + " is above that day's rain " +
                              decimal_text(total->second));
            break;
        }
    }
    return all;
}

void set_column(WeatherRecord& record, Column column, const MonthTexts& texts) {
    for (std::size_t m = 0; m < 12; ++m) record.values[m][column] = texts[m];
}

// Days with a dew point from that day's humidity and mean temperature.
std::vector<DayReal> dew_points(const Days& humidity, const Days& tmax, const Days& tmin) {
    std::map<std::int32_t, double> maxima, means;
    for (const DayValue& day : tmax.values) maxima[day.day] = tmax.model_value(day);
    for (const DayValue& day : tmin.values) {
        if (const auto found = maxima.find(day.day); found != maxima.end())
            means[day.day] = (found->second + tmin.model_value(day)) / 2.0;
    }
    std::vector<DayReal> dews;
    for (const DayValue& day : humidity.values) {
        const auto t = means.find(day.day);
        if (t == means.end() || day.value <= 0) continue;
        // A mean temperature of -237.3 puts the relation out of its range: no dew point that day.
        const double dew = dew_point(humidity.model_value(day), t->second);
        if (std::isfinite(dew)) dews.push_back({day.day, dew});
    }
    return dews;
}

}  // namespace

std::array<bool, 12> filled_months(const WeatherRecord& record, Column column) {
    std::array<bool, 12> months{};
    const std::string name = kColumns[column];
    for (const std::string& filled : record.filled_variables) {
        if (filled == name) months.fill(true);
        if (filled.size() <= name.size() + 2 || filled.compare(0, name.size() + 1, name + "(") != 0) continue;
        // "1,2,12)": month numbers separated by commas.
        int month = 0;
        for (std::size_t i = name.size() + 1; i < filled.size(); ++i) {
            const char c = filled[i];
            if (c >= '0' && c <= '9') {
                month = month * 10 + (c - '0');
                if (month > 12) month = 13;
            } else {
                if (month >= 1 && month <= 12) months[static_cast<std::size_t>(month - 1)] = true;
                month = 0;
            }
        }
    }
    return months;
}

bool WeatherRecord::complete() const {
    return incomplete_reason().empty();
}

std::string WeatherRecord::incomplete_reason() const {
    std::string reason;
    const auto add = [&reason](const std::string& what) { reason.append(reason.empty() ? "" : "; ").append(what); };
    if (!missing_variables.empty()) {
        std::string names;
        for (const std::string& name : missing_variables) names.append(names.empty() ? "" : " ").append(name);
        add("no " + names);
    }
    if (!position_problem.empty()) {
        add("no position: " + position_problem);
    } else if (latitude.empty() || longitude.empty() || elevation.empty()) {
        add("no position (lat, lon, elev)");
    }
    return reason;
}

WeatherRecord make_weather_record(const WeatherInputs& inputs, std::string& problem) {
    WeatherRecord record;
    record.latitude = inputs.latitude;
    record.longitude = inputs.longitude;
    record.elevation = inputs.elevation;
    record.position_problem = inputs.position_problem;
    std::set<std::string> refused;
    std::map<std::string, Days> days = checked_days(inputs, record, refused);
    const auto days_of = [&](const char* variable) -> const Days& {
        static const Days none;
        const auto found = days.find(variable);
        return found == days.end() ? none : found->second;
    };

    // 1. Temperature: means and deviations of the maxima and minima.
    const Days& tmax = days_of("tmax");
    const Days& tmin = days_of("tmin");
    set_column(record, kTmpMaxAve, monthly_means(tmax.values, tmax.scale));
    set_column(record, kTmpMinAve, monthly_means(tmin.values, tmin.scale));
    set_column(record, kTmpMaxSd, monthly_deviations(tmax.values, tmax.scale));
    set_column(record, kTmpMinSd, monthly_deviations(tmin.values, tmin.scale));

    // 2. Precipitation: the report's own digits.
    for (std::size_t m = 0; m < 12; ++m) {
        for (std::size_t p = 0; p < 6; ++p) record.values[m][kPcpAve + p] = inputs.precipitation[m][p];
    }

    // 3. The largest half-hour rain: measured where the record has half-hour
    //    maxima, else estimated from the largest daily value.
    const Days& hhr = days_of("hhr");
    if (!hhr.values.empty()) {
        set_column(record, kPcpHhr, monthly_largest(hhr.values));
        std::set<int> years;
        for (const DayValue& day : hhr.values) years.insert(readers::date_of(day.day).year);
        record.rain_yrs = std::to_string(years.size());
    } else {
        std::string why;
        const std::optional<std::vector<DayValue>> pcp = exact_days(inputs, readers::kPrecipitation, why);
        if (!pcp) {
            problem = why;
            return record;
        }
        set_column(record, kPcpHhr, monthly_largest(*pcp, std::pow(30.0 / 1440.0, 0.25)));
        record.hhr_estimated = !pcp->empty();
        record.rain_yrs = std::to_string(inputs.last_year - inputs.first_year + 1);
    }

    // 4. Radiation and wind: means, in the generator's units.
    set_column(record, kSlrAve, monthly_means(days_of("slr").values, days_of("slr").scale));
    set_column(record, kWndAve, monthly_means(days_of("wnd").values, days_of("wnd").scale));

    // 5. Dew point: measured, else from humidity and the day's mean
    //    temperature; a month whose dew point lies above its mean maximum
    //    temperature says the column is not what it seems.
    const Days& dew = days_of("dew");
    const char* dew_from = dew.values.empty() ? "rh" : "dew";
    if (!dew.values.empty()) {
        set_column(record, kDewAve, monthly_means(dew.values, dew.scale));
    } else {
        set_column(record, kDewAve, monthly_means(dew_points(days_of("rh"), tmax, tmin)));
    }
    for (std::size_t m = 0; m < 12; ++m) {
        const auto dew_ave = readers::number_value(record.values[m][kDewAve]);
        const auto tmax_ave = readers::number_value(record.values[m][kTmpMaxAve]);
        if (record.values[m][kDewAve].empty() || record.values[m][kTmpMaxAve].empty() || !dew_ave || !tmax_ave ||
            *dew_ave <= *tmax_ave)
            continue;
        record.refused.push_back(where(inputs, dew_from, 0) + ": dew_ave " + record.values[m][kDewAve] + " of month " +
                                 std::to_string(m + 1) + " is above tmp_max_ave " + record.values[m][kTmpMaxAve]);
        for (std::size_t n = 0; n < 12; ++n) record.values[n][kDewAve].clear();
        refused.insert("dew");
        break;
    }

    // 6. What the record cannot give, from the reference station; measured
    //    values are never replaced, precipitation never filled, and a
    //    refused variable is not made up for: its file needs mending.
    const auto refused_column = [&](std::size_t c) {
        switch (c) {
            case kTmpMaxAve:
            case kTmpMaxSd: return refused.count("tmax") != 0;
            case kTmpMinAve:
            case kTmpMinSd: return refused.count("tmin") != 0;
            case kSlrAve: return refused.count("slr") != 0;
            case kWndAve: return refused.count("wnd") != 0;
            case kDewAve: return refused.count("dew") != 0 || refused.count("rh") != 0;
            default: return false;
        }
    };
    for (std::size_t c = 0; c < kColumns.size(); ++c) {
        if (c >= kPcpAve && c <= kPcpHhr) continue;
        bool empty = true;
        for (std::size_t m = 0; m < 12; ++m) empty = empty && record.values[m][c].empty();
        if (empty && refused_column(c)) continue;
        std::vector<int> filled;
        for (std::size_t m = 0; m < 12; ++m) {
            if (!record.values[m][c].empty() || inputs.reference == nullptr || inputs.reference->values[m][c].empty())
                continue;
            record.values[m][c] = inputs.reference->values[m][c];
            filled.push_back(static_cast<int>(m + 1));
        }
        if (!filled.empty()) record.filled_variables.push_back(filled_name(kColumns[c], filled));
    }
    for (std::size_t c = 0; c < kColumns.size(); ++c) {
        bool missing = false;
        for (std::size_t m = 0; m < 12; ++m) missing = missing || record.values[m][c].empty();
        if (missing) record.missing_variables.push_back(kColumns[c]);
    }
    return record;
}

}  // namespace wgn::weather
