#include "weather/weather_record.hpp"

#include <algorithm>
#include <cmath>
#include <set>

#include "readers/calendar_days.hpp"
#include "weather/dew_point.hpp"
#include "weather/exact_decimal.hpp"

namespace wgn::weather {
namespace {

// The valid days of a variable in billionths; empty when the record has none.
std::vector<DayValue> exact_days(const WeatherInputs& inputs, const std::string& variable, std::string& problem) {
    std::vector<DayValue> days;
    const auto found = inputs.variables.find(variable);
    if (found == inputs.variables.end()) return days;
    for (const readers::DailyValue& value : found->second) {
        if (value.text.empty()) continue;
        const std::optional<std::int64_t> exact = billionths(value.text);
        if (!exact) {
            problem =
                "line " + std::to_string(value.line) + ": " + value.text + " is too large for a value of " + variable;
            return {};
        }
        days.push_back({value.day, *exact});
    }
    return days;
}

void set_column(WeatherRecord& record, Column column, const MonthTexts& texts) {
    for (std::size_t m = 0; m < 12; ++m) record.values[m][column] = texts[m];
}

// Days with a dew point from that day's humidity and mean temperature.
std::vector<DayReal> dew_points(const std::vector<DayValue>& humidity, const std::vector<DayValue>& tmax,
                                const std::vector<DayValue>& tmin, bool percent) {
    std::map<std::int32_t, std::pair<std::int64_t, std::int64_t>> temperatures;
    std::map<std::int32_t, std::int64_t> maxima;
    for (const DayValue& day : tmax) maxima[day.day] = day.value;
    for (const DayValue& day : tmin) {
        if (maxima.count(day.day) != 0) temperatures[day.day] = {maxima[day.day], day.value};
    }
    std::vector<DayReal> dews;
    for (const DayValue& day : humidity) {
        const auto t = temperatures.find(day.day);
        if (t == temperatures.end() || day.value <= 0) continue;
        const double fraction = static_cast<double>(day.value) / kBillion / (percent ? 100.0 : 1.0);
        const double mean =
            (static_cast<double>(t->second.first) + static_cast<double>(t->second.second)) / 2.0 / kBillion;
        // A mean temperature of -237.3 puts the relation out of its range: no dew point that day.
        const double dew = dew_point(fraction, mean);
        if (std::isfinite(dew)) dews.push_back({day.day, dew});
    }
    return dews;
}

std::string month_list(const std::vector<int>& months) {
    std::string text;
    for (const int m : months) text.append(text.empty() ? "" : ",").append(std::to_string(m));
    return text;
}

}  // namespace

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
    const auto factor = [&](const char* variable) {
        const auto found = inputs.factors.find(variable);
        return found == inputs.factors.end() ? std::pair<int, int>{1, 1} : found->second;
    };

    // 1. Temperature: means and deviations of the maxima and minima.
    const std::vector<DayValue> tmax = exact_days(inputs, "tmax", problem);
    const std::vector<DayValue> tmin = exact_days(inputs, "tmin", problem);
    set_column(record, kTmpMaxAve, monthly_means(tmax));
    set_column(record, kTmpMinAve, monthly_means(tmin));
    set_column(record, kTmpMaxSd, monthly_deviations(tmax));
    set_column(record, kTmpMinSd, monthly_deviations(tmin));

    // 2. Precipitation: the report's own digits.
    for (std::size_t m = 0; m < 12; ++m) {
        for (std::size_t p = 0; p < 6; ++p) record.values[m][kPcpAve + p] = inputs.precipitation[m][p];
    }

    // 3. The largest half-hour rain: measured where the record has half-hour
    //    maxima, else estimated from the largest daily value.
    const std::vector<DayValue> hhr = exact_days(inputs, "hhr", problem);
    if (!hhr.empty()) {
        set_column(record, kPcpHhr, monthly_largest(hhr));
        std::set<int> years;
        for (const DayValue& day : hhr) years.insert(readers::date_of(day.day).year);
        record.rain_yrs = std::to_string(years.size());
    } else {
        const std::vector<DayValue> pcp = exact_days(inputs, readers::kPrecipitation, problem);
        set_column(record, kPcpHhr, monthly_largest(pcp, std::pow(30.0 / 1440.0, 0.25)));
        record.hhr_estimated = !pcp.empty();
        record.rain_yrs = std::to_string(inputs.last_year - inputs.first_year + 1);
    }

    // 4. Radiation and wind: means, in the variable's unit.
    set_column(record, kSlrAve, monthly_means(exact_days(inputs, "slr", problem), factor("slr")));
    set_column(record, kWndAve, monthly_means(exact_days(inputs, "wnd", problem), factor("wnd")));

    // 5. Dew point: measured, else from humidity and the day's mean temperature.
    const std::vector<DayValue> dew = exact_days(inputs, "dew", problem);
    if (!dew.empty()) {
        set_column(record, kDewAve, monthly_means(dew));
    } else {
        const std::vector<DayValue> humidity = exact_days(inputs, "rh", problem);
        bool percent = inputs.humidity_in_percent.value_or(false);
        if (!inputs.humidity_in_percent) {
            for (const DayValue& day : humidity) percent = percent || day.value > kBillion;
        }
        set_column(record, kDewAve, monthly_means(dew_points(humidity, tmax, tmin, percent)));
    }
    if (!problem.empty()) return record;

    // 6. What the record cannot give, from the reference station; measured
    //    values are never replaced, precipitation never filled.
    for (std::size_t c = 0; c < kColumns.size(); ++c) {
        if (c >= kPcpAve && c <= kPcpHhr) continue;
        std::vector<int> filled;
        for (std::size_t m = 0; m < 12; ++m) {
            if (!record.values[m][c].empty() || inputs.reference == nullptr || inputs.reference->values[m][c].empty())
                continue;
            record.values[m][c] = inputs.reference->values[m][c];
            filled.push_back(static_cast<int>(m + 1));
        }
        if (filled.size() == 12) {
            record.filled_variables.push_back(kColumns[c]);
        } else if (!filled.empty()) {
            record.filled_variables.push_back(std::string(kColumns[c]) + "(" + month_list(filled) + ")");
        }
    }
    for (std::size_t c = 0; c < kColumns.size(); ++c) {
        bool missing = false;
        for (std::size_t m = 0; m < 12; ++m) missing = missing || record.values[m][c].empty();
        if (missing) record.missing_variables.push_back(kColumns[c]);
    }
    return record;
}

}  // namespace wgn::weather
