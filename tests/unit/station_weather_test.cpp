// A station's complete record from what the list names beside its file:
// its position from GHCN's station list (stations_file), and the refusals
// that cost a variable, never the station.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "batch/station_weather.hpp"
#include "readers/calendar_days.hpp"

namespace wgn::batch {
namespace {

namespace fs = std::filesystem;

std::string temp_file(const std::string& name, const std::string& text) {
    const fs::path path = fs::temp_directory_path() / ("unit-test-station-weather-" + name);
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
}

// A year of a GHCN-Daily station's rain, as its reader gives it.
readers::StationRecord ghcnd_record(const std::string& id) {
    readers::StationRecord own;
    own.station_id = id;
    for (int day = 0; day < 365; ++day) {
        own.variables[readers::Variable::pcp].push_back(
            {readers::day_number({2001, 1, 1}) + day, day % 4 == 0 ? "2.5" : "0", false, day + 1});
    }
    own.columns[readers::Variable::pcp] = "PRCP";
    return own;
}

ReportFigures figures() {
    ReportFigures shown;
    for (auto& month : shown.values) month = {"64.17", "3.89", "1.23", "0.30", "0.60", "12.86"};
    return shown;
}

// ID 1-11, LATITUDE 13-20, LONGITUDE 22-30, ELEVATION 32-37.
const char* const kStations =
    "USC00053005  40.5853 -105.0844 1559.2 CO FORT COLLINS\n"
    "USW00094728  40.7789  -73.9692   39.6 NY NEW YORK CNTRL PK\n"
    "USC00050000  40.0000 -105.0000 -999.9 CO NOWHERE\n";

TEST(StationWeather, PositionFromGhcnsStationList) {
    const std::string stations = temp_file("ghcnd-stations.txt", kStations);
    struct Case {
        const char *id, *listed_elevation;
        const char *latitude, *longitude, *elevation, *problem;
    };
    const Case cases[] = {
        {"USC00053005", "", "40.5853", "-105.0844", "1559.2", ""},
        {"USW00094728", "", "40.7789", "-73.9692", "39.6", ""},
        // The list's elevation stands before the file's.
        {"USW00094728", "12", "40.7789", "-73.9692", "12", ""},
        {"USC00050000", "", "", "", "",
         "no position: STATIONS, line 3, column 32: elevation unknown (-999.9): give elev in the list"},
        {"USC00050000", "1600", "40.0000", "-105.0000", "1600", ""},
        // A station the list does not hold has no position, and the reason names it.
        {"USC00099999", "", "", "", "", "; no position: STATIONS: no line of the station USC00099999"},
        {"USC00099999", "1600", "", "", "", "; no position: STATIONS: no line of the station USC00099999"},
    };
    for (const Case& c : cases) {
        Station station;
        station.name = "st";
        station.input_name = "/d/st.dly";
        station.format = readers::Format::ghcnd;
        station.weather.stations_file = stations;
        station.weather.elev = c.listed_elevation;
        readers::StationRecord own = ghcnd_record(c.id);
        const Result<StationWeather> made = station_weather(station, &own, 2001, 2001, figures());
        ASSERT_TRUE(made) << made.problem().message();
        const weather::WeatherRecord& record = made->record;
        EXPECT_EQ(record.latitude, c.latitude) << c.id;
        EXPECT_EQ(record.longitude, c.longitude) << c.id;
        EXPECT_EQ(record.elevation, c.elevation) << c.id;
        std::string reason = record.incomplete_reason();
        if (const std::size_t at = reason.find(stations); at != std::string::npos)
            reason.replace(at, stations.size(), "STATIONS");
        EXPECT_NE(reason.find(c.problem), std::string::npos) << c.id << ": " << reason;
        EXPECT_EQ(record.values[0][weather::kPcpAve], "64.17");
    }
    // A stations_file that cannot be read ends the station: every station of
    // the batch would go without its position otherwise.
    Station station;
    station.input_name = "/d/st.dly";
    station.format = readers::Format::ghcnd;
    station.weather.stations_file = (fs::temp_directory_path() / "wgnrain-no-such-stations.txt").string();
    readers::StationRecord own = ghcnd_record("USC00053005");
    const Result<StationWeather> made = station_weather(station, &own, 2001, 2001, figures());
    ASSERT_FALSE(made);
    EXPECT_EQ(made.problem().message().rfind("cannot read " + station.weather.stations_file + ": ", 0), 0U);
    fs::remove(stations);
}

// A file of another variable that cannot be read refuses its variables, and
// the station keeps its record.
TEST(StationWeather, AnUnreadableVariableFileCostsItsVariables) {
    Station station;
    station.name = "st";
    station.input_name = "/d/st.csv";
    station.format = readers::Format::csv;
    station.weather.tmp_file = (fs::temp_directory_path() / "wgnrain-no-such-tmp.csv").string();
    readers::StationRecord own = ghcnd_record("");
    const Result<StationWeather> made = station_weather(station, &own, 2001, 2001, figures());
    ASSERT_TRUE(made) << made.problem().message();
    ASSERT_EQ(made->record.refused.size(), 2U);  // tmax and tmin
    EXPECT_EQ(made->record.refused[0].rfind("cannot read " + station.weather.tmp_file + ": ", 0), 0U);
    EXPECT_TRUE(made->record.values[0][weather::kTmpMaxAve].empty());
    EXPECT_EQ(made->record.values[0][weather::kPcpAve], "64.17");
}

}  // namespace
}  // namespace wgn::batch
