// Dated station records: the calendar of day numbers, numbers kept as text,
// the separator of a table, and the whole-year series with its period and
// coverage.  The readers of each format are tested through wgnrain-series on
// the case files of tests/series/cases.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "readers/calendar_days.hpp"
#include "readers/csv.hpp"
#include "readers/number_text.hpp"
#include "readers/value_checks.hpp"
#include "series/wet_day_threshold.hpp"
#include "series/whole_years.hpp"

namespace wgn {
namespace {

using readers::DailyValue;
using readers::Date;

TEST(CalendarDays, KnownDaysAndValidity) {
    struct Case {
        Date date;
        std::int32_t day;
    };
    const Case cases[] = {
        {{1970, 1, 1}, 0},      {{1969, 12, 31}, -1}, {{2000, 2, 29}, 11016},    {{2000, 3, 1}, 11017},
        {{1900, 3, 1}, -25508}, {{1, 1, 1}, -719162}, {{9999, 12, 31}, 2932896},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(readers::day_number(c.date), c.day) << c.date.year << "-" << c.date.month << "-" << c.date.day;
        const Date back = readers::date_of(c.day);
        EXPECT_EQ(back.year * 10000 + back.month * 100 + back.day,
                  c.date.year * 10000 + c.date.month * 100 + c.date.day);
    }
    for (const Date bad : {Date{2023, 2, 29}, Date{1900, 2, 29}, Date{2001, 4, 31}, Date{2001, 13, 1}, Date{2001, 0, 1},
                           Date{0, 1, 1}}) {
        EXPECT_FALSE(readers::is_valid_date(bad)) << bad.year << "-" << bad.month << "-" << bad.day;
    }
    EXPECT_TRUE(readers::is_valid_date({2000, 2, 29}));
    EXPECT_EQ(readers::date_of_day_in_year(2004, 366).month, 12);
    EXPECT_EQ(readers::date_of_day_in_year(2001, 366).month, 0);
}

TEST(CalendarDays, EveryDayOfFourCenturiesFollowsTheLast) {
    // Day numbers and dates agree day after day across 1600-2400, leap rules
    // included; and each day's text, written over the day before's with only
    // what changes (write_date_digits), is the day's own.
    Date expected{1600, 1, 1};
    char text[] = "1599/12/31";
    for (std::int32_t day = readers::day_number(expected); expected.year < 2400; ++day) {
        const Date date = readers::date_of(day);
        ASSERT_TRUE(date.year == expected.year && date.month == expected.month && date.day == expected.day) << day;
        ASSERT_EQ(readers::day_number(date), day);
        readers::write_date_digits(date, false, text);
        ASSERT_EQ(std::string(text),
                  readers::date_text(date.year, date.month, date.day).replace(4, 1, "/").replace(7, 1, "/"));
        expected.day += 1;
        if (expected.day > readers::days_in_month(expected.year, expected.month)) {
            expected.day = 1;
            if (++expected.month > 12) {
                expected.month = 1;
                ++expected.year;
            }
        }
    }
}

TEST(NumberText, NumbersTenthsAndDecimalCommas) {
    for (const char* good : {"12.5", "-0.3", "+1", "1.25E+01", ".5", "5.", "0"})
        EXPECT_TRUE(readers::is_number_text(good)) << good;
    for (const char* bad : {"", "-", ".", "12.5mm", "NaN", "inf", "1e", "1,5", " 1", "1e+"}) {
        EXPECT_FALSE(readers::is_number_text(bad)) << bad;
    }
    const std::pair<const char*, const char*> tenths[] = {
        {"123", "12.3"}, {"5", "0.5"},    {"0", "0.0"},  {"-12", "-1.2"}, {"-5", "-0.5"},
        {"-0", "0.0"},   {"0007", "0.7"}, {"10", "1.0"}, {"+40", "4.0"},
    };
    for (const auto& [digits, text] : tenths) EXPECT_EQ(readers::tenths_text(digits), text) << digits;
    EXPECT_EQ(readers::decimal_point_text("12,5"), "12.5");
    EXPECT_EQ(readers::decimal_point_text("1,2,5"), "1,2,5");
    // Beyond what a double holds: above it infinite, below it 0 (a field's
    // check then tells which).
    const std::pair<const char*, double> beyond[] = {
        {"1e999", HUGE_VAL},         {"-1e999", -HUGE_VAL},   {"1e-400", 0.0},
        {"-1e-400", -0.0},           {"0.001e-330", 0.0},     {"1234e-330", 0.0},
        {"1e99999999999", HUGE_VAL}, {"1e-99999999999", 0.0},
    };
    for (const auto& [text, value] : beyond) EXPECT_EQ(readers::number_value(text), value) << text;
    // What a page can draw: finite numbers only.
    const std::pair<const char*, std::optional<double>> finite[] = {
        {"12.5", 12.5},      {"-1e-400", -0.0},       {"", std::nullopt},
        {"x", std::nullopt}, {"1e999", std::nullopt}, {"-1e999", std::nullopt},
    };
    for (const auto& [text, value] : finite) EXPECT_EQ(readers::finite_number(text), value) << text;
}

TEST(Csv, SeparatorOfTheHeaderRow) {
    const std::pair<const char*, char> cases[] = {
        {"date;prcp;tmax\n1;2;3", ';'},
        {"date,prcp\n", ','},
        {"a;b,c,d", ','},
        {"\"a;b;c\",d\n", ','},
        {"\xEF\xBB\xBF"
         "a;b",
         ';'},
        {"only\na;b;c", ','},
    };
    for (const auto& [text, separator] : cases) EXPECT_EQ(readers::detect_separator(text), separator) << text;
    EXPECT_EQ(readers::parse_csv("a;\"b;c\"\n", ';')->rows.at(0).fields, (std::vector<std::string>{"a", "b;c"}));
}

// Daily values from `first` to `last` (day numbers), each "1", but for the
// days `missing` says.
template <typename Missing>
std::vector<DailyValue> days(Date first, Date last, Missing missing) {
    std::vector<DailyValue> values;
    for (std::int32_t day = readers::day_number(first); day <= readers::day_number(last); ++day) {
        DailyValue value;
        value.day = day;
        value.line = static_cast<int>(values.size()) + 2;
        if (!missing(readers::date_of(day))) value.text.push_back('1');
        values.push_back(value);
    }
    return values;
}

TEST(WholeYears, PeriodFromTheLongestRunOfWellCoveredYears) {
    struct Case {
        const char* what;
        Date first, last;
        bool (*missing)(Date);
        std::optional<int> first_year, last_year;
        const char* period;
        long missing_days;
        const char* incomplete;
        const char* outside = "";
    };
    const auto none = [](Date) { return false; };
    const Case cases[] = {
        {"whole years", {2001, 1, 1}, {2002, 12, 31}, none, {}, {}, "2001-2002", 0, ""},
        {"a year begun in July is left out", {2000, 7, 1}, {2002, 12, 31}, none, {}, {}, "2001-2002", 0, ""},
        {"36 days missing of 365 is within 10 %",
         {2001, 1, 1},
         {2001, 12, 31},
         [](Date d) { return d.month == 1 || (d.month == 2 && d.day <= 5); },
         {},
         {},
         "2001-2001",
         36,
         ""},
        {"37 days missing of 365 is not",
         {2001, 1, 1},
         {2002, 12, 31},
         [](Date d) { return d.year == 2001 && (d.month == 1 || (d.month == 2 && d.day <= 6)); },
         {},
         {},
         "2002-2002",
         0,
         ""},
        {"a gap year between ends the run; of runs as long, the latest",
         {2001, 1, 1},
         {2003, 12, 31},
         [](Date d) { return d.year == 2002; },
         {},
         {},
         "2003-2003",
         0,
         "",
         "2001"},
        {"a first year set keeps the gap before the longest run after it",
         {2001, 1, 1},
         {2004, 12, 31},
         [](Date d) { return d.year == 2002; },
         2001,
         {},
         "2001-2004",
         365,
         "2002"},
        {"the list's bounds hold, beyond the record too",
         {2001, 1, 1},
         {2001, 12, 31},
         none,
         2000,
         2001,
         "2000-2001",
         366,
         "2000"},
        {"a December 31 ends the last year", {2001, 1, 1}, {2002, 1, 1}, none, {}, {}, "2001-2001", 0, ""},
    };
    for (const Case& c : cases) {
        series::SeriesOptions options;
        options.first_year = c.first_year;
        options.last_year = c.last_year;
        const Result<series::WholeYearSeries> made =
            series::make_whole_years(days(c.first, c.last, c.missing), options);
        ASSERT_EQ(made ? "" : made.problem().text, "") << c.what;
        const series::WholeYearSeries& series = *made;
        EXPECT_EQ(series::period_text(series.coverage), c.period) << c.what;
        EXPECT_EQ(series.coverage.missing_days, c.missing_days) << c.what;
        EXPECT_EQ(series::incomplete_years_text(series.coverage), c.incomplete) << c.what;
        EXPECT_EQ(series::outside_years_text(series.coverage), c.outside) << c.what;
        EXPECT_EQ(static_cast<long>(std::count(series.text.begin(), series.text.end(), '\n')), series.coverage.days);
    }
}

// A file's days in any order give the series of the same days in order:
// each day its own value, whichever line it stood on.
TEST(WholeYears, DaysInAnyOrder) {
    std::vector<DailyValue> ordered = days({2001, 1, 1}, {2002, 12, 31}, [](Date) { return false; });
    for (std::size_t i = 0; i < ordered.size(); ++i) ordered[i].text = std::to_string(i % 97) + ".5";
    std::vector<DailyValue> reversed(ordered.rbegin(), ordered.rend());
    std::vector<DailyValue> swapped = ordered;
    std::swap(swapped[40], swapped[400]);
    const series::SeriesOptions options;
    const Result<series::WholeYearSeries> expected = series::make_whole_years(ordered, options);
    ASSERT_TRUE(expected);
    EXPECT_EQ(expected->text.substr(0, 12), "0.5\r\n1.5\r\n2.");
    for (const auto& values : {reversed, swapped}) {
        const Result<series::WholeYearSeries> made = series::make_whole_years(values, options);
        ASSERT_TRUE(made);
        EXPECT_EQ(made->text, expected->text);
    }
}

TEST(WholeYears, RefusedSeries) {
    struct Case {
        const char* what;
        std::vector<DailyValue> values;
        const char* nodata;
        const char* problem;
        int line;
    };
    const auto value = [](Date date, const char* text, int line) {
        return DailyValue{readers::day_number(date), text, false, line};
    };
    std::vector<DailyValue> year = days({2001, 1, 1}, {2001, 12, 31}, [](Date) { return false; });
    std::vector<DailyValue> same_again = year;
    same_again.push_back(value({2001, 3, 1}, "1.0", 400));
    std::vector<DailyValue> other_again = year;
    other_again.push_back(value({2001, 3, 1}, "2", 400));
    std::vector<DailyValue> missing_again = year;
    missing_again.push_back(value({2001, 3, 1}, "", 400));
    const Case cases[] = {
        {"nothing", {}, "-99", "no daily values", 0},
        {"the same value twice is one day", same_again, "-99", "", 0},
        {"another value the same day", other_again, "-99", "2001-03-01 again, with 2 where line 61 gave 1", 400},
        {"a missing day against a value", missing_again, "-99", "2001-03-01 again, with missing where line 61 gave 1",
         400},
        {"a value equal to NoData in single precision", year, "1.00000001",
         "the value 1 of 2001-01-01 equals the NoData value 1.00000001; choose another nodata for this station", 2},
        {"too few days",
         {value({2001, 1, 1}, "1", 2)},
         "-99",
         "no calendar year with at most 10 % of its days missing (values from 2001-01-01 to 2001-01-01: 1 of 365 "
         "days of 2001-2001)",
         0},
    };
    for (const Case& c : cases) {
        series::SeriesOptions options;
        options.nodata = c.nodata;
        const Result<series::WholeYearSeries> series = series::make_whole_years(c.values, options);
        EXPECT_EQ(series ? "" : series.problem().text, c.problem) << c.what;
        EXPECT_EQ(series ? 0 : series.problem().line, c.line) << c.what;
    }
}

TEST(WholeYears, MissingShareRoundedHalfUp) {
    // Of 10,000 days: 5 missing is 0.05 %, shown 0.1; 4 is 0.04 %, shown 0.0.
    const std::pair<long, const char*> cases[] = {{0, "0.0"},      {4, "0.0"},     {5, "0.1"},      {18, "0.2"},
                                                  {9995, "100.0"}, {9994, "99.9"}, {10000, "100.0"}};
    for (const auto& [missing, text] : cases) {
        series::Coverage coverage;
        coverage.days = 10000;
        coverage.missing_days = missing;
        EXPECT_EQ(series::missing_percent_text(coverage), text) << missing;
    }
}

// Drizzle: above 0 and strictly below the threshold, the two compared as
// the decimals they write, whatever their form; binary numbers would take
// several of these for equal.
TEST(WetDayThreshold, DecimalAgainstDecimal) {
    struct Case {
        const char *value, *threshold;
        bool drizzle;
    };
    const Case cases[] = {
        {"0.05", "0.1", true},
        {"0.1", "0.1", false},
        {"0.10", "0.1", false},
        {"0.1", "1e-1", false},
        {"1E-1", "0.1", false},
        {"9.9e-2", "0.1", true},
        {"0.0999999999999", "0.1", true},  // nearer to 0.1 than a billionth
        {"0.100000000001", "0.1", false},
        {"0.3", "0.30000000000000001", true},  // the same double
        {"+0.05", "0.1", true},
        {".05", "0.1", true},
        {"0", "0.1", false},  // dry already
        {"0.000", "0.1", false},
        {"0.05", "0", false},
        {"0.05", "0.0", false},
        {"3.048", "3.05", true},
        {"3.0480", "3.048", false},
        {"12.49", "1.25e1", true},
        {"1.25E+01", "12.5", false},
        {"9.99", "10", true},
        {"10", "9.99", false},
        {"100", "99", false},
        {"0.001", "0.01", true},
        {"0.01", "0.001", false},
        {"1e-400", "0.1", true},
        {"NA", "0.1", false},
        {"", "0.1", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(series::is_drizzle(c.value, c.threshold), c.drizzle) << c.value << " " << c.threshold;

    const std::pair<const char*, bool> thresholds[] = {
        {"0.1", true},   {"0", true},      {"-0", true},   {"1e-1", true}, {"2.54", true},
        {"-0.1", false}, {"0.1mm", false}, {"nan", false}, {"", false},    {"0,1", false}};
    for (const auto& [text, taken] : thresholds)
        EXPECT_EQ(static_cast<bool>(series::wet_day_threshold(text)), taken) << text;
}

}  // namespace
}  // namespace wgn
