// The table of formats: the names the station list and --format take, and
// the facts the readers and the batch ask of it.
#include <gtest/gtest.h>

#include <string_view>

#include "readers/formats.hpp"

namespace wgn::readers {
namespace {

TEST(Formats, NamesAndFacts) {
    const struct {
        std::string_view name;
        Format format;
        bool honours_nodata, takes_variable_files;
    } cases[] = {
        {"plain", Format::plain, true, false},       {"csv", Format::csv, true, true},
        {"ghcnd", Format::ghcnd, false, false},      {"power", Format::power, false, false},
        {"swat", Format::swat, false, true},         {"swatplus", Format::swatplus, false, true},
        {"swat2012", Format::swat2012, false, true},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(format_named(c.name), c.format) << c.name;
        EXPECT_EQ(name(c.format), c.name);
        EXPECT_EQ(facts(c.format).format, c.format);  // the table is in the order of the enum
        EXPECT_EQ(facts(c.format).honours_nodata, c.honours_nodata) << c.name;
        EXPECT_EQ(facts(c.format).takes_variable_files, c.takes_variable_files) << c.name;
        EXPECT_EQ(facts(c.format).dated, c.format != Format::plain) << c.name;
        // Only a csv file and a plain series leave their precipitation's unit open.
        EXPECT_EQ(facts(c.format).fixes_pcp_unit, c.format != Format::plain && c.format != Format::csv) << c.name;
    }
}

TEST(Formats, OnlyExactNames) {
    for (const std::string_view text : {"CSV", " csv", "swat+", "", "txt"}) EXPECT_FALSE(format_named(text)) << text;
}

}  // namespace
}  // namespace wgn::readers
