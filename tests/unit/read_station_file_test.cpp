// read_station_file: the value, or one problem naming the file, the line and
// the column, whichever reader the format picks.
#include <gtest/gtest.h>

#include <string_view>

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

}  // namespace
}  // namespace wgn::readers
