#include "series/precipitation_values.hpp"

#include "problem/problem.hpp"
#include "readers/calendar_days.hpp"
#include "readers/daily_number.hpp"
#include "readers/number_text.hpp"
#include "readers/value_checks.hpp"

namespace wgn::series {
namespace {

using readers::Unit;

std::string day_text(std::int32_t day) {
    const readers::Date date = readers::date_of(day);
    return readers::date_text(date.year, date.month, date.day);
}

// The setting of the precipitation's unit as who sets it names it.
std::string unit_setting(readers::Settings settings) {
    return settings == readers::Settings::station_list ? "pcp_unit" : readers::setting_name(settings, "pcp_unit");
}

// Why a day's amount is not plausible, or empty.
std::string implausible_rain(const readers::DailyValue& value, Unit unit, readers::Settings settings) {
    const std::optional<double> amount = readers::number_of(value);
    if (!amount) return {};
    // Millimetres are read as they stand; the day as a message shows it is
    // made only for a day found implausible (most are not).
    const std::optional<double> millimetres =
        unit == Unit::kMillimetre ? amount : readers::number_value(readers::scaled_text(value.text, unit));
    if (*amount >= 0 && !(millimetres && *millimetres > kMostDailyRain)) return {};
    const std::string shown =
        unit == Unit::kMillimetre ? value.text : value.text + " (" + std::string(readers::unit_name(unit)) + ")";
    if (*amount < 0) {
        return "pcp " + shown + " on " + day_text(value.day) + " is below 0: if it marks a missing day, give it as " +
               (settings == readers::Settings::station_list ? std::string("the station's nodata")
                                                            : readers::setting_name(settings, "nodata"));
    }
    if (millimetres && *millimetres > kMostDailyRain) {
        return "pcp " + shown + " on " + day_text(value.day) + " is above 2000 mm" +
               (unit == Unit::kMillimetre ? ": is the column in tenths of mm? give " + unit_setting(settings) : "");
    }
    return {};
}

}  // namespace

void to_millimetres(std::vector<readers::DailyValue>& values, Unit unit) {
    if (unit == Unit::kMillimetre) return;
    for (readers::DailyValue& value : values) {
        if (!value.text.empty()) value.set_text(readers::scaled_text(value.text, unit));
    }
}

Done millimetre_precipitation(readers::StationRecord& record, std::optional<Unit> listed, std::string_view shown_file,
                              readers::Settings settings) {
    using readers::Variable;
    const auto in_file = [&](Variable variable) -> std::optional<Unit> {
        const auto found = record.units.find(variable);
        return found == record.units.end() ? std::nullopt : std::optional<Unit>(found->second);
    };
    const auto at = [&](Variable variable, int line, std::string why) {
        const auto column = record.columns.find(variable);
        return Problem{std::string(shown_file), line, column == record.columns.end() ? "" : column->second,
                       std::move(why)};
    };
    for (const Variable variable : {Variable::pcp, Variable::hhr}) {
        const auto values = record.variables.find(variable);
        if (values == record.variables.end()) continue;
        const Result<Unit> unit =
            readers::unit_of_values(readers::Quantity::kPrecipitation, listed, in_file(variable), settings);
        if (!unit) return at(variable, 0, unit.problem().text);
        if (variable == Variable::pcp) {
            for (const readers::DailyValue& value : values->second) {
                if (value.text.empty()) continue;
                // Almost every day: a plain decimal of millimetres, read
                // already, from 0 to the most a day can hold.
                if (*unit == Unit::kMillimetre && value.decimals >= 0 && value.number >= 0 &&
                    value.number <= kMostDailyRain)
                    continue;
                if (std::string why = implausible_rain(value, *unit, settings); !why.empty())
                    return at(variable, value.line, std::move(why));
            }
        }
        to_millimetres(values->second, *unit);
        record.units[variable] = Unit::kMillimetre;
    }
    return {};
}

}  // namespace wgn::series
