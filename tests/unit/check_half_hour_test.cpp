// The half-hour rain of the check's generator: the month's share from the
// table against its closed form (with its limits), the generated days' share
// against the month's within four standard errors (the scaled triangular
// draw keeps its mode for its mean), and pcp_hhr taken over runs of rain_yrs
// years as the record takes it over its years.
#include <gtest/gtest.h>

#include <cmath>

#include "check/generated_statistics.hpp"
#include "check/half_hour_rain.hpp"
#include "check/triangular_draw.hpp"
#include "check_station.hpp"

namespace wgn::check {
namespace {

using testing::parameters_of;

TEST(CheckHalfHour, TheMonthsShareAndItsLimits) {
    const struct {
        double hhr, wet_days, mean, rain_yrs, want;
    } cases[] = {
        {10, 10, 6, 30, 1 - std::exp(10 / std::log(0.5 / 300) / 6)},  // 0.23
        {30, 12, 5, 20, 1 - std::exp(30 / std::log(0.5 / 240) / 5)},  // 0.62
        {0.5, 10, 6, 30, 0.1},                                        // a small pcp_hhr: raised to 0.1
        {200, 10, 6, 30, 0.95},                                       // a large one: lowered to 0.95
        {10, 10, 0.00005, 30, 0.95},                                  // no rain to speak of
        {10, 0.5, 6, 1, 0.95},                                        // a wet day a run holds the largest
        {0, 0.5, 6, 1, 0.1},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(half_hour_share(c.hhr, c.wet_days, c.mean, c.rain_yrs), c.want, 1e-12)
            << c.hhr << " " << c.wet_days << " " << c.mean << " " << c.rain_yrs;
    }
    EXPECT_EQ(model_rain_yrs(0.5), 10.0);
    EXPECT_EQ(model_rain_yrs(std::nullopt), 10.0);
    EXPECT_EQ(model_rain_yrs(1.0), 1.0);
}

TEST(CheckHalfHour, TheTableSmoothedOverTheMonthsEitherSide) {
    TableStation station = testing::alike_station();
    station.station.values[11][weather::kPcpHhr] = weather::DecimalText::made("31");  // December
    station.station.values[1][weather::kPcpHhr] = weather::DecimalText::made("1");    // February
    for (const char* rain_yrs : {"30", "0", ""}) {
        station.station.rain_yrs = rain_yrs;
        const StationParameters parameters = parameters_of(station);
        const double years = *rain_yrs == '3' ? 30 : 10;
        EXPECT_EQ(parameters.rain_yrs, years) << rain_yrs;
        const auto share = [&](std::size_t m, double hhr) {
            const MonthParameters& month = parameters.months[m];
            return half_hour_share(hhr, kModelMonthDays[m] * month.wet_fraction, month.wet_day_mean, years);
        };
        EXPECT_DOUBLE_EQ(parameters.months[0].half_hour_share, share(0, (31 + 10 + 1) / 3.0)) << rain_yrs;
        EXPECT_DOUBLE_EQ(parameters.months[11].half_hour_share, share(11, (10 + 31 + 10) / 3.0)) << rain_yrs;
        EXPECT_DOUBLE_EQ(parameters.months[5].half_hour_share, share(5, 10)) << rain_yrs;
    }
}

TEST(CheckHalfHour, TheScaledTriangularDraw) {
    EXPECT_DOUBLE_EQ(scaled_triangular(0.2, 0.5, 0.8, 0.5), 0.5);
    EXPECT_DOUBLE_EQ(scaled_triangular(0.2, 0.5, 0.8, 0.125), 0.2 + std::sqrt(0.125 * 0.6 * 0.3));
    EXPECT_EQ(scaled_triangular(0.0, 0.9, 1.0, 0.99), 0.99);                // scaled past 1
    EXPECT_EQ(scaled_triangular(0.5, 0.2, 0.4, 0.3), 0.2 * 0.2 * 3 / 1.1);  // high below low: the mode, scaled
}

TEST(CheckHalfHour, EachWetDaysShareAboutTheMonths) {
    for (const Model model : {Model::swatplus, Model::swat2012}) {
        const StationParameters parameters = parameters_of(testing::alike_station());
        const MonthParameters& january = parameters.months[0];
        RandomNumbers numbers(3), half_hour(4);
        DailyGenerator generator(model, parameters, numbers, half_hour);
        double wet = 0, sum = 0, squares = 0;
        for (int day = 0; day < 31 * 2000; ++day) {
            const Day generated = generator.next(0, day % 31 + 1);
            if (generated.pcp == 0.0) {
                EXPECT_EQ(generated.half_hour, 0.0);
                continue;
            }
            const double share = generated.half_hour / generated.pcp;
            ASSERT_TRUE(share > 0.0 && share < 1.0) << generated.pcp;
            wet += 1;
            sum += share;
            squares += share * share;
        }
        const double mean = sum / wet, deviation = std::sqrt(squares / wet - mean * mean);
        EXPECT_NEAR(mean, january.half_hour_share, 4 * deviation / std::sqrt(wet));
    }
}

TEST(CheckHalfHour, PcpHhrIsTheLargestOfRunsOfRainYrsYears) {
    TableStation station = testing::alike_station();
    // So large a pcp_hhr that every rain_yrs gives the share 0.95: the same days and half hours whatever rain_yrs.
    testing::set_all(station, weather::kPcpHhr, "200");
    const auto generated_hhr = [&](const char* rain_yrs, int years, int& run_years) {
        station.station.rain_yrs = rain_yrs;
        const GeneratedStatistics statistics = generate(Model::swat2012, parameters_of(station), years, 9);
        run_years = statistics.run_years;
        return statistics.months[6].half_hour_largest / statistics.months[6].half_hour_runs;
    };
    int one = 0, thirty = 0, all = 0, beyond = 0;
    const double of_one = generated_hhr("1", 600, one), of_thirty = generated_hhr("30", 600, thirty);
    const double of_all = generated_hhr("600", 600, all), of_more = generated_hhr("1000", 600, beyond);
    EXPECT_EQ(one, 1);
    EXPECT_EQ(thirty, 30);
    EXPECT_EQ(all, 600);
    EXPECT_EQ(beyond, 600);  // more rain_yrs than years generated: one run of them all
    // The largest of more years is larger.
    EXPECT_LT(of_one, of_thirty);
    EXPECT_LT(of_thirty, of_all);
    EXPECT_GT(of_one, 0.0);
    EXPECT_GT(of_more, 0.0);
    // 17 runs of 30 years in 520 years: the 10 years after the last run are left out.
    station.station.rain_yrs = "30";
    EXPECT_EQ(generate(Model::swat2012, parameters_of(station), 520, 9).months[6].half_hour_runs, 17.0);
}

}  // namespace
}  // namespace wgn::check
