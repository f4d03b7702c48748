// read_station_file: the value, or one problem naming the file, the line and
// the column, whichever reader the format picks.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "readers/read_station_file.hpp"

namespace wgn::readers {
namespace {

TEST(ReadStationFile, ProblemNamesFileLineAndColumn) {
    const struct {
        Format format;
        std::string_view text;
        std::string_view place;  // the message's start
    } cases[] = {
        {Format::csv, "date,pcp\n2001-01-01,1.0\n2001-01-02,x\n", "/d/a.csv, line 3, column pcp: "},
        {Format::csv, "date,tmax\n2001-01-01,1.0\n", "/d/a.csv, line 1: "},
    };
    for (const auto& c : cases) {
        ReadOptions options;
        options.format = c.format;
        const Result<StationRecord> read = read_station_file("/d/a.csv", c.text, options);
        ASSERT_FALSE(read) << c.text;
        EXPECT_EQ(read.problem().file, "/d/a.csv");
        EXPECT_EQ(read.problem().message().substr(0, c.place.size()), c.place) << read.problem().message();
    }
}

// A bad cell of one variable refuses that variable alone (the message
// without the file, which the batch adds); the others, the pair's other half
// included, keep every value.
TEST(ReadStationFile, OtherVariablesFaultsAreRefusedAlone) {
    const struct {
        Format format;
        FileKind kind;
        std::string_view text;
        Variable refused, kept;
        std::string_view why;  // the message's start
    } cases[] = {
        {Format::csv, FileKind::pcp, "date,pcp,tmax\n2001-01-01,1.0,x5\n2001-01-02,2.0,3\n", Variable::tmax,
         Variable::pcp, "line 2, column tmax: \"x5\" is not a number"},
        {Format::swatplus, FileKind::tmp, "t\nh\n1 0 1 2 3\n2001 1 5.0 x\n2001 2 6.0 1.0\n", Variable::tmin,
         Variable::tmax, "line 4, column 4: \"x\" is not a number"},
        {Format::swat, FileKind::tmp, "20010101\n5.0,1.0\nx,2.0\n", Variable::tmax, Variable::tmin,
         "line 3, column 1: \"x\" is not a number"},
    };
    for (const auto& c : cases) {
        ReadOptions options;
        options.format = c.format;
        options.kind = c.kind;
        const Result<StationRecord> read = read_station_file("/d/a.csv", c.text, options);
        ASSERT_TRUE(read) << read.problem().message();
        EXPECT_EQ(read->variables.at(c.kept).size(), 2U) << c.text;
        EXPECT_EQ(read->variables.count(c.refused), 0U) << c.text;
        ASSERT_EQ(read->refused.count(c.refused), 1U) << c.text;
        EXPECT_EQ(read->refused.at(c.refused), c.why);
    }
}

// Text as files come: UTF-16 by its byte order mark, lines ended by CR
// alone, the markers of a missing day and a trace.
TEST(ReadStationFile, TextAndMarkersAsTheyCome) {
    using namespace std::string_literals;
    const struct {
        std::string text;
        std::vector<std::string> values;  // pcp of 2001-01-01 ..., "" missing
    } cases[] = {
        {"\xFF\xFE"s + std::string("d\0a\0t\0e\0,\0p\0c\0p\0\n\0"
                                   "2\0"
                                   "0\0"
                                   "0\0"
                                   "1\0-\0"
                                   "0\0"
                                   "1\0-\0"
                                   "0\0"
                                   "1\0,\0"
                                   "5\0\n\0",
                                   44),
         {"5"}},
        {"date,pcp\r2001-01-01,1\r2001-01-02,2\r", {"1", "2"}},
        {"date,pcp\n2001-01-01,NA\n2001-01-02,N/A\n2001-01-03,null\n2001-01-04,-\n2001-01-05,--\n"
         "2001-01-06,M\n2001-01-07,T\n2001-01-08,\n",
         {"", "", "", "", "", "", "0.0", ""}},
    };
    for (const auto& c : cases) {
        ReadOptions options;
        options.format = Format::csv;
        const Result<StationRecord> read = read_station_file("a.csv", c.text, options);
        ASSERT_TRUE(read) << read.problem().message();
        std::vector<std::string> values;
        for (const DailyValue& value : read->variables.at(Variable::pcp)) values.push_back(value.text);
        EXPECT_EQ(values, c.values);
    }
}

// SWAT 2012's tmpN.tmp: 10 characters a gauge, the maximum then the
// minimum; the chosen gauge's position from its 10-character fields.
TEST(ReadStationFile, Swat2012TemperatureOfTheChosenGauge) {
    const std::string_view tmp =
        "Station  t5210,t5211,\n"
        "Lati         52.1      52.3\n"
        "Long          5.2       5.0\n"
        "Elev            2        10\n"
        "2001001 10.5 -2.0 12.5  1.0\n"
        "2001003-99.0-99.0-97.1 -3.5\n";
    const struct {
        std::string_view gauge;
        std::vector<std::string> tmax, tmin;  // "" a missing day
        std::array<std::string, 3> position;
        std::string column;  // of tmax
        std::string problem;
    } cases[] = {
        {"1", {"10.5", ""}, {"-2.0", ""}, {"52.1", "5.2", "2"}, "8", ""},
        {"t5211", {"12.5", ""}, {"1.0", "-3.5"}, {"52.3", "5.0", "10"}, "18", ""},
        {"3", {}, {}, {}, "", "/d/tmp1.tmp: no gauge \"3\": the file's gauges are 1 (t5210), 2 (t5211)"},
        {"",
         {},
         {},
         {},
         "",
         "/d/tmp1.tmp: the file holds 2 gauges (1 (t5210), 2 (t5211)): choose one by its number or name (gauge)"},
    };
    for (const auto& c : cases) {
        ReadOptions options;
        options.format = Format::swat2012;
        options.kind = FileKind::tmp;
        options.gauge = c.gauge;
        const Result<StationRecord> read = read_station_file("/d/tmp1.tmp", tmp, options);
        EXPECT_EQ(read ? "" : read.problem().message(), c.problem) << c.gauge;
        if (!read) continue;
        const auto texts = [&](Variable variable) {
            std::vector<std::string> shown;
            for (const DailyValue& value : read->variables.at(variable)) shown.push_back(value.text);
            return shown;
        };
        EXPECT_EQ(texts(Variable::tmax), c.tmax) << c.gauge;
        EXPECT_EQ(texts(Variable::tmin), c.tmin) << c.gauge;
        EXPECT_EQ(read->variables.at(Variable::tmin).back().day - read->variables.at(Variable::tmin).front().day, 2);
        EXPECT_EQ((std::array<std::string, 3>{read->latitude, read->longitude, read->elevation}), c.position);
        EXPECT_EQ(read->position_places[1].line, 3);
        EXPECT_EQ(read->columns.at(Variable::tmax), c.column) << c.gauge;
    }
    // SWAT 2012's radiation, humidity and wind files are laid out otherwise.
    ReadOptions options;
    options.format = Format::swat2012;
    options.kind = FileKind::slr;
    const Result<StationRecord> slr = read_station_file("/d/slr.slr", tmp, options);
    ASSERT_FALSE(slr);
    EXPECT_EQ(slr.problem().message(),
              "/d/slr.slr: of SWAT 2012's station files only the .pcp and .tmp files are read, not a .slr file");
}

}  // namespace
}  // namespace wgn::readers
