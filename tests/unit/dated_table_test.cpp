// The pieces of reading a dated table: which of day and month a date column
// writes first.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "readers/dated_table.hpp"

namespace wgn::readers {
namespace {

TEST(DayComesFirst, TheColumnAsAWholeTells) {
    const struct {
        std::string_view table;
        bool ok;
        bool day_first;
        int line;  // of the problem
    } cases[] = {
        {"date,pcp\n13/01/2001,1\n02/01/2001,1\n", true, true, 0},
        {"date,pcp\n01/02/2001,1\n01/13/2001,1\n", true, false, 0},
        {"date,pcp\n2001-01-13,1\n", true, false, 0},
        {"date,pcp\n01/02/2001,1\n", false, false, 2},
        {"date,pcp\n13/01/2001,1\n01/13/2001,1\n", false, false, 3},
    };
    for (const auto& c : cases) {
        const DatedTable table = parse_dated_table(c.table, 1);
        const Result<bool> first = catch_problem([&] { return day_comes_first(table, 0); });
        ASSERT_EQ(first.ok(), c.ok) << c.table;
        if (c.ok) {
            EXPECT_EQ(*first, c.day_first) << c.table;
        } else {
            EXPECT_EQ(first.problem().line, c.line) << c.table;
            EXPECT_EQ(first.problem().column, "date") << c.table;
        }
    }
}

}  // namespace
}  // namespace wgn::readers
