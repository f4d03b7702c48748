// Input conversions: decimal texts, Fw.d fields, and the month-file round trip.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "io/decimal_text.hpp"
#include "io/field_format.hpp"
#include "io/field_reader.hpp"

namespace {

using wgn::io::ReadStatus;

std::uint32_t bits_of(float value) {
    return std::bit_cast<std::uint32_t>(value);
}

TEST(RealText, AcceptedFormsGiveTheNearestFloat) {
    struct Case {
        const char* text;
        float expected;
    };
    constexpr float inf = std::numeric_limits<float>::infinity();
    const Case cases[] = {
        {"12.5", 12.5F},
        {"0", 0.0F},
        {"-99", -99.0F},
        {"1.25E+01", 12.5F},
        {"1.5d2", 150.0F},
        {"1.5q-1", 0.15F},
        {"+.5", 0.5F},
        {"5.", 5.0F},
        {"1.5+2", 150.0F},
        {"-0", -0.0F},
        {"Infinity", inf},
        {"-INFINITY", -inf},
        {"+infinity", inf},
        {"1e39", inf},
        {"-1e39", -inf},
        {"1e-50", 0.0F},
        {"123456789", 123456792.0F},
        // Halfway between two floats: ties to even, decided on the exact decimal.
        {"16777217", 16777216.0F},
        {"16777219", 16777220.0F},
        // Just above the tie: a double detour would round to the tie and then to even.
        {"16777217.000000001", 16777218.0F},
        {"0.1", 0.1F},
        {"1.00000005960464477539062500001", 1.0000001F},
        // Eight significant digits: the digits exceed 2^24, so the product of a
        // rounded significand and a power of ten would be one float off.
        {"167772.17", 167772.171875F},
        {"1677721.7", 1677721.75F},
        {"16777.219", 16777.21875F},
        {"0.16777217", 0.16777217388153076F},
    };
    for (const Case& c : cases) {
        float value = 7.0F;
        ASSERT_TRUE(wgn::io::parse_real(c.text, value)) << c.text;
        EXPECT_EQ(bits_of(value), bits_of(c.expected)) << c.text;
    }
}

TEST(RealText, NanInAnyCaseButWithoutSign) {
    for (const char* text : {"NaN", "nan", "NAN"}) {
        float value = 0.0F;
        ASSERT_TRUE(wgn::io::parse_real(text, value)) << text;
        EXPECT_TRUE(std::isnan(value));
    }
    float value = 0.0F;
    EXPECT_FALSE(wgn::io::parse_real("-NaN", value));
}

TEST(RealText, RejectedForms) {
    for (const char* text : {"", "abc", "Inf", "-inf", "1.2.3", "1e", "e5", ".", "-", "1,5", "12.5mm", "0x10", "1e+",
                             "Infinit", "infinityx", "1 2"}) {
        float value = 0.0F;
        EXPECT_FALSE(wgn::io::parse_real(text, value)) << '"' << text << '"';
    }
}

TEST(IntegerText, SignedThirtyTwoBits) {
    struct Case {
        const char* text;
        bool ok;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"1990", true, 1990},
        {"-5", true, -5},
        {"+0", true, 0},
        {"2147483647", true, INT32_MAX},
        {"-2147483648", true, INT32_MIN},
        {"2147483648", false, 0},
        {"99999999999999999999", false, 0},
        {"19.5", false, 0},
        {"abc", false, 0},
        {"", false, 0},
        {"-", false, 0},
        {"1e3", false, 0},
    };
    for (const Case& c : cases) {
        std::int32_t value = 0;
        EXPECT_EQ(wgn::io::parse_integer(c.text, value), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(value, c.expected) << c.text;
        }
    }
}

TEST(FixedField, BlanksImpliedPointAndSpecials) {
    struct Case {
        const char* record;
        ReadStatus status;
        float expected;
    };
    const Case cases[] = {
        {"        0.13", ReadStatus::ok, 0.13F},
        {"            ", ReadStatus::ok, 0.0F},
        {"", ReadStatus::ok, 0.0F},  // a short record reads as blanks
        {"      1 2 34", ReadStatus::ok, 12.34F},
        {"        1234", ReadStatus::ok, 12.34F},
        {"       -0.01", ReadStatus::ok, -0.01F},
        {"   1.5E+02  ", ReadStatus::ok, 150.0F},
        {" Infinity   ", ReadStatus::ok, std::numeric_limits<float>::infinity()},
        {" -Infinity  ", ReadStatus::ok, -std::numeric_limits<float>::infinity()},
        {"        1.2x", ReadStatus::conversion_error, 0.0F},
        {"************", ReadStatus::conversion_error, 0.0F},
        {"        0.13EXTRA", ReadStatus::ok, 0.13F},  // only the first 12 characters belong to the field
        {"           .", ReadStatus::ok, 0.0F},        // fuzz finding: what F1.0 writes for zero reads back
        {"          -.", ReadStatus::ok, -0.0F},
        {"           -", ReadStatus::conversion_error, 0.0F},
    };
    for (const Case& c : cases) {
        float value = 99.0F;
        EXPECT_EQ(wgn::io::read_real_field(c.record, 0, 12, 2, value), c.status) << c.record;
        if (c.status == ReadStatus::ok) {
            EXPECT_EQ(bits_of(value), bits_of(c.expected)) << c.record;
        }
    }
    float value = 0.0F;
    EXPECT_EQ(wgn::io::read_real_field(" NaN        ", 0, 12, 2, value), ReadStatus::ok);
    EXPECT_TRUE(std::isnan(value));
}

// The month files rely on this: what F12.2 writes, F12.2 reads back as the
// float nearest to the printed decimal.
TEST(FixedField, MonthFileRoundTrip) {
    for (const float value : {0.004F, 0.006F, 0.125F, 2.675F, 12.5F, -3.333F, 99999.99F, 1234567.8F, 0.0F}) {
        std::string record;
        wgn::io::append_real_field(record, value, 12, 2);
        float back = 0.0F;
        ASSERT_EQ(wgn::io::read_real_field(record, 0, 12, 2, back), ReadStatus::ok) << record;
        float expected = 0.0F;
        ASSERT_TRUE(wgn::io::parse_real(std::string(record.substr(record.find_first_not_of(' '))), expected));
        EXPECT_EQ(bits_of(back), bits_of(expected)) << record;
    }
}

}  // namespace
