#include "weather/weather_record.hpp"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <set>

#include "readers/calendar_days.hpp"
#include "readers/number_text.hpp"
#include "readers/outlier_days.hpp"
#include "readers/value_checks.hpp"
#include "weather/dew_point.hpp"
#include "weather/exact_decimal.hpp"
#include "weather/plausible_values.hpp"
#include "weather/record_notes.hpp"

namespace wgn::weather {
namespace {

using readers::Unit;
using readers::Variable;

// The variables other than precipitation, in the order they are checked.
constexpr Variable kChecked[] = {Variable::tmax, Variable::tmin, Variable::dew, Variable::slr,
                                 Variable::rh,   Variable::wnd,  Variable::hhr};

// The days of one variable in billionths of the unit they are written in.
struct Days {
    std::vector<DayValue> values;
    Unit unit = Unit::kMillimetre;
    readers::Scale scale;
    double model_value(const DayValue& day) const {
        return readers::model_scaled(static_cast<double>(day.value) / kBillion, scale);
    }
};
using CheckedDays = std::map<Variable, Days>;

// "FILE, line 12, column srad" for a message.
std::string where(const WeatherInputs& inputs, Variable variable, int line) {
    const auto found = inputs.sources.find(variable);
    if (found == inputs.sources.end()) return readers::place_text(readers::name(variable), line, "");
    return readers::place_text(found->second.file, line, found->second.column);
}

// Walks the days of a variable (in day order, each day once) alongside
// another's: asked for days in rising order, it finds each in one pass,
// where a lookup by day would cost a search (or a map) per day.
template <typename Day>
class DayCursor {
  public:
    explicit DayCursor(const std::vector<Day>& days) : days_(days) {}
    // The day `day` of the variable; nothing when it has none.
    const Day* find(std::int32_t day) {
        while (at_ < days_.size() && days_[at_].day < day) ++at_;
        return at_ < days_.size() && days_[at_].day == day ? &days_[at_] : nullptr;
    }

  private:
    const std::vector<Day>& days_;
    std::size_t at_ = 0;
};

std::string day_text(std::int32_t day) {
    const readers::Date date = readers::date_of(day);
    return readers::date_text(date.year, date.month, date.day);
}

// The valid days of a variable in billionths; a problem when a value is too
// large to be a weather value at all.
Result<std::vector<DayValue>> exact_days(const WeatherInputs& inputs, Variable variable) {
    std::vector<DayValue> days;
    const auto found = inputs.variables.find(variable);
    if (found == inputs.variables.end()) return days;
    days.reserve(found->second.size());
    for (const readers::DailyValue& value : found->second) {
        if (value.text.empty()) continue;
        const std::optional<std::int64_t> exact = billionths_of(value);
        if (!exact) {
            return problem_text(where(inputs, variable, value.line) + ": " + std::string(readers::name(variable)) +
                                " " + value.text + " is too large for a weather value");
        }
        days.push_back({value.day, *exact, value.line});
    }
    return days;
}

// What is found against the values, as the record keeps it: the variables
// refused (with the reason, in the order found) and the units noted.
struct Findings {
    WeatherRecord& record;
    std::set<Variable>& refused;
    CheckedDays& days;
    void refuse(Variable variable, const std::string& why) {
        record.refused.push_back(why);
        refused.insert(variable);
        days.erase(variable);
    }
};

// A variable's days in its unit: the stated one, else the generator's; for
// humidity stated by nobody, the unit its values tell.  A refusal's reason
// when the values tell none.
Result<Days> days_in_unit(const WeatherInputs& inputs, Variable variable, std::vector<DayValue> values,
                          std::string& note) {
    Days days;
    days.values = std::move(values);
    const auto stated = inputs.units.find(variable);
    const bool is_stated = stated != inputs.units.end();
    if (is_stated) {
        days.unit = stated->second;
    } else if (variable == Variable::rh) {
        const Result<Unit> told = humidity_unit_of_values(days.values);
        if (!told) return problem_text(where(inputs, variable, 0) + ": " + told.problem().text);
        days.unit = *told;
    } else {
        days.unit = readers::model_unit(readers::quantity_of(variable));
    }
    days.scale = readers::scale_of(days.unit);
    const long clipped = variable == Variable::rh ? clip_humidity(days.values, days.unit) : 0;
    note = unit_note(variable, days.unit, is_stated, clipped);
    return days;
}

// 1. Each variable's days and unit.
void take_days(const WeatherInputs& inputs, Findings& found) {
    for (const Variable variable : kChecked) {
        if (const auto refused = inputs.refused.find(variable); refused != inputs.refused.end()) {
            found.record.refused.push_back(refused->second);
            found.refused.insert(variable);
            continue;
        }
        Result<std::vector<DayValue>> values = exact_days(inputs, variable);
        if (!values) {
            found.refuse(variable, values.problem().text);
            continue;
        }
        if (values->empty()) continue;
        std::string note;
        Result<Days> days = days_in_unit(inputs, variable, std::move(*values), note);
        if (!days) {
            found.refuse(variable, days.problem().text);
            continue;
        }
        found.days[variable] = std::move(*days);
        if (!note.empty()) found.record.units.push_back(note);
    }
}

// The days of a variable found not plausible, by their places among its
// days (each list rising), and why the first of each kind is not.
struct Suspects {
    std::vector<std::size_t> beyond, swapped, over_rain;  // beyond its bounds; tmin above tmax; hhr above the rain
    std::string beyond_why, swapped_why, over_rain_why;
};
using SuspectDays = std::map<Variable, Suspects>;

// 2. Every day within the bounds of its variable, in the generator's unit.
void find_implausible_days(const WeatherInputs& inputs, const CheckedDays& checked, std::optional<double> latitude,
                           SuspectDays& suspects) {
    for (const Variable variable : kChecked) {
        const auto days = checked.find(variable);
        if (days == checked.end()) continue;
        PlausibleDays bounds(variable, latitude);
        const std::vector<DayValue>& values = days->second.values;
        for (std::size_t i = 0; i < values.size(); ++i) {
            const double value = days->second.model_value(values[i]);
            if (bounds.plausible(values[i].day, value)) continue;
            Suspects& found = suspects[variable];
            if (found.beyond.empty()) {
                found.beyond_why = where(inputs, variable, values[i].line) + ": " +
                                   implausible_day(variable, values[i].day, value, decimal_text(values[i].value),
                                                   days->second.unit, latitude);
            }
            found.beyond.push_back(i);
        }
    }
}

// Whether place `i` of `variable`'s days is among those found beyond its bounds.
bool beyond(const SuspectDays& suspects, Variable variable, std::size_t i) {
    const auto found = suspects.find(variable);
    return found != suspects.end() && std::binary_search(found->second.beyond.begin(), found->second.beyond.end(), i);
}

// 3. A day's minimum not above its maximum (beyond a tolerance): one of the
//    two is wrong, so the day counts against both.
void find_minimum_over_maximum(const WeatherInputs& inputs, const CheckedDays& checked, SuspectDays& suspects) {
    const auto tmax = checked.find(Variable::tmax);
    const auto tmin = checked.find(Variable::tmin);
    if (tmax == checked.end() || tmin == checked.end()) return;
    const std::vector<DayValue>& maxima = tmax->second.values;
    DayCursor<DayValue> cursor(maxima);
    for (std::size_t i = 0; i < tmin->second.values.size(); ++i) {
        const DayValue& day = tmin->second.values[i];
        const DayValue* maximum = cursor.find(day.day);
        if (maximum == nullptr ||
            tmin->second.model_value(day) <= tmax->second.model_value(*maximum) + kMinimumOverMaximum)
            continue;
        const auto j = static_cast<std::size_t>(maximum - maxima.data());
        if (beyond(suspects, Variable::tmin, i) || beyond(suspects, Variable::tmax, j)) continue;
        Suspects& minimum = suspects[Variable::tmin];
        Suspects& maximum_days = suspects[Variable::tmax];
        if (minimum.swapped.empty()) {
            minimum.swapped_why = maximum_days.swapped_why =
                where(inputs, Variable::tmin, day.line) + ": tmin " + decimal_text(day.value) + " on " +
                day_text(day.day) + " is above that day's tmax " + decimal_text(maximum->value);
        }
        minimum.swapped.push_back(i);
        maximum_days.swapped.push_back(j);
    }
}

// 4. The largest half-hour rain of a day within the day's rain.
void find_half_hours_over_rain(const WeatherInputs& inputs, const CheckedDays& checked, SuspectDays& suspects) {
    const auto hhr = checked.find(Variable::hhr);
    if (hhr == checked.end()) return;
    static const std::vector<readers::DailyValue> no_rain;
    const auto pcp = inputs.variables.find(Variable::pcp);
    DayCursor<readers::DailyValue> rain(!inputs.rain_as_read.empty()    ? inputs.rain_as_read
                                        : pcp == inputs.variables.end() ? no_rain
                                                                        : pcp->second);
    for (std::size_t i = 0; i < hhr->second.values.size(); ++i) {
        const DayValue& day = hhr->second.values[i];
        const readers::DailyValue* that_day = rain.find(day.day);
        const auto total = that_day == nullptr ? std::nullopt : billionths_of(*that_day);
        if (!total || day.value <= *total || beyond(suspects, Variable::hhr, i)) continue;
        Suspects& found = suspects[Variable::hhr];
        if (found.over_rain.empty()) {
            found.over_rain_why = where(inputs, Variable::hhr, day.line) + ": hhr " + decimal_text(day.value) + " on " +
                                  day_text(day.day) + " is above that day's rain " + decimal_text(*total);
        }
        found.over_rain.push_back(i);
    }
}

// 5. A few such days of a variable (readers::outlier_limit of its days)
//    are left out as missing days; more refuse the variable, with the first
//    day's reason, how many there are, and the unit its values point to.
//    The refusals come as they were found: the bounds, then tmin above tmax
//    (one refusal for both), then half-hour rain above the day's rain.
void leave_out_or_refuse(Findings& found, const SuspectDays& suspects, std::optional<double> latitude) {
    std::vector<std::pair<int, std::string>> refusals;  // by the kind of their reason, then in kChecked order
    std::set<Variable> swapped;
    for (const Variable variable : kChecked) {
        const auto suspected = suspects.find(variable);
        if (suspected == suspects.end()) continue;
        const Suspects& s = suspected->second;
        Days& days = found.days[variable];
        std::vector<std::size_t> places = s.beyond;
        places.insert(places.end(), s.swapped.begin(), s.swapped.end());
        places.insert(places.end(), s.over_rain.begin(), s.over_rain.end());
        std::sort(places.begin(), places.end());
        const auto count = static_cast<long>(places.size()), all = static_cast<long>(days.values.size());
        const long limit = readers::outlier_limit(all);
        if (count > limit) {
            const std::string counted = " (" + std::to_string(count) + " of its " + std::to_string(all) +
                                        " days not plausible, more than the " + std::to_string(limit) +
                                        " taken as missing)";
            if (!s.beyond.empty()) {
                const std::optional<Unit> meant = unit_pointed_to(variable, days.values, days.unit, latitude);
                refusals.emplace_back(0, s.beyond_why + counted + (meant ? unit_hint(variable, *meant) : ""));
            } else if (!s.swapped.empty()) {
                if (swapped.empty())
                    refusals.emplace_back(1, s.swapped_why + counted + ", neither is used: are the columns swapped?");
                swapped.insert(variable);
            } else {
                refusals.emplace_back(2, s.over_rain_why + counted);
            }
            found.refused.insert(variable);
            continue;
        }
        std::vector<DayValue> kept;
        kept.reserve(days.values.size() - places.size());
        std::size_t next = 0;
        for (std::size_t i = 0; i < days.values.size(); ++i) {
            if (next < places.size() && places[next] == i) {
                found.record.outlier_days.push_back({variable, days.values[i].day, decimal_text(days.values[i].value)});
                ++next;
                continue;
            }
            kept.push_back(days.values[i]);
        }
        days.values = std::move(kept);
    }
    // Neither of a pair is used when one is refused for it.
    if (!swapped.empty()) {
        for (const Variable variable : {Variable::tmax, Variable::tmin}) {
            found.refused.insert(variable);
            std::erase_if(found.record.outlier_days,
                          [variable](const readers::OutlierDay& day) { return day.variable == variable; });
        }
    }
    std::stable_sort(refusals.begin(), refusals.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [kind, why] : refusals) found.record.refused.push_back(why);
    for (const Variable variable : found.refused) found.days.erase(variable);
}

// Every checked variable's days, in its unit, each found plausible; those
// that are not are refused with the reason and left out.
CheckedDays checked_days(const WeatherInputs& inputs, WeatherRecord& record, std::set<Variable>& refused) {
    CheckedDays days;
    Findings found{record, refused, days};
    take_days(inputs, found);
    std::optional<double> latitude;
    if (const auto value = readers::number_value(inputs.latitude.text()); value && !inputs.latitude.empty())
        latitude = value;
    SuspectDays suspects;
    find_implausible_days(inputs, days, latitude, suspects);
    find_minimum_over_maximum(inputs, days, suspects);
    find_half_hours_over_rain(inputs, days, suspects);
    leave_out_or_refuse(found, suspects, latitude);
    return days;
}

void set_column(WeatherRecord& record, Column column, const MonthTexts& texts) {
    for (std::size_t m = 0; m < 12; ++m) record.values[m][column] = DecimalText::made(texts[m]);
}

// Days with a dew point from that day's humidity and mean temperature.
std::vector<DayReal> dew_points(const Days& humidity, const Days& tmax, const Days& tmin) {
    DayCursor<DayValue> maxima(tmax.values), minima(tmin.values);
    std::vector<DayReal> dews;
    dews.reserve(humidity.values.size());
    for (const DayValue& day : humidity.values) {
        const DayValue* maximum = maxima.find(day.day);
        const DayValue* minimum = minima.find(day.day);
        if (maximum == nullptr || minimum == nullptr || day.value <= 0) continue;
        const double mean = (tmax.model_value(*maximum) + tmin.model_value(*minimum)) / 2.0;
        // A mean temperature of -237.3 puts the relation out of its range: no dew point that day.
        const double dew = dew_point(humidity.model_value(day), mean);
        if (std::isfinite(dew)) dews.push_back({day.day, dew});
    }
    return dews;
}

}  // namespace

namespace {

// The record as its steps make it, from the checked days.
struct Making {
    const WeatherInputs& inputs;
    WeatherRecord& record;
    CheckedDays days;
    std::set<Variable> refused;
    const Days& of(Variable variable) const {
        static const Days none;
        const auto found = days.find(variable);
        return found == days.end() ? none : found->second;
    }
};

// 1. Temperature: means and deviations of the maxima and minima.
void temperature_columns(Making& making) {
    const Days& tmax = making.of(Variable::tmax);
    const Days& tmin = making.of(Variable::tmin);
    set_column(making.record, kTmpMaxAve, monthly_means(tmax.values, tmax.scale));
    set_column(making.record, kTmpMinAve, monthly_means(tmin.values, tmin.scale));
    set_column(making.record, kTmpMaxSd, monthly_deviations(tmax.values, tmax.scale));
    set_column(making.record, kTmpMinSd, monthly_deviations(tmin.values, tmin.scale));
}

// 2. Precipitation: the report's own digits.
void precipitation_columns(Making& making) {
    for (std::size_t m = 0; m < 12; ++m) {
        for (std::size_t p = 0; p < 6; ++p) making.record.values[m][kPcpAve + p] = making.inputs.precipitation[m][p];
    }
}

// 3. The largest half-hour rain: measured where the record has half-hour
//    maxima, else estimated from the largest daily value.
Done half_hour_column(Making& making) {
    WeatherRecord& record = making.record;
    const Days& hhr = making.of(Variable::hhr);
    if (!hhr.values.empty()) {
        set_column(record, kPcpHhr, monthly_largest(hhr.values));
        std::set<int> years;
        for (const DayValue& day : hhr.values) years.insert(readers::date_of(day.day).year);
        record.rain_yrs = DecimalText::whole(static_cast<std::int64_t>(years.size()));
        return {};
    }
    const Result<std::vector<DayValue>> pcp = exact_days(making.inputs, Variable::pcp);
    if (!pcp) return pcp.problem();
    set_column(record, kPcpHhr, monthly_largest(*pcp, std::pow(30.0 / 1440.0, 0.25)));
    record.hhr_estimated = !pcp->empty();
    record.rain_yrs = DecimalText::whole(making.inputs.last_year - making.inputs.first_year + 1);
    return {};
}

// 4. Radiation and wind: means, in the generator's units.
void radiation_and_wind_columns(Making& making) {
    set_column(making.record, kSlrAve, monthly_means(making.of(Variable::slr).values, making.of(Variable::slr).scale));
    set_column(making.record, kWndAve, monthly_means(making.of(Variable::wnd).values, making.of(Variable::wnd).scale));
}

// 5. Dew point: measured, else from humidity and the day's mean
//    temperature; a month whose dew point lies above its mean maximum
//    temperature says the column is not what it seems.
void dew_point_column(Making& making) {
    WeatherRecord& record = making.record;
    const Days& dew = making.of(Variable::dew);
    const Variable dew_from = dew.values.empty() ? Variable::rh : Variable::dew;
    if (!dew.values.empty()) {
        set_column(record, kDewAve, monthly_means(dew.values, dew.scale));
    } else {
        set_column(
            record, kDewAve,
            monthly_means(dew_points(making.of(Variable::rh), making.of(Variable::tmax), making.of(Variable::tmin))));
    }
    for (std::size_t m = 0; m < 12; ++m) {
        const DecimalText& dew_ave = record.values[m][kDewAve];
        const DecimalText& tmax_ave = record.values[m][kTmpMaxAve];
        if (dew_ave.empty() || tmax_ave.empty()) continue;
        const auto dew_value = readers::number_value(dew_ave.text());
        const auto tmax_value = readers::number_value(tmax_ave.text());
        if (!dew_value || !tmax_value || *dew_value <= *tmax_value) continue;
        record.refused.push_back(where(making.inputs, dew_from, 0) + ": dew_ave " + dew_ave.text() + " of month " +
                                 std::to_string(m + 1) + " is above tmp_max_ave " + tmax_ave.text());
        for (std::size_t n = 0; n < 12; ++n) record.values[n][kDewAve] = {};
        making.refused.insert(Variable::dew);
        return;
    }
}

// Whether a column's variable was refused: then the reference station does
// not make up for it, as its file needs mending.
bool refused_column(const std::set<Variable>& refused, std::size_t column) {
    const auto any = [&refused](std::initializer_list<Variable> variables) {
        return std::any_of(variables.begin(), variables.end(),
                           [&refused](Variable variable) { return refused.count(variable) != 0; });
    };
    switch (column) {
        case kTmpMaxAve:
        case kTmpMaxSd: return any({Variable::tmax});
        case kTmpMinAve:
        case kTmpMinSd: return any({Variable::tmin});
        case kSlrAve: return any({Variable::slr});
        case kWndAve: return any({Variable::wnd});
        case kDewAve: return any({Variable::dew, Variable::rh});
        default: return false;
    }
}

// 6. What the record cannot give, from the reference station; measured
//    values are never replaced and precipitation never filled.
void fill_from_reference(Making& making) {
    WeatherRecord& record = making.record;
    const ReferenceStation* reference = making.inputs.reference;
    for (std::size_t c = 0; c < kColumns.size(); ++c) {
        if (c >= kPcpAve && c <= kPcpHhr) continue;
        bool empty = true;
        for (std::size_t m = 0; m < 12; ++m) empty = empty && record.values[m][c].empty();
        if (empty && refused_column(making.refused, c)) continue;
        std::vector<int> filled;
        for (std::size_t m = 0; m < 12; ++m) {
            if (!record.values[m][c].empty() || reference == nullptr || reference->values[m][c].empty()) continue;
            record.values[m][c] = reference->values[m][c];
            filled.push_back(static_cast<int>(m + 1));
        }
        if (!filled.empty()) record.filled_variables.push_back(filled_name(kColumns[c], filled));
    }
}

void note_missing_columns(WeatherRecord& record) {
    for (std::size_t c = 0; c < kColumns.size(); ++c) {
        bool missing = false;
        for (std::size_t m = 0; m < 12; ++m) missing = missing || record.values[m][c].empty();
        if (missing) record.missing_variables.push_back(kColumns[c]);
    }
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

void leave_out_days(WeatherInputs& inputs, const std::vector<readers::OutlierDay>& days) {
    for (const readers::OutlierDay& outlier : days) {
        const auto values = inputs.variables.find(outlier.variable);
        if (values == inputs.variables.end()) continue;
        // The values rise by day, each day once.
        const auto at =
            std::lower_bound(values->second.begin(), values->second.end(), outlier.day,
                             [](const readers::DailyValue& value, std::int32_t day) { return value.day < day; });
        if (at != values->second.end() && at->day == outlier.day) at->set_text({});
    }
}

Result<WeatherRecord> make_weather_record(const WeatherInputs& inputs) {
    WeatherRecord record;
    record.latitude = inputs.latitude;
    record.longitude = inputs.longitude;
    record.elevation = inputs.elevation;
    if (inputs.position_problem) record.position_problem = inputs.position_problem->message();
    Making making{inputs, record, {}, {}};
    making.days = checked_days(inputs, record, making.refused);
    temperature_columns(making);
    precipitation_columns(making);
    if (const Done hhr = half_hour_column(making); !hhr) return hhr.problem();
    radiation_and_wind_columns(making);
    dew_point_column(making);
    fill_from_reference(making);
    note_missing_columns(record);
    return record;
}

}  // namespace wgn::weather
