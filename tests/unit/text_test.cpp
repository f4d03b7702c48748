// The shared text helpers: trimming, lower case, quoting, lines, fields and
// CSV writing, each read back as the readers and the batch rely on.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include <string>
#include <string_view>
#include <vector>

#include "readers/csv.hpp"
#include "text/csv_writing.hpp"
#include "text/plain_text.hpp"
#include "text/text_lines.hpp"

namespace wgn::text {
namespace {

TEST(PlainText, TrimsBlanksAndTabsOnly) {
    const struct {
        std::string_view in, out;
    } cases[] = {
        {"  12.5\t", "12.5"}, {"\t\t", ""}, {"", ""}, {"a b", "a b"}, {" \ra\r ", "\ra\r"}, {"\n x", "\n x"},
    };
    for (const auto& c : cases) EXPECT_EQ(trimmed(c.in), c.out) << c.in;
}

TEST(PlainText, LowerCasesAsciiLettersOnly) {
    const struct {
        std::string_view in, out;
    } cases[] = {
        {"TMax", "tmax"}, {"AZ@[`az", "az@[`az"}, {"\xC3\x84", "\xC3\x84"}, {"", ""}, {"PRCP (MM)", "prcp (mm)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(lower_case(c.in), c.out) << c.in;
        EXPECT_EQ(lower_case(upper_case(c.in)), c.out) << c.in;  // upper_case touches the same letters only
    }
    EXPECT_EQ(upper_case("t2m_max (c) \xC3\xA4"), "T2M_MAX (C) \xC3\xA4");
}

TEST(PlainText, QuotesForMessages) {
    EXPECT_EQ(quoted("a b"), "\"a b\"");
    EXPECT_EQ(quoted(""), "\"\"");
    EXPECT_EQ(quoted("say \"x\""), "\"say \"x\"\"");  // as written, not doubled
}

// A file's cell in a message: short, and nothing that reaches the terminal
// as a control: escapes, NUL, line ends, bytes that are no UTF-8.
TEST(PlainText, ShowsCellsShortAndHarmless) {
    using namespace std::string_literals;
    const std::pair<std::string, std::string> cases[] = {
        {"12,5 mm", "12,5 mm"},
        {"a\x1b[2Jb", "a\\x1b[2Jb"},
        {"a\0b"s, "a\\x00b"},
        {"1\t2\r\n", "1\\t2\\r\\n"},
        {"caf\xE9", "caf\\xe9"},
        {"Z\xC3\xBCrich", "Z\xC3\xBCrich"},  // UTF-8 stays as it is
        {std::string(40, 'x'), std::string(40, 'x')},
        {std::string(41, 'x'), std::string(40, 'x') + "..."},
    };
    for (const auto& [cell, shown] : cases) EXPECT_EQ(shown_cell(cell), shown) << cell;
    // 50 bytes that are no UTF-8: 40 of them escaped, then "...".
    std::string escaped;
    for (int i = 0; i < 40; ++i) escaped += "\\xc3";
    EXPECT_EQ(shown_cell(std::string(50, '\xC3')), escaped + "...");
    // 50 x "é": 40 characters of two bytes each, then "...".
    std::string accents;
    for (int i = 0; i < 50; ++i) accents += "\xC3\xA9";
    EXPECT_EQ(shown_cell(accents), accents.substr(0, 80) + "...");
    EXPECT_EQ(quoted_cell("--"), "\"--\"");
}

TEST(TextLines, SplitsAtLineEndsAndCounts) {
    const struct {
        std::string_view text;
        std::vector<std::string_view> lines;
    } cases[] = {
        {"a\nb", {"a", "b"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"\xEF\xBB\xBF"
         "a",
         {"a"}},
        {"a\n\nb", {"a", "", "b"}},
        {"", {}},
        {"\n", {""}},
        {"a\rb\r\r\n", {"a\rb\r"}},  // only the CR before LF belongs to the end
        {"x\r", {"x"}},
    };
    for (const auto& c : cases) {
        TextLines lines(c.text);
        std::vector<std::string_view> read;
        std::string_view line;
        while (lines.next(line)) {
            read.push_back(line);
            EXPECT_EQ(lines.number(), static_cast<int>(read.size()));
        }
        EXPECT_EQ(read, c.lines) << c.text;
    }
}

TEST(SplitFields, SplitsAtAnySeparatorUpToTheMost) {
    const struct {
        std::string_view line, separators;
        std::size_t most;
        std::vector<std::string_view> fields;
    } cases[] = {
        {" 1991  1\t0.5", " \t", std::string_view::npos, {"1991", "1", "0.5"}},
        {"12.5,3.0 x", " \t,", 2, {"12.5", "3.0"}},
        {",,a,,b,", ",", std::string_view::npos, {"a", "b"}},
        {"   ", " ", std::string_view::npos, {}},
        {"a b", " ", 0, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(split_fields(c.line, c.separators, c.most), c.fields) << c.line;
}

TEST(CsvWriting, QuotesOnlyWhereNeeded) {
    const struct {
        std::string_view in, out;
    } cases[] = {
        {"a b", "a b"},
        {"1,5", "\"1,5\""},
        {"say \"x\"", "\"say \"\"x\"\"\""},
        {"", ""},
        {"two\nlines", "\"two\nlines\""},
        {"cr\r", "\"cr\r\""},
        {"semi;colon", "semi;colon"},
    };
    for (const auto& c : cases) EXPECT_EQ(csv_field(c.in), c.out) << c.in;
    EXPECT_EQ(csv_line({}), "\r\n");
    EXPECT_EQ(csv_line({"id", "1,5", ""}), "id,\"1,5\",\r\n");
}

TEST(CsvWriting, ReadsBackAsWritten) {
    const std::vector<std::string> fields = {"De Bilt, 260", "\"", "a\r\nb", "  x  ", "=1"};
    const Result<readers::CsvText> read = readers::parse_csv(csv_line(fields) + csv_line({"next"}));
    ASSERT_TRUE(read);
    ASSERT_EQ(read->rows.size(), 2U);
    EXPECT_EQ(read->rows[0].fields, fields);
    EXPECT_EQ(read->rows[1].line, 3);  // the quoted line end counts
}

}  // namespace
}  // namespace wgn::text
