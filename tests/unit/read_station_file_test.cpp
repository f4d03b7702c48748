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

TEST(ReadStationFile, OtherVariablesFaultsAreRefusedWithoutFile) {
    ReadOptions options;
    options.format = Format::csv;
    const Result<StationRecord> read =
        read_station_file("/d/a.csv", "date,pcp,tmax\n2001-01-01,1.0,--\n2001-01-02,2.0,3\n", options);
    ASSERT_TRUE(read) << read.problem().message();
    EXPECT_EQ(read->variables.at(Variable::pcp).size(), 2U);
    ASSERT_EQ(read->refused.count(Variable::tmax), 1U);
    EXPECT_EQ(read->refused.at(Variable::tmax).substr(0, 22), "line 2, column tmax: \"");
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
