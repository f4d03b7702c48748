// The check's daily generator against the closed forms of its statistics,
// with tolerances of four standard errors of the years generated (a fixed
// seed: the same numbers every run), and the arithmetic it rests on.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "check/daily_generator.hpp"
#include "check/exact_math.hpp"
#include "check/generated_statistics.hpp"
#include "check/random_numbers.hpp"
#include "check_station.hpp"
#include "readers/calendar_days.hpp"
#include "weather/gap_aware_precipitation.hpp"

namespace wgn::check {
namespace {

constexpr int kYears = 2000;
constexpr double kDays = 31.0 * kYears;  // the days of January over the run

using testing::parameters_of;

TEST(CheckMath, LogAndExpAgreeWithTheLibraryToTheLastPlaces) {
    for (const double x : {1e-300, 1e-10, 0.001, 0.5, 0.7071067811865476, 1.0, 1.5, 2.0, 10.0, 12345.678, 1e300}) {
        EXPECT_NEAR(natural_log(x), std::log(x), 4e-16 * std::max(1.0, std::fabs(std::log(x)))) << x;
    }
    for (const double x : {-700.0, -20.0, -1.0, -1e-8, 0.0, 0.3, 1.0, 5.5, 300.0}) {
        EXPECT_NEAR(natural_exp(x), std::exp(x), 4e-15 * std::exp(x)) << x;
    }
    EXPECT_NEAR(power(8.0, 1.0 / 3.0), 2.0, 1e-15);
}

TEST(CheckRandom, UniformAndNormalMoments) {
    RandomNumbers numbers(123);
    constexpr int n = 200000;
    double u_sum = 0, z_sum = 0, z_squares = 0;
    for (int i = 0; i < n; ++i) {
        const double u = numbers.uniform();
        ASSERT_TRUE(u > 0.0 && u < 1.0);
        u_sum += u;
        const double z = numbers.normal();
        z_sum += z;
        z_squares += z * z;
    }
    EXPECT_NEAR(u_sum / n, 0.5, 4 * std::sqrt(1.0 / 12 / n));
    EXPECT_NEAR(z_sum / n, 0.0, 4 / std::sqrt(n));
    EXPECT_NEAR(z_squares / n, 1.0, 4 * std::sqrt(2.0 / n));
}

TEST(CheckGenerator, Swat2012AgreesWithTheClosedForms) {
    const TableStation station = testing::alike_station();
    const StationParameters parameters = parameters_of(station);
    const MonthParameters& month = parameters.months[0];
    const GeneratedStatistics statistics = generate(Model::swat2012, parameters, kYears, 42);
    const MonthTally& january = statistics.months[0];
    const double wet_dry = 0.25, wet_wet = 0.6;
    const double fraction = wet_dry / (1 - wet_wet + wet_dry);
    const double persistence = wet_wet - wet_dry;  // the chain's lag-one correlation
    const double fraction_error = std::sqrt(fraction * (1 - fraction) / kDays * (1 + persistence) / (1 - persistence));
    EXPECT_NEAR(january.wet_days / kDays, fraction, 4 * fraction_error);
    EXPECT_NEAR(january.wet_after_dry / january.after_dry, wet_dry,
                4 * std::sqrt(wet_dry * (1 - wet_dry) / january.after_dry));
    EXPECT_NEAR(january.wet_after_wet / january.after_wet, wet_wet,
                4 * std::sqrt(wet_wet * (1 - wet_wet) / january.after_wet));
    // The monthly total: its mean pcp_ave, its error from the spread of the years' totals.
    const double total_error = january.pcp.deviation() * std::sqrt(31.0 * 2.0) / std::sqrt(kYears);
    EXPECT_NEAR(january.total / kYears, 60.0, 4 * total_error);
    EXPECT_NEAR(january.total / january.wet_days, month.wet_day_mean, 0.02 * month.wet_day_mean);
    // Mean wind Γ(1.3) wnd_ave; (-ln u)^0.3 has a deviation of sqrt(Γ(1.6) - Γ(1.3)^2).
    const double wind_sd = 3.0 * std::sqrt(std::tgamma(1.6) - std::tgamma(1.3) * std::tgamma(1.3));
    EXPECT_NEAR(january.wind.mean(), std::tgamma(1.3) * 3.0, 4 * wind_sd / std::sqrt(kDays));
    // Temperatures: the means of the table (residuals correlated from day to day: a wider error).
    EXPECT_NEAR(january.tmax.mean(), 20.0, 4 * 3.0 * 2.0 / std::sqrt(kDays));
    EXPECT_NEAR(january.tmin.mean(), 10.0, 4 * 2.0 * 2.0 / std::sqrt(kDays));
    EXPECT_NEAR(january.slr.mean(), 15.0, 0.1);
    EXPECT_GT(january.slr.deviation(), 1.0);
}

TEST(CheckGenerator, SwatPlusKeepsTheWetFractionButNotThePersistence) {
    const TableStation station = testing::alike_station();
    const StationParameters parameters = parameters_of(station);
    const GeneratedStatistics statistics = generate(Model::swatplus, parameters, kYears, 42);
    const MonthTally& january = statistics.months[0];
    const double fraction = 0.25 / (1 - 0.6 + 0.25);
    const double error = std::sqrt(fraction * (1 - fraction) / kDays * 1.35 / 0.65);
    EXPECT_NEAR(january.wet_days / kDays, fraction, 4 * error);
    // Conditioned on the day before yesterday, a wet day follows a dry and a wet day alike.
    EXPECT_NEAR(january.wet_after_dry / january.after_dry, fraction, 4 * error * 2);
    EXPECT_NEAR(january.wet_after_wet / january.after_wet, fraction, 4 * error * 2);
    // Radiation slr_ave every day.
    EXPECT_EQ(january.slr.mean(), 15.0);
    EXPECT_EQ(january.slr.deviation(), 0.0);
    // The clamp to [-1, 1] narrows the temperatures' spread to about 0.7 of the table's.
    EXPECT_LT(january.tmin.deviation(), 0.8 * 2.0);
    EXPECT_GT(january.tmin.deviation(), 0.6 * 2.0);
}

TEST(CheckGenerator, TheStartUpReplacesWhatTheModelReplaces) {
    const struct {
        const char* wet_dry;
        const char* wet_wet;
        const char* pcp_days;
        const char* skew;
        double want_wet_dry, want_wet_wet, want_fraction, want_skew;
    } cases[] = {
        {"0.25", "0.6", "11.9", "1.5", 0.25, 0.6, 0.25 / 0.65, 1.5},                           // as listed
        {"0.3", "0.2", "9.3", "0.1", 0.75 * 9.3 / 31, 0.25 + 0.75 * 9.3 / 31, 9.3 / 31, 0.2},  // swapped
        {"0", "0.5", "0", "0.2", 0.75 * 0.1 / 31, 0.25 + 0.75 * 0.1 / 31, 0.1 / 31, 0.2},      // wet_dry 0
    };
    for (const auto& c : cases) {
        TableStation station = testing::alike_station();
        testing::set_all(station, weather::kWetDry, c.wet_dry);
        testing::set_all(station, weather::kWetWet, c.wet_wet);
        testing::set_all(station, weather::kPcpDays, c.pcp_days);
        testing::set_all(station, weather::kPcpSkew, c.skew);
        const MonthParameters january = parameters_of(station).months[0];
        EXPECT_DOUBLE_EQ(january.wet_dry, c.want_wet_dry) << c.wet_dry;
        EXPECT_DOUBLE_EQ(january.wet_wet, c.want_wet_wet) << c.wet_dry;
        EXPECT_NEAR(january.wet_fraction, c.want_fraction, 1e-12) << c.wet_dry;
        EXPECT_DOUBLE_EQ(january.skew, c.want_skew) << c.wet_dry;
        EXPECT_NEAR(january.wet_day_mean, 60.0 / (31 * c.want_fraction), 1e-9) << c.wet_dry;
    }
}

TEST(CheckGenerator, NoMinimumAboveTheMaximum) {
    // Minimum and maximum of one mean: about half the days draw a minimum
    // above the maximum, and each such day is given max - 0.2 |max|.
    const struct {
        Model model;
        const char* mean;
    } cases[] = {{Model::swat2012, "5"}, {Model::swatplus, "5"}, {Model::swat2012, "-10"}, {Model::swatplus, "-10"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mean);
        TableStation station = testing::alike_station();
        testing::set_all(station, weather::kTmpMaxAve, c.mean);
        testing::set_all(station, weather::kTmpMinAve, c.mean);
        const StationParameters parameters = parameters_of(station);
        RandomNumbers numbers(11), half_hour_numbers(12);
        DailyGenerator generator(c.model, parameters, numbers, half_hour_numbers);
        int replaced = 0;
        constexpr int kRun = 3650;
        for (int d = 0; d < kRun; ++d) {
            const Day day = generator.next(0, 1 + d % 31);
            ASSERT_LE(day.tmin, day.tmax) << "day " << d;
            replaced += day.tmin == day.tmax - 0.2 * std::fabs(day.tmax) ? 1 : 0;
        }
        EXPECT_GT(replaced, kRun / 4);
    }
}

// The rows of generated.csv from known days: pcp_sd and pcp_skew are sample
// statistics, (n - 1) and n / ((n - 1)(n - 2)).
TEST(CheckGenerator, TheRowsOfKnownDays) {
    const struct {
        std::vector<double> days;
        double sd, skew;
    } cases[] = {
        {{0, 0, 0, 0, 10}, std::sqrt(20.0), std::sqrt(5.0)},  // 5/12 x 480 / 20^1.5
        {{0, 10, 10, 10, 10}, std::sqrt(20.0), -std::sqrt(5.0)},
        {{1, 2, 3}, 1.0, 0.0},
    };
    const TableStation station = testing::alike_station();
    for (const auto& c : cases) {
        GeneratedStatistics statistics;
        statistics.years = 1;
        for (const double day : c.days) statistics.months[2].pcp.add(day);
        std::map<std::string, double> march;
        for (const GeneratedRow& row : generated_rows(station, statistics)) {
            if (row.month == 3) march[row.variable] = row.generated;
        }
        EXPECT_NEAR(march["pcp_sd"], c.sd, 1e-12) << c.days.size();
        EXPECT_NEAR(march["pcp_skew"], c.skew, 1e-12) << c.days.size();
    }
}

// Months of a record without a wet day, or without a dry day, as the batch
// writes them: both models generate no rain in the first (at most 0.1 mm a
// month, its 0.1 mm floor included) and rain on every day of the second;
// SWAT+ draws the 1st of a month with the month before's values, so its 1st
// is not counted.  No value is a NaN.
TEST(CheckGenerator, MonthsWithoutAWetOrADryDayAsTheRecordShowsThem) {
    // The report's values of such months: PR_W2 (no wet day) or PR_W1 (no dry day) NaN, shown as nothing.
    std::array<std::array<std::string, 6>, 12> values;
    values.fill({"60.00", "6.0000", "1.5000", "0.2500", "0.6000", "11.90"});
    for (const std::size_t m : {5, 6, 7}) values[m] = {"0.00", "0.0000", "", "0.0000", "", "0.00"};
    values[0] = {"190.00", "4.1000", "1.2000", "", "0.9677", "31.00"};
    const weather::ModelMonths months = weather::months_for_model(values, nullptr);
    weather::write_for_model(values, months);
    TableStation station = testing::alike_station();
    for (std::size_t m = 0; m < 12; ++m) {
        for (std::size_t p = 0; p < 6; ++p)
            station.station.values[m][weather::kPcpAve + p] = weather::DecimalText::made(values[m][p]);
    }
    for (const Model model : {Model::swat2012, Model::swatplus}) {
        SCOPED_TRACE(model == Model::swatplus ? "SWAT+" : "SWAT 2012");
        const StationParameters parameters = parameters_of(station);
        RandomNumbers numbers(21), half_hour_numbers(22);
        DailyGenerator generator(model, parameters, numbers, half_hour_numbers);
        std::array<double, 12> rain{};
        std::array<long, 12> dry{};
        for (int year = 2001; year < 2001 + kYears; ++year) {
            int day_of_year = 0;
            for (int m = 0; m < 12; ++m) {
                for (int d = 1; d <= readers::days_in_month(year, m + 1); ++d) {
                    const Day day = generator.next(static_cast<std::size_t>(m), ++day_of_year);
                    ASSERT_TRUE(std::isfinite(day.pcp) && std::isfinite(day.half_hour) && std::isfinite(day.tmax) &&
                                std::isfinite(day.humidity));
                    if (model == Model::swatplus && d == 1) continue;
                    rain[static_cast<std::size_t>(m)] += day.pcp;
                    dry[static_cast<std::size_t>(m)] += day.pcp < 0.1 ? 1 : 0;
                }
            }
        }
        for (const std::size_t m : {5, 6, 7}) EXPECT_LE(rain[m] / kYears, 0.1) << "month " << m + 1;
        EXPECT_LE(dry[0], 2);
        EXPECT_GT(rain[1] / kYears, 50.0);  // a month of its own values beside them
    }
}

TEST(CheckGenerator, TheSameSeedGivesTheSameRows) {
    const TableStation station = testing::alike_station();
    const StationParameters parameters = parameters_of(station);
    const auto csv = [&](std::uint64_t seed) {
        return generated_csv_rows("alike", generated_rows(station, generate(Model::swatplus, parameters, 50, seed)));
    };
    EXPECT_EQ(csv(5), csv(5));
    EXPECT_NE(csv(5), csv(6));
}

}  // namespace
}  // namespace wgn::check
