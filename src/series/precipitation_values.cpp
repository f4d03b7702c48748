#include "series/precipitation_values.hpp"

#include <cmath>
#include <cstdio>

#include "problem/problem.hpp"
#include "readers/calendar_days.hpp"
#include "readers/daily_number.hpp"
#include "readers/number_text.hpp"
#include "readers/value_checks.hpp"

namespace wgn::series {
namespace {

using readers::Unit;

constexpr std::int64_t kMillion = 1000000;
// The sums of a record of thousands of years times the days of four years.
__extension__ typedef __int128 Wide;

std::string day_text(std::int32_t day) {
    const readers::Date date = readers::date_of(day);
    return readers::date_text(date.year, date.month, date.day);
}

// The setting of the precipitation's unit as who sets it names it.
std::string unit_setting(readers::Settings settings) {
    return settings == readers::Settings::station_list ? "pcp_unit" : readers::setting_name(settings, "pcp_unit");
}

std::string fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// The share of `part` in `whole` in whole per cent, rounded down.
long percent(long part, long whole) {
    return whole > 0 ? static_cast<long>(static_cast<std::int64_t>(part) * 100 / whole) : 0;
}

// Why a day's amount is not plausible, without a hint, or empty.
std::string implausible_rain(const readers::DailyValue& value, Unit unit) {
    const std::optional<double> amount = readers::number_of(value);
    if (!amount) return {};
    // Millimetres are read as they stand; the day as a message shows it is
    // made only for a day found implausible (most are not).
    const std::optional<double> millimetres =
        unit == Unit::kMillimetre ? amount : readers::number_value(readers::scaled_text(value.text, unit));
    if (*amount >= 0 && !(millimetres && *millimetres > kMostDailyRain)) return {};
    const std::string shown =
        unit == Unit::kMillimetre ? value.text : value.text + " (" + std::string(readers::unit_name(unit)) + ")";
    if (*amount < 0) return "pcp " + shown + " on " + day_text(value.day) + " is below 0";
    return "pcp " + shown + " on " + day_text(value.day) + " is above 2000 mm";
}

// The figures of the amounts as read, each a number from 0 to 2000.
AmountFigures figures_of(const std::vector<readers::DailyValue>& values) {
    AmountFigures figures;
    for (const readers::DailyValue& value : values) {
        double amount = 0.0;
        if (!readers::number_of(value, amount) || !(amount >= 0 && amount <= kMostDailyRain)) continue;
        if (!figures.add(value.text)) figures.add_number(amount);
    }
    return figures;
}

// 1. The unit: the list's, else the file's, else, where the format does not
//    fix it, the one the amounts tell, which refuses them.
Result<Unit> unit_of(readers::StationRecord& record, std::optional<Unit> listed, bool format_fixes,
                     readers::Variable variable, readers::Settings settings) {
    const auto stated = record.units.find(variable);
    const std::optional<Unit> in_file =
        stated == record.units.end() ? std::nullopt : std::optional<Unit>(stated->second);
    Result<Unit> unit = readers::unit_of_values(readers::Quantity::kPrecipitation, listed, in_file, settings);
    if (!unit || listed || in_file || format_fixes || variable != readers::Variable::pcp) return unit;
    const AmountFigures figures = figures_of(record.variables[variable]);
    const std::optional<Unit> told = unit_of_amounts(figures);
    if (!told) return unit;
    const std::string setting = unit_setting(settings);
    return problem_text(amounts_text(figures, *told) + ": the amounts read as " +
                        (*told == Unit::kInch ? "inches" : "tenths of mm") + ": give " + setting + " " +
                        std::string(readers::unit_name(*told)) + ", or " + setting + " mm if they are mm");
}

}  // namespace

bool AmountFigures::add_written(std::string_view text) {
    // 1. The digits: a whole part, then up to six decimals kept.
    constexpr std::int64_t kPlaces[] = {0, 100000, 10000, 1000, 100, 10, 1};
    std::int64_t whole_part = 0, fraction = 0;
    int needed = 0;  // the decimals the amount needs (its last digit not 0)
    std::size_t i = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9' && i < 12; ++i)
        whole_part = whole_part * 10 + (text[i] - '0');
    const bool digits_before = i > 0;
    if (i < text.size() && text[i] == '.') {
        for (int decimal = 1; ++i < text.size() && text[i] >= '0' && text[i] <= '9'; ++decimal) {
            if (decimal <= 6) fraction += (text[i] - '0') * kPlaces[decimal];
            if (text[i] != '0') needed = decimal;
        }
    }
    if (i != text.size() || !digits_before) return false;
    // 2. The day counted with its writing.
    ++days;
    const std::int64_t amount = whole_part * kMillion + fraction;
    if (amount == 0 && needed == 0) return true;
    ++wet_days;
    millionths += amount;
    if (needed == 0) ++whole;
    if (needed == 2) ++hundredths;
    if (needed > 2) ++finer;
    return true;
}

void AmountFigures::add_number(double value) {
    ++days;
    if (!(value > 0)) return;
    ++wet_days;
    millionths += static_cast<std::int64_t>(std::llround(value * static_cast<double>(kMillion)));
    if (value == std::floor(value)) {
        ++whole;
    } else {
        ++finer;
    }
}

std::optional<Unit> unit_of_amounts(const AmountFigures& f) {
    using Rule = UnitRule;
    if (f.days < Rule::kFewestDays || f.wet_days < Rule::kFewestWetDays) return std::nullopt;
    // Compared exactly, in whole numbers: a year is 365.25 days (1461 / 4).
    const std::int64_t days = f.days, wet = f.wet_days;
    const bool above_any_gauge = Wide{f.millionths} * 1461 > Wide{Rule::kMostAnnual} * kMillion * 4 * days;
    const bool whole_numbers = f.whole * 100 >= Rule::kWholePercent * wet;
    const bool heavy_wet_days = f.millionths >= Rule::kMostWholeWetDay * kMillion * wet;
    if (above_any_gauge || (whole_numbers && heavy_wet_days)) return Unit::kTenthMillimetre;
    const bool in_hundredths =
        f.hundredths * 100 >= Rule::kTwoDecimalsPercent * wet && (wet - f.finer) * 100 >= Rule::kAtMostTwoPercent * wet;
    const bool light_wet_days = f.millionths < Rule::kInchWetDay * kMillion * wet;
    const bool not_drizzle = wet * 100 < Rule::kInchWetPercent * days;
    if (in_hundredths && light_wet_days && not_drizzle) return Unit::kInch;
    return std::nullopt;
}

std::string amounts_text(const AmountFigures& f, Unit told) {
    const double total = static_cast<double>(f.millionths) / static_cast<double>(kMillion);
    const double annual = f.days > 0 ? total / static_cast<double>(f.days) * 365.25 : 0.0;
    const double wet_day = f.wet_days > 0 ? total / static_cast<double>(f.wet_days) : 0.0;
    if (told == Unit::kInch) {
        return "hundredths on " + std::to_string(percent(f.hundredths, f.wet_days)) + " % of the wet days, " +
               fixed(wet_day, 2) + " mm a wet day and " + fixed(annual, 0) + " mm a year read as mm, wet on " +
               std::to_string(percent(f.wet_days, f.days)) + " % of the days";
    }
    return "whole numbers on " + std::to_string(percent(f.whole, f.wet_days)) + " % of the wet days, " +
           fixed(wet_day, 1) + " mm a wet day and " + fixed(annual, 0) + " mm a year read as mm";
}

void to_millimetres(std::vector<readers::DailyValue>& values, Unit unit) {
    if (unit == Unit::kMillimetre) return;
    for (readers::DailyValue& value : values) {
        if (!value.text.empty()) value.set_text(readers::scaled_text(value.text, unit));
    }
}

Result<MillimetreRead> millimetre_precipitation(readers::StationRecord& record, std::optional<Unit> listed,
                                                bool format_fixes, std::string_view shown_file,
                                                readers::Settings settings) {
    using readers::Variable;
    const auto at = [&](Variable variable, int line, std::string why) {
        const auto column = record.columns.find(variable);
        return Problem{std::string(shown_file), line, column == record.columns.end() ? "" : column->second,
                       std::move(why)};
    };
    MillimetreRead read;
    for (const Variable variable : {Variable::pcp, Variable::hhr}) {
        const auto values = record.variables.find(variable);
        if (values == record.variables.end()) continue;
        const Result<Unit> unit = unit_of(record, listed, format_fixes, variable, settings);
        if (!unit) return at(variable, 0, unit.problem().text);
        if (variable == Variable::pcp) {
            read.unit = *unit;
            // 2. The days that are not plausible, and the days with an amount.
            std::vector<std::size_t> outliers;
            long days = 0;
            for (std::size_t i = 0; i < values->second.size(); ++i) {
                const readers::DailyValue& value = values->second[i];
                if (value.text.empty()) continue;
                ++days;
                // Almost every day: a plain decimal of millimetres, read
                // already, from 0 to the most a day can hold.
                if (*unit == Unit::kMillimetre && value.decimals >= 0 && value.number >= 0 &&
                    value.number <= kMostDailyRain)
                    continue;
                if (!implausible_rain(value, *unit).empty()) outliers.push_back(i);
            }
            // 3. A few are missing days; more refuse the precipitation, with
            //    the first of them and, where the amounts as a whole point
            //    to it, the unit meant.
            const long limit = readers::outlier_limit(days);
            if (static_cast<long>(outliers.size()) > limit) {
                const readers::DailyValue& first = values->second[outliers.front()];
                std::string why = implausible_rain(first, *unit) + " (" + std::to_string(outliers.size()) + " of its " +
                                  std::to_string(days) + " days not plausible, more than the " + std::to_string(limit) +
                                  " taken as missing)";
                if (readers::number_of(first).value_or(0) < 0) {
                    why += ": if it marks a missing day, give it as " +
                           (settings == readers::Settings::station_list ? std::string("the station's nodata")
                                                                        : readers::setting_name(settings, "nodata"));
                } else if (*unit == Unit::kMillimetre &&
                           unit_of_amounts(figures_of(values->second)) == Unit::kTenthMillimetre) {
                    why += ": is the column in tenths of mm? give " + unit_setting(settings);
                }
                return at(variable, first.line, std::move(why));
            }
            for (const std::size_t i : outliers) {
                readers::DailyValue& value = values->second[i];
                read.outlier_days.push_back({Variable::pcp, value.day, value.text});
                value.set_text({});
            }
        }
        to_millimetres(values->second, *unit);
        record.units[variable] = Unit::kMillimetre;
    }
    return read;
}

std::vector<readers::OutlierDay> outliers_within(const std::vector<readers::OutlierDay>& days,
                                                 const Coverage& coverage) {
    const std::int32_t first = readers::day_number({coverage.first_year, 1, 1});
    const std::int32_t last = readers::day_number({coverage.last_year, 12, 31});
    std::vector<readers::OutlierDay> within;
    for (const readers::OutlierDay& day : days) {
        if (day.day >= first && day.day <= last) within.push_back(day);
    }
    return within;
}

}  // namespace wgn::series
