// The overview page's map: squares the right way up, across the antimeridian,
// stations without a position left off, the default shading by value, the
// year's texts, the colour ramp.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <string>
#include <vector>

#include "page/station_map.hpp"

namespace wgn::page {
namespace {

struct Place {
    std::string name, lat, lon;
};

std::vector<PageStation> stations_at(const std::vector<Place>& places) {
    std::vector<PageStation> stations;
    for (const Place& p : places) {
        PageStation s;
        s.name = p.name, s.latitude = p.lat, s.longitude = p.lon, s.ok = true;
        stations.push_back(s);
    }
    return stations;
}

struct Square {
    double x, y;
    std::string fill;
};

std::map<std::string, Square> squares_of(const std::string& html) {
    static const std::regex square(
        R"re(<rect x="([-0-9.]+)" y="([-0-9.]+)" width="[0-9.]+" height="[0-9.]+" fill="([^"]+)" stroke="[^"]+" data-n="([^"]+)")re");
    std::map<std::string, Square> found;
    for (auto it = std::sregex_iterator(html.begin(), html.end(), square); it != std::sregex_iterator(); ++it)
        found[(*it)[4]] = {std::stod((*it)[1]), std::stod((*it)[2]), (*it)[3]};
    return found;
}

TEST(StationMap, SquaresPlacedNorthUpEastRight) {
    struct Case {
        const char* what;
        std::vector<Place> places;
        std::size_t squares;
        const char *north, *east;
    };
    const Case cases[] = {
        {"the Netherlands",
         {{"De Bilt", "52.1", "5.18"}, {"Maastricht", "50.9", "5.7"}, {"Den Helder", "52.96", "4.75"}},
         3,
         "Den Helder",
         "Maastricht"},
        {"south of the equator",
         {{"Cape Town", "-33.9", "18.4"}, {"Pretoria", "-25.7", "28.2"}},
         2,
         "Pretoria",
         "Pretoria"},
        {"west of Greenwich",
         {{"New York", "40.7", "-74.0"}, {"Los Angeles", "34.05", "-118.2"}, {"Chicago", "41.9", "-87.6"}},
         3,
         "Chicago",
         "New York"},
        // Samoa, at -171.8, lies east of Fiji at 178.4: the map runs on across 180.
        {"across the antimeridian",
         {{"Fiji", "-18.1", "178.4"}, {"Tonga", "-21.1", "-175.2"}, {"Samoa", "-13.8", "-171.8"}},
         3,
         "Samoa",
         "Samoa"},
        {"a station without a position left off",
         {{"De Bilt", "52.1", "5.18"}, {"nowhere", "", ""}, {"Eelde", "53.1", "6.6"}, {"half", "52.5", ""}},
         2,
         "Eelde",
         "Eelde"},
    };
    for (const Case& c : cases) {
        const std::map<std::string, Square> squares = squares_of(station_map(stations_at(c.places), 9, 9));
        ASSERT_EQ(squares.size(), c.squares) << c.what;
        for (const auto& [name, square] : squares) {
            EXPECT_LE(squares.at(c.north).y, square.y) << c.what << ": " << name;
            EXPECT_GE(squares.at(c.east).x, square.x) << c.what << ": " << name;
        }
    }
}

TEST(StationMap, NoMapWithFewerThanTwoPositions) {
    const std::vector<Place> cases[] = {
        {},
        {{"De Bilt", "52.1", "5.18"}},
        {{"De Bilt", "52.1", "5.18"}, {"nowhere", "", ""}, {"odd", "N52", "5"}},
    };
    for (const std::vector<Place>& places : cases) EXPECT_EQ(station_map(stations_at(places), 9, 9), "");
}

TEST(StationMap, LongitudesContiguous) {
    struct Case {
        std::vector<double> in, out;
    };
    const Case cases[] = {
        {{178.5, 179.5, -179.5}, {178.5, 179.5, 180.5}},
        {{-170, 170, 175, -175}, {190, 170, 175, 185}},
        {{-120, 70, 0}, {-120, 70, 0}},  // wide, the widest gap across 180: as they are
        {{-179, 179}, {181, 179}},       // two, 2 degrees apart across 180
        {{4.75, 5.18, 6.6}, {4.75, 5.18, 6.6}},
    };
    for (const Case& c : cases) EXPECT_EQ(contiguous_longitudes(c.in), c.out) << c.in[0];
}

TEST(StationMap, DefaultShadingByYearsPrecipitation) {
    std::vector<PageStation> stations =
        stations_at({{"dry", "52", "5"}, {"wet", "53", "5"}, {"middle", "52", "6"}, {"none", "53", "6"}});
    const char* monthly[] = {"10", "60", "30"};  // years of 120, 720 and 360 mm: t 0, 1, 0.4
    for (std::size_t s = 0; s < 3; ++s) {
        for (auto& month : stations[s].values) month[4] = monthly[s];
    }
    stations[3].values[0][4] = "50";  // one month only: no year
    const std::string html = station_map(stations, 4, 4);
    const std::map<std::string, Square> squares = squares_of(html);
    ASSERT_EQ(squares.size(), 4u);
    EXPECT_EQ(squares.at("dry").fill, ramp_colour(0));
    EXPECT_EQ(squares.at("wet").fill, ramp_colour(1));
    EXPECT_EQ(squares.at("middle").fill, ramp_colour(0.4));
    EXPECT_EQ(squares.at("none").fill, "none");
    EXPECT_NE(html.find("<title>middle, pcp_ave, year (sum): 360</title>"), std::string::npos);
    EXPECT_NE(html.find("<title>none, pcp_ave, year (sum): no value</title>"), std::string::npos);
    EXPECT_NE(html.find(">120</text>"), std::string::npos);  // the legend's ends
    EXPECT_NE(html.find(">720</text>"), std::string::npos);
    // The choice: 14 columns by 12 months and the year, the default selected.
    std::size_t options = 0;
    for (std::size_t at = html.find("<option "); at != std::string::npos; at = html.find("<option ", at + 1)) ++options;
    EXPECT_EQ(options, 14u * 13u);
    EXPECT_NE(html.find("selected=\"\">pcp_ave, year (sum)</option>"), std::string::npos);
    EXPECT_EQ(html.find("The map shows the first"), std::string::npos);
    EXPECT_NE(station_map(stations, 4, 20000).find("The map shows the first 4 of 20,000 stations."), std::string::npos);
}

TEST(StationMap, YearOfTheMonths) {
    struct Case {
        std::array<std::string, 12> months;
        std::size_t column;
        std::string year;
    };
    const Case cases[] = {
        {{"64.17", "50.2", "1", "1", "1", "1", "1", "1", "1", "1", "1", "1"}, 4, "124.37"},    // pcp_ave: the sum
        {{"12", "12", "12", "12", "12", "12", "12", "12", "12", "12", "12", "13"}, 9, "145"},  // pcp_days: the sum
        {{"1.5", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"}, 0, "6.5"},         // tmp_max_ave: the mean
        {{"0.1", "0.2", "0.3", "0.4", "0.5", "0.6", "0.7", "0.8", "0.9", "1.0", "1.1", "1.3"}, 7, "0.7"},
        {{"-0.01", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0"}, 0, "0.00"},  // not -0.00
        {{"1", "1", "1", "1", "1", "", "1", "1", "1", "1", "1", "1"}, 0, ""},           // a month missing
        {{"1", "1", "1", "1", "1", "NaN", "1", "1", "1", "1", "1", "1"}, 4, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(year_text(c.months, c.column), c.year) << c.months[0];
}

TEST(StationMap, RampLighterWithTheValue) {
    struct Case {
        double t;
        const char* colour;
    };
    const Case cases[] = {{0, "#440154"},     {1, "#fde725"},  {0.5, "#21918c"},
                          {0.125, "#402a70"}, {-3, "#440154"}, {7, "#fde725"}};
    for (const Case& c : cases) EXPECT_EQ(ramp_colour(c.t), c.colour) << c.t;
    double last = -1;
    for (int i = 0; i <= 100; ++i) {
        const unsigned long rgb = std::stoul(ramp_colour(i / 100.0).substr(1), nullptr, 16);
        const double lightness = 0.2126 * (rgb >> 16) + 0.7152 * ((rgb >> 8) & 255) + 0.0722 * (rgb & 255);
        EXPECT_GT(lightness, last) << i;
        last = lightness;
    }
}

}  // namespace
}  // namespace wgn::page
