// A number's text checked where it is made, and the words the weather
// record uses about its units and the months filled from a reference.
#include <gtest/gtest.h>

#include <stdexcept>

#include "weather/decimal_text.hpp"
#include "weather/record_notes.hpp"

namespace wgn {
namespace {

using readers::Unit;
using readers::Variable;
using weather::DecimalText;

TEST(DecimalText, KeepsItsTextAndItsPlainDigits) {
    struct Case {
        const char* text;
        const char* plain;  // nullptr: not a number it can hold
    };
    const Case cases[] = {
        {"64.17", "64.17"}, {"4.0585e1", "40.585"}, {"-2.5e-3", "-0.0025"}, {".5", ".5"},
        {"0e999", "0"},     {"NaN", nullptr},       {"inf", nullptr},       {"1e999", nullptr},
        {"", nullptr},      {"12mm", nullptr},      {"1e-400", nullptr},
    };
    for (const Case& c : cases) {
        const std::optional<DecimalText> value = DecimalText::read(c.text);
        if (c.plain == nullptr) {
            EXPECT_FALSE(value) << c.text;
            continue;
        }
        ASSERT_TRUE(value) << c.text;
        EXPECT_EQ(value->text(), c.text);
        EXPECT_EQ(value->plain(), c.plain);
        EXPECT_FALSE(value->empty());
    }
}

TEST(DecimalText, MadeDigitsThatAreNoNumberAreAFault) {
    EXPECT_EQ(DecimalText::made("3.20").text(), "3.20");
    EXPECT_TRUE(DecimalText::made("").empty());  // no value
    EXPECT_EQ(DecimalText::whole(30), "30");
    EXPECT_EQ(DecimalText::whole(-7).plain(), "-7");
    for (const char* bad : {"NaN", "-nan", "1.5mm", "*****"}) {
        EXPECT_THROW(DecimalText::made(bad), std::logic_error) << bad;
    }
    EXPECT_TRUE(DecimalText{}.empty());
    EXPECT_EQ(DecimalText{}.text(), "");
}

TEST(RecordNotes, UnitNotes) {
    struct Case {
        Variable variable;
        Unit unit;
        bool stated;
        long clipped;
        const char* note;
    };
    const Case cases[] = {
        {Variable::rh, Unit::kFraction, false, 4, "rh fraction (told by the values; 4 above 1 taken as 1)"},
        {Variable::rh, Unit::kPercent, false, 1, "rh percent (told by the values; 1 above 100 taken as 100)"},
        {Variable::rh, Unit::kPercent, true, 0, "rh percent (stated)"},
        {Variable::tmax, Unit::kFahrenheit, true, 0, "tmp F"},
        {Variable::tmin, Unit::kFahrenheit, true, 0, ""},
        {Variable::dew, Unit::kFahrenheit, true, 0, ""},
        {Variable::tmax, Unit::kCelsius, true, 0, ""},
        {Variable::slr, Unit::kMegajoulesPerDay, false, 0, ""},
        {Variable::wnd, Unit::kMetresPerSecond, true, 0, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(weather::unit_note(c.variable, c.unit, c.stated, c.clipped), c.note) << c.note;
    }
}

TEST(RecordNotes, FilledNames) {
    struct Case {
        std::vector<int> months;
        const char* name;
    };
    const Case cases[] = {
        {{1, 2}, "dew_ave(1,2)"},
        {{12}, "dew_ave(12)"},
        {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, "dew_ave"},
    };
    for (const Case& c : cases) EXPECT_EQ(weather::filled_name("dew_ave", c.months), c.name) << c.name;
}

}  // namespace
}  // namespace wgn
