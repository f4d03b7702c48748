// List-directed reads over records held in memory: one row per case.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "io/list_reader.hpp"

namespace {

using wgn::io::ListItem;
using wgn::io::ReadStatus;
using wgn::io::TextItem;

class Records final : public wgn::io::RecordSource {
  public:
    explicit Records(std::vector<std::string> records) : records_(std::move(records)) {}
    ReadStatus next_record(std::string_view& record) override {
        if (next_ == records_.size()) return ReadStatus::end_of_input;
        record = records_[next_++];
        return ReadStatus::ok;
    }
    std::size_t consumed() const { return next_; }

  private:
    std::vector<std::string> records_;
    std::size_t next_ = 0;
};

std::string padded(const std::string& text, std::size_t length = 255) {
    std::string result = text;
    result.resize(length, ' ');
    return result;
}

struct TextCase {
    std::vector<std::string> records;
    ReadStatus status;
    std::string expected;  // before padding; "<unchanged>" keeps the old value
    std::size_t records_used;
};

TEST(ListRead, TextItems) {
    const std::string long_value(2048, 'x');
    const TextCase cases[] = {
        {{"in.txt"}, ReadStatus::ok, "in.txt", 1},
        {{"  in.txt   trailing words"}, ReadStatus::ok, "in.txt", 1},
        {{"'my data.txt' rest"}, ReadStatus::ok, "my data.txt", 1},
        {{"\"it's.txt\""}, ReadStatus::ok, "it's.txt", 1},
        {{"'it''s.txt'"}, ReadStatus::ok, "it's.txt", 1},
        {{"D:\\my data\\x.txt"}, ReadStatus::ok, "D:\\my", 1},
        {{"a,b"}, ReadStatus::ok, "a", 1},
        {{"\tin.txt"}, ReadStatus::ok, "in.txt", 1},
        // Slashes inside a value are part of it; a lone slash ends the read.
        {{"data/in.txt"}, ReadStatus::ok, "data/in.txt", 1},
        {{"/home/me/in.txt"}, ReadStatus::ok, "/home/me/in.txt", 1},
        {{"./x"}, ReadStatus::ok, "./x", 1},
        {{"dir/ rest"}, ReadStatus::ok, "dir", 1},
        {{"/"}, ReadStatus::ok, "<unchanged>", 1},
        {{"/ in.txt"}, ReadStatus::ok, "<unchanged>", 1},
        // Null values and blank records.
        {{","}, ReadStatus::ok, "<unchanged>", 1},
        {{"", "   ", "in.txt"}, ReadStatus::ok, "in.txt", 3},
        {{"1*"}, ReadStatus::ok, "<unchanged>", 1},
        {{"2*abc"}, ReadStatus::ok, "abc", 1},
        // A quoted value may go on in the next record.
        {{"'first", "second'"}, ReadStatus::ok, "firstsecond", 2},
        {{long_value}, ReadStatus::ok, long_value.substr(0, 255), 1},
        {{long_value + "y"}, ReadStatus::syntax_error, "", 1},
        {{"'abc'def"}, ReadStatus::syntax_error, "", 1},
        {{}, ReadStatus::end_of_input, "", 0},
        {{"", "  "}, ReadStatus::end_of_input, "", 2},
        {{"'never closed"}, ReadStatus::end_of_input, "", 1},
    };
    for (const TextCase& c : cases) {
        Records records(c.records);
        std::string field = padded("old");
        const ListItem items[] = {TextItem{&field, 255}};
        EXPECT_EQ(wgn::io::read_list(records, items), c.status) << c.records.size() << ' ' << c.expected;
        if (c.status == ReadStatus::ok) {
            EXPECT_EQ(field, padded(c.expected == "<unchanged>" ? "old" : c.expected)) << c.expected;
        }
        EXPECT_EQ(records.consumed(), c.records_used) << c.expected;
    }
}

struct NumberCase {
    std::vector<std::string> records;
    ReadStatus status;
    double expected;  // NaN: expect a NaN
};

TEST(ListRead, IntegerItems) {
    const NumberCase cases[] = {
        {{"1990"}, ReadStatus::ok, 1990},
        {{"1990 2000"}, ReadStatus::ok, 1990},
        {{"1990,2000"}, ReadStatus::ok, 1990},
        {{"0"}, ReadStatus::ok, 0},
        {{"-5"}, ReadStatus::ok, -5},
        {{"  ", "77"}, ReadStatus::ok, 77},
        {{","}, ReadStatus::ok, 4},
        {{"/"}, ReadStatus::ok, 4},
        {{"1990/"}, ReadStatus::ok, 1990},
        {{"3*12"}, ReadStatus::ok, 12},
        {{"abc"}, ReadStatus::conversion_error, 0},
        {{"19.5"}, ReadStatus::conversion_error, 0},
        {{"'1990'"}, ReadStatus::conversion_error, 0},
        {{"(1990"}, ReadStatus::syntax_error, 0},
        {{"0*5"}, ReadStatus::syntax_error, 0},
        {{"\x1a"}, ReadStatus::conversion_error, 0},
        {{}, ReadStatus::end_of_input, 0},
    };
    for (const NumberCase& c : cases) {
        Records records(c.records);
        std::int32_t value = 4;
        const ListItem items[] = {&value};
        EXPECT_EQ(wgn::io::read_list(records, items), c.status) << (c.records.empty() ? "" : c.records[0]);
        if (c.status == ReadStatus::ok) {
            EXPECT_EQ(value, c.expected) << c.records[0];
        }
    }
}

TEST(ListRead, RealItems) {
    const double nan = std::nan("");
    const NumberCase cases[] = {
        {{"12.5"}, ReadStatus::ok, 12.5},
        {{"12.5 13.0"}, ReadStatus::ok, 12.5},
        {{"-99"}, ReadStatus::ok, -99},
        {{"1.25E+01"}, ReadStatus::ok, 12.5},
        {{"NaN"}, ReadStatus::ok, nan},
        {{"nan , 5"}, ReadStatus::ok, nan},
        {{"-Infinity"}, ReadStatus::ok, -HUGE_VAL},
        {{"12.5\t# note"}, ReadStatus::ok, 12.5},
        {{"Inf"}, ReadStatus::conversion_error, 0},
        {{"12.5mm"}, ReadStatus::conversion_error, 0},
        {{"12,5"}, ReadStatus::ok, 12},
    };
    for (const NumberCase& c : cases) {
        Records records(c.records);
        float value = 4.0F;
        const ListItem items[] = {&value};
        EXPECT_EQ(wgn::io::read_list(records, items), c.status) << c.records[0];
        if (c.status != ReadStatus::ok) continue;
        if (std::isnan(c.expected))
            EXPECT_TRUE(std::isnan(value)) << c.records[0];
        else
            EXPECT_EQ(value, static_cast<float>(c.expected)) << c.records[0];
    }
}

TEST(ListRead, SeveralItemsAcrossRecordsNullsAndRepeats) {
    struct Case {
        std::vector<std::string> records;
        ReadStatus status;
        std::vector<float> expected;
        std::size_t records_used;
    };
    const Case cases[] = {
        {{"1 2", "3 4"}, ReadStatus::ok, {1, 2, 3}, 2},
        {{"1,,3"}, ReadStatus::ok, {1, 0, 3}, 1},
        {{",2,3"}, ReadStatus::ok, {0, 2, 3}, 1},
        {{"1 ,2", ",3"}, ReadStatus::ok, {1, 2, 3}, 2},  // a record end is a blank: the comma separates
        {{"3*7.5"}, ReadStatus::ok, {7.5, 7.5, 7.5}, 1},
        {{"2* 9"}, ReadStatus::ok, {0, 0, 9}, 1},
        {{"1 / 2 3"}, ReadStatus::ok, {1, 0, 0}, 1},
        {{"1", ""}, ReadStatus::end_of_input, {}, 2},
    };
    for (const Case& c : cases) {
        Records records(c.records);
        float a = 0.0F;
        float b = 0.0F;
        float d = 0.0F;
        const ListItem items[] = {&a, &b, &d};
        EXPECT_EQ(wgn::io::read_list(records, items), c.status) << c.records[0];
        if (c.status == ReadStatus::ok) {
            EXPECT_EQ(a, c.expected[0]) << c.records[0];
            EXPECT_EQ(b, c.expected[1]) << c.records[0];
            EXPECT_EQ(d, c.expected[2]) << c.records[0];
        }
        EXPECT_EQ(records.consumed(), c.records_used) << c.records[0];
    }
}

}  // namespace
