// The intervals of a station's record: the precipitation values of the full
// record as wgnrain's report shows them, and, on records generated from a
// known climate, intervals that hold the true value about nine times in ten,
// narrow as the square root of the years and hold the station's own value.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "batch/precipitation_sums.hpp"
#include "batch/record_intervals.hpp"
#include "batch/station_record.hpp"
#include "batch/station_run.hpp"
#include "check/random_numbers.hpp"
#include "readers/calendar_days.hpp"

namespace wgn::batch {
namespace {

namespace fs = std::filesystem;
using weather::Column;

// The climate the records are drawn from: rain by a two-state chain
// (wet after dry 0.3, wet after wet 0.6) of 0.1 mm plus an exponential
// amount of mean 6 mm; maximum temperature normal about 20 + month, sd 3.
constexpr double kWetDry = 0.3, kWetWet = 0.6, kAmount = 6.1, kTmpSd = 3.0;

std::string decimal(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

weather::WeatherInputs climate(int first_year, int years, std::uint64_t seed, bool nodata = false) {
    weather::WeatherInputs inputs;
    inputs.first_year = first_year;
    inputs.last_year = first_year + years - 1;
    check::RandomNumbers numbers(seed);
    bool wet = false;
    const std::int32_t first = readers::day_number({inputs.first_year, 1, 1});
    const std::int32_t last = readers::day_number({inputs.last_year, 12, 31});
    for (std::int32_t day = first; day <= last; ++day) {
        wet = numbers.uniform() < (wet ? kWetWet : kWetDry);
        const double rain = wet ? 0.1 - 6.0 * std::log(numbers.uniform()) : 0.0;
        const bool missing = nodata && (day - first) % 97 == 5;
        inputs.variables[readers::Variable::pcp].push_back({day, missing ? "" : decimal(rain, 2)});
        const double tmax = 20.0 + readers::date_of(day).month + kTmpSd * numbers.normal();
        inputs.variables[readers::Variable::tmax].push_back({day, decimal(tmax, 1)});
    }
    return inputs;
}

// A record whose values have the decimals the batch writes.
weather::WeatherRecord record_of_decimals() {
    weather::WeatherRecord record;
    for (auto& month : record.values) {
        for (std::size_t c = 0; c < 14; ++c) {
            const bool four =
                c == weather::kPcpSd || c == weather::kPcpSkew || c == weather::kWetDry || c == weather::kWetWet;
            month[c] = weather::DecimalText::made(four ? "0.0000" : "0.00");
        }
    }
    return record;
}

// The series as a plain file of wgnrain: one value a line, -99 for none.
std::string plain_series(const weather::WeatherInputs& inputs) {
    std::string text;
    for (const readers::DailyValue& day : inputs.variables.at(readers::Variable::pcp))
        text.append(day.text.empty() ? "-99" : day.text).append("\n");
    return text;
}

TEST(RecordIntervals, FullRecordGivesTheReportsValues) {
    if (!fs::exists(WGNRAIN_PROGRAM)) GTEST_SKIP() << "no " << WGNRAIN_PROGRAM;
    struct Case {
        int first_year, years;
        bool nodata;
    };
    // Leap years within, a NoData day every 97, a long record.
    const Case cases[] = {{2001, 5, false}, {1996, 9, true}, {1971, 30, false}, {1980, 3, true}};
    const int decimals[6] = {2, 4, 4, 4, 4, 2};
    for (const Case& c : cases) {
        const fs::path temp = fs::temp_directory_path() / ("unit-test-intervals-" + std::to_string(c.first_year));
        fs::remove_all(temp);
        fs::create_directories(temp / "out" / "st");
        weather::WeatherInputs inputs = climate(c.first_year, c.years, 7 + c.years, c.nodata);
        Station station;
        station.row = 2;
        station.name = "st";
        station.file = "s.txt";
        station.input_name = (temp / "s.txt").string();
        station.first_year = std::to_string(c.first_year);
        station.nodata = "-99";
        std::ofstream(station.input_name, std::ios::binary) << plain_series(inputs);
        const StationOutcome outcome =
            run_station(WGNRAIN_PROGRAM, (temp / "out").string(), station, station_key(station), false);
        ASSERT_TRUE(outcome.ok() && outcome.figures) << outcome.report_line;

        std::vector<int> all;
        for (int y = 0; y < c.years; ++y) all.push_back(y);
        const MonthBlocks blocks = precipitation_blocks(inputs);
        const auto values = precipitation_values(blocks, all);
        const auto summed = PrecipitationSums(blocks).values(all);
        int compared = 0;
        for (std::size_t m = 0; m < 12; ++m) {
            for (std::size_t p = 0; p < 6; ++p) {
                const std::string& shown = outcome.figures->values[m][p];
                if (shown.empty()) continue;
                ++compared;
                EXPECT_EQ(decimal(values[m][p], decimals[p]), shown)
                    << c.first_year << "+" << c.years << " month " << m + 1 << " value " << p;
                // The resamples' sums in double precision against the report's
                // single-precision running sums: the last digit at most.
                EXPECT_LE(std::fabs(summed[m][p] - std::stod(shown)), 1.5 * std::pow(10.0, -decimals[p]))
                    << c.first_year << "+" << c.years << " month " << m + 1 << " value " << p << " from the sums";
            }
        }
        EXPECT_GT(compared, 60) << c.first_year;
        fs::remove_all(temp);
    }
}

// The true value of a column in a month over the record's period.
double true_value(const weather::WeatherInputs& inputs, std::size_t m, Column column) {
    double days = 0.0;
    for (int y = inputs.first_year; y <= inputs.last_year; ++y) days += readers::days_in_month(y, int(m) + 1);
    const double years = m == 1 ? std::floor(days / 28.0) : inputs.last_year - inputs.first_year + 1.0;
    const double wet = kWetDry / (1.0 - kWetWet + kWetDry) * days / years;
    switch (column) {
        case weather::kPcpAve: return wet * kAmount;
        case weather::kPcpDays: return wet;
        case weather::kTmpMaxAve: return 20.0 + double(m) + 1.0;
        default: return kTmpSd;
    }
}

constexpr Column kTried[] = {weather::kPcpAve, weather::kPcpDays, weather::kTmpMaxAve, weather::kTmpMaxSd};

TEST(RecordIntervals, HoldTheTrueValueNineTimesInTen) {
    const weather::WeatherRecord record = record_of_decimals();
    int held = 0, tried = 0;
    for (std::uint64_t station = 0; station < 25; ++station) {
        const weather::WeatherInputs inputs = climate(1981, 30, 100 + station);
        const RecordIntervals intervals = record_intervals(inputs, record);
        for (std::size_t m = 0; m < 12; ++m) {
            for (const Column c : kTried) {
                ASSERT_FALSE(intervals.low[m][c].empty()) << weather::kColumns[c];
                const double truth = true_value(inputs, m, c);
                held += std::stod(intervals.low[m][c]) <= truth && truth <= std::stod(intervals.high[m][c]);
                ++tried;
            }
        }
    }
    // 1,200 intervals: the binomial's deviation is 0.9 % (four of them either
    // side, pcp_ave and pcp_days of a month going together); resampling 30
    // years holds the truth a little less often than the nominal 90 %.
    const double coverage = double(held) / tried;
    EXPECT_GT(coverage, 0.86);
    EXPECT_LT(coverage, 0.94);
}

TEST(RecordIntervals, FourTimesTheYearsHalveTheWidth) {
    const weather::WeatherRecord record = record_of_decimals();
    const auto mean_width = [&](int years, Column c) {
        double width = 0.0;
        for (std::uint64_t station = 0; station < 5; ++station) {
            const RecordIntervals intervals = record_intervals(climate(1961, years, 500 + station), record);
            for (std::size_t m = 0; m < 12; ++m)
                width += std::stod(intervals.high[m][c]) - std::stod(intervals.low[m][c]);
        }
        return width;
    };
    for (const Column c : kTried) {
        const double ratio = mean_width(10, c) / mean_width(40, c);
        EXPECT_GT(ratio, 1.7) << weather::kColumns[c];
        EXPECT_LT(ratio, 2.4) << weather::kColumns[c];
    }
}

// The station's own value of a column in a month over its whole record, with the decimals of
// record_of_decimals: pcp_ave and pcp_days as wgnrain's report computes them, the mean and sample
// deviation of the daily maxima.
std::string station_value(const weather::WeatherInputs& inputs, std::size_t m, Column column) {
    if (column == weather::kPcpAve || column == weather::kPcpDays) {
        std::vector<int> all;
        for (int y = 0; y <= inputs.last_year - inputs.first_year; ++y) all.push_back(y);
        const auto values = precipitation_values(precipitation_blocks(inputs), all);
        return decimal(values[m][column == weather::kPcpAve ? 0 : 5], 2);
    }
    double n = 0, sum = 0, squares = 0;
    for (const readers::DailyValue& day : inputs.variables.at(readers::Variable::tmax)) {
        if (readers::date_of(day.day).month != int(m) + 1) continue;
        const double x = std::stod(day.text);
        n += 1, sum += x, squares += x * x;
    }
    const double mean = sum / n;
    return decimal(column == weather::kTmpMaxAve ? mean : std::sqrt((squares - n * mean * mean) / (n - 1)), 2);
}

TEST(RecordIntervals, TenAndFortyYearsEachHoldTheirStationsValue) {
    const weather::WeatherRecord record = record_of_decimals();
    for (const int years : {10, 40}) {
        for (std::uint64_t station = 0; station < 3; ++station) {
            const weather::WeatherInputs inputs = climate(1961, years, 500 + station);
            const RecordIntervals intervals = record_intervals(inputs, record);
            for (std::size_t m = 0; m < 12; ++m) {
                for (const Column c : kTried) {
                    const double value = std::stod(station_value(inputs, m, c));
                    EXPECT_LE(std::stod(intervals.low[m][c]), value)
                        << years << " years, station " << station << ", month " << m + 1 << " " << weather::kColumns[c];
                    EXPECT_GE(std::stod(intervals.high[m][c]), value)
                        << years << " years, station " << station << ", month " << m + 1 << " " << weather::kColumns[c];
                }
            }
        }
    }
}

// The bounds as a full sort gives them, against the quick selection, on
// orders that make its sample miss (the sampled places holding the
// smallest or the largest values), on ties and on values that are no number.
TEST(RecordIntervals, BoundsAreTheSortedValuesAtTheirPlaces) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const auto sorted_bounds = [](std::vector<double> values) {
        std::erase_if(values, [](double v) { return !std::isfinite(v); });
        std::sort(values.begin(), values.end());
        const std::size_t last = values.size() - 1;
        return std::pair{values[last * 5 / 100], values[last * 95 / 100]};
    };
    struct Case {
        const char* what;
        std::function<double(std::size_t)> value;
    };
    check::RandomNumbers numbers(3);
    const Case cases[] = {
        {"random", [&](std::size_t) { return numbers.normal(); }},
        {"rising", [](std::size_t r) { return double(r); }},
        {"falling", [](std::size_t r) { return -double(r); }},
        {"smallest every 15th", [](std::size_t r) { return r % 15 == 0 ? -1.0 * double(r) : double(r); }},
        {"largest every 15th", [](std::size_t r) { return r % 15 == 0 ? 1e6 + double(r) : double(r % 7); }},
        {"smallest every 31st", [](std::size_t r) { return r % 31 == 0 ? -1.0 * double(r) : double(r); }},
        {"largest every 31st", [](std::size_t r) { return r % 31 == 0 ? 1e6 + double(r) : double(r % 7); }},
        {"few values, many ties", [&](std::size_t) { return double(numbers.next() % 4); }},
        {"all alike", [](std::size_t) { return 2.5; }},
        {"a tenth no number", [&](std::size_t r) { return r % 10 == 3 ? nan : numbers.uniform(); }},
        {"infinities", [&](std::size_t r) { return r % 20 == 1 ? HUGE_VAL : numbers.uniform(); }},
    };
    for (const Case& c : cases) {
        for (const std::size_t count : {std::size_t{1000}, std::size_t{40}, std::size_t{1}}) {
            std::vector<double> values(count);
            for (std::size_t r = 0; r < count; ++r) values[r] = c.value(r);
            const auto bounds = resampled_interval(values.data(), values.size());
            ASSERT_TRUE(bounds.has_value()) << c.what << ", " << count;
            EXPECT_EQ(*bounds, sorted_bounds(values)) << c.what << ", " << count;
        }
    }
    // More than one in ten no number: no interval.
    std::vector<double> sparse(1000, 1.0);
    for (std::size_t r = 0; r < 101; ++r) sparse[r * 9] = nan;
    EXPECT_FALSE(resampled_interval(sparse.data(), sparse.size()).has_value());
}

// A variable of one value every day it has: every resample's mean is that
// value, whichever days are missing (the counts are the days it has, not
// the days of the drawn years).
TEST(RecordIntervals, AConstantVariableHasItsValueAsBounds) {
    const weather::WeatherRecord record = record_of_decimals();
    struct Case {
        const char* what;
        int every;  // a missing day every `every` days; 0: none
    };
    const Case cases[] = {{"every day", 0}, {"a day in three missing", 3}, {"every other day missing", 2}};
    for (const Case& c : cases) {
        weather::WeatherInputs inputs = climate(1981, 25, 9);
        std::vector<readers::DailyValue> constant;
        for (const readers::DailyValue& day : inputs.variables.at(readers::Variable::tmax)) {
            if (c.every == 0 || day.day % c.every != 0) constant.push_back({day.day, "12.5"});
        }
        inputs.variables[readers::Variable::slr] = constant;
        inputs.variables[readers::Variable::tmax] = constant;
        const RecordIntervals intervals = record_intervals(inputs, record);
        for (std::size_t m = 0; m < 12; ++m) {
            for (const Column column : {weather::kSlrAve, weather::kTmpMaxAve}) {
                EXPECT_EQ(intervals.low[m][column], "12.50") << c.what << ", month " << m + 1;
                EXPECT_EQ(intervals.high[m][column], "12.50") << c.what << ", month " << m + 1;
            }
            EXPECT_EQ(intervals.low[m][weather::kTmpMaxSd], "0.00") << c.what << ", month " << m + 1;
        }
    }
}

TEST(RecordIntervals, NotesShortRecordsAndWideIntervals) {
    struct Case {
        int years;
        const char *value, *low, *high, *notes;
    };
    const Case cases[] = {
        {30, "10.00", "8.00", "12.00", ""},
        {19, "10.00", "8.00", "12.00", "19 years (fewer than 20)"},
        {20, "10.00", "8.00", "12.00", ""},  // 20 years are enough
        {30, "0.50", "0.10", "0.70", "interval wider than the value: pcp_skew(3,5)"},
        {12, "-0.20", "-0.30", "0.10", "12 years (fewer than 20); interval wider than the value: pcp_skew(3,5)"},
    };
    for (const Case& c : cases) {
        weather::WeatherRecord record;
        RecordIntervals intervals;
        intervals.years = c.years;
        for (const std::size_t m : {2, 4}) {
            record.values[m][weather::kPcpSkew] = weather::DecimalText::made(c.value);
            intervals.low[m][weather::kPcpSkew] = c.low;
            intervals.high[m][weather::kPcpSkew] = c.high;
        }
        EXPECT_EQ(interval_notes(intervals, record), c.notes) << c.years << " " << c.value;
    }
}

}  // namespace
}  // namespace wgn::batch

namespace wgn::batch {
namespace {

// The quick rounding against the text route it stands for, on floats of every
// size: random bit patterns, the ties of hundredths (k/100 + 1/200 where a
// float holds it exactly) and their neighbours.
TEST(RecordIntervals, HundredthsAsTheReportWritesThem) {
    const auto by_text = [](float value) {
        char text[64];
        std::snprintf(text, sizeof text, "%.2f", static_cast<double>(value));
        return std::strtof(text, nullptr);
    };
    const auto same = [](float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; };
    check::RandomNumbers numbers(7);
    for (int i = 0; i < 400000; ++i) {
        const auto bits = static_cast<std::uint32_t>(numbers.next() >> 32);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        if (!std::isfinite(value)) continue;
        ASSERT_TRUE(same(report_hundredths(value), by_text(value))) << value;
    }
    for (int k = -20000; k <= 20000; ++k) {
        const float tie = static_cast<float>(k) / 100.0F + 0.005F;
        for (const float value : {tie, std::nextafter(tie, 0.0F), std::nextafter(tie, 1e30F), -tie, 0.125F, -0.0F})
            ASSERT_TRUE(same(report_hundredths(value), by_text(value))) << value;
    }
}

}  // namespace
}  // namespace wgn::batch
