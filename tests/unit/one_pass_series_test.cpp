// The series in one pass against the general reading it stands in for:
// where it answers, the series and its coverage are the general reading's
// to the byte; where it declines, the general reading has the file.  Rows
// are the files it must answer and the ones it must leave alone, then a
// sweep of random files.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "readers/calendar_days.hpp"
#include "readers/value_checks.hpp"
#include "series/one_pass_series.hpp"
#include "series/whole_years.hpp"
#include "series_readings.hpp"

namespace wgn::series {
namespace {

using readers::Date;

struct Options {
    std::optional<int> first_year, last_year;
    std::string nodata = "-99";
    std::string threshold;
    std::optional<readers::Unit> pcp_unit;
    std::string pcp_column;
};

struct Made {
    bool one_pass = false;
    std::string series;  // the text and the coverage, or the general reading's message
};

readers::ReadOptions read_options(const Options& options) {
    readers::ReadOptions read;
    read.format = readers::Format::csv;
    read.nodata = options.nodata;
    read.settings = readers::Settings::command_line;
    read.only = {readers::Variable::pcp, readers::Variable::hhr};
    if (!options.pcp_column.empty()) read.columns[readers::Variable::pcp] = options.pcp_column;
    return read;
}

SeriesOptions series_options(const Options& options) {
    SeriesOptions series;
    series.first_year = options.first_year;
    series.last_year = options.last_year;
    series.nodata = options.nodata;
    series.pcp_threshold = options.threshold;
    series.settings = readers::Settings::command_line;
    return series;
}

std::string general_series(const std::string& text, const Options& options) {
    return test_support::general_series(text, read_options(options), options.pcp_unit, series_options(options));
}

// Options with one thing changed: changed([](Options& o) { o.nodata = "9999"; })
Options changed(const std::function<void(Options&)>& change) {
    Options options;
    change(options);
    return options;
}

Made made(const std::string& text, const Options& options = {}) {
    const std::optional<WholeYearSeries> one =
        one_pass_series(text, read_options(options), options.pcp_unit, series_options(options));
    return one ? Made{true, test_support::series_text(*one)} : Made{false, general_series(text, options)};
}

// "date,prcp\n" and a row a day from `first` for `days` days, each row as
// `row` writes it from the day's date text and its index.
std::string dated_csv(const std::string& header, Date first, int days,
                      const std::function<std::string(const std::string&, int)>& row) {
    std::string text = header + "\n";
    Date date = first;
    for (int i = 0; i < days; ++i, date = readers::day_after(date))
        text += row(readers::date_text(date.year, date.month, date.day), i);
    return text;
}

std::string amount(int i) {
    // A day in 15 missing, as an empty cell or the NoData value; the
    // largest amount that is read as it stands once in 300 days.
    static const char* const kAmounts[] = {"0", "0", "12.5", "0.3", "",  "19.9", "0",  "7",  "0", "0.0",
                                           "0", "4", "0",    "0",   "0", "0",    "21", "0",  "0", "0.1",
                                           "0", "0", "3.25", "0",   "0", "-99",  "0",  "10", "0", "0"};
    return i % 300 == 5 ? "1999.9" : kAmounts[i % 30];
}

std::string plain_row(const std::string& date, int i) {
    return date + "," + amount(i) + "\n";
}

TEST(OnePassSeries, AnswersAsTheGeneralReadingOrDeclines) {
    const auto with = [](std::function<std::string(const std::string&, int)> row) { return row; };
    const auto row_at = [](int at, std::string replaced) {
        return
            [at, replaced](const std::string& date, int i) { return i == at ? replaced + "\n" : plain_row(date, i); };
    };
    struct Case {
        const char* what;
        std::string text;
        Options options;
        bool one_pass;
    };
    const Case cases[] = {
        {"whole years", dated_csv("date,prcp", {2001, 1, 1}, 1095, plain_row), {}, true},
        {"starts and ends within a year", dated_csv("date,prcp", {2001, 3, 15}, 1200, plain_row), {}, true},
        {"other columns about",
         dated_csv("tmax,Date,PRCP,wind", {2001, 1, 1}, 800,
                   with([](const std::string& d, int i) { return "1.5," + d + "," + amount(i) + ",3\n"; })),
         {},
         true},
        {"CR LF",
         dated_csv("date,prcp\r", {2001, 1, 1}, 800,
                   with([](const std::string& d, int i) { return d + "," + amount(i) + "\r\n"; })),
         {},
         true},
        {"no line end after the last row",
         [] {
             std::string text = dated_csv("date,prcp", {2001, 1, 1}, 730, plain_row);
             text.pop_back();
             return text;
         }(),
         {},
         true},
        {"days without a row",
         dated_csv("date,prcp", {2001, 1, 1}, 1095,
                   with([](const std::string& d, int i) { return i % 50 == 7 ? std::string() : plain_row(d, i); })),
         {},
         true},
        {"a gappy year between good ones",
         dated_csv("date,prcp", {2001, 1, 1}, 1826,
                   with([](const std::string& d, int i) { return i > 400 && i < 600 ? d + ",\n" : plain_row(d, i); })),
         {},
         true},
        {"a year without a row",
         dated_csv("date,prcp", {2001, 1, 1}, 730, plain_row) + dated_csv("x", {2004, 1, 1}, 800, plain_row).substr(2),
         {},
         true},
        {"the period set within the record", dated_csv("date,prcp", {2001, 1, 1}, 1826, plain_row),
         changed([](Options& o) { o.first_year = 2002, o.last_year = 2003; }), true},
        {"a first year before the record", dated_csv("date,prcp", {2001, 1, 1}, 1826, plain_row),
         changed([](Options& o) { o.first_year = 1999; }), false},
        {"leap days, 1900 none", dated_csv("date,prcp", {1899, 12, 1}, 600, plain_row), {}, true},
        {"the last year of four digits", dated_csv("date,prcp", {9998, 1, 1}, 730, plain_row), {}, true},
        {"the column named by the station", dated_csv("date,NEERSLAG", {2001, 1, 1}, 730, plain_row),
         changed([](Options& o) { o.pcp_column = "neerslag"; }), true},
        {"a longer row", dated_csv("date,prcp", {2001, 1, 1}, 730, row_at(40, "2001-02-10,1.5,9")), {}, true},
        {"whole numbers, 19 mm a wet day",
         dated_csv("date,prcp", {2001, 1, 1}, 730,
                   with([](const std::string& d, int i) { return d + (i % 2 == 0 ? ",0\n" : ",19\n"); })),
         {},
         true},
        // Left to the general reading.
        {"a short row",
         dated_csv("date,prcp,tmax", {2001, 1, 1}, 730,
                   with([](const std::string& d, int i) { return d + "," + amount(i) + (i == 99 ? "\n" : ",1\n"); })),
         {},
         false},
        {"2000 mm", dated_csv("date,prcp", {2001, 1, 1}, 730, row_at(3, "2001-01-04,2000")), {}, false},
        {"above 2000 mm", dated_csv("date,prcp", {2001, 1, 1}, 730, row_at(3, "2001-01-04,2000.5")), {}, false},
        {"below 0", dated_csv("date,prcp", {2001, 1, 1}, 730, row_at(3, "2001-01-04,-0.5")), {}, false},
        {"an exponent", dated_csv("date,prcp", {2001, 1, 1}, 730, row_at(3, "2001-01-04,1e1")), {}, false},
        {"a leading zero", dated_csv("date,prcp", {2001, 1, 1}, 730, row_at(3, "2001-01-04,05")), {}, false},
        {"missing-day markers",
         dated_csv("date,prcp", {2001, 1, 1}, 730, with([](const std::string& d, int i) {
                       static const char* const kMarkers[] = {"NA", "null", "M", "--", "NaN"};
                       return i % 40 == 1 ? d + "," + kMarkers[i % 5] + "\n" : plain_row(d, i);
                   })),
         {},
         true},
        {"a marker with a blank", dated_csv("date,prcp", {2001, 1, 1}, 730, row_at(3, "2001-01-04,NA ")), {}, false},
        {"a trace", dated_csv("date,prcp", {2001, 1, 1}, 730, row_at(3, "2001-01-04,T")), {}, false},
        {"a blank in the cell", dated_csv("date,prcp", {2001, 1, 1}, 730, row_at(3, "2001-01-04, 1")), {}, false},
        {"a quoted cell", dated_csv("date,prcp", {2001, 1, 1}, 730, row_at(3, "2001-01-04,\"1\"")), {}, false},
        {"a quoted name before the date",
         dated_csv("name,date,prcp", {2001, 1, 1}, 730, with([](const std::string& d, int i) {
                       return (i == 3 ? "\"Bilt\"," : "Bilt,") + d + "," + amount(i) + "\n";
                   })),
         {},
         false},
        {"a quoted line end past the columns read",
         dated_csv("date,prcp,note", {2001, 1, 1}, 730, with([](const std::string& d, int i) {
                       return d + "," + amount(i) + (i == 3 ? ",\"a\nb\"\n" : ",\n");
                   })),
         {},
         false},
        {"a day twice", dated_csv("date,prcp", {2001, 1, 1}, 730, row_at(3, "2001-01-03,0")), {}, false},
        {"a day back", dated_csv("date,prcp", {2001, 1, 1}, 730, row_at(3, "2001-01-02,0")), {}, false},
        {"a date with slashes", dated_csv("date,prcp", {2001, 1, 1}, 730, row_at(3, "2001/01/04,0")), {}, false},
        {"a date and time", dated_csv("date,prcp", {2001, 1, 1}, 730, row_at(3, "2001-01-04 00:00,0")), {}, false},
        {"no date", dated_csv("date,prcp", {2001, 1, 1}, 730, row_at(3, "x,0")), {}, false},
        {"a blank line", dated_csv("date,prcp", {2001, 1, 1}, 730, row_at(3, "")), {}, false},
        {"a long gap",
         dated_csv("date,prcp", {2001, 1, 1}, 1500, with([](const std::string& d, int i) {
                       return i > 300 && i < 700 ? std::string() : plain_row(d, i);
                   })),
         {},
         false},
        {"a unit in the header", dated_csv("date,prcp (mm)", {2001, 1, 1}, 730, plain_row), {}, false},
        {"half-hour rain",
         dated_csv("date,prcp,hhr", {2001, 1, 1}, 730,
                   with([](const std::string& d, int i) { return d + "," + amount(i) + ",1\n"; })),
         {},
         false},
        {"year, month, day columns",
         dated_csv("year,month,day,prcp", {2001, 1, 1}, 730, with([](const std::string& d, int i) {
                       return d.substr(0, 4) + "," + d.substr(5, 2) + "," + d.substr(8, 2) + "," + amount(i) + "\n";
                   })),
         {},
         false},
        {"semicolons",
         dated_csv("date;prcp", {2001, 1, 1}, 730,
                   with([](const std::string& d, int i) { return d + ";" + amount(i) + "\n"; })),
         {},
         false},
        {"notes before the header",
         "Latitude: 40.5\n" + dated_csv("date,prcp", {2001, 1, 1}, 730, plain_row),
         {},
         false},
        {"a byte order mark", "\xEF\xBB\xBF" + dated_csv("date,prcp", {2001, 1, 1}, 730, plain_row), {}, false},
        {"a NoData value above 0", dated_csv("date,prcp", {2001, 1, 1}, 730, plain_row),
         changed([](Options& o) { o.nodata = "9999"; }), false},
        {"a wet-day threshold", dated_csv("date,prcp", {2001, 1, 1}, 730, plain_row),
         changed([](Options& o) { o.threshold = "0.1"; }), false},
        {"a unit stated", dated_csv("date,prcp", {2001, 1, 1}, 730, plain_row),
         changed([](Options& o) { o.pcp_unit = readers::Unit::kMillimetre; }), false},
        {"no year well covered", dated_csv("date,prcp", {2001, 1, 1}, 30, plain_row), {}, false},
        {"amounts that read as tenths of mm",
         dated_csv("date,prcp", {2001, 1, 1}, 730,
                   with([](const std::string& d, int i) { return d + (i % 2 == 0 ? ",0\n" : ",20\n"); })),
         {},
         false},
        {"amounts that read as inches",
         dated_csv("date,prcp", {2001, 1, 1}, 730,
                   with([](const std::string& d, int i) { return d + (i % 3 == 0 ? ",0.25\n" : ",0\n"); })),
         {},
         false},
    };
    for (const Case& c : cases) {
        const Made one = made(c.text, c.options);
        EXPECT_EQ(one.one_pass, c.one_pass) << c.what;
        if (one.one_pass) {
            EXPECT_EQ(one.series, general_series(c.text, c.options)) << c.what;
        }
    }
}

TEST(OnePassSeries, RandomFilesAgreeWithTheGeneralReading) {
    std::mt19937 random(20261209);
    int answered = 0;
    for (int file = 0; file < 300; ++file) {
        const Date first{1990 + static_cast<int>(random() % 20), 1 + static_cast<int>(random() % 12),
                         1 + static_cast<int>(random() % 28)};
        const int days = 300 + static_cast<int>(random() % 2500);
        const unsigned gaps = random() % 4, missing = random() % 5, oddity = random() % 8;
        const std::string text = dated_csv("date,prcp", first, days, [&](const std::string& d, int i) {
            if (gaps != 0 && random() % (200 * gaps) == 0) return std::string();
            if (missing != 0 && random() % (20 * missing) == 0) return d + ",\n";
            if (oddity == 0 && random() % 3000 == 0) return d + ",NA\n";
            if (oddity == 1 && random() % 3000 == 0) return "2001-01-01," + amount(i) + "\n";
            return plain_row(d, i);
        });
        Options options;
        if (random() % 4 == 0) options.first_year = first.year + 1;
        if (random() % 4 == 0) options.last_year = first.year + 2 + static_cast<int>(random() % 4);
        const Made one = made(text, options);
        answered += one.one_pass ? 1 : 0;
        if (one.one_pass) {
            ASSERT_EQ(one.series, general_series(text, options)) << "file " << file;
        }
    }
    EXPECT_GT(answered, 100);
}

}  // namespace
}  // namespace wgn::series
