// Units stated by lists and headers, converted exactly; humidity told by its
// values only where they leave no doubt; precipitation that reads as tenths
// of mm or inches; the bounds of plausible daily values, the few days left
// out beyond them, and the unit many such days point to.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "readers/calendar_days.hpp"
#include "readers/measure_units.hpp"
#include "readers/number_text.hpp"
#include "readers/outlier_days.hpp"
#include "record_adapters.hpp"
#include "series/precipitation_values.hpp"
#include "weather/exact_decimal.hpp"
#include "weather/monthly_statistics.hpp"
#include "weather/plausible_values.hpp"
#include "weather/weather_record.hpp"

namespace wgn {
namespace {

using readers::Quantity;
using readers::Unit;
using weather::DayValue;

TEST(MeasureUnits, PrecipitationTextsConvertedDigitForDigit) {
    const struct {
        const char* text;
        Unit unit;
        const char* millimetres;
    } cases[] = {
        {"0.12", Unit::kInch, "3.048"},
        {"1", Unit::kInch, "25.4"},
        {"0", Unit::kInch, "0.0"},
        {"-0.0", Unit::kInch, "0.00"},
        {"0.01", Unit::kInch, "0.254"},
        {"1.5e1", Unit::kInch, "381.0"},
        {"123", Unit::kTenthMillimetre, "12.3"},
        {"5", Unit::kTenthMillimetre, "0.5"},
        {"0.5", Unit::kTenthMillimetre, "0.05"},
        {"-12", Unit::kTenthMillimetre, "-1.2"},
        {"12.5", Unit::kMillimetre, "12.5"},
        {"1e308", Unit::kInch, "254e307"},
    };
    for (const auto& c : cases) EXPECT_EQ(readers::scaled_text(c.text, c.unit), c.millimetres) << c.text;
}

TEST(MeasureUnits, NamedByListsAndHeaders) {
    const struct {
        Quantity quantity;
        const char* text;
        bool header;
        std::optional<Unit> unit;
    } cases[] = {
        {Quantity::kPrecipitation, "in", false, Unit::kInch},
        {Quantity::kPrecipitation, "tenths_mm", false, Unit::kTenthMillimetre},
        {Quantity::kPrecipitation, "inches", false, Unit::kInch},
        {Quantity::kTemperature, "F", false, Unit::kFahrenheit},
        {Quantity::kTemperature, "k", false, Unit::kKelvin},
        {Quantity::kRadiation, "W/m2", false, Unit::kWattsPerSquareMetre},
        {Quantity::kRadiation, "langley/day", false, Unit::kLangleysPerDay},
        {Quantity::kHumidity, "percent", false, Unit::kPercent},
        {Quantity::kWind, "knots", false, Unit::kKnots},
        {Quantity::kWind, "mph", false, Unit::kMilesPerHour},
        {Quantity::kWind, "F", false, std::nullopt},
        {Quantity::kTemperature, "mm", false, std::nullopt},
        {Quantity::kPrecipitation, "prcp (mm/day)", true, Unit::kMillimetre},
        {Quantity::kPrecipitation, "prcp..mm.day.", true, Unit::kMillimetre},
        {Quantity::kRadiation, "srad (W/m^2)", true, Unit::kWattsPerSquareMetre},
        {Quantity::kRadiation, "ALLSKY_SFC_SW_DWN  CERES (kW-hr/m^2/day)", true, Unit::kKilowattHoursPerDay},
        {Quantity::kRadiation, "ALLSKY_SFC_SW_DWN  CERES (MJ/m^2/day)", true, Unit::kMegajoulesPerDay},
        {Quantity::kTemperature, "tmax (deg c)", true, Unit::kCelsius},
        {Quantity::kTemperature,
         "TMAX (\xc2\xb0"
         "F)",
         true, Unit::kFahrenheit},
        {Quantity::kHumidity, "RH2M MERRA-2 Relative Humidity (%)", true, Unit::kPercent},
        {Quantity::kWind, "wind (m s-1)", true, Unit::kMetresPerSecond},
        {Quantity::kPrecipitation, "prcp", true, std::nullopt},
        {Quantity::kPrecipitation, "rain (daily total)", true, std::nullopt},
    };
    for (const auto& c : cases) {
        const auto unit =
            c.header ? readers::unit_in_text(c.quantity, c.text) : readers::unit_named(c.quantity, c.text);
        EXPECT_EQ(unit, c.unit) << c.text;
    }
    EXPECT_EQ(readers::name_without_unit("prcp (mm/day)"), "prcp");
    EXPECT_EQ(readers::name_without_unit("prcp..mm.day."), "prcp");
    EXPECT_EQ(readers::name_without_unit(" tmax "), "tmax");
}

// A unit, or nothing when the two disagree (the problem then in `problem`).
std::optional<Unit> agreed_unit(Quantity quantity, std::optional<Unit> listed, std::optional<Unit> in_file,
                                std::string& problem) {
    const Result<Unit> unit = readers::unit_of_values(quantity, listed, in_file);
    if (unit) return *unit;
    problem = unit.problem().message();
    return std::nullopt;
}

TEST(MeasureUnits, ListAndFileMustAgree) {
    std::string problem;
    EXPECT_EQ(agreed_unit(Quantity::kRadiation, std::nullopt, std::nullopt, problem), Unit::kMegajoulesPerDay);
    EXPECT_EQ(agreed_unit(Quantity::kRadiation, Unit::kWattsPerSquareMetre, std::nullopt, problem),
              Unit::kWattsPerSquareMetre);
    EXPECT_EQ(agreed_unit(Quantity::kRadiation, std::nullopt, Unit::kKilowattHoursPerDay, problem),
              Unit::kKilowattHoursPerDay);
    EXPECT_EQ(agreed_unit(Quantity::kRadiation, Unit::kWattsPerSquareMetre, Unit::kKilowattHoursPerDay, problem),
              std::nullopt);
    EXPECT_EQ(problem, "the file states kWh/m2/day, but slr_unit says W/m2");
}

std::vector<DayValue> days_of(std::initializer_list<const char*> values) {
    std::vector<DayValue> days;
    int day = 1;
    for (const char* value : values)
        days.push_back({readers::day_number({2001, 1, day++}), *weather::billionths(value)});
    return days;
}

// Means and deviations in another unit equal those of the values converted
// by hand: the conversion is exact, the rounding once.
TEST(MeasureUnits, MonthlyStatisticsExactInEveryUnit) {
    const struct {
        Unit unit;
        std::initializer_list<const char*> values;
        const char* mean;
        const char* deviation;
    } cases[] = {
        // 32, 50, 212, 41, 59 °F -> 0, 10, 100, 5, 15 °C: mean 26, sd sqrt(6970 / 4) = 41.743...
        {Unit::kFahrenheit, {"32", "50", "212", "41", "59"}, "26.00", "41.74"},
        // -40 °F is -40 °C; 33.8 °F is 1 °C: mean of -40, 1, 1, 1, 1 = -7.2
        {Unit::kFahrenheit, {"-40", "33.8", "33.8", "33.8", "33.8"}, "-7.20", "18.34"},
        {Unit::kKelvin, {"273.15", "274.15", "275.15", "276.15", "277.15"}, "2.00", "1.58"},
        // 100 W/m2 is 8.64 MJ/m2/day
        {Unit::kWattsPerSquareMetre, {"100", "100", "200", "200", "250"}, "14.69", "5.80"},
        {Unit::kKilowattHoursPerDay, {"5", "5", "5", "5", "5.5"}, "18.36", "0.80"},
        {Unit::kLangleysPerDay, {"500", "500", "500", "500", "500"}, "20.92", "0.00"},
        // 18 km/h is 5 m/s; 1 knot is 0.514444... m/s, 10 mph 4.4704 m/s
        {Unit::kKilometresPerHour, {"18", "18", "36", "36", "9"}, "6.50", "3.35"},
        {Unit::kKnots, {"1", "1", "1", "1", "1"}, "0.51", "0.00"},
        {Unit::kMilesPerHour, {"10", "10", "10", "10", "20"}, "5.36", "2.00"},
        {Unit::kPercent, {"50", "60", "70", "80", "90"}, "0.70", "0.16"},
    };
    for (const auto& c : cases) {
        const weather::MonthTexts means = weather::monthly_means(days_of(c.values), readers::scale_of(c.unit));
        const weather::MonthTexts deviations =
            weather::monthly_deviations(days_of(c.values), readers::scale_of(c.unit));
        EXPECT_EQ(means[0], c.mean) << readers::unit_name(c.unit) << " " << *c.values.begin();
        EXPECT_EQ(deviations[0], c.deviation) << readers::unit_name(c.unit) << " " << *c.values.begin();
    }
}

// How each amount's writing counts: whole, in hundredths, finer; a text
// that is no plain decimal is counted by its value.
TEST(PrecipitationUnit, AmountsCountedAsWritten) {
    const struct {
        const char* text;
        bool plain;
        long wet, whole, hundredths, finer;
        std::int64_t millionths;
    } cases[] = {
        {"0", true, 0, 0, 0, 0, 0},
        {"0.00", true, 0, 0, 0, 0, 0},
        {"12", true, 1, 1, 0, 0, 12000000},
        {"12.0", true, 1, 1, 0, 0, 12000000},
        {"12.", true, 1, 1, 0, 0, 12000000},
        {"0.25", true, 1, 0, 1, 0, 250000},
        {"0.250", true, 1, 0, 1, 0, 250000},
        {"0.2", true, 1, 0, 0, 0, 200000},
        {"3.048", true, 1, 0, 0, 1, 3048000},
        {"0.0000001", true, 1, 0, 0, 1, 0},
        {"1999.9", true, 1, 0, 0, 0, 1999900000},
        {".5", false, 1, 0, 0, 1, 500000},
        {"1e1", false, 1, 1, 0, 0, 10000000},
    };
    for (const auto& c : cases) {
        series::AmountFigures figures;
        if (figures.add(c.text) != c.plain) ADD_FAILURE() << c.text;
        if (!c.plain) figures.add_number(*readers::number_value(c.text));
        EXPECT_EQ(figures.days, 1) << c.text;
        EXPECT_EQ((std::array<long, 4>{figures.wet_days, figures.whole, figures.hundredths, figures.finer}),
                  (std::array<long, 4>{c.wet, c.whole, c.hundredths, c.finer}))
            << c.text;
        EXPECT_EQ(figures.millionths, c.millionths) << c.text;
    }
}

// Each threshold of the amounts that read as tenths or inches, at it and
// just past it; a record made of so many days of each amount.
TEST(PrecipitationUnit, ToldByTheAmountsAtEachThreshold) {
    struct Days {
        const char* text;
        int count;
    };
    const struct {
        const char* what;
        std::vector<Days> days;
        std::optional<Unit> told;
    } cases[] = {
        // 15,000 mm a year (365.25 days): 60,000 mm in 1,461 days.
        {"15,000 mm a year", {{"49.5", 1199}, {"649.5", 1}, {"0", 261}}, std::nullopt},
        {"above 15,000 mm a year", {{"49.5", 1199}, {"649.6", 1}, {"0", 261}}, Unit::kTenthMillimetre},
        {"whole numbers, 20 mm a wet day", {{"20", 365}, {"0", 365}}, Unit::kTenthMillimetre},
        {"whole numbers, just below 20 mm", {{"20", 364}, {"19", 1}, {"0", 365}}, std::nullopt},
        {"99 % whole numbers", {{"25", 99}, {"25.5", 1}, {"0", 265}}, Unit::kTenthMillimetre},
        {"98 % whole numbers", {{"25", 98}, {"25.5", 2}, {"0", 265}}, std::nullopt},
        {"364 days", {{"40", 100}, {"0", 264}}, std::nullopt},
        {"29 wet days", {{"40", 29}, {"0", 336}}, std::nullopt},
        {"30 wet days", {{"40", 30}, {"0", 335}}, Unit::kTenthMillimetre},
        {"a gauge in 0.1 mm", {{"40.3", 90}, {"40", 10}, {"0", 265}}, std::nullopt},
        {"hundredths, 0.25 mm a wet day", {{"0.25", 100}, {"0", 265}}, Unit::kInch},
        {"1 mm a wet day", {{"1.01", 100}, {"0.99", 100}, {"0", 165}}, std::nullopt},
        {"just below 1 mm a wet day", {{"1.01", 99}, {"0.99", 101}, {"0", 165}}, Unit::kInch},
        {"half in hundredths", {{"0.25", 50}, {"0.3", 50}, {"0", 265}}, Unit::kInch},
        {"just below half", {{"0.25", 49}, {"0.3", 51}, {"0", 265}}, std::nullopt},
        {"99 % with at most two decimals", {{"0.25", 99}, {"0.255", 1}, {"0", 265}}, Unit::kInch},
        {"98 %", {{"0.25", 98}, {"0.255", 2}, {"0", 265}}, std::nullopt},
        {"wet on 80 % of the days (drizzle)", {{"0.25", 292}, {"0", 73}}, std::nullopt},
        {"wet on just below 80 %", {{"0.25", 291}, {"0", 74}}, Unit::kInch},
        {"a gauge in 0.1 mm with traces of 0.02", {{"2.3", 85}, {"0.02", 15}, {"0", 265}}, std::nullopt},
    };
    for (const auto& c : cases) {
        series::AmountFigures figures;
        for (const Days& days : c.days) {
            for (int i = 0; i < days.count; ++i) ASSERT_TRUE(figures.add(days.text));
        }
        EXPECT_EQ(series::unit_of_amounts(figures), c.told) << c.what;
    }
}

TEST(PlausibleValues, HumidityToldByItsValuesOnlyWhenClear) {
    std::vector<DayValue> overshoots = days_of({"0.5", "0.9", "1.002", "1.007", "0.3", "1.0"});
    std::string problem;
    EXPECT_EQ(testing::humidity_unit(overshoots, problem), Unit::kFraction);
    EXPECT_EQ(weather::clip_humidity(overshoots, Unit::kFraction), 2);
    EXPECT_EQ(overshoots[2].value, weather::kBillion);
    EXPECT_EQ(overshoots[5].value, weather::kBillion);  // exactly 1 stays, uncounted

    const struct {
        std::initializer_list<const char*> values;
        std::optional<Unit> unit;
    } cases[] = {
        {{"1.0", "1.0", "0.2"}, Unit::kFraction},
        {{"1.05", "0.9", "0.8"}, Unit::kFraction},
        {{"45", "60", "100", "2", "103"}, Unit::kPercent},
        {{"0.5", "2.9", "1.4", "0.1", "3.0"}, std::nullopt},  // spread over 0-3: cannot be told
        {{"1.06", "0.9", "0.8"}, std::nullopt},
        {{"45", "60", "250"}, std::nullopt},
    };
    for (const auto& c : cases) {
        problem.clear();
        EXPECT_EQ(testing::humidity_unit(days_of(c.values), problem), c.unit) << *c.values.begin();
        EXPECT_EQ(problem.empty(), c.unit.has_value());
    }
    problem.clear();
    testing::humidity_unit(days_of({"0.5", "2.9", "1.4", "0.1", "3.0"}), problem);
    EXPECT_EQ(problem,
              "humidity from 0.1 to 3 (median 1.4) is neither fractions (at most 1) nor per cent: give "
              "hmd_unit (fraction or percent)");
}

TEST(PlausibleValues, TopOfTheAtmosphere) {
    // FAO-56, example 8: 20 degrees south on 3 September gives 32.2 MJ/m2/day.
    EXPECT_NEAR(weather::top_of_atmosphere(-20, 246), 32.2, 0.05);
    EXPECT_NEAR(weather::top_of_atmosphere(70, 355), 0.0, 1e-9);  // polar night
    EXPECT_GT(weather::top_of_atmosphere(90, 172), 45);           // polar day
    EXPECT_LT(weather::top_of_atmosphere(90, 172), 48);
}

TEST(PlausibleValues, EveryBoundItsMessage) {
    const std::int32_t day = readers::day_number({2018, 7, 1});
    const struct {
        const char* variable;
        double value;
        const char* written;
        Unit unit;
        std::optional<double> latitude;
        const char* why;
    } cases[] = {
        {"tmax", 60, "60", Unit::kCelsius, {}, ""},
        {"tmax", 60.01, "60.01", Unit::kCelsius, {}, "tmax 60.01 on 2018-07-01 is above 60 °C"},
        {"tmin", 300, "300", Unit::kCelsius, {}, "tmin 300 on 2018-07-01 is above 60 °C"},
        {"tmax", 65, "149", Unit::kFahrenheit, {}, "tmax 149 F on 2018-07-01 is above 60 °C"},
        {"dew", -90, "-90", Unit::kCelsius, {}, ""},
        {"tmin", -237.3, "-237.3", Unit::kCelsius, {}, "tmin -237.3 on 2018-07-01 is below -90 °C"},
        {"slr", -0.01, "-0.01", Unit::kMegajoulesPerDay, {}, "slr -0.01 on 2018-07-01 is below 0"},
        {"slr", 41, "41", Unit::kMegajoulesPerDay, 40.59, ""},
        {"slr", 397.65, "397.65", Unit::kMegajoulesPerDay, 40.59,
         "slr 397.65 on 2018-07-01 is above 41.67 MJ/m²/day, the top of the atmosphere's at latitude 40.59"},
        {"slr", 45.7, "45.7", Unit::kMegajoulesPerDay, std::nullopt, ""},
        {"slr", 46, "46", Unit::kMegajoulesPerDay, std::nullopt,
         "slr 46 on 2018-07-01 is above 44.78 MJ/m²/day, the top of the atmosphere's at any latitude"},
        {"rh", 1, "100", Unit::kPercent, {}, ""},
        {"rh", 2.5, "250", Unit::kPercent, {}, "rh 250 percent on 2018-07-01 is above 100 %"},
        {"rh", 1.2, "1.2", Unit::kFraction, {}, "rh 1.2 on 2018-07-01 is above 1 (a fraction)"},
        {"rh", -0.1, "-0.1", Unit::kFraction, {}, "rh -0.1 on 2018-07-01 is below 0"},
        {"wnd", -5, "-5", Unit::kMetresPerSecond, {}, "wnd -5 on 2018-07-01 is below 0"},
        {"wnd", 75, "75", Unit::kMetresPerSecond, {}, ""},
        {"wnd", 80, "80", Unit::kMetresPerSecond, {}, "wnd 80 on 2018-07-01 is above 75 m/s"},
        {"hhr", -1, "-1", Unit::kMillimetre, {}, "hhr -1 on 2018-07-01 is below 0"},
    };
    for (const auto& c : cases) {
        const readers::Variable variable = *readers::variable_named(c.variable);
        EXPECT_EQ(weather::implausible_day(variable, day, c.value, c.written, c.unit, c.latitude), c.why)
            << c.variable << " " << c.written;
        weather::PlausibleDays bounds(variable, c.latitude);
        EXPECT_EQ(bounds.plausible(day, c.value), std::string(c.why).empty()) << c.variable << " " << c.written;
    }
}

// The bounds made once give the verdict of the message on every day: radiation
// just below and above its top, on each day of a leap year and the next, at
// latitudes and without one; each variable at and beyond its bounds.
TEST(PlausibleValues, BoundsMadeOnceAsEveryMessage) {
    using readers::Variable;
    const std::int32_t first = readers::day_number({2000, 1, 1}), last = readers::day_number({2001, 12, 31});
    for (const std::optional<double> latitude : {std::optional<double>(45.5), std::optional<double>(-78.0),
                                                 std::optional<double>(95.0), std::optional<double>()}) {
        for (const Variable variable :
             {Variable::slr, Variable::tmax, Variable::rh, Variable::wnd, Variable::hhr, Variable::pcp}) {
            weather::PlausibleDays bounds(variable, latitude);
            for (std::int32_t day = first; day <= last; day += variable == Variable::slr ? 1 : 97) {
                for (const double value :
                     {-91.0, -0.001, 0.0, 0.999, 1.001, 10.0, 42.3, 44.0, 59.99, 60.01, 75.5, std::nan("")}) {
                    const bool expected =
                        weather::implausible_day(variable, day, value, "x", readers::Unit::kCelsius, latitude).empty();
                    ASSERT_EQ(bounds.plausible(day, value), expected)
                        << readers::name(variable) << " " << value << " on day " << day;
                }
            }
        }
    }
}

// A day's minimum may lie up to 1 °C above its maximum (observation times);
// beyond that one of the columns is wrong and neither is used.
TEST(PlausibleValues, MinimumAboveMaximumAtItsTolerance) {
    const struct {
        const char* tmin;
        bool kept;
    } cases[] = {{"11", true}, {"11.00", true}, {"11.01", false}, {"12", false}};
    for (const auto& c : cases) {
        // Six such days of twelve: more than the few left out as missing.
        weather::WeatherInputs inputs;
        inputs.first_year = inputs.last_year = 2001;
        for (int d = 1; d <= 12; ++d) {
            const std::int32_t day = readers::day_number({2001, 1, d});
            inputs.variables[readers::Variable::tmax].push_back({day, "10"});
            inputs.variables[readers::Variable::tmin].push_back({day, d % 2 == 0 ? c.tmin : "5"});
        }
        std::string problem;
        const weather::WeatherRecord record = testing::make_record(inputs, problem);
        EXPECT_EQ(record.values[0][weather::kTmpMaxAve].empty(), !c.kept) << c.tmin;
        EXPECT_EQ(record.refused.empty(), c.kept) << c.tmin;
    }
}

// A few implausible days of a variable (5, or 0.1 % of its days) are left
// out as its missing days, one more refuses it: each check at the limit and
// one past, on a year and on the 8,431 days of a real radiation record.
TEST(PlausibleValues, AFewDaysLeftOutOneMoreRefusesTheVariable) {
    using readers::Variable;
    const struct {
        const char* what;
        Variable variable;  // the variable with the bad days
        const char* good;   // its value on the other days
        const char* bad;    // on the bad days
        int days, bad_days;
        std::string refusal;  // the start of the refusal, or "" when the days are left out
    } cases[] = {
        {"tmax above 60", Variable::tmax, "10", "99", 365, 5, ""},
        {"tmax above 60, one more", Variable::tmax, "10", "99", 365, 6,
         "tmax: tmax 99 on 2001-01-01 is above 60 °C (6 of its 365 days not plausible, more than the 5 taken as "
         "missing)"},
        {"slr above the top", Variable::slr, "10", "60", 8431, 8, ""},
        {"slr above the top, one more", Variable::slr, "10", "60", 8431, 9,
         "slr: slr 60 on 2001-01-01 is above 47.61 MJ/m²/day, the top of the atmosphere's at any latitude (9 of its "
         "8431 days not plausible, more than the 8 taken as missing)"},
        {"rh above 1", Variable::rh, "0.5", "1.2", 365, 5, ""},
        {"wnd below 0", Variable::wnd, "3", "-1", 365, 6, "wnd: wnd -1 on 2001-01-01 is below 0 (6 of its 365"},
        {"hhr above the day's rain", Variable::hhr, "1", "6", 365, 5, ""},
        {"hhr above the day's rain, one more", Variable::hhr, "1", "6", 365, 6,
         "hhr: hhr 6 on 2001-01-01 is above that day's rain 5 (6 of its 365"},
        {"tmin above tmax", Variable::tmin, "5", "12", 365, 5, ""},
        {"tmin above tmax, one more", Variable::tmin, "5", "12", 365, 6,
         "tmin: tmin 12 on 2001-01-01 is above that day's tmax 10 (6 of its 365 days not plausible, more than the 5 "
         "taken as missing), neither is used: are the columns swapped?"},
    };
    for (const auto& c : cases) {
        weather::WeatherInputs inputs;
        inputs.first_year = 2001;
        inputs.last_year = 2030;
        inputs.units[Variable::rh] = Unit::kFraction;
        const std::int32_t first = readers::day_number({2001, 1, 1});
        for (int d = 0; d < c.days; ++d) {
            const bool bad = d < c.bad_days;
            inputs.variables[c.variable].push_back({first + d, bad ? c.bad : c.good});
            if (c.variable == Variable::hhr) inputs.variables[Variable::pcp].push_back({first + d, "5"});
            if (c.variable == Variable::tmin) inputs.variables[Variable::tmax].push_back({first + d, "10"});
        }
        std::string problem;
        const weather::WeatherRecord record = testing::make_record(inputs, problem);
        ASSERT_EQ(problem, "") << c.what;
        if (c.refusal.empty()) {
            EXPECT_TRUE(record.refused.empty()) << c.what << ": " << (record.refused.empty() ? "" : record.refused[0]);
            // The bad days, each of the variable (and of tmax, beside a tmin above it).
            const int pairs = c.variable == Variable::tmin ? 2 : 1;
            ASSERT_EQ(record.outlier_days.size(), static_cast<std::size_t>(c.bad_days * pairs)) << c.what;
            const readers::OutlierDay& last = record.outlier_days.back();
            EXPECT_EQ(last, (readers::OutlierDay{c.variable, first + c.bad_days - 1, c.bad})) << c.what;
        } else {
            ASSERT_EQ(record.refused.size(), 1U) << c.what;
            EXPECT_EQ(record.refused[0].substr(0, c.refusal.size()), c.refusal) << c.what;
            EXPECT_TRUE(record.outlier_days.empty()) << c.what;
        }
    }
}

// Many days beyond a variable's top give the unit they point to; a few, or
// values that the other unit would not make plausible, give none.
TEST(PlausibleValues, TheUnitManyDaysPointTo) {
    using readers::Variable;
    // `share` in 100 of `days` days written `high`, the others `low`.
    const auto days_of = [](const char* low, const char* high, int share) {
        std::vector<DayValue> days;
        const std::int32_t first = readers::day_number({2001, 1, 1});
        for (int d = 0; d < 365; ++d) {
            const char* text = d % 100 < share ? high : low;
            days.push_back({first + d, *weather::billionths_of(readers::DailyValue{first + d, text})});
        }
        return days;
    };
    const struct {
        const char* what;
        Variable variable;
        std::vector<DayValue> days;
        Unit unit;
        std::optional<double> latitude;
        std::optional<Unit> pointed;
        std::string hint;
    } cases[] = {
        {"°F, a tenth of the days above 60",
         Variable::tmax,
         days_of("40", "75", 10),
         Unit::kCelsius,
         {},
         Unit::kFahrenheit,
         ": is the column in °F? give tmp_unit"},
        {"°F, fewer", Variable::tmax, days_of("40", "75", 9), Unit::kCelsius, {}, {}, ""},
        {"K",
         Variable::tmin,
         days_of("268.2", "290.5", 50),
         Unit::kCelsius,
         {},
         Unit::kKelvin,
         ": is the column in K? give tmp_unit"},
        {"°C with days far beyond any unit", Variable::tmax, days_of("20", "999", 50), Unit::kCelsius, {}, {}, ""},
        {"stated °F", Variable::tmax, days_of("40", "175", 50), Unit::kFahrenheit, {}, {}, ""},
        {"W/m² at 40°N, the median above the top", Variable::slr, days_of("10", "150", 50), Unit::kMegajoulesPerDay,
         40.0, Unit::kWattsPerSquareMetre, ": is the column in W/m²? give slr_unit"},
        {"MJ/m² with many days above the top (a latitude of the other hemisphere)",
         Variable::slr,
         days_of("10", "45", 40),
         Unit::kMegajoulesPerDay,
         40.0,
         {},
         ""},
        {"per cent",
         Variable::rh,
         days_of("0.8", "65", 50),
         Unit::kFraction,
         {},
         Unit::kPercent,
         ": is the column in per cent? give hmd_unit"},
        {"km/h",
         Variable::wnd,
         days_of("10", "90", 10),
         Unit::kMetresPerSecond,
         {},
         Unit::kKilometresPerHour,
         ": is the column in km/h? give wnd_unit"},
        {"half-hour rain has none", Variable::hhr, days_of("1", "-1", 50), Unit::kMillimetre, {}, {}, ""},
    };
    for (const auto& c : cases) {
        const std::optional<Unit> pointed = weather::unit_pointed_to(c.variable, c.days, c.unit, c.latitude);
        EXPECT_EQ(pointed, c.pointed) << c.what;
        if (pointed) {
            EXPECT_EQ(weather::unit_hint(c.variable, *pointed), c.hint) << c.what;
        }
    }
}

}  // namespace
}  // namespace wgn
