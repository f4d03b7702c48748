// Units stated by lists and headers, converted exactly; humidity told by its
// values only where they leave no doubt; the bounds of plausible daily values.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "readers/calendar_days.hpp"
#include "readers/measure_units.hpp"
#include "record_adapters.hpp"
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
        {"tmax",
         60.01,
         "60.01",
         Unit::kCelsius,
         {},
         "tmax 60.01 on 2018-07-01 is above 60 °C: is the column in °F? give tmp_unit"},
        {"tmin",
         300,
         "300",
         Unit::kCelsius,
         {},
         "tmin 300 on 2018-07-01 is above 60 °C: is the column in K? give tmp_unit"},
        {"tmax", 65, "149", Unit::kFahrenheit, {}, "tmax 149 F on 2018-07-01 is above 60 °C"},
        {"dew", -90, "-90", Unit::kCelsius, {}, ""},
        {"tmin", -237.3, "-237.3", Unit::kCelsius, {}, "tmin -237.3 on 2018-07-01 is below -90 °C"},
        {"slr", -0.01, "-0.01", Unit::kMegajoulesPerDay, {}, "slr -0.01 on 2018-07-01 is below 0"},
        {"slr", 41, "41", Unit::kMegajoulesPerDay, 40.59, ""},
        {"slr", 397.65, "397.65", Unit::kMegajoulesPerDay, 40.59,
         "slr 397.65 on 2018-07-01 is above 41.67 MJ/m²/day, the top of the atmosphere's at latitude 40.59: is the "
         "column in W/m²? give slr_unit"},
        {"slr", 45.7, "45.7", Unit::kMegajoulesPerDay, std::nullopt, ""},
        {"slr", 46, "46", Unit::kMegajoulesPerDay, std::nullopt,
         "slr 46 on 2018-07-01 is above 44.78 MJ/m²/day, the top of the atmosphere's at any latitude: is the column "
         "in W/m²? give slr_unit"},
        {"rh", 1, "100", Unit::kPercent, {}, ""},
        {"rh", 2.5, "250", Unit::kPercent, {}, "rh 250 percent on 2018-07-01 is above 100 %"},
        {"rh",
         1.2,
         "1.2",
         Unit::kFraction,
         {},
         "rh 1.2 on 2018-07-01 is above 1 (a fraction): is the column in per cent? give hmd_unit"},
        {"rh", -0.1, "-0.1", Unit::kFraction, {}, "rh -0.1 on 2018-07-01 is below 0"},
        {"wnd", -5, "-5", Unit::kMetresPerSecond, {}, "wnd -5 on 2018-07-01 is below 0"},
        {"wnd", 75, "75", Unit::kMetresPerSecond, {}, ""},
        {"wnd",
         80,
         "80",
         Unit::kMetresPerSecond,
         {},
         "wnd 80 on 2018-07-01 is above 75 m/s: is the column in km/h? give wnd_unit"},
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
        weather::WeatherInputs inputs;
        inputs.first_year = inputs.last_year = 2001;
        for (int d = 1; d <= 6; ++d) {
            const std::int32_t day = readers::day_number({2001, 1, d});
            inputs.variables[readers::Variable::tmax].push_back({day, "10"});
            inputs.variables[readers::Variable::tmin].push_back({day, d == 3 ? c.tmin : "5"});
        }
        std::string problem;
        const weather::WeatherRecord record = testing::make_record(inputs, problem);
        EXPECT_EQ(record.values[0][weather::kTmpMaxAve].empty(), !c.kept) << c.tmin;
        EXPECT_EQ(record.refused.empty(), c.kept) << c.tmin;
    }
}

}  // namespace
}  // namespace wgn
