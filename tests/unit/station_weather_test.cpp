// A station's complete record from what the list names beside its file:
// its position from GHCN's station list (stations_file), the files that
// state another position, and the refusals that cost a variable, never the
// station.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "batch/station_weather.hpp"
#include "readers/calendar_days.hpp"
#include "readers/read_station_file.hpp"

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
        const char* note = "";  // on the station list's position
    };
    const Case cases[] = {
        {"USC00053005", "", "40.5853", "-105.0844", "1559.2", ""},
        {"USW00094728", "", "40.7789", "-73.9692", "39.6", ""},
        // The list's elevation stands before the file's; more than 100 m from it, a note says so.
        {"USW00094728", "12", "40.7789", "-73.9692", "12", ""},
        {"USW00094728", "200", "40.7789", "-73.9692", "200", "",
         "position: STATIONS station USW00094728 lies 160.4 m lower than the station (40.7789, -73.9692, 39.6 m for "
         "the station's 40.7789, -73.9692, 200 m)"},
        {"USC00050000", "", "", "", "",
         "no position: STATIONS, line 3, column 32: elevation unknown (-999.9): give elev in the list"},
        // An unknown elevation is not compared with the list's.
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
        std::string notes;
        for (const weather::ModelNote& note : made->notes) {
            if (note.text.rfind("position: ", 0) == 0) notes += note.text;
        }
        if (const std::size_t at = notes.find(stations); at != std::string::npos)
            notes.replace(at, stations.size(), "STATIONS");
        EXPECT_EQ(notes, c.note) << c.id;
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

// A year of a SWAT 2012 pcp1.pcp or tmp1.tmp, gauge 2 of two at `at`
// (latitude, longitude, elevation; an empty field: not stated), gauge 1
// elsewhere.  The fields are 5 wide in a .pcp, 10 in a .tmp.
std::string swat2012_file(bool tmp, const std::array<const char*, 3>& at) {
    const int width = tmp ? 10 : 5;
    const auto field = [&](const std::string& text) { return std::string(width - text.size(), ' ') + text; };
    std::string text = tmp ? "Station  t1,t2,\n" : "Station  p1,p2,\n";
    const char* const labels[3] = {"Lati   ", "Long   ", "Elev   "};
    for (std::size_t c = 0; c < 3; ++c) text += labels[c] + field("-9.9") + field(at[c]) + "\n";
    for (int day = 1; day <= 365; ++day) {
        char line[32];
        std::snprintf(line, sizeof line, "2001%03d", day);
        text += line + std::string(tmp ? " 40.0-40.0 12.5  3.5\n" : "  9.9  2.5\n");
    }
    return text;
}

// A year of a SWAT+ .pcp or .tmp, its position in the header.
std::string swatplus_file(bool tmp, const std::array<const char*, 3>& at) {
    std::string text =
        std::string("x: written by a test\nnbyr tstep lat lon elev\n1 0 ") + at[0] + " " + at[1] + " " + at[2] + "\n";
    for (int day = 1; day <= 365; ++day) text += "2001 " + std::to_string(day) + (tmp ? " 12.5 3.5\n" : " 2.5\n");
    return text;
}

// Every position a station's files state beside the one it takes: the
// list's, else its own file's.  Each file more than 10 km away or 100 m
// higher or lower has one note naming both positions; a position without an
// elevation is compared by its distance alone.
TEST(StationWeather, FilesOfOtherPlacesHaveANote) {
    using At = std::array<const char*, 3>;
    struct Case {
        const char* what;
        readers::Format format;
        At listed, pcp, tmp;
        std::vector<std::string> notes;  // the files named PCP and TMP
    };
    const auto swat2012 = readers::Format::swat2012, swatplus = readers::Format::swatplus;
    const At station = {"52.1", "5.18", "155"}, none = {"", "", ""};
    const std::vector<Case> cases = {
        {"9.9 km north", swat2012, none, station, {"52.189", "5.18", "155"}, {}},
        {"10.1 km north",
         swat2012,
         none,
         station,
         {"52.191", "5.18", "155"},
         {"position: TMP gauge 2 lies 10.1 km from the station (52.191, 5.18, 155 m for the station's 52.1, 5.18, "
          "155 m)"}},
        {"99 m higher", swat2012, none, station, {"52.1", "5.18", "254"}, {}},
        {"101 m higher",
         swat2012,
         none,
         station,
         {"52.1", "5.18", "256"},
         {"position: TMP gauge 2 lies 101 m higher than the station (52.1, 5.18, 256 m for the station's 52.1, 5.18, "
          "155 m)"}},
        {"101 m lower, 3 km away",
         swat2012,
         none,
         station,
         {"52.127", "5.18", "54"},
         {"position: TMP gauge 2 lies 3.0 km from the station and 101 m lower (52.127, 5.18, 54 m for the station's "
          "52.1, 5.18, 155 m)"}},
        {"a grid point 58 km away and 1577 m higher",
         swat2012,
         none,
         station,
         {"52.55", "5.62", "1732"},
         {"position: TMP gauge 2 lies 58.3 km from the station and 1577 m higher (52.55, 5.62, 1732 m for the "
          "station's 52.1, 5.18, 155 m)"}},
        {"no elevation: the distance alone, within", swat2012, none, station, {"52.189", "5.18", ""}, {}},
        {"no elevation: the distance alone, beyond",
         swat2012,
         none,
         station,
         {"52.191", "5.18", ""},
         {"position: TMP gauge 2 lies 10.1 km from the station (52.191, 5.18 for the station's 52.1, 5.18)"}},
        {"SWAT+ files of one place", swatplus, none, {"52.1", "5.18", "2.0"}, {"52.1", "5.18", "2.0"}, {}},
        {"SWAT+ .tmp of another place",
         swatplus,
         none,
         {"52.1", "5.18", "2.0"},
         {"52.6", "5.18", "2.0"},
         {"position: TMP lies 55.6 km from the station (52.6, 5.18, 2.0 m for the station's 52.1, 5.18, 2.0 m)"}},
        // The list's position is the station's: its own file may disagree too.
        {"the list against both files",
         swatplus,
         {"52.1", "5.18", "2"},
         {"52.3", "5.18", "2.0"},
         {"52.1", "5.18", "150"},
         {"position: PCP lies 22.2 km from the station (52.3, 5.18, 2.0 m for the station's 52.1, 5.18, 2 m)",
          "position: TMP lies 148 m higher than the station (52.1, 5.18, 150 m for the station's 52.1, 5.18, 2 m)"}},
        // The list's latitude and longitude, the file's elevation.
        {"the list's latitude and longitude",
         swatplus,
         {"52.1", "5.18", ""},
         {"52.1", "5.18", "900"},
         {"52.1", "5.18", "900"},
         {}},
    };
    for (const Case& c : cases) {
        const bool old = c.format == swat2012;
        const std::string pcp_name =
            temp_file(old ? "pcp1.pcp" : "st.pcp", old ? swat2012_file(false, c.pcp) : swatplus_file(false, c.pcp));
        const std::string tmp_name =
            temp_file(old ? "tmp1.tmp" : "st.tmp", old ? swat2012_file(true, c.tmp) : swatplus_file(true, c.tmp));
        Station station;
        station.name = "st";
        station.input_name = pcp_name;
        station.format = c.format;
        station.gauge = old ? "2" : "";
        station.weather.tmp_file = tmp_name;
        station.weather.lat = c.listed[0];
        station.weather.lon = c.listed[1];
        station.weather.elev = c.listed[2];
        std::string text;
        {
            // Closed before the file is removed: Windows removes no open file.
            std::ifstream in(pcp_name, std::ios::binary);
            text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        Result<readers::StationRecord> own = readers::read_station_file(pcp_name, text, read_options(station, ""));
        ASSERT_TRUE(own) << c.what << ": " << own.problem().message();
        const Result<StationWeather> made = station_weather(station, &*own, 2001, 2001, figures());
        ASSERT_TRUE(made) << c.what << ": " << made.problem().message();
        std::vector<std::string> notes;
        for (const weather::ModelNote& note : made->notes) {
            if (note.text.rfind("position: ", 0) != 0) continue;
            EXPECT_EQ(note.kind, weather::NoteKind::note) << c.what;
            std::string shown = note.text;
            for (const auto& [name, as] : {std::pair{pcp_name, "PCP"}, std::pair{tmp_name, "TMP"}}) {
                if (const std::size_t at = shown.find(name); at != std::string::npos)
                    shown.replace(at, name.size(), as);
            }
            notes.push_back(shown);
        }
        EXPECT_EQ(notes, c.notes) << c.what;
        EXPECT_EQ(made->record.values[0][weather::kTmpMaxAve], "12.50") << c.what;
        fs::remove(pcp_name);
        fs::remove(tmp_name);
    }
}

// wgnrain's report divides February by n / 28 years: from 28 leap Februaries
// on a year too many.  Every February day 1.00: the report shows 27.77 for
// 1881-2000 (3389 days / 121); such a station has a note with 28.24, its
// value over 120 years, and with a missing day anywhere its February takes
// the true years.
TEST(StationWeather, FebruaryOfLongRecords) {
    const struct {
        int first, last;
        bool missing_july_day;
        const char* note;
        const char* february;
    } cases[] = {
        {1881, 2000, false,
         "pcp_ave, pcp_days of Feb: wgnrain's report divides them by 121 years for 120 (n / 28 of February's days), "
         "so they are low: 27.77 for 28.24, 27.77 for 28.24",
         "27.77"},
        {1881, 2000, true, "", "28.24"},
        {1901, 2000, false, "", "27.77"},  // 24 leap Februaries: the report's years are right
    };
    for (const auto& c : cases) {
        readers::StationRecord own;
        for (std::int32_t day = readers::day_number({c.first, 1, 1}); day <= readers::day_number({c.last, 12, 31});
             ++day) {
            const readers::Date date = readers::date_of(day);
            const bool missing = c.missing_july_day && date.year == 1950 && date.month == 7 && date.day == 4;
            own.variables[readers::Variable::pcp].push_back({day, missing ? "" : date.month == 2 ? "1.00" : "0"});
        }
        Station station;
        station.name = "long";
        station.input_name = "/d/long.csv";
        station.format = readers::Format::csv;
        ReportFigures shown = figures();
        shown.values[1] = {"27.77", "0.0000", "", "", "0.9643", "27.77"};
        const Result<StationWeather> made = station_weather(station, &own, c.first, c.last, shown);
        ASSERT_TRUE(made) << made.problem().message();
        std::string note;
        for (const weather::ModelNote& n : made->notes) {
            if (n.text.rfind("pcp_ave, pcp_days of Feb", 0) == 0) note = n.text;
        }
        EXPECT_EQ(note, c.note) << c.first;
        EXPECT_EQ(made->precipitation.values[1][0], c.february) << c.first << " " << c.missing_july_day;
    }
}

}  // namespace
}  // namespace wgn::batch
