// The fast paths against the general paths they stand in for: where a fast
// path answers, its answer is the general path's to the bit and the byte;
// where it declines, the general path still has the case.  Rows are the
// boundaries each fast path decides (24-bit significands, exact powers of
// ten, halves, rounded zeros, full fields), then a sweep of bit patterns.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "io/field_format.hpp"
#include "io/field_reader.hpp"
#include "io/fixed_field_fast.hpp"
#include "io/list_reader.hpp"
#include "io/plain_numbers.hpp"

namespace {

using wgn::io::ReadStatus;

std::uint32_t bits_of(float value) {
    return std::bit_cast<std::uint32_t>(value);
}

// One record for the general list reader.
class OneRecord final : public wgn::io::RecordSource {
  public:
    explicit OneRecord(std::string_view record) : record_(record) {}
    ReadStatus next_record(std::string_view& record) override {
        if (given_) return ReadStatus::end_of_input;
        given_ = true;
        record = record_;
        return ReadStatus::ok;
    }

  private:
    std::string_view record_;
    bool given_ = false;
};

TEST(LoneReal, AnswersAsTheListReaderOrDeclines) {
    struct Case {
        const char* record;
        bool fast;  // the fast path answers
    };
    const Case cases[] = {
        {"12.5", true},
        {"  0.000", true},
        {"\t-99", true},
        {"+.5", true},
        {"5.", true},
        {"-0.0", true},
        {"2.540", true},
        {"1.25E+01", true},
        {"1.5d2", true},
        {"1e-3", true},
        {"167772.16", true},
        {"167772.17", true},  // 8 digits
        {"16777217", true},
        {"1e-45", true},
        {"1e39", true},
        {"123456789012345678", true},
        {"3.4028235e38", true},
        {"0.1e-10", true},
        {"1.5 ", false},
        {"1.5 7", false},
        {"3*1.5", false},
        {"1,2", false},
        {"nan", false},
        {"-Infinity", false},
        {"'1.5'", false},
        {"1.5e", false},
        {"1.5e1234", false},
        {"1.5+2", false},
        {"1234567890123456789", false},
        {".", false},
        {"", false},
        {"1.5/", false},
        {"1.5q2", false},
        {"0x10", false},
    };
    for (const Case& c : cases) {
        float fast = 7.0F;
        const bool answered = wgn::io::read_lone_real(c.record, fast);
        EXPECT_EQ(answered, c.fast) << c.record;
        if (!answered) continue;
        float general = 7.0F;
        OneRecord source(c.record);
        const wgn::io::ListItem items[] = {&general};
        ASSERT_EQ(wgn::io::read_list(source, items), ReadStatus::ok) << c.record;
        EXPECT_EQ(bits_of(fast), bits_of(general)) << c.record;
    }
}

TEST(PlainFixed, AnswersAsTheFieldReaderOrDeclines) {
    struct Case {
        const char* field;
        int digits;
        bool fast;
    };
    const Case cases[] = {
        {"        0.13", 2, true},  {"       -0.01", 2, true},  {"       -0.00", 2, true},  {"   167772.16", 2, true},
        {"   167772.17", 2, false},  // 2^24 + 1 hundredths: the general path
        {"    99999.99", 2, true},  {"         .50", 2, true},  {"+12.34", 2, true},        {"      0.1234", 4, true},
        {"     12.3", 2, false},    {"    1 2.34", 2, false},   {"        1234", 2, false}, {" NaN        ", 2, false},
        {"************", 2, false}, {"            ", 2, false}, {"        1.2x", 2, false}, {"       -.", 2, false},
        {"  1234567.89", 2, false},
    };
    for (const Case& c : cases) {
        const std::string_view field(c.field);
        float fast = 7.0F;
        const bool answered = wgn::io::read_plain_fixed(field, c.digits, fast);
        EXPECT_EQ(answered, c.fast) << c.field;
        float through_reader = 7.0F;
        float general = 7.0F;
        const auto width = static_cast<int>(field.size());
        const ReadStatus status = wgn::io::read_real_field(field, 0, width, c.digits, through_reader);
        EXPECT_EQ(wgn::io::read_real_field_general(field, 0, width, c.digits, general), status) << c.field;
        if (status == ReadStatus::ok) {
            EXPECT_EQ(bits_of(through_reader), bits_of(general)) << c.field;
        }
        if (answered) {
            EXPECT_EQ(bits_of(fast), bits_of(general)) << c.field;
        }
    }
}

// The fast field for one value, or "declined".
std::string fast_field(float value, int width, int digits) {
    char field[32];
    if (!wgn::io::format_real_fast(value, width, digits, field)) return "declined";
    return std::string(field, static_cast<std::size_t>(width));
}

std::string general_field(float value, int width, int digits) {
    std::string field;
    wgn::io::append_real_field_general(field, value, width, digits);
    return field;
}

TEST(FastRealField, BoundariesAnswerAsTheGeneralField) {
    struct Case {
        float value;
        int width;
        int digits;
        const char* expected;  // the fast path's answer
    };
    const Case cases[] = {
        {0.125F, 12, 2, "        0.13"},  // an exact half goes away from zero
        {-0.125F, 12, 2, "       -0.13"},
        {2.675F, 12, 2, "        2.67"},   // 2.67499990...: no double rounding
        {-0.004F, 12, 2, "        0.00"},  // a rounded zero has no sign
        {-0.0F, 12, 2, "        0.00"},
        {-0.006F, 12, 2, "       -0.01"},
        {0.005F, 12, 2, "        0.00"},  // 0.00499999988...: just below the half
        {99999992.0F, 12, 2, " 99999992.00"},
        {-99999992.0F, 12, 2, "-99999992.00"},
        {1.0e9F, 12, 2, "declined"},  // asterisks: the general path's
        {0.5F, 3, 2, "declined"},     // ".50": the general path drops the 0
        {0.5F, 5, 2, " 0.50"},
        {-0.5F, 4, 2, "declined"},          // "-.50": no room for the 0
        {1.0e-40F, 12, 2, "        0.00"},  // a subnormal
        {3.2768e4F, 12, 4, "  32768.0000"},
        {1.5F, 8, 0, "      2."},
        {1.0F, 12, 9, " 1.000000000"},
        {1.0F, 12, 10, "declined"},
        {std::bit_cast<float>(0x7FC00000U), 12, 2, "declined"},         // NaN
        {std::bit_cast<float>(0x7F800000U), 12, 2, "declined"},         // infinity
        {std::bit_cast<float>(0x4F000000U), 15, 2, "  2147483648.00"},  // 2^31
        {std::bit_cast<float>(0x50800000U), 15, 2, "declined"},         // 2^34: m * 100 * 2^11 is the general path's
    };
    for (const Case& c : cases) {
        const std::string fast = fast_field(c.value, c.width, c.digits);
        EXPECT_EQ(fast, c.expected) << c.value << " F" << c.width << "." << c.digits;
        if (fast != "declined") {
            EXPECT_EQ(fast, general_field(c.value, c.width, c.digits)) << c.value;
        }
    }
}

TEST(FastRealField, SweepOfBitPatternsMatchesTheGeneralField) {
    // Every exponent of the values the program prints, random significands,
    // in each field the program writes.
    std::mt19937 random(20261208);
    struct Field {
        int width, digits;
    };
    const Field fields[] = {{12, 2}, {12, 4}, {10, 2}, {8, 2}, {15, 2}, {4, 2}, {3, 1}, {5, 0}, {6, 3}, {2, 0}};
    int answered = 0;
    for (int i = 0; i < 200000; ++i) {
        const std::uint32_t exponent = 90 + random() % 80;  // about 1e-11 to 1e13
        const std::uint32_t pattern = (random() & 0x807FFFFFU) | (exponent << 23);
        const float value = std::bit_cast<float>(pattern);
        for (const Field& f : fields) {
            const std::string fast = fast_field(value, f.width, f.digits);
            if (fast == "declined") continue;
            ++answered;
            ASSERT_EQ(fast, general_field(value, f.width, f.digits)) << std::hex << pattern;
            // What the month files hold reads back through both readers alike.
            float back = 0.0F;
            float general = 0.0F;
            ASSERT_EQ(wgn::io::read_real_field(fast, 0, f.width, f.digits, back), ReadStatus::ok);
            ASSERT_EQ(wgn::io::read_real_field_general(fast, 0, f.width, f.digits, general), ReadStatus::ok);
            ASSERT_EQ(bits_of(back), bits_of(general)) << fast;
        }
    }
    EXPECT_GT(answered, 500000);  // the fast path takes the usual values
}

// The records of `bytes` as the record reader cuts them: at each LF, one CR
// before it dropped; a last line without LF is left out (not complete yet).
std::vector<std::string_view> whole_records(std::string_view bytes) {
    std::vector<std::string_view> records;
    for (std::size_t end = 0; (end = bytes.find('\n')) != std::string_view::npos;) {
        std::string_view record = bytes.substr(0, end);
        if (!record.empty() && record.back() == '\r') record.remove_suffix(1);
        records.push_back(record);
        bytes.remove_prefix(end + 1);
    }
    return records;
}

// A run must give, record by record, what the fast path of one record gives,
// stop only at a record end, and take a record the one-record path declines
// never.
void check_run(std::string_view bytes, bool fixed) {
    std::vector<float> values(64);
    std::size_t used = 0;
    const std::size_t count = fixed ? wgn::io::scan_plain_fixed_records(bytes, 12, 2, values, used)
                                    : wgn::io::scan_lone_real_records(bytes, values, used);
    const std::vector<std::string_view> records = whole_records(bytes);
    ASSERT_LE(count, records.size()) << bytes;
    ASSERT_EQ(whole_records(bytes.substr(0, used)).size(), count) << bytes;
    ASSERT_TRUE(used == 0 || bytes[used - 1] == '\n') << bytes;
    for (std::size_t i = 0; i < count; ++i) {
        float one = 7.0F;
        const bool answered = fixed ? records[i].size() == 12 && wgn::io::read_plain_fixed(records[i], 2, one)
                                    : wgn::io::read_lone_real(records[i], one);
        ASSERT_TRUE(answered) << records[i];
        ASSERT_EQ(bits_of(values[i]), bits_of(one)) << records[i];
    }
}

TEST(PlainRuns, StopWhereTheOneRecordPathWouldNotAnswer) {
    const char* lone[] = {
        "2.540\r\n0\r\n12\r\n",
        "1.5\n-0.0\n+.25\n",
        "  7\r\n\t8.5\n9",  // a last line without its end
        "1.5\n\n2.5\n",
        "1.5\n1e3\n2\n",
        "1.5\r\r\n2\n",
        "1.5 \n2\n",
        "167772.16\n167772.17\n",
        "3*1\n",
        "",
        "\n",
        "1234567890123456789\n",
        "-\n",
        ".\n",
        "1.5\r",
    };
    for (const char* bytes : lone) check_run(bytes, false);
    const char* fixed[] = {
        "        2.54\r\n       -0.01\r\n",
        "        0.00\n   167772.16\n   167772.17\n",
        "       12.3 \r\n",
        "        2.54\r\n        2.5",
        "  99999999.99\n",
        "         .50\n        1 .5\n",
        "************\r\n",
        " NaN        \r\n",
        "       +1.00\n       -0.00\n",
        "        1.00\r\r\n",
    };
    for (const char* bytes : fixed) check_run(bytes, true);

    // The usual records are all taken.
    std::vector<float> values(8);
    std::size_t used = 0;
    EXPECT_EQ(wgn::io::scan_lone_real_records("2.540\r\n0\r\n12\r\n-99\n", values, used), 4U);
    EXPECT_EQ(used, 18U);
    EXPECT_EQ(wgn::io::scan_plain_fixed_records("        2.54\r\n      -99.00\r\n", 12, 2, values, used), 2U);
    EXPECT_EQ(bits_of(values[1]), bits_of(-99.0F));
}

TEST(PlainRuns, RandomRecordsAgreeWithTheOneRecordPath) {
    // Buffers of records drawn from the shapes a series or a month file can
    // hold, and a few it should not.
    std::mt19937 random(8122026);
    const char* pieces[] = {"0",
                            "12",
                            "2.540",
                            "-0.5",
                            "+.25",
                            " ",
                            "\t",
                            "1e3",
                            "99999999",
                            "16777217",
                            "x",
                            "1.5 7",
                            ".",
                            "-",
                            "        2.54",
                            "       -0.01",
                            "   167772.17",
                            "         .50"};
    for (int round = 0; round < 20000; ++round) {
        std::string bytes;
        const int records = 1 + static_cast<int>(random() % 6);
        for (int r = 0; r < records; ++r) {
            bytes += pieces[random() % std::size(pieces)];
            if (random() % 4 == 0) bytes += pieces[random() % std::size(pieces)];
            const unsigned end = random() % 10;
            bytes += end < 5 ? "\r\n" : end < 9 ? "\n" : "";
        }
        check_run(bytes, false);
        check_run(bytes, true);
    }
}

}  // namespace
