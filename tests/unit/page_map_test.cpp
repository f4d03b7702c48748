// The overview page's map: squares the right way up, across the antimeridian,
// stations without a position left off, the default shading by value, the
// year's texts, the colour ramp.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "page/station_map.hpp"

namespace wgn::page {
namespace {

struct Square {
    double x, y;
    std::string fill;
};

// The squares of the map by station, for stations at "lat lon" ("" for none).
std::map<std::string, Square> squares_at(const std::vector<std::pair<std::string, std::string>>& places,
                                         std::string* html = nullptr, std::size_t total = 4) {
    std::vector<PageStation> stations;
    for (const auto& [name, at] : places) {
        PageStation& s = stations.emplace_back();
        s.name = name, s.latitude = at.substr(0, at.find(' ')), s.longitude = at.substr(at.find(' ') + 1);
        for (std::size_t m = 0; m < 12; ++m) s.values[m][4] = name.substr(name.find('=') + 1);
    }
    const std::string map = station_map(stations, 4, total);
    if (html) *html = map;
    // Each square: <rect x="X" y="Y" ... fill="F" ... data-n="NAME" ...>.
    const auto attribute = [](std::string_view tag, std::string_view name) {
        const std::size_t at = tag.find(" " + std::string(name) + "=\"");
        if (at == std::string_view::npos) return std::string();
        const std::size_t from = at + name.size() + 3;
        return std::string(tag.substr(from, tag.find('"', from) - from));
    };
    std::map<std::string, Square> found;
    for (std::size_t at = map.find("<rect "); at != std::string::npos; at = map.find("<rect ", at + 1)) {
        const std::string_view tag = std::string_view(map).substr(at, map.find('>', at) - at);
        const std::string name = attribute(tag, "data-n");
        if (name.empty()) continue;
        found[name] = {std::stod(attribute(tag, "x")), std::stod(attribute(tag, "y")), attribute(tag, "fill")};
    }
    return found;
}

TEST(StationMap, SquaresNorthUpEastRight) {
    struct Case {
        std::vector<std::pair<std::string, std::string>> places;
        std::size_t squares;
        std::string north, east;
    };
    const Case cases[] = {
        {{{"De Bilt", "52.1 5.18"}, {"Maastricht", "50.9 5.7"}, {"Den Helder", "52.96 4.75"}},
         3,
         "Den Helder",
         "Maastricht"},
        {{{"Cape Town", "-33.9 18.4"}, {"Pretoria", "-25.7 28.2"}}, 2, "Pretoria", "Pretoria"},
        {{{"New York", "40.7 -74.0"}, {"Los Angeles", "34.05 -118.2"}, {"Chicago", "41.9 -87.6"}},
         3,
         "Chicago",
         "New York"},
        // Across the antimeridian: Samoa at -171.8 lies east of Fiji at 178.4.
        {{{"Fiji", "-18.1 178.4"}, {"Tonga", "-21.1 -175.2"}, {"Samoa", "-13.8 -171.8"}}, 3, "Samoa", "Samoa"},
        // Wide, with the widest gap across 180: as they are.
        {{{"Mexico", "19.4 -99.1"}, {"Accra", "5.6 -0.2"}, {"Bangkok", "13.7 100.5"}}, 3, "Mexico", "Bangkok"},
        {{{"De Bilt", "52.1 5.18"}, {"nowhere", ""}, {"Eelde", "53.1 6.6"}, {"half", "52.5 "}}, 2, "Eelde", "Eelde"},
        // Fewer than two positions: no map.
        {{{"De Bilt", "52.1 5.18"}, {"nowhere", ""}, {"odd", "N52 5"}}, 0, "", ""},
        {{}, 0, "", ""},
    };
    for (const Case& c : cases) {
        std::string html;
        const std::map<std::string, Square> squares = squares_at(c.places, &html);
        ASSERT_EQ(squares.size(), c.squares) << c.north;
        EXPECT_EQ(html.empty(), c.squares == 0) << c.north;
        for (const auto& [name, square] : squares) {
            EXPECT_LE(squares.at(c.north).y, square.y) << c.north << " " << name;
            EXPECT_GE(squares.at(c.east).x, square.x) << c.east << " " << name;
        }
    }
}

TEST(StationMap, DefaultShadingByTheYearsPrecipitation) {
    std::string html;
    // Every month 10, 60, 30 mm: years of 120, 720 and 360 mm.
    const auto squares = squares_at({{"a=10", "52 5"}, {"b=60", "53 5"}, {"c=30", "52 6"}, {"d=", "53 6"}}, &html);
    EXPECT_EQ(squares.at("a=10").fill, ramp_colour(0));
    EXPECT_EQ(squares.at("b=60").fill, ramp_colour(1));
    EXPECT_EQ(squares.at("c=30").fill, ramp_colour(0.4));
    EXPECT_EQ(squares.at("d=").fill, "none");
    for (const char* part :
         {"<title>c=30, pcp_ave, year (sum): 360</title>", "<title>d=, pcp_ave, year (sum): no value", ">120</text>",
          ">720</text>", "selected=\"\">pcp_ave, year (sum)</option>"})
        EXPECT_NE(html.find(part), std::string::npos) << part;
    std::size_t options = 0;
    for (std::size_t at = html.find("<option "); at != std::string::npos; at = html.find("<option ", at + 1)) ++options;
    EXPECT_EQ(options, 14u * 13u);
    EXPECT_EQ(html.find("The map shows the first"), std::string::npos);
    squares_at({{"a", "52 5"}, {"b", "53 5"}}, &html, 20000);
    EXPECT_NE(html.find("The map shows the first 4 of 20,000 stations."), std::string::npos);
}

TEST(StationMap, YearOfTheMonths) {
    const std::array<std::string, 12> rain = {"64.17", "50.2", "1", "1", "1", "1", "1", "1", "1", "1", "1", "1"};
    EXPECT_EQ(year_text(rain, 4), "124.37");  // pcp_ave: the sum
    EXPECT_EQ(year_text(rain, 0), "10.36");   // tmp_max_ave: the mean
    EXPECT_EQ(year_text({"-0.01", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0"}, 0), "0.00");
    EXPECT_EQ(year_text({"1", "1", "1", "1", "1", "", "1", "1", "1", "1", "1", "1"}, 4), "");
}

TEST(StationMap, RampLighterWithTheValue) {
    EXPECT_EQ(ramp_colour(-3) + ramp_colour(0.125) + ramp_colour(0.5) + ramp_colour(7), "#440154#402a70#21918c#fde725");
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
