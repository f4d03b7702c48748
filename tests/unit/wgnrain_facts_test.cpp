// What the batch and wgnrain agree on: the NoData answers the station list
// takes are the ones wgnrain's dialogue reads, and the failure lines parse as
// wgnrain writes them.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "batch/station_list.hpp"
#include "io/decimal_text.hpp"
#include "io/wgnrain_facts.hpp"

namespace {

using wgn::batch::FileCheck;
using wgn::batch::read_station_list;

TEST(WgnrainFacts, TheListTakesEveryNodataTheDialogueReads) {
    struct Case {
        const char* nodata;
        bool taken;
    };
    const Case cases[] = {
        {"-99", true},    {"-99.0", true},  {"-9.9E1", true}, {"-9.9d1", true}, {"-9.9q1", true}, {"-9.9Q+1", true},
        {"-9.9+1", true}, {"-990-1", true}, {".5", true},     {"+5.", true},    {"NaN", false},   {"-Infinity", false},
        {"1e60", false},  {"-99e", false},  {"-99+", false},  {"nan1", false},  {"-NaN", false},  {"Inf", false},
        {"0x10", false},  {".", false},     {"-", false},     {"", false},      {"-99 1", false}, {"-99,", false},
        {"'-99'", false}, {"1*-99", false},
    };
    const FileCheck exists = [](std::string_view file) { return wgn::Result<std::string>(std::string(file)); };
    for (const Case& c : cases) {
        float value = 0.0F;
        // The list agrees with the dialogue's own reading of a real ...
        EXPECT_EQ(wgn::io::parse_real(c.nodata, value) && std::isfinite(value), c.taken) << c.nodata;
        // ... and refuses what the dialogue would not read as one finite value.
        const std::string list = std::string("station,file,first_year,nodata\nx,a.txt,2001,\"") + c.nodata + "\"\n";
        std::vector<std::string> problems;
        for (const wgn::Problem& problem : read_station_list(list, exists).problems) {
            problems.push_back(wgn::batch::list_problem_text(problem));
        }
        if (c.taken) {
            EXPECT_TRUE(problems.empty()) << c.nodata;
        } else {
            EXPECT_EQ(problems, std::vector<std::string>{"row 2, column nodata: \"" + std::string(c.nodata) +
                                                         "\" is not a number"})
                << c.nodata;
        }
    }
}

TEST(WgnrainFacts, NodataEqualsInSinglePrecision) {
    struct Case {
        float value, nodata;
        bool equal;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {
        {-99.0F, -99.0F, true},   {-0.0F, 0.0F, true}, {-99.0F, -99.000001F, true},  // the same float
        {-99.0F, -98.99F, false}, {nan, -99.0F, true}, {1.0F, nan, true},
    };
    for (const Case& c : cases) EXPECT_EQ(wgn::facts::is_nodata(c.value, c.nodata), c.equal) << c.value;
}

TEST(WgnrainFacts, FailureLines) {
    struct Case {
        const char* line;
        const char* number;  // nullptr: no report number
        bool month_file;
    };
    const Case cases[] = {
        {"runlib: severe (29): file not found, unit 10, file /x", "29", false},
        {"runlib: error (200): program aborting due to control-C event", "200", false},
        {"runlib: severe (64): input conversion error, unit 101, file /tmp/#1", "64", true},
        {"runlib: severe (38): error during write, unit 112, file x", "38", true},
        {"runlib: severe (38): error during write, unit 100, file x", "38", false},
        {"runlib: severe (38): error during write, unit 113, file x", "38", false},
        {"runlib: severe (38): error during write, unit 1011, file x", "38", false},
        {"runlib: severe (): empty", nullptr, false},
        {"runlib: severe (2x): not a number", nullptr, false},
        {"severe (29): file not found, unit 101, file x", nullptr, true},
        {"runlib: warning: a (1): b", "1", false},
    };
    for (const Case& c : cases) {
        const auto number = wgn::facts::report_number(c.line);
        if (c.number == nullptr) {
            EXPECT_FALSE(number) << c.line;
        } else {
            EXPECT_EQ(number.value_or("none"), c.number) << c.line;
        }
        EXPECT_EQ(wgn::facts::names_month_file(c.line), c.month_file) << c.line;
    }
    EXPECT_TRUE(wgn::facts::is_warning_line("runlib: warning: x"));
    EXPECT_FALSE(wgn::facts::is_warning_line("runlib: severe (1): warning: x"));
}

}  // namespace
