#include "series/precipitation_values.hpp"

#include "problem/problem.hpp"
#include "readers/calendar_days.hpp"
#include "readers/number_text.hpp"
#include "readers/value_checks.hpp"

namespace wgn::series {
namespace {

using readers::Unit;

std::string day_text(std::int32_t day) {
    const readers::Date date = readers::date_of(day);
    return readers::date_text(date.year, date.month, date.day);
}

// Why a day's amount is not plausible, or empty.
std::string implausible_rain(const readers::DailyValue& value, Unit unit) {
    const std::optional<double> amount = readers::number_value(value.text);
    if (!amount) return {};
    const std::string shown =
        unit == Unit::kMillimetre ? value.text : value.text + " (" + std::string(readers::unit_name(unit)) + ")";
    const std::optional<double> millimetres = readers::number_value(readers::scaled_text(value.text, unit));
    if (*amount < 0) {
        return "pcp " + shown + " on " + day_text(value.day) +
               " is below 0: if it marks a missing day, give it as the station's nodata";
    }
    if (millimetres && *millimetres > kMostDailyRain) {
        return "pcp " + shown + " on " + day_text(value.day) + " is above 2000 mm" +
               (unit == Unit::kMillimetre ? ": is the column in tenths of mm? give pcp_unit" : "");
    }
    return {};
}

}  // namespace

void to_millimetres(std::vector<readers::DailyValue>& values, Unit unit) {
    if (unit == Unit::kMillimetre) return;
    for (readers::DailyValue& value : values) {
        if (!value.text.empty()) value.text = readers::scaled_text(value.text, unit);
    }
}

std::string millimetre_precipitation(readers::StationRecord& record, std::optional<Unit> listed,
                                     std::string_view shown_file) {
    const auto in_file = [&](const char* variable) -> std::optional<Unit> {
        const auto found = record.units.find(variable);
        return found == record.units.end() ? std::nullopt : std::optional<Unit>(found->second);
    };
    const auto column = [&](const char* variable) {
        const auto found = record.columns.find(variable);
        return found == record.columns.end() ? std::string() : found->second;
    };
    const auto where = [&](const char* variable, int line) {
        return Problem{std::string(shown_file), line, std::string(column(variable)), ""}.place() + ": ";
    };
    for (const char* variable : {readers::kPrecipitation, "hhr"}) {
        const auto values = record.variables.find(variable);
        if (values == record.variables.end()) continue;
        std::string problem;
        const std::optional<Unit> unit =
            readers::unit_of_values(readers::Quantity::kPrecipitation, listed, in_file(variable), problem);
        if (!unit) return where(variable, 0) + problem;
        if (variable == std::string_view(readers::kPrecipitation)) {
            for (const readers::DailyValue& value : values->second) {
                if (value.text.empty()) continue;
                if (const std::string why = implausible_rain(value, *unit); !why.empty())
                    return where(variable, value.line) + why;
            }
        }
        to_millimetres(values->second, *unit);
        record.units[variable] = Unit::kMillimetre;
    }
    return {};
}

}  // namespace wgn::series
