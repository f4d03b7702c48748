// The complete weather-generator record without files: exact decimals, the
// monthly statistics worked out by hand, the dew point the model turns back
// into the humidity it was given, the model's notes, and the layouts of the
// model files read back as the models read them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <sstream>

#include "modelfiles/fixed_text.hpp"
#include "modelfiles/model_files.hpp"
#include "modelfiles/model_fit.hpp"
#include "readers/calendar_days.hpp"
#include "readers/daily_number.hpp"
#include "readers/number_text.hpp"
#include "readers/plain_decimal.hpp"
#include "record_adapters.hpp"
#include "text/plain_text.hpp"
#include "weather/dew_point.hpp"
#include "weather/exact_decimal.hpp"
#include "weather/model_notes.hpp"
#include "weather/monthly_statistics.hpp"
#include "weather/position.hpp"
#include "weather/weather_record.hpp"

namespace wgn {
namespace weather {
// A note as a failure shows it.
void PrintTo(const ModelNote& note, std::ostream* out) {
    *out << (note.kind == NoteKind::change ? "change: "
             : note.kind == NoteKind::note ? "note: "
                                           : "information: ")
         << note.text;
}
}  // namespace weather
namespace {

using testing::decimal;
using weather::DayValue;
using weather::DecimalText;

// How the model files lay out a text: nothing for a text that is not a
// number, which never becomes a DecimalText.
std::string fixed_of(const char* text, int decimals) {
    const std::optional<DecimalText> value = DecimalText::read(text);
    return value ? modelfiles::fixed(*value, decimals) : std::string();
}
std::string fortran_of(const char* text, int width, int decimals) {
    const std::optional<DecimalText> value = DecimalText::read(text);
    return value ? modelfiles::fortran_f(*value, width, decimals) : std::string();
}

// A short plain decimal has its digits counted from their number, a long
// one digit by digit: leading zeros, which make a text long and change
// nothing else, give the same digits either way.
TEST(ExactDecimal, PlainDigitsShortAndLong) {
    for (const char* text : {"12.5", "-0.05", "0", "0.000", "+7", "123456789012345", "1234567890.12345", "-.5", "100",
                             "9.99", "1.", "-0"}) {
        const std::string sign = text[0] == '-' || text[0] == '+' ? std::string(1, text[0]) : std::string();
        const std::string padded = sign + std::string(20, '0') + std::string(text + sign.size());
        for (const int most : {15, 16}) {
            const auto short_read = readers::plain_digits(text, most), long_read = readers::plain_digits(padded, most);
            ASSERT_TRUE(short_read && long_read) << text;
            EXPECT_EQ(short_read->negative, long_read->negative) << text;
            EXPECT_EQ(short_read->digits, long_read->digits) << text;
            EXPECT_EQ(short_read->significant, long_read->significant) << text;
            EXPECT_EQ(short_read->decimals, long_read->decimals) << text;
        }
    }
    for (const char* bad : {"", "-", ".", "1.2.3", "1e5", "12a"}) EXPECT_FALSE(readers::plain_digits(bad, 15)) << bad;
    std::int64_t ten = 1;
    for (int digits = 1; digits <= 18; ++digits, ten *= 10) {
        EXPECT_EQ(readers::decimal_length(ten), digits) << ten;
        EXPECT_EQ(readers::decimal_length(ten * 10 - 1), digits) << ten;
    }
    EXPECT_EQ(readers::decimal_length(0), 0);
    EXPECT_EQ(readers::decimal_length(std::numeric_limits<std::int64_t>::max()), 19);
}

TEST(ExactDecimal, Billionths) {
    const std::pair<const char*, std::int64_t> cases[] = {
        {"12.5", 12500000000},     {"-0.3", -300000000},
        {"1.25E+01", 12500000000}, {"0", 0},
        {".5", 500000000},         {"100000", 100000000000000},
        {"0.0000000015", 2},       {"-0.0000000015", -2},
        {"0.0000000014", 1},       {"1e-12", 0},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(weather::billionths(text), value) << text;
    for (const char* bad : {"100000.1", "1e6", "abc", "", "1e999"}) EXPECT_FALSE(weather::billionths(bad)) << bad;
    // Leading zeros, however many, are no digits of the value.
    EXPECT_EQ(weather::billionths("000"), 0);
    EXPECT_EQ(weather::billionths(std::string(300000, '0') + "1.5"), 1500000000);
    EXPECT_EQ(weather::billionths("-" + std::string(300000, '0') + ".25e1"), -2500000000);
}

// A day's value as its reader keeps it gives the number and the billionths
// its text gives when read again.
void expect_read_once(const std::string& text) {
    int decimals = 0;
    const std::optional<double> number = readers::number_value(text, decimals);
    if (!number) return;
    readers::DailyValue value;
    readers::read_daily_text(value, text, *number, decimals);
    const std::optional<double> kept = readers::number_of(value);
    ASSERT_TRUE(kept.has_value()) << text;
    ASSERT_EQ(std::memcmp(&*kept, &*number, sizeof(double)), 0) << text;
    ASSERT_EQ(weather::billionths_of(value), weather::billionths(text)) << text;
}

// Plain decimals (no exponent) are read by a quick path of their own; the
// same text with "e0" added takes the general one.  Both must agree on every
// text: signs, leading zeros, up to 20 digits on each side of the point; and
// a value its reader read keeps what both give.
TEST(ExactDecimal, PlainDecimalsReadAsWithAnExponent) {
    std::mt19937 random(20261209);
    const auto digits = [&](int most) {
        std::string text(static_cast<std::size_t>(std::uniform_int_distribution<int>(0, most)(random)), '0');
        for (char& c : text) c = static_cast<char>('0' + std::uniform_int_distribution<int>(0, 9)(random));
        return text;
    };
    const auto bits = [](std::optional<double> value) {
        std::uint64_t word = 0;
        if (value) std::memcpy(&word, &*value, sizeof word);
        return std::pair{value.has_value(), word};
    };
    for (int n = 0; n < 200000; ++n) {
        const char* signs[] = {"", "-", "+"};
        std::string text = signs[n % 3];
        if (n % 5 == 0) text += std::string(static_cast<std::size_t>(n % 7), '0');
        text += digits(n % 4 == 0 ? 18 : 6);
        if (n % 2 == 0) text += "." + digits(n % 8 == 0 ? 20 : 10);
        const std::string general = text + "e0";
        ASSERT_EQ(bits(readers::number_value(text)), bits(readers::number_value(general))) << text;
        ASSERT_EQ(weather::billionths(text), weather::billionths(general)) << text;
        expect_read_once(text);
    }
    for (const char* text : {"99999.999999999", "-99999.999999999", "100000", "100000.000000001", "-0", "-0.0",
                             "0.000000001", "0.0000000005", "12.5e0", "+7.25"})
        expect_read_once(text);
    // A text changed after its reading is read again.
    readers::DailyValue value;
    readers::read_daily_text(value, "12.5", 12.5, 1);
    value.set_text("0.75");
    EXPECT_EQ(readers::number_of(value), 0.75);
    EXPECT_EQ(weather::billionths_of(value), 750000000);
}

TEST(ExactDecimal, RoundedHalfAwayFromZero) {
    struct Case {
        long long numerator, denominator;
        int decimals;
        const char* text;
    };
    const Case cases[] = {
        {1234567, 100000, 2, "12.35"}, {-5, 1000, 2, "-0.01"}, {5, 1000, 2, "0.01"}, {4, 1000, 2, "0.00"},
        {-4, 1000, 2, "0.00"},         {1, 40, 2, "0.03"},     {16, 5, 2, "3.20"},   {2, 3, 0, "1"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(weather::rounded_text(c.numerator, c.denominator, c.decimals), c.text)
            << c.numerator << "/" << c.denominator;
    }
    EXPECT_EQ(weather::two_decimals(-2.345), "-2.35");
}

TEST(ExactDecimal, NoValueFromANonFiniteDouble) {
    // llround of these has no defined answer: they are no value, never digits.
    for (const double value : {std::nan(""), HUGE_VAL, -HUGE_VAL, 1e300, -9e16}) {
        EXPECT_EQ(weather::two_decimals(value), "") << value;
    }
    EXPECT_EQ(weather::two_decimals(8.9e16), "89000000000000000.00");
}

TEST(PlainDecimal, ExponentsWrittenOutDigitForDigit) {
    const std::pair<const char*, const char*> cases[] = {
        {"4.0585e1", "40.585"}, {"1.50E+01", "15.0"},   {"-2.5e-3", "-0.0025"},
        {"1e2", "100"},         {"0.0025e0", "0.0025"}, {"100e-2", "1.00"},
        {"-0e5", "0"},          {"0e999999999", "0"},   {"+7e0", "7"},
        {"12.5", "12.5"},       {".5", ".5"},           {"-1E-37", "-0.0000000000000000000000000000000000001"},
    };
    for (const auto& [text, plain] : cases) EXPECT_EQ(readers::plain_decimal(text), plain) << text;
    // Too long written out: large (the digits before the point alone), or long.
    const std::tuple<const char*, bool> refused[] = {
        {"1e308", true}, {"1e40", true}, {"-1e99999999999999999999", true}, {"1e-400", false}, {"1e-40", false},
    };
    for (const auto& [text, large] : refused) {
        bool too_large = !large;
        EXPECT_FALSE(readers::plain_decimal(text, &too_large)) << text;
        EXPECT_EQ(too_large, large) << text;
    }
    for (const char* bad : {"abc", "", "1e", "NaN", "inf", "1.5mm"}) EXPECT_FALSE(readers::plain_decimal(bad)) << bad;
}

TEST(Position, BoundsComparedOnTheDigits) {
    using weather::kElevation;
    using weather::kLatitude;
    using weather::kLongitude;
    struct Case {
        weather::Coordinate coordinate;
        const char* text;
        const char* plain;  // nullptr: refused with `why`
        const char* why;
    };
    const Case cases[] = {
        {kLatitude, "52.1", "52.1", ""},
        {kLatitude, "4.0585e1", "40.585", ""},
        {kLatitude, "90", "90", ""},
        {kLatitude, "-90.000", "-90.000", ""},
        {kLatitude, "9e1", "90", ""},
        {kLatitude, "91", nullptr, "\"91\" is not a latitude (-90 ... 90)"},
        {kLatitude, "90.0000000001", nullptr, "\"90.0000000001\" is not a latitude (-90 ... 90)"},
        {kLatitude, "-90.01", nullptr, "\"-90.01\" is not a latitude (-90 ... 90)"},
        {kLatitude, "1e308", nullptr, "\"1e308\" is not a latitude (-90 ... 90)"},
        {kLatitude, "1e-400", nullptr, "\"1e-400\" takes more than 40 characters written without its exponent"},
        {kLatitude, "1e-5", "0.00001", ""},
        {kLatitude, "N52", nullptr, "\"N52\" is not a number"},
        {kLongitude, "-180", "-180", ""},
        {kLongitude, "180.5", nullptr, "\"180.5\" is not a longitude (-180 ... 180)"},
        {kLongitude, "-1.051e2", "-105.1", ""},
        {kElevation, "-450", "-450", ""},
        {kElevation, "-450.1", nullptr, "\"-450.1\" is not an elevation (-450 ... 9000 m)"},
        {kElevation, "9000", "9000", ""},
        {kElevation, "9000.01", nullptr, "\"9000.01\" is not an elevation (-450 ... 9000 m)"},
        {kElevation, "-999.9", nullptr, "\"-999.9\" is not an elevation (-450 ... 9000 m)"},
        {kElevation, "0001559.21", "0001559.21", ""},
        {kElevation, "1559m", nullptr, "\"1559m\" is not a number"},
    };
    for (const Case& c : cases) {
        const Result<DecimalText> plain = weather::position_text(c.coordinate, c.text);
        if (c.plain != nullptr) {
            ASSERT_TRUE(plain) << c.text;
            EXPECT_EQ(*plain, c.plain) << c.text;
        } else {
            ASSERT_FALSE(plain) << c.text;
            EXPECT_EQ(plain.problem().message(), c.why) << c.text;
        }
    }
}

// Days of January 2001 (and February where asked) with the given values.
std::vector<DayValue> january(std::initializer_list<const char*> values, int month = 1) {
    std::vector<DayValue> days;
    int day = 1;
    for (const char* value : values)
        days.push_back({readers::day_number({2001, month, day++}), *weather::billionths(value)});
    return days;
}

TEST(MonthlyStatistics, WorkedByHand) {
    // 1, 2, 4, 4, 5: mean 16/5 = 3.2; squares about the mean 4.84 + 1.44 + 0.64 + 0.64 + 3.24 = 10.8,
    // sample variance 10.8 / 4 = 2.7, sd 1.643167... -> 1.64.
    const auto days = january({"1", "2", "4", "4", "5"});
    EXPECT_EQ(weather::monthly_means(days)[0], "3.20");
    EXPECT_EQ(weather::monthly_deviations(days)[0], "1.64");
    // Four days are too few for a value; the other months have none.
    EXPECT_EQ(weather::monthly_means(january({"1", "2", "3", "4"}))[0], "");
    EXPECT_EQ(weather::monthly_means(days)[1], "");
    // A mean exactly halfway rounds away from zero: (0.1 + 0 + 0 + 0 + 0.025) / 5 = 0.025 -> 0.03,
    // and -0.025 -> -0.03, where a binary sum could land either side.
    EXPECT_EQ(weather::monthly_means(january({"0.1", "0", "0", "0", "0.025"}))[0], "0.03");
    EXPECT_EQ(weather::monthly_means(january({"-0.1", "0", "0", "0", "-0.025"}))[0], "-0.03");
    // Equal values: a deviation of 0.
    EXPECT_EQ(weather::monthly_deviations(january({"7", "7", "7", "7", "7"}))[0], "0.00");
    // km/h to m/s: 36, 36, 36, 36, 72 km/h -> mean 43.2 km/h = 12 m/s.
    EXPECT_EQ(weather::monthly_means(january({"36", "36", "36", "36", "72"}), {10, 36})[0], "12.00");
    // The largest value of a month, any number of days, and times a factor.
    EXPECT_EQ(weather::monthly_largest(january({"3.5", "12.25"}))[0], "12.25");
    EXPECT_EQ(weather::monthly_largest(january({"10"}), 0.5)[0], "5.00");
}

TEST(DewPoint, TheModelRecoversTheHumidity) {
    // The model turns a dew point back into humidity as e(dew) / e(T mean).
    for (const double humidity : {0.05, 0.3, 0.5, 0.75, 0.99, 1.0}) {
        for (const double temperature : {-20.0, -2.5, 0.0, 12.0, 25.0, 40.0}) {
            const double dew = weather::dew_point(humidity, temperature);
            EXPECT_NEAR(weather::saturation_pressure(dew) / weather::saturation_pressure(temperature), humidity, 1e-12)
                << humidity << " at " << temperature;
        }
    }
    EXPECT_NEAR(weather::dew_point(1.0, 12.0), 12.0, 1e-12);
}

TEST(FixedText, DigitsKeptOrRoundedHalfAwayFromZero) {
    const std::tuple<const char*, int, const char*> fixed[] = {
        {"64.17", 5, "64.17000"}, {"3.8913", 2, "3.89"},
        {"0.125", 2, "0.13"},     {"-0.125", 2, "-0.13"},
        {"9.995", 2, "10.00"},    {"-0.004", 2, "-0.00"},
        {"12", 1, "12.0"},        {"1.5E+01", 2, "15.00"},
        {".5", 0, "1"},           {"4.0585e1", 5, "40.58500"},
        {"-1e-9", 2, "-0.00"},    {"1e308", 5, ""},
        {"NaN", 2, ""},           {"", 2, ""},
    };
    for (const auto& [text, decimals, shown] : fixed) EXPECT_EQ(fixed_of(text, decimals), shown) << text;
    const std::tuple<const char*, int, int, const char*> fortran[] = {
        {"64.17", 6, 1, "  64.2"}, {"12345.6", 6, 2, "******"},   {"-0.25", 5, 2, "-0.25"},
        {"-0.25", 4, 2, "-.25"},   {"1559.21", 7, 2, "1559.21"},  {"NaN", 6, 2, ""},
        {"1e308", 6, 2, ""},       {"9.99999e2", 6, 2, "******"}, {"9.99999e2", 6, 1, "1000.0"},
    };
    for (const auto& [text, width, decimals, shown] : fortran) {
        EXPECT_EQ(fortran_of(text, width, decimals), shown) << text;
    }
}

weather::WeatherRecord sample_record() {
    weather::WeatherRecord record;
    record.latitude = decimal("52.1");
    record.longitude = decimal("-5.18");
    record.elevation = decimal("2");
    record.rain_yrs = decimal("30");
    constexpr std::array<const char*, 14> kMonth = {"12.34",  "2.50",   "3.10",  "2.20", "64.17", "3.8913", "1.2345",
                                                    "0.3000", "0.6000", "12.86", "5.00", "10.25", "6.00",   "3.30"};
    for (std::size_t m = 0; m < 12; ++m) {
        for (std::size_t c = 0; c < 14; ++c) record.values[m][c] = decimal(kMonth[c]);
    }
    return record;
}

TEST(Position, TheListsElseTheFilesRefusedWithItsPlace) {
    struct Case {
        std::array<const char*, 3> listed, file;
        bool ghcnd;
        std::array<const char*, 3> position;
        const char* problem;
    };
    const Case cases[] = {
        {{"", "", ""}, {"40.5853", "-105.0844", "1559.2"}, true, {"40.5853", "-105.0844", "1559.2"}, ""},
        {{"52", "", "1e1"}, {"91", "5", "-999.9"}, true, {"52", "5", "10"}, ""},
        {{"", "", ""},
         {"40.5853", "-105.0844", "-999.9"},
         true,
         {"", "", ""},
         "E, column elev: elevation unknown (-999.9): give elev in the list"},
        {{"", "", ""},
         {"40", "5", "-999.9"},
         false,
         {"", "", ""},
         "E, column elev: \"-999.9\" is not an elevation (-450 ... 9000 m)"},
        {{"", "", ""}, {"abc", "5", "2"}, true, {"", "", ""}, "A, column lat: \"abc\" is not a number"},
        {{"", "", ""},
         {"45", "1.805e2", "2"},
         false,
         {"", "", ""},
         "O, column lon: \"1.805e2\" is not a longitude (-180 ... 180)"},
        {{"", "", ""}, {"4.0585e1", "", "2"}, false, {"40.585", "", "2"}, ""},
        {{"", "", ""}, {"", "", ""}, false, {"", "", ""}, ""},
    };
    for (const Case& c : cases) {
        std::array<weather::GivenCoordinate, 3> given;
        const char* places[3] = {"A, column lat", "O, column lon", "E, column elev"};
        for (std::size_t i = 0; i < 3; ++i) given[i] = {c.listed[i], c.file[i], places[i]};
        const Result<weather::Position> taken = weather::take_position(given, c.ghcnd);
        std::array<std::string, 3> position;
        for (std::size_t i = 0; taken && i < 3; ++i) position[i] = (*taken)[i].text();
        const std::string problem = taken ? "" : taken.problem().message();
        EXPECT_EQ(position, (std::array<std::string, 3>{c.position[0], c.position[1], c.position[2]})) << c.file[0];
        EXPECT_EQ(problem, c.problem) << c.file[0];
    }
}

TEST(ModelFiles, CliBlockReadBackInFreeFormat) {
    const weather::WeatherRecord record = sample_record();
    const std::string text = modelfiles::cli_title("1.0.0") + modelfiles::cli_block("De Bilt", record);
    // As the model reads it: the title, then per station 14 lines of values
    // separated by blanks.
    std::istringstream in(text);
    std::string line;
    std::getline(in, line);
    std::getline(in, line);
    std::istringstream station(line);
    std::string name;
    double lat = 0, lon = 0, elev = 0;
    int years = 0;
    station >> name >> lat >> lon >> elev >> years;
    EXPECT_EQ(name, "De_Bilt");
    EXPECT_EQ(line.substr(0, 27), "De_Bilt                    ");
    EXPECT_DOUBLE_EQ(lat, 52.1);
    EXPECT_DOUBLE_EQ(lon, -5.18);
    EXPECT_EQ(years, 30);
    std::getline(in, line);
    for (std::size_t m = 0; m < 12; ++m) {
        std::getline(in, line);
        std::istringstream values(line);
        for (std::size_t c = 0; c < 14; ++c) {
            double value = 0;
            values >> value;
            EXPECT_DOUBLE_EQ(value, std::stod(record.values[m][c].text())) << m << " " << c;
        }
    }
    // And our own reader gives back the very digits, five decimals wide.
    const Result<std::vector<weather::ReferenceStation>> read = modelfiles::read_cli(text);
    ASSERT_TRUE(read) << read.problem().message();
    const std::vector<weather::ReferenceStation>& stations = *read;
    ASSERT_EQ(stations.size(), 1U);
    EXPECT_EQ(modelfiles::find_station(stations, "de bilt"), &stations[0]);
    EXPECT_EQ(stations[0].values[11][5], "3.89130");
    const Result<std::vector<weather::ReferenceStation>> short_header =
        modelfiles::read_cli("title\nx 1 2 3 4\nheader\n1 2\n");
    ASSERT_FALSE(short_header);
    EXPECT_EQ(short_header.problem().message(), "line 3: not the header line of 14 names");
}

// Older reference files: the column-name line left out, or in SWAT 2012's
// names (in any order: the values go by name).  Each layout reads to the
// stations of the layout the batch writes.
TEST(ModelFiles, CliLayoutsReadAlike) {
    weather::WeatherRecord record = sample_record();
    for (std::size_t m = 0; m < 12; ++m) {
        for (std::size_t c = 0; c < 14; ++c) record.values[m][c] = decimal(std::to_string(100 * m + c) + ".25");
    }
    const std::string written = modelfiles::cli_title("1.0.0") + modelfiles::cli_block("De Bilt", record) +
                                modelfiles::cli_block("ftc", record);
    // Each line of the written text through `change` (the column-name lines,
    // the month lines); empty: the line is left out.
    using Change = std::function<std::string(const std::vector<std::string>& fields, bool names)>;
    const auto relaid = [&](const Change& change, std::string_view line_end) {
        std::istringstream in(written);
        std::string text, line;
        for (int number = 1; std::getline(in, line); ++number) {
            std::istringstream split(line);
            std::vector<std::string> fields;
            for (std::string field; split >> field;) fields.push_back(field);
            const int in_block = (number - 2) % 14;  // 0: the station line, 1: the column names
            const std::string changed = number == 1 || in_block == 0 ? line : change(fields, in_block == 1);
            if (!changed.empty()) text.append(changed).append(line_end);
        }
        return text;
    };
    const auto joined = [](const std::vector<std::string>& fields) {
        std::string line;
        for (const std::string& field : fields) line.append(line.empty() ? "" : "  ").append(field);
        return line;
    };
    const std::vector<std::string> swat2012 = {"TMPMX", "TMPMN", "TMPSTDMX", "TMPSTDMN", "PCPMM",   "PCPSTD", "PCPSKW",
                                               "PR_W1", "PR_W2", "PCPD",     "RAINHHMX", "SOLARAV", "DEWPT",  "WNDAV"};
    const struct {
        const char* layout;
        Change change;
        std::string_view line_end;
    } cases[] = {
        {"as the batch writes it", [&](const auto& fields, bool) { return joined(fields); }, "\n"},
        {"no column-name line", [&](const auto& fields, bool names) { return names ? "" : joined(fields); }, "\n"},
        {"no column-name line, CR LF", [&](const auto& fields, bool names) { return names ? "" : joined(fields); },
         "\r\n"},
        {"SWAT 2012 names", [&](const auto& fields, bool names) { return joined(names ? swat2012 : fields); }, "\n"},
        {"SWAT 2012 names in lower case, PR_W(1)",
         [&](const auto& fields, bool names) {
             if (!names) return joined(fields);
             std::vector<std::string> lower;
             for (const std::string& name : swat2012) lower.push_back(text::lower_case(name));
             lower[7] = "pr_w(1)";
             return joined(lower);
         },
         "\n"},
        {"SWAT 2012 names, the columns in reverse order",
         [&](const auto& fields, bool names) {
             std::vector<std::string> reversed = names ? swat2012 : fields;
             std::reverse(reversed.begin(), reversed.end());
             return joined(reversed);
         },
         "\n"},
    };
    for (const auto& c : cases) {
        const Result<std::vector<weather::ReferenceStation>> read = modelfiles::read_cli(relaid(c.change, c.line_end));
        ASSERT_TRUE(read) << c.layout << ": " << read.problem().message();
        ASSERT_EQ(read->size(), 2U) << c.layout;
        for (const weather::ReferenceStation& station : *read) {
            EXPECT_EQ(
                (std::array<std::string, 4>{station.latitude, station.longitude, station.elevation, station.rain_yrs}),
                (std::array<std::string, 4>{"52.10000", "-5.18000", "2.00000", "30"}))
                << c.layout;
            for (std::size_t m = 0; m < 12; ++m) {
                for (std::size_t k = 0; k < 14; ++k)
                    EXPECT_EQ(station.values[m][k].text(), std::to_string(100 * m + k) + ".25000")
                        << c.layout << " " << m << " " << k;
            }
        }
        EXPECT_EQ((*read)[1].name, "ftc") << c.layout;
    }
    // Without the column-name line a block of 11 months is told as such.
    const std::string short_block =
        relaid([&](const auto& fields, bool names) { return names ? "" : joined(fields); }, "\n");
    const std::size_t last_line = short_block.rfind('\n', short_block.size() - 2);
    const Result<std::vector<weather::ReferenceStation>> cut =
        modelfiles::read_cli(short_block.substr(0, last_line + 1));
    ASSERT_FALSE(cut);
    EXPECT_EQ(cut.problem().message(), "line 26: a station of fewer than 12 months");
}

// A reference file may hold a name twice (as find_station compares names):
// every block of it is found, each with its line.
TEST(ModelFiles, EveryReferenceStationOfAName) {
    const weather::WeatherRecord record = sample_record();
    const std::string text = modelfiles::cli_title("1.0.0") + modelfiles::cli_block("De Bilt", record) +
                             modelfiles::cli_block("ftc", record) + modelfiles::cli_block("DE_BILT", record);
    const Result<std::vector<weather::ReferenceStation>> read = modelfiles::read_cli(text);
    ASSERT_TRUE(read) << read.problem().message();
    const std::vector<weather::ReferenceStation>& stations = *read;
    ASSERT_EQ(stations.size(), 3U);
    struct Case {
        const char* name;
        std::vector<int> lines;
    };
    const Case cases[] = {{"de bilt", {2, 30}}, {"De_Bilt", {2, 30}}, {"FTC", {16}}, {"ft", {}}, {"de  bilt", {}}};
    for (const Case& c : cases) {
        std::vector<int> lines;
        for (const weather::ReferenceStation* station : modelfiles::stations_named(stations, c.name))
            lines.push_back(station->line);
        EXPECT_EQ(lines, c.lines) << c.name;
    }
    EXPECT_EQ(modelfiles::find_station(stations, "de bilt"), &stations[0]);
}

TEST(ModelFiles, WgnFileInFixedColumns) {
    const std::string text = modelfiles::wgn_file("st", sample_record(), "1.0.0");
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 18U);
    // (12x, f7.2) for latitude, elevation and rain_yrs.
    EXPECT_EQ(lines[1].substr(12, 7), "  52.10");
    EXPECT_EQ(lines[2].substr(12, 7), "   2.00");
    EXPECT_EQ(lines[3].substr(12, 7), "  30.00");
    // 12 values of 6 characters a line, each with its own decimals where they fit.
    EXPECT_EQ(lines[4].substr(0, 12), " 12.34 12.34");
    EXPECT_EQ(lines[8].substr(0, 12), " 64.17 64.17");
    EXPECT_EQ(lines[9].substr(0, 6), "3.8913");
    EXPECT_EQ(lines[17].size(), 72U);
}

// The .wgn's fields: as many of a value's decimals as 6 (7) characters hold,
// never fewer than two where they fit, at least one, and always a point, so
// that Fortran's F input reads the digits written whatever its format's d.
TEST(ModelFiles, WgnFieldsHoldTheDigitsThatFit) {
    const modelfiles::NumberField value = modelfiles::wgn_field(weather::kWetDry);
    const std::pair<const char*, const char*> cases[] = {
        {"0.0964", "0.0964"},  {"20.39", " 20.39"},    {"3", "  3.00"},        {"1234.56", "1234.6"},
        {"-0.0964", "-.0964"}, {"0.123456", ".12346"}, {"-0.99996", "-1.000"}, {"99999.96", "******"},
        {"123456", "******"},  {"117.80", "117.80"},   {"0.1", "  0.10"},      {"1.5e1", " 15.00"},
    };
    for (const auto& [text, shown] : cases) EXPECT_EQ(modelfiles::field_text(decimal(text), value), shown) << text;
    EXPECT_EQ(modelfiles::field_text(decimal("40.58530"), modelfiles::kWgnPosition), "40.5853");
    EXPECT_EQ(modelfiles::field_text(decimal("1559.21"), modelfiles::kWgnPosition), "1559.21");
    EXPECT_EQ(modelfiles::field_text(decimal("117.8"), modelfiles::wgn_field(weather::kPcpAve)), " 117.8");

    // Read back as Fortran's F input reads a field with a point (the digits
    // as written), every value equals the value rounded to the decimals shown.
    std::mt19937 random(32);
    for (int n = 0; n < 20000; ++n) {
        const long long units = std::uniform_int_distribution<long long>(-9999999, 99999999)(random);
        const int decimals = std::uniform_int_distribution<int>(0, 5)(random);
        std::string text = std::to_string(std::llabs(units));
        if (decimals > 0) {
            if (text.size() <= static_cast<std::size_t>(decimals))
                text.insert(0, static_cast<std::size_t>(decimals) + 1 - text.size(), '0');
            text.insert(text.size() - static_cast<std::size_t>(decimals), ".");
        }
        if (units < 0) text.insert(0, "-");
        const std::string shown = modelfiles::field_text(decimal(text.c_str()), value);
        ASSERT_EQ(shown.size(), 6U) << text;
        if (shown.find('*') != std::string::npos) continue;
        const std::string written(text::trimmed(shown));
        ASSERT_NE(written.find('.'), std::string::npos) << text;
        const int kept = static_cast<int>(written.size() - written.find('.') - 1);
        ASSERT_EQ(*readers::number_value(written),
                  *readers::number_value(modelfiles::fixed(decimal(text.c_str()), kept)))
            << text;
        // No more decimals (up to the value's own, or two) would have fitted.
        if (kept < std::max(decimals, 2)) {
            ASSERT_NE(modelfiles::fortran_f(decimal(text.c_str()), 6, kept + 1).find('*'), std::string::npos) << text;
        }
    }
}

// A layout that makes SWAT 2012 throw wet_dry and wet_wet away is a change
// of the model's; the record's own four decimals never do.
TEST(ModelFiles, WgnLayoutThatChangesTheProbabilitiesIsNoted) {
    weather::WeatherRecord record = sample_record();
    EXPECT_FALSE(modelfiles::wgn_layout_note(record));
    record.values[2][weather::kWetDry] = decimal("0.123451");
    record.values[2][weather::kWetWet] = decimal("0.123454");
    const std::optional<weather::ModelNote> note = modelfiles::wgn_layout_note(record);
    ASSERT_TRUE(note);
    EXPECT_EQ(note->kind, weather::NoteKind::change);
    EXPECT_EQ(note->text,
              "wet_dry, wet_wet: SWAT 2012 replaces both from pcp_days in Mar, as the .wgn's 6 characters hold them "
              "(wet_wet .12345 <= wet_dry .12345)");
    // Values the model would replace anyway have their own note.
    record.values[2][weather::kWetWet] = decimal("0.123451");
    EXPECT_FALSE(modelfiles::wgn_layout_note(record));
}

TEST(ModelFit, EachFileTakesTheRecordsItsFieldsHold) {
    using modelfiles::kCliFile;
    using modelfiles::kWgnFile;
    struct Case {
        std::size_t month, column;  // the value changed; column 99: rain_yrs
        const char* value;
        std::array<bool, 3> in;  // cli, Editor tables, .wgn
        const char* reason;
    };
    constexpr std::size_t kRainYrs = 99;
    const Case cases[] = {
        {0, weather::kPcpAve, "64.17", {true, true, true}, ""},
        {0, weather::kPcpAve, "9999.9", {true, true, true}, ""},
        {6,
         weather::kPcpAve,
         "10234.5",
         {true, true, false},
         "not in st.wgn: pcp_ave 10234.5 of Jul is too wide for f6.1"},
        {0,
         weather::kPcpAve,
         "9999.95",
         {true, true, false},
         "not in st.wgn: pcp_ave 9999.95 of Jan is too wide for f6.1"},
        {1, weather::kPcpSd, "999.99", {true, true, true}, ""},
        {1, weather::kPcpSd, "1000.00", {true, true, true}, ""},  // 1000.0: one decimal kept
        {1,
         weather::kPcpSd,
         "99999.96",
         {true, true, false},
         "not in st.wgn: pcp_sd 99999.96 of Feb is too wide for f6.1"},
        {2, weather::kTmpMinAve, "-99.99", {true, true, true}, ""},
        {2, weather::kTmpMinAve, "-100.00", {true, true, true}, ""},
        {2,
         weather::kTmpMinAve,
         "-1000.00",
         {true, true, false},
         "not in st.wgn: tmp_min_ave -1000.00 of Mar is too wide for f6.1"},
        {3, weather::kWetDry, "-0.125", {true, true, true}, ""},
        {4,
         weather::kSlrAve,
         "999999.99999",
         {true, true, false},
         "not in st.wgn: slr_ave 999999.99999 of May is too wide for f6.1"},
        {4,
         weather::kSlrAve,
         "1000000",
         {false, true, false},
         "not in weather-wgn.cli: slr_ave 1000000 of May is too wide for f12.5; "
         "not in st.wgn: slr_ave 1000000 of May is too wide for f6.1"},
        {0,
         kRainYrs,
         "123456789",
         {false, true, false},
         "not in weather-wgn.cli: rain_yrs 123456789 is too wide for i8; "
         "not in st.wgn: rain_yrs 123456789 is too wide for f7.1"},
        {5, weather::kDewAve, "", {false, false, false}, "no dew_ave"},
    };
    for (const Case& c : cases) {
        weather::WeatherRecord record = sample_record();
        if (c.column == kRainYrs) {
            record.rain_yrs = decimal(c.value);
        } else {
            record.values[c.month][c.column] = decimal(c.value);
        }
        if (std::string(c.value).empty()) record.missing_variables = {"dew_ave"};
        const modelfiles::ModelFit fit = modelfiles::model_fit("st", record);
        EXPECT_EQ(fit.in, c.in) << c.value;
        EXPECT_EQ(fit.reason, c.reason) << c.value;
        // What fits is written without asterisks, by the same fields.
        if (fit.in[kWgnFile]) {
            EXPECT_EQ(modelfiles::wgn_file("st", record, "1").find('*'), std::string::npos) << c.value;
        }
        if (fit.in[kCliFile]) {
            EXPECT_EQ(modelfiles::cli_block("st", record).find('*'), std::string::npos) << c.value;
        }
    }
    // Many values too wide: the first, and how many more.
    weather::WeatherRecord record = sample_record();
    for (auto& month : record.values) month[weather::kPcpAve] = decimal("12345.6");
    EXPECT_EQ(modelfiles::model_fit("st", record).reason,
              "not in st.wgn: pcp_ave 12345.6 of Jan is too wide for f6.1 (and 11 more)");
    // A position refused keeps the station out of every file, and says why.
    record = sample_record();
    record.latitude = {};
    record.position_problem = "p.csv, line 4, column 21: \"91\" is not a latitude (-90 ... 90)";
    const modelfiles::ModelFit fit = modelfiles::model_fit("st", record);
    EXPECT_EQ(fit.in, (std::array<bool, 3>{false, false, false}));
    EXPECT_EQ(fit.reason, "no position: p.csv, line 4, column 21: \"91\" is not a latitude (-90 ... 90)");
}

TEST(ModelFiles, ReferenceValuesBecomePlainDecimals) {
    std::string head = "title\nref 52 5 2 30\n";
    for (const char* column : weather::kColumns) head.append(column).append(" ");
    head.append("\n");
    const auto station = [&](const char* first) {
        std::string text = head;
        for (int m = 0; m < 12; ++m) {
            text.append(m == 0 ? first : "1.0");
            for (int c = 1; c < 14; ++c) text.append(" 1.0");
            text.append("\n");
        }
        return text;
    };
    const Result<std::vector<weather::ReferenceStation>> read = modelfiles::read_cli(station("1.5e1"));
    ASSERT_TRUE(read) << read.problem().message();
    ASSERT_EQ(read->size(), 1U);
    EXPECT_EQ((*read)[0].values[0][0], "15");
    const Result<std::vector<weather::ReferenceStation>> too_long = modelfiles::read_cli(station("1e999"));
    ASSERT_FALSE(too_long);
    EXPECT_EQ(too_long.problem().message(),
              "line 4: \"1e999\" is not a number that can be written without an exponent");
    const Result<std::vector<weather::ReferenceStation>> nan = modelfiles::read_cli(station("NaN"));
    ASSERT_FALSE(nan);
    EXPECT_EQ(nan.problem().message(), "line 4: \"NaN\" is not a number");
}

TEST(WeatherRecord, ATemperatureWithoutADewPointIsRefused) {
    // tmax = tmin = -237.3 puts the day's mean where e(T) has its pole: no
    // such temperature is plausible, so the temperatures (on more days than
    // are left out as missing) are refused and no dew point is made of
    // them; the record keeps its other values.
    weather::WeatherInputs inputs;
    inputs.first_year = inputs.last_year = 2001;
    const auto day = [](int d, const char* text) {
        return readers::DailyValue{readers::day_number({2001, 1, d}), text};
    };
    for (int d = 1; d <= 12; ++d) {
        const char* t = d % 2 == 1 ? "-237.3" : "10";
        inputs.variables[readers::Variable::tmax].push_back(day(d, t));
        inputs.variables[readers::Variable::tmin].push_back(day(d, t));
        inputs.variables[readers::Variable::rh].push_back(day(d, "1"));
        inputs.variables[readers::Variable::wnd].push_back(day(d, "2"));
    }
    std::string problem;
    weather::WeatherRecord record = testing::make_record(inputs, problem);
    EXPECT_EQ(problem, "");
    EXPECT_EQ(record.values[0][weather::kDewAve], "");
    EXPECT_EQ(record.values[0][weather::kTmpMaxAve], "");
    EXPECT_EQ(record.values[0][weather::kWndAve], "2.00");
    ASSERT_EQ(record.refused.size(), 2U);
    EXPECT_EQ(record.refused[0],
              "tmax: tmax -237.3 on 2001-01-01 is below -90 °C (6 of its 12 days not plausible, more than the 5 "
              "taken as missing)");
    for (int d = 1; d <= 12; d += 2) {
        inputs.variables[readers::Variable::tmax][d - 1] = inputs.variables[readers::Variable::tmin][d - 1] =
            day(d, "10");
    }
    record = testing::make_record(inputs, problem);
    EXPECT_EQ(record.values[0][weather::kDewAve], "10.00");  // saturated air at 10 degrees
    EXPECT_TRUE(record.refused.empty());
}

TEST(ModelNotes, EveryNoteItsMonth) {
    weather::WeatherRecord record = sample_record();
    auto& v = record.values;
    v[0][weather::kWetWet] = decimal("0.2000");    // Jan: wet_wet <= wet_dry 0.3000
    v[1][weather::kWetDry] = decimal("0.0000");    // Feb: wet_dry 0
    v[2][weather::kPcpSkew] = decimal("0.1500");   // Mar: skew below 0.2
    v[3][weather::kPcpDays] = decimal("5.00");     // Apr: 30 * 0.3 / 0.7 = 12.86, not 5
    v[4][weather::kTmpMinAve] = decimal("13.00");  // May: minimum above maximum
    v[5][weather::kTmpMaxSd] = decimal("0.00");    // Jun: a deviation of 0
    v[6][weather::kPcpHhr] = decimal("0.00");      // Jul: pcp_hhr 0
    v[7][weather::kPcpHhr] = decimal("50.00");     // Aug: above the largest daily value
    weather::MonthTexts largest;
    largest.fill("40.00");
    using weather::NoteKind;
    // The changes first; "most" where the model's probabilities move furthest
    // (Jan: 0.0111 + 0.3611, Feb: 0.3326 + 0.0174).
    const std::vector<weather::ModelNote> expected = {
        {NoteKind::change,
         "wet_dry, wet_wet: the model replaces both from pcp_days in 2 months (Jan, Feb), most in Jan (wet_wet "
         "0.2000 <= wet_dry 0.3000, it uses 0.3111 and 0.5611)"},
        {NoteKind::change,
         "pcp_days: the model makes more wet days in Apr, 2.57 of the table's (12.86 for 5.00): each wet day about "
         "0.39 times as wet"},
        {NoteKind::change, "pcp_skew: the model raises it to 0.2 in Mar (0.1500)"},
        {NoteKind::note, "tmp_min_ave above tmp_max_ave in May (13.00 above 12.34)"},
        {NoteKind::note, "tmp_max_sd 0 in Jun: the model will not vary the daily maximum temperature"},
        {NoteKind::note, "pcp_hhr 0 in Jul: the model finds no rain intensity"},
        {NoteKind::note, "pcp_hhr above the month's largest daily value in Aug (50.00 above 40.00)"},
    };
    EXPECT_EQ(weather::model_notes(record, largest), expected);
    EXPECT_EQ(weather::count_of(expected, NoteKind::change), 3U);
    EXPECT_EQ(weather::count_of(expected, NoteKind::note), 4U);
}

// Each note at its boundary, one change to the sample a row (the sample
// itself has none: its pcp_days lie within 4 % of the model's).
TEST(ModelNotes, EachAtItsBoundary) {
    using weather::NoteKind;
    struct Case {
        const char* what;
        std::size_t month;
        std::vector<std::pair<weather::Column, const char*>> values;
        std::vector<weather::ModelNote> expected;
    };
    const Case cases[] = {
        {"wet_wet equal to wet_dry",
         2,
         {{weather::kWetWet, "0.3000"}},
         {{NoteKind::change,
           "wet_dry, wet_wet: the model replaces both from pcp_days in Mar (wet_wet 0.3000 <= wet_dry 0.3000, it uses "
           "0.3111 and 0.5611)"}}},
        {"wet_wet just above wet_dry", 2, {{weather::kWetWet, "0.3001"}, {weather::kPcpDays, "9.30"}}, {}},
        {"wet_dry 0, pcp_days raised to 0.1",
         1,
         {{weather::kWetDry, "0.0000"}, {weather::kPcpDays, "0.00"}},
         {{NoteKind::change,
           "wet_dry, wet_wet: the model replaces both from pcp_days in Feb (wet_dry 0.0000, it uses 0.0026 and "
           "0.2526)"}}},
        // Apr: 30 x 0.0198 / (1 - 0.9523 + 0.0198) = 8.8 and 30 x 0.0324 / 0.9 = 1.08, exactly 10 % from
        // 8.00 and 1.20 (in binary a hair beyond); 30 x 0.11 / 0.30 = 11 and 30 x 0.09 / 0.30 = 9.
        {"pcp_days 10 % above",
         3,
         {{weather::kWetDry, "0.0198"}, {weather::kWetWet, "0.9523"}, {weather::kPcpDays, "8.00"}},
         {}},
        {"pcp_days beyond 10 % above",
         3,
         {{weather::kWetDry, "0.1100"}, {weather::kWetWet, "0.8100"}, {weather::kPcpDays, "9.99"}},
         {{NoteKind::change,
           "pcp_days: the model makes more wet days in Apr, 1.10 of the table's (11.00 for 9.99): each wet day about "
           "0.91 times as wet"}}},
        {"pcp_days 10 % below",
         3,
         {{weather::kWetDry, "0.0324"}, {weather::kWetWet, "0.1324"}, {weather::kPcpDays, "1.20"}},
         {}},
        {"pcp_days beyond 10 % below",
         3,
         {{weather::kWetDry, "0.0900"}, {weather::kWetWet, "0.7900"}, {weather::kPcpDays, "10.01"}},
         {{NoteKind::change,
           "pcp_days: the model makes fewer wet days in Apr, 0.90 of the table's (9.00 for 10.01): each wet day about "
           "1.11 times wetter"}}},
        // 29 x 0.2 / 0.4 = 14.5, 0.906 of 16: within 10 %, with 28 days not.
        {"February has 29 days",
         1,
         {{weather::kWetDry, "0.2000"}, {weather::kWetWet, "0.8000"}, {weather::kPcpDays, "16.00"}},
         {}},
        {"pcp_skew 0.2", 6, {{weather::kPcpSkew, "0.2000"}}, {}},
        {"pcp_skew below 0.2",
         6,
         {{weather::kPcpSkew, "0.1999"}},
         {{NoteKind::change, "pcp_skew: the model raises it to 0.2 in Jul (0.1999)"}}},
        {"tmp_min_ave equal to tmp_max_ave", 4, {{weather::kTmpMinAve, "12.34"}}, {}},
        {"tmp_min_ave above tmp_max_ave",
         4,
         {{weather::kTmpMinAve, "12.35"}},
         {{NoteKind::note, "tmp_min_ave above tmp_max_ave in May (12.35 above 12.34)"}}},
        {"tmp_min_sd 0.01", 5, {{weather::kTmpMinSd, "0.01"}}, {}},
        {"tmp_min_sd 0",
         5,
         {{weather::kTmpMinSd, "0.00"}},
         {{NoteKind::note, "tmp_min_sd 0 in Jun: the model will not vary the daily minimum temperature"}}},
        {"pcp_sd 0",
         5,
         {{weather::kPcpSd, "0"}},
         {{NoteKind::note, "pcp_sd 0 in Jun: the model will not vary the wet-day amounts"}}},
        {"pcp_hhr the largest daily value", 7, {{weather::kPcpHhr, "40.00"}}, {}},
        {"pcp_hhr above it",
         7,
         {{weather::kPcpHhr, "40.01"}},
         {{NoteKind::note, "pcp_hhr above the month's largest daily value in Aug (40.01 above 40.00)"}}},
        {"pcp_hhr 0",
         7,
         {{weather::kPcpHhr, "0.00"}},
         {{NoteKind::note, "pcp_hhr 0 in Aug: the model finds no rain intensity"}}},
    };
    weather::MonthTexts largest;
    largest.fill("40.00");
    for (const Case& c : cases) {
        weather::WeatherRecord record = sample_record();
        for (const auto& [column, text] : c.values) record.values[c.month][column] = decimal(text);
        EXPECT_EQ(weather::model_notes(record, largest), c.expected) << c.what;
    }
}

// The model reads twelve dew_ave values within [0, 1] as humidity fractions:
// a note for measured dew points, none for humidity fractions taken from a
// reference station, which the model reads as they are meant.
TEST(ModelNotes, DewFractionsMeasuredNotFilled) {
    struct Case {
        const char* what;
        const char* value;  // every month's dew_ave
        const char* january;
        std::vector<std::string> filled;
        const char* expected;  // "" for no note
    };
    const char* const every =
        "dew_ave: all twelve between 0 and 1, measured in every month: the model reads them as "
        "humidity fractions, not as dew points";
    const Case cases[] = {
        {"measured", "0.65", "0.65", {}, every},
        {"measured, 0 and 1 included", "1.00", "0.00", {}, every},
        {"one above 1", "0.65", "1.01", {}, ""},
        {"one below 0", "0.65", "-0.01", {}, ""},
        {"filled every month", "0.65", "0.65", {"slr_ave", "dew_ave"}, ""},
        {"filled in all twelve, by number", "0.65", "0.65", {"dew_ave(1,2,3,4,5,6,7,8,9,10,11,12)"}, ""},
        {"another variable filled", "0.65", "0.65", {"dew_ave_x", "wnd_ave"}, every},
        {"filled in nine months",
         "0.65",
         "0.65",
         {"dew_ave(1,2,3,4,5,6,7,8,12)"},
         "dew_ave: all twelve between 0 and 1, measured in 3 months (Sep, Oct, Nov): the model reads them as humidity "
         "fractions, not as dew points"},
        {"filled in eleven months",
         "0.65",
         "0.65",
         {"wnd_ave(2)", "dew_ave(2,3,4,5,6,7,8,9,10,11,12)"},
         "dew_ave: all twelve between 0 and 1, measured in Jan: the model reads them as humidity fractions, not as "
         "dew points"},
    };
    for (const Case& c : cases) {
        weather::WeatherRecord record = sample_record();
        for (auto& month : record.values) month[weather::kDewAve] = decimal(c.value);
        record.values[0][weather::kDewAve] = decimal(c.january);
        record.filled_variables = c.filled;
        std::vector<weather::ModelNote> expected;
        if (*c.expected != '\0') expected.push_back({weather::NoteKind::note, c.expected});
        EXPECT_EQ(weather::model_notes(record), expected) << c.what;
    }
}

// A finding of several months is one note: its months, and the month where
// it matters most.
TEST(ModelNotes, MonthsOfAFindingInOneNote) {
    weather::WeatherRecord record = sample_record();
    // The model's pcp_days 12.86 in the 30-day months, 13.29 in the 31-day ones.
    const std::pair<std::size_t, const char*> days[] = {{0, "16.00"}, {3, "15.00"}, {6, "17.00"}, {8, "12.00"}};
    for (const auto& [month, text] : days) record.values[month][weather::kPcpDays] = decimal(text);
    record.values[9][weather::kPcpDays] = decimal("11.00");  // more: 13.29 for 11.00
    for (const std::size_t month : {2U, 10U}) record.values[month][weather::kPcpSkew] = decimal("-0.3000");
    record.values[11][weather::kPcpSkew] = decimal("-0.5000");
    const std::vector<weather::ModelNote> notes = weather::model_notes(record);
    const std::vector<weather::ModelNote> expected = {
        {weather::NoteKind::change,
         "pcp_days: the model makes fewer wet days in 3 months (Jan, Apr, Jul), down to 0.78 of the table's in Jul "
         "(13.29 for 17.00): each wet day about 1.28 times wetter"},
        {weather::NoteKind::change,
         "pcp_days: the model makes more wet days in Oct, 1.21 of the table's (13.29 for 11.00): each wet day about "
         "0.83 times as wet"},
        {weather::NoteKind::change,
         "pcp_skew: the model raises it to 0.2 in 3 months (Mar, Nov, Dec), lowest in Dec (-0.5000)"},
    };
    EXPECT_EQ(notes, expected);
}

}  // namespace
}  // namespace wgn
