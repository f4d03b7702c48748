// Output fields: every case is one row of (value, field, exact text).
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "io/field_format.hpp"
#include "io/field_list.hpp"

namespace {

using wgn::io::append_integer_field;
using wgn::io::append_real_field;
using wgn::io::append_text_field;

std::string real_field(float value, int width, int digits) {
    std::string out;
    append_real_field(out, value, width, digits);
    return out;
}

float from_bits(std::uint32_t bits) {
    return std::bit_cast<float>(bits);
}

struct RealCase {
    float value;
    int width;
    int digits;
    const char* expected;
};

constexpr float kInf = std::numeric_limits<float>::infinity();

TEST(RealField, RoundsTheExactValueHalfAwayFromZero) {
    const RealCase cases[] = {
        {0.125F, 12, 2, "        0.13"},  // exact half: away from zero
        {-0.125F, 12, 2, "       -0.13"},
        {0.375F, 12, 2, "        0.38"},  // half with an odd digit before it
        {2.675F, 12, 2, "        2.67"},  // the float lies below 2.675
        {0.995F, 12, 2, "        1.00"},
        {-0.004F, 12, 2, "        0.00"},  // rounds to zero: no sign
        {-0.006F, 12, 2, "       -0.01"},
        {-0.0F, 12, 2, "        0.00"},
        {0.0F, 12, 2, "        0.00"},
        {1234.5678F, 12, 4, "   1234.5677"},  // 1234.5677490234375
        {1234.567F, 10, 2, "   1234.57"},
        {123456789.0F, 12, 2, "123456792.00"},
        {0.5F, 1, 0, "*"},  // "1." needs two characters
        {0.5F, 2, 0, "1."},
        {2.5F, 3, 0, " 3."},
        {1.0e9F, 12, 2, "************"},
        {-12345678.0F, 12, 2, "-12345678.00"},
        {-123456792.0F, 12, 2, "************"},
        {100000.0F, 8, 2, "********"},
        {99999.99F, 8, 2, "99999.99"},
        {0.01F, 12, 2, "        0.01"},
        {0.005F, 12, 2, "        0.00"},  // 0.005f lies just below 0.005
        {0.015F, 12, 2, "        0.01"},  // 0.015f lies just below 0.015
        {12.0F, 15, 2, "          12.00"},
    };
    for (const RealCase& c : cases)
        EXPECT_EQ(real_field(c.value, c.width, c.digits), c.expected) << c.value << " F" << c.width << '.' << c.digits;
}

TEST(RealField, GivesUpTheLeadingZeroBeforeOverflowing) {
    const RealCase cases[] = {
        {0.5F, 4, 2, "0.50"}, {0.5F, 3, 2, ".50"}, {-0.5F, 4, 2, "-.50"}, {-0.5F, 5, 2, "-0.50"}, {0.5F, 2, 2, "**"},
    };
    for (const RealCase& c : cases) EXPECT_EQ(real_field(c.value, c.width, c.digits), c.expected) << c.width;
}

TEST(RealField, SpecialValuesStandAfterOneBlank) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const RealCase cases[] = {
        {nan, 12, 4, " NaN        "}, {nan, 10, 2, " NaN      "},    {nan, 4, 2, " NaN"},
        {nan, 3, 2, "***"},           {kInf, 12, 4, " Infinity   "}, {-kInf, 12, 4, " -Infinity  "},
        {kInf, 9, 2, " Infinity"},    {kInf, 8, 2, "********"},      {-kInf, 9, 2, "*********"},
    };
    for (const RealCase& c : cases) EXPECT_EQ(real_field(c.value, c.width, c.digits), c.expected) << c.width;
}

TEST(RealField, ExtremeBitPatterns) {
    // Largest and smallest magnitudes need the wide integer arithmetic.
    EXPECT_EQ(real_field(std::numeric_limits<float>::max(), 42, 2), "340282346638528859811704183484516925440.00");
    EXPECT_EQ(real_field(std::numeric_limits<float>::max(), 41, 2), std::string(41, '*'));
    EXPECT_EQ(real_field(from_bits(1), 12, 2), "        0.00");  // smallest subnormal
    EXPECT_EQ(real_field(from_bits(0x80000001U), 12, 2), "        0.00");
    EXPECT_EQ(real_field(std::ldexp(1.0F, -149), 12, 40).size(), 12U);
    // 2^-7 = 0.0078125 at d = 7 is exact, at d = 6 a half that goes up.
    EXPECT_EQ(real_field(0.0078125F, 12, 7), "   0.0078125");
    EXPECT_EQ(real_field(0.0078125F, 12, 6), "    0.007813");
    EXPECT_EQ(real_field(16777216.0F, 20, 10), " 16777216.0000000000");
}

TEST(IntegerField, RightJustifiedOrAsterisks) {
    struct Case {
        std::int32_t value;
        int width;
        const char* expected;
    };
    const Case cases[] = {
        {0, 8, "       0"},
        {1000, 3, "***"},
        {999, 3, "999"},
        {-99, 3, "-99"},
        {-100, 3, "***"},
        {1961, 4, "1961"},
        {-999, 4, "-999"},
        {10000, 4, "****"},
        {5, 3, "  5"},
        {INT32_MIN, 11, "-2147483648"},
        {INT32_MIN, 10, "**********"},
    };
    for (const Case& c : cases) {
        std::string out;
        append_integer_field(out, c.value, c.width);
        EXPECT_EQ(out, c.expected) << c.value;
    }
}

TEST(TextField, RightJustifiesOrCuts) {
    struct Case {
        const char* text;
        int width;
        const char* expected;
    };
    const Case cases[] = {
        {"Input Filename: ", 30, "              Input Filename: "},
        {"Number of Leap Years = ", 22, "Number of Leap Years ="},
        {"Please choose another Output Filename!", 38, "Please choose another Output Filename!"},
        {"", 3, "   "},
    };
    for (const Case& c : cases) {
        std::string out;
        append_text_field(out, c.text, c.width);
        EXPECT_EQ(out, c.expected);
    }
}

TEST(FieldList, RepeatCountsAndUnreachedFields) {
    const wgn::io::FieldList row("(A8, F10.2, 4F12.4, F10.2)");
    ASSERT_EQ(row.fields().size(), 7U);
    std::string out;
    wgn::io::append_fields(out, row,
                           {std::string_view("Jan."), 13.5F, 1.6557993F, 4.3262844F, 0.01754386F, 0.4F, 2.5F});
    EXPECT_EQ(out, "    Jan.     13.50      1.6558      4.3263      0.0175      0.4000      2.50");
    out.clear();
    wgn::io::append_fields(out, row, {std::string_view("Feb.")});  // later fields are not written
    EXPECT_EQ(out, "    Feb.");
}

}  // namespace
