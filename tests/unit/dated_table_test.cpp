// The pieces of reading a dated table: which of day and month a date column
// writes first, and the rows' days every column shares.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "readers/calendar_days.hpp"
#include "readers/csv.hpp"
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

const NoDataMark never_missing("");

// Every column of a table on the same days, whichever is read first: the
// second takes the days the first read, and an order it must keep is still
// checked on them.
TEST(ReadDatedColumn, EveryColumnOnTheRowsDays) {
    const DatedTable table = parse_dated_table("date,pcp,tmax\n02/01/2001,1,5\n13/01/2001,2,6\n01/01/2001,3,7\n", 1);
    const auto days_of = [](const std::vector<DailyValue>& values) {
        std::vector<std::int32_t> days;
        for (const DailyValue& value : values) days.push_back(value.day);
        return days;
    };
    const std::vector<DailyValue> pcp = read_dated_column(table, 1, never_missing, false, true);
    const std::vector<DailyValue> tmax = read_dated_column(table, 2, never_missing, false, false);
    const std::vector<std::int32_t> expected = {day_number({2001, 1, 2}), day_number({2001, 1, 13}),
                                                day_number({2001, 1, 1})};
    EXPECT_EQ(days_of(pcp), expected);
    EXPECT_EQ(days_of(tmax), expected);
    ASSERT_EQ(tmax.size(), 3U);
    EXPECT_EQ(tmax[2].text, "7");
    EXPECT_EQ(tmax[2].line, 4);
    const Result<std::vector<DailyValue>> ordered =
        catch_problem([&] { return read_dated_column(table, 2, never_missing, true, false); });
    ASSERT_FALSE(ordered);
    EXPECT_EQ(ordered.problem().message(), "line 4: 2001-01-01 does not follow the date of line 3");
}

// The table views the text it parses: cells between quotation marks are
// its own copies, which must stay where they are when the table is handed
// on; notes before the header, blank rows and a header's empty cells at its
// end are left out of the values; every value keeps its line.
TEST(ParseDatedTable, CellsInPlace) {
    const struct {
        std::string_view text;
        std::vector<std::string> header;
        std::vector<std::string> pcp;  // the second column's values
        std::vector<int> lines;
        std::size_t notes;
    } cases[] = {
        {"date,pcp\n2001-01-01,1.5\n2001-01-02,0\n", {"date", "pcp"}, {"1.5", "0"}, {2, 3}, 0},
        {"\"date\",\"pcp (mm)\"\n\"2001-01-01\",\"2\"\"\"\n", {"date", "pcp (mm)"}, {"2\""}, {2}, 0},
        {"Latitude: 40.5\nHow to cite\ndate,pcp,,\n2001-01-01,3\n\n , \n2001-01-02,4\r\n",
         {"date", "pcp"},
         {"3", "4"},
         {4, 7},
         2},
        {"date;pcp\r\n2001-01-01;0,5\r\n", {"date", "pcp"}, {"0,5"}, {2}, 0},
    };
    for (const auto& c : cases) {
        DatedTable parsed = parse_dated_table(c.text, 1);
        const DatedTable table = std::move(parsed);
        EXPECT_EQ(std::vector<std::string>(table.header.begin(), table.header.end()), c.header) << c.text;
        EXPECT_EQ(table.notes.size(), c.notes) << c.text;
        std::vector<std::string> pcp;
        std::vector<int> lines;
        for (std::size_t r = table.first_row; r < table.cells.rows(); ++r) {
            pcp.emplace_back(table.cells.row(r)[1]);
            lines.push_back(table.cells.lines[r]);
        }
        EXPECT_EQ(pcp, c.pcp) << c.text;
        EXPECT_EQ(lines, c.lines) << c.text;
    }
}

// A date that follows the row before's is counted on from it; every other
// (a gap, the same day again, a day back, another way of writing it) is
// read as it stands, and the next is counted on from there.
TEST(ReadDatedColumn, EachRowItsOwnDate) {
    const struct {
        std::vector<std::string_view> dates;
    } cases[] = {
        {{"2000-02-27", "2000-02-28", "2000-02-29", "2000-03-01"}},  // a leap day
        {{"2001-02-28", "2001-03-01", "2001-12-31", "2002-01-01"}},  // month and year ends, a gap
        {{"2001-01-05", "2001-01-05", "2001-01-06", "2001-01-03", "2001-01-04"}},
        {{"2001-01-01", "2001/01/02", "20010103", "2001-01-04 00:00", "2001-01-05"}},
        {{"1999-12-31", "2000-01-01", " 2000-01-02 ", "2000-01-03"}},
        {{"2001.01.31", "2001.02.01", "2001-02-02", "2001/02/03", "2001/02/04"}},  // the writing changes
        {{"0999-12-31", "1000-01-01", "9999-12-30", "9999-12-31"}},
        {{"2001-01-09", "2001-01-10", "2001-01-11", "2001-01-19", "2001-01-20", "2001-01-21"}},
        {{"2001-01-31", "2001-02-01", "2001-04-10", "2001-02-11", "2002-04-12"}},  // months away and back
    };
    for (const auto& c : cases) {
        std::string text = "date,pcp\n";
        for (const std::string_view date : c.dates) text.append(date).append(",1\n");
        const DatedTable table = parse_dated_table(text, 1);
        const std::vector<DailyValue> values = read_dated_column(table, 1, never_missing, false, true);
        ASSERT_EQ(values.size(), c.dates.size()) << text;
        for (std::size_t i = 0; i < values.size(); ++i) {
            std::string date(c.dates[i].substr(c.dates[i].find_first_not_of(' '), 10));
            if (date.find_first_of("-/.") == std::string::npos)
                date = date.substr(0, 4) + "-" + date.substr(4, 2) + "-" + date.substr(6, 2);
            const Date expected{std::stoi(date.substr(0, 4)), std::stoi(date.substr(5, 2)),
                                std::stoi(date.substr(8, 2))};
            EXPECT_EQ(values[i].day, day_number(expected)) << c.dates[i];
        }
    }
}

// Cells of every length from 0 to 20, in every place of a row, each cut
// where its separator stands (cells are found a word of eight bytes at a
// time, and a word may reach into the next cell or line).
TEST(ParseCsvCells, CellsOfEveryLength) {
    for (std::size_t length = 0; length <= 20; ++length) {
        const std::string cell(length, 'x');
        const std::string text = "a," + cell + ",b\n" + cell + ",c\n" + "d," + cell + "\r\n" + cell;
        const Result<CsvCells> cells = parse_csv_cells(text, ',');
        ASSERT_TRUE(cells) << length;
        std::vector<std::vector<std::string>> rows;
        for (std::size_t r = 0; r < cells->rows(); ++r) rows.emplace_back(cells->row(r).begin(), cells->row(r).end());
        std::vector<std::vector<std::string>> expected = {{"a", cell, "b"}, {cell, "c"}, {"d", cell}};
        if (length > 0) expected.push_back({cell});
        EXPECT_EQ(rows, expected) << length;
    }
}

// A line is split at its separators whether or not it holds a quotation
// mark (a line with one is read cell by cell): a mark inside a cell and a
// carriage return before a separator stay in the cell; only the line's
// last carriage return goes.
TEST(ParseCsvCells, LinesWithAndWithoutQuotes) {
    const struct {
        std::string_view text;
        std::vector<std::vector<std::string>> rows;
    } cases[] = {
        {"a,12\",b\n", {{"a", "12\"", "b"}}},
        {"a\r,b\r\r\n", {{"a\r", "b\r"}}},
        {",,\nx,,", {{"x", "", ""}}},  // a row of blanks alone is left out
        {"\"q,1\",2\r\n3,4", {{"q,1", "2"}, {"3", "4"}}},
        {"0123456789abcdef,0123456789abcdef\n", {{"0123456789abcdef", "0123456789abcdef"}}},
    };
    for (const auto& c : cases) {
        const Result<CsvCells> cells = parse_csv_cells(c.text, ',');
        ASSERT_TRUE(cells) << c.text;
        std::vector<std::vector<std::string>> rows;
        for (std::size_t r = 0; r < cells->rows(); ++r) rows.emplace_back(cells->row(r).begin(), cells->row(r).end());
        EXPECT_EQ(rows, c.rows) << c.text;
    }
}

// Rows after the one the reader decides on keep only their leading cells
// and count the others; a row with a quotation mark anywhere, or whose kept
// cells are blank, keeps all its cells (a quoted cell may hold line ends
// and separators, and a row is left out only when all its cells are blank).
TEST(ParseCsvCells, RowsKeepTheirLeadingCells) {
    const struct {
        std::string_view text;
        std::size_t keep;  // decided after the first row
        std::vector<std::vector<std::string>> rows;
        std::vector<std::size_t> fields;
    } cases[] = {
        {"h,i,j\n1,2,3\n4,5\n6\n", 2, {{"h", "i", "j"}, {"1", "2"}, {"4", "5"}, {"6"}}, {3, 3, 2, 1}},
        {"h,i,j\n1,\"a,b\",3\n", 1, {{"h", "i", "j"}, {"1", "a,b", "3"}}, {3, 3}},
        {"h,i,j\n1,2,\"x\ny\"\n5,6,7", 1, {{"h", "i", "j"}, {"1", "2", "x\ny"}, {"5"}}, {3, 3, 3}},
        {"h,i,j\n1,2345678901234,\"x\ny\"\n5,6,7",
         1,
         {{"h", "i", "j"}, {"1", "2345678901234", "x\ny"}, {"5"}},
         {3, 3, 3}},
        {"h,i,j\n ,,x\n,,\n8,9,", 1, {{"h", "i", "j"}, {" ", "", "x"}, {"8"}}, {3, 3, 3}},
        {"h,i\r\n1,2\r\n3,4\r", 1, {{"h", "i"}, {"1"}, {"3"}}, {2, 2, 2}},
        {"h,i,j\n0123456789,0123456789abc,x,y,z\n", 1, {{"h", "i", "j"}, {"0123456789"}}, {3, 5}},
        {"h,i,j\n1,2,3\n", 0, {{"h", "i", "j"}, {"1"}}, {3, 3}},  // a row keeps one cell at least
    };
    for (const auto& c : cases) {
        const CellsKept kept = [&](const CsvCells&) { return std::optional<std::size_t>(c.keep); };
        const Result<CsvCells> cells = parse_csv_cells(c.text, ',', kept);
        ASSERT_TRUE(cells) << c.text;
        std::vector<std::vector<std::string>> rows;
        std::vector<std::size_t> fields;
        for (std::size_t r = 0; r < cells->rows(); ++r) {
            rows.emplace_back(cells->row(r).begin(), cells->row(r).end());
            fields.push_back(cells->fields(r));
        }
        EXPECT_EQ(rows, c.rows) << c.text;
        EXPECT_EQ(fields, c.fields) << c.text;
    }
}

// A table told the columns to be read gives them the same values, lines
// and problems as one that keeps every cell, whatever columns come first.
TEST(ParseDatedTable, ColumnsAskedForReadAsAllColumns) {
    const struct {
        std::string_view text;
        std::string_view column;  // asked for by this name
    } cases[] = {
        {"date,prcp,tmax,tmin\n2001-01-01,1,5,2\n2001-01-02,2,6,1\n", "prcp"},
        {"tmax,tmin,prcp,date\n5,2,1,2001-01-01\n6,1,-99,2001-01-02\n", "prcp"},
        {"year,doy,tmax,rain,x\n2001,1,5,1,a\n2001,2,6,,b\n", "rain"},
        {"note\ndate,prcp,tmax\n2001-01-01,1,5\n2001-01-02,2\n", "prcp"},
        {"date,prcp,tmax\n2001-01-01,1,\"5\n\"\n2001-01-02,3,6\n", "prcp"},
        {"date,prcp,tmax\n2001-01-01,1,5\n2001-01-02,x,6\n", "prcp"},
    };
    const NoDataMark nodata("-99");
    const auto read = [&](std::string_view text, std::span<const ColumnAsked> asked, std::string_view name) {
        return catch_problem([&] {
            const DatedTable table = parse_dated_table(text, 1, {}, Settings::station_list, asked);
            const std::vector<std::string_view> names = {name};
            const std::optional<std::size_t> column = find_column(table, names, "", "precipitation", "pcp_column");
            std::vector<std::string> values;
            for (const DailyValue& value : read_dated_column(table, *column, nodata, false, true))
                values.push_back(std::to_string(value.day) + " " + value.text + " " + std::to_string(value.line));
            return values;
        });
    };
    for (const auto& c : cases) {
        const ColumnAsked asked[] = {{{c.column}, {}}};
        const Result<std::vector<std::string>> all = read(c.text, {}, c.column);
        const Result<std::vector<std::string>> some = read(c.text, asked, c.column);
        ASSERT_EQ(all.ok(), some.ok()) << c.text;
        if (all.ok()) {
            EXPECT_EQ(*all, *some) << c.text;
        } else {
            EXPECT_EQ(all.problem().message(), some.problem().message()) << c.text;
        }
    }
}

}  // namespace
}  // namespace wgn::readers
