// The gap-aware precipitation values: worked months against the definitions,
// and long records of a known climate with random gaps, where they stay
// within sampling error of the record without gaps while wgnrain's filling
// of a missing day with the mean shows its bias.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "batch/record_intervals.hpp"
#include "check/random_numbers.hpp"
#include "readers/calendar_days.hpp"
#include "weather/gap_aware_precipitation.hpp"

namespace wgn::weather {
namespace {

// Whole years of dry days, with the given days of a month set: {year, month, day, hundredths or nothing}.
struct Set {
    int year, month, day;
    SeriesDay value;
};
SeriesMonths months_of(int first_year, int years, const std::vector<Set>& days, SeriesDay others = 0) {
    SeriesMonths months(static_cast<std::size_t>(years));
    for (int y = 0; y < years; ++y) {
        for (int m = 0; m < 12; ++m)
            months[y][m].days.assign(static_cast<std::size_t>(readers::days_in_month(first_year + y, m + 1)), others);
    }
    for (const Set& set : days)
        months[static_cast<std::size_t>(set.year)][static_cast<std::size_t>(set.month - 1)]
            .days[static_cast<std::size_t>(set.day - 1)] = set.value;
    return months;
}

TEST(GapAwareValues, WorkedMonths) {
    // January of two years: 5.00 on days 1-3, 10.00 on day 1 of the second year and 2.00 on its 31st.
    const std::vector<Set> january = {{0, 1, 1, 500}, {0, 1, 2, 500}, {0, 1, 3, 500}, {1, 1, 1, 1000}, {1, 1, 31, 200}};
    std::vector<Set> day_30_missing = january, day_1_missing = january, rainless = {{1, 7, 3, std::nullopt}};
    day_30_missing.push_back({1, 1, 30, std::nullopt});
    day_1_missing.push_back({1, 1, 1, std::nullopt});
    const struct {
        const char* what;
        SeriesMonths months;
        std::size_t month;
        std::array<std::string, 6> want;
        long missing;
    } cases[] = {
        // Without a missing day: wgnrain's definitions (its report shows these digits).
        {"no gap", months_of(2001, 2, january), 0, {"13.50", "1.6558", "4.3263", "0.0175", "0.4000", "2.50"}, 0},
        // The dry day 29 is followed by the missing day 30: in neither count of PR_W1, whose
        // one wet-after-dry pair (30, 31) has gone; 27.00 over 61 days times 31.
        {"day 30", months_of(2001, 2, day_30_missing), 0, {"13.72", "1.6686", "4.2875", "0.0000", "0.4000", "2.54"}, 1},
        // The 31st of the first year is followed by the missing 1st of the second: 1 / 56.
        {"day 1", months_of(2001, 2, day_1_missing), 0, {"8.64", "1.1125", "3.9994", "0.0179", "0.5000", "2.03"}, 1},
        // No wet day: no PR_W2 and no skew.
        {"rainless", months_of(2001, 2, rainless), 6, {"0.00", "0.0000", "", "0.0000", "", "0.00"}, 1},
        // Every day 1.00 over 1993-2020: February's 28.25 days a year; wgnrain's pairs skip
        // one a 28 days, so PR_W2 is not 1.
        {"february",
         months_of(1993, 28, {{3, 2, 10, std::nullopt}}, 100),
         1,
         {"28.25", "0.0000", "", "", "0.9632", "28.25"},
         1},
    };
    for (const auto& c : cases) {
        const PrecipitationValues values = gap_aware_values(c.months);
        EXPECT_EQ(values.values[c.month], c.want) << c.what;
        EXPECT_EQ(values.missing_days, c.missing) << c.what;
    }
}

// A two-state chain (wet after dry 0.3, after wet 0.6) of 0.1 mm plus an
// exponential amount of mean 6 mm, as text of two decimals.
std::vector<readers::DailyValue> climate(int first_year, int years, std::uint64_t seed) {
    check::RandomNumbers numbers(seed);
    std::vector<readers::DailyValue> days;
    bool wet = false;
    const std::int32_t first = readers::day_number({first_year, 1, 1});
    const std::int32_t last = readers::day_number({first_year + years - 1, 12, 31});
    for (std::int32_t day = first; day <= last; ++day) {
        wet = numbers.uniform() < (wet ? 0.6 : 0.3);
        char text[32];
        std::snprintf(text, sizeof text, "%.2f", wet ? 0.1 - 6.0 * std::log(numbers.uniform()) : 0.0);
        days.push_back({day, text});
    }
    return days;
}

TEST(GapAwareValues, RandomGapsLeaveTheClimateWhereFillingBiasesIt) {
    // 300 years: a month's PCPD has a sampling error of about 0.25 days, PR_W1
    // about 0.0065; a gap share g fills some 0.54 x 31 g more wet days into
    // wgnrain's PCPD (0.84 at 5 %) and lifts its PR_W1 by some 0.7 g (0.035).
    constexpr int kFirst = 1701, kYears = 300;
    const std::vector<readers::DailyValue> whole = climate(kFirst, kYears, 5);
    std::vector<int> all(kYears);
    for (int y = 0; y < kYears; ++y) all[static_cast<std::size_t>(y)] = y;
    WeatherInputs inputs;
    inputs.first_year = kFirst;
    inputs.last_year = kFirst + kYears - 1;
    inputs.variables[readers::Variable::pcp] = whole;
    const auto no_gap = batch::precipitation_values(batch::precipitation_blocks(inputs), all);
    // The largest distance allowed from the values without gaps, by value: PCP_MM, PCPSTD, PCPSKW, PR_W1, PR_W2, PCPD.
    const double within[6] = {3.0, 0.25, 0.25, 0.02, 0.02, 0.5};
    for (const double share : {0.01, 0.05, 0.10}) {
        check::RandomNumbers numbers(static_cast<std::uint64_t>(share * 1000));
        std::vector<readers::DailyValue> gappy = whole;
        for (readers::DailyValue& day : gappy) {
            if (numbers.uniform() < share) day.set_text("");
        }
        inputs.variables[readers::Variable::pcp] = gappy;
        const auto filled = batch::precipitation_values(batch::precipitation_blocks(inputs), all);
        const PrecipitationValues aware = gap_aware_values(series_months(kFirst, kFirst + kYears - 1, gappy));
        for (std::size_t m = 0; m < 12; ++m) {
            for (std::size_t p = 0; p < 6; ++p) {
                EXPECT_NEAR(std::stod(aware.values[m][p]), no_gap[m][p], within[p])
                    << share << " month " << m + 1 << " value " << p;
            }
            if (share < 0.05) continue;
            // The filled days' bias, three to seven sampling errors: each missing dry day
            // (0.54 of them) becomes wet.
            const double days = readers::days_in_month(2001, static_cast<int>(m) + 1);
            EXPECT_GT(filled[m][5] - no_gap[m][5], 0.7 * share * days * 0.54) << share << " month " << m + 1;
            EXPECT_GT(filled[m][3] - no_gap[m][3], 0.025 * share / 0.05) << share << " month " << m + 1;
        }
    }
}

}  // namespace
}  // namespace wgn::weather
