// The audit, one finding a row on a small table made by hand, and the
// tables read back: a userwgn.csv and what is expected where one is not.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

#include "check/audit.hpp"
#include "check/read_editor.hpp"
#include "check/read_tables.hpp"
#include "check/read_wgn.hpp"
#include "check_station.hpp"

namespace wgn::check {
namespace {

using testing::set_all;
using weather::DecimalText;

void set(TableStation& station, int month, weather::Column column, const char* value) {
    station.station.values[static_cast<std::size_t>(month - 1)][column] = DecimalText::made(value);
}

TEST(CheckAudit, TheAlikeStationHasNoFinding) {
    EXPECT_TRUE(audit_station(testing::alike_station()).empty());
}

TEST(CheckAudit, EachFindingOnItsTable) {
    const struct {
        const char* what;
        std::function<void(TableStation&)> change;
        std::set<std::string> findings;  // all the station's findings
        int month;                       // of the first row of the finding named first below
        const char* variable;
        const char* finding;
    } cases[] = {
        {"pcp_ave a daily mean",
         [](TableStation& s) { set(s, 7, weather::kPcpAve, "3"); },
         {"daily_mean_pcp"},
         7,
         "pcp_ave",
         "daily_mean_pcp"},
        {"probabilities swapped",
         [](TableStation& s) { set(s, 3, weather::kWetWet, "0.2"); },
         {"probabilities_replaced"},
         3,
         "wet_dry",
         "probabilities_replaced"},
        {"wet_dry 0",
         [](TableStation& s) { set(s, 4, weather::kWetDry, "0"); },
         {"probabilities_replaced"},
         4,
         "wet_dry",
         "probabilities_replaced"},
        {"pcp_days far from the model's",
         [](TableStation& s) { set(s, 7, weather::kPcpDays, "17"); },
         {"pcp_days_recomputed"},
         7,
         "pcp_days",
         "pcp_days_recomputed"},
        {"skew below 0.2",
         [](TableStation& s) { set(s, 3, weather::kPcpSkew, "0.15"); },
         {"skew_raised"},
         3,
         "pcp_skew",
         "skew_raised"},
        {"tmin above tmax",
         [](TableStation& s) { set(s, 5, weather::kTmpMinAve, "21"); },
         {"tmin_above_tmax"},
         5,
         "tmp_min_ave",
         "tmin_above_tmax"},
        {"a deviation of 0",
         [](TableStation& s) { set(s, 6, weather::kTmpMaxSd, "0"); },
         {"zero_deviation"},
         6,
         "tmp_max_sd",
         "zero_deviation"},
        {"humidity among dew points",
         [](TableStation& s) { set(s, 8, weather::kDewAve, "0.8"); },
         {"humidity_mixed"},
         0,
         "dew_ave",
         "humidity_mixed"},
        {"humidity fractions",
         [](TableStation& s) { set_all(s, weather::kDewAve, "0.8"); },
         {"humidity_fraction"},
         0,
         "dew_ave",
         "humidity_fraction"},
        {"a wind no climate has",
         [](TableStation& s) { set(s, 1, weather::kWndAve, "80"); },
         {"out_of_bounds"},
         1,
         "wnd_ave",
         "out_of_bounds"},
        {"inches",
         [](TableStation& s) {
             set_all(s, weather::kPcpAve, "2.5");
             set_all(s, weather::kPcpSd, "0.2");
             set_all(s, weather::kPcpHhr, "0.8");
         },
         {"likely_inches"},
         0,
         "pcp_ave",
         "likely_inches"},
        {"degrees Fahrenheit",
         [](TableStation& s) { set_all(s, weather::kTmpMaxAve, "55"); },
         {"likely_fahrenheit"},
         0,
         "tmp_max_ave",
         "likely_fahrenheit"},
        {"W/m2",
         [](TableStation& s) { set_all(s, weather::kSlrAve, "180"); },
         {"likely_watts", "out_of_bounds"},
         0,
         "slr_ave",
         "likely_watts"},
        {"a month without a value",
         [](TableStation& s) { s.station.values[10][weather::kWndAve] = DecimalText{}; },
         {"missing_value"},
         11,
         "wnd_ave",
         "missing_value"},
        {"latitude 91",
         [](TableStation& s) { s.station.latitude = "91"; },
         {"position_out_of_range"},
         0,
         "lat",
         "position_out_of_range"},
        {"no elevation",
         [](TableStation& s) { s.station.elevation = ""; },
         {"position_out_of_range"},
         0,
         "elev",
         "position_out_of_range"},
        {"rain_yrs 0",
         [](TableStation& s) { s.station.rain_yrs = "0"; },
         {"rain_yrs_default"},
         0,
         "rain_yrs",
         "rain_yrs_default"},
    };
    for (const auto& c : cases) {
        TableStation station = testing::alike_station();
        c.change(station);
        const std::vector<AuditRow> rows = audit_station(station);
        std::set<std::string> found;
        for (const AuditRow& row : rows) found.insert(std::string(name(row.finding)));
        EXPECT_EQ(found, c.findings) << c.what;
        const auto first =
            std::find_if(rows.begin(), rows.end(), [&](const AuditRow& row) { return name(row.finding) == c.finding; });
        ASSERT_NE(first, rows.end()) << c.what;
        EXPECT_EQ(first->month, c.month) << c.what;
        EXPECT_EQ(first->variable, c.variable) << c.what;
        EXPECT_EQ(first->station, "alike");
    }
}

TEST(CheckAudit, TheCsvHasItsColumnsAndLineEnds) {
    TableStation station = testing::alike_station();
    set(station, 7, weather::kPcpDays, "17");
    EXPECT_EQ(audit_csv(audit_station(station)),
              "station,month,variable,finding,kind,value,detail\r\n"
              "alike,7,pcp_days,pcp_days_recomputed,change,17,the model makes 11.92 wet days for 17 (0.70 of the "
              "table's): each wet day 1.43 times wetter\r\n");
}

std::string userwgn_text(const std::string& july_pcpmm) {
    std::string header = "STATION,WLATITUDE,WLONGITUDE,WELEV,RAIN_YRS";
    std::string row = "alike,52,5,2,30";
    const char* stems[14] = {"TMPMX",  "TMPMN",  "TMPSTDMX", "TMPSTDMN", "PCPMM",   "PCPSTD", "PCPSKW",
                             "PR_W1_", "PR_W2_", "PCPD",     "RAINHHMX", "SOLARAV", "DEWPT",  "WNDAV"};
    for (std::size_t c = 0; c < 14; ++c) {
        for (int m = 1; m <= 12; ++m) {
            header += "," + std::string(stems[c]) + std::to_string(m);
            row += "," + (c == weather::kPcpAve && m == 7 ? july_pcpmm : std::string(testing::kAlikeMonth[c]));
        }
    }
    return header + "\r\n" + row + "\r\n";
}

TEST(CheckTables, AUserwgnReadsAsTheSameStation) {
    const Result<CheckTable> table = read_table_text("userwgn.csv", userwgn_text("60"));
    ASSERT_TRUE(table) << table.problem().message();
    ASSERT_EQ(table->size(), 1U);
    const TableStation& read = table->front();
    EXPECT_EQ(read.station.name, "alike");
    EXPECT_EQ(read.station.line, 2);
    EXPECT_EQ(read.station.values, testing::alike_station().station.values);
    // An empty cell: a value the table lacks, found by the audit.
    const Result<CheckTable> gap = read_table_text("userwgn.csv", userwgn_text(""));
    ASSERT_TRUE(gap);
    EXPECT_TRUE(gap->front().station.values[6][weather::kPcpAve].empty());
}

TEST(CheckTables, TheEditorsPairAndAWgnReadAsTheSameStation) {
    std::string monthly = "id,wgn_id,month";
    for (const char* column : weather::kColumns) monthly += std::string(",") + column;
    monthly += "\r\n";
    std::string wgn =
        "alike: a title\n  LATITUDE =  52.00 LONGITUDE =   5.00\n  ELEV (m) =   2.00\n  RAIN_YRS =  30.00\n";
    for (int m = 1; m <= 12; ++m) {
        monthly += std::to_string(m) + ",1," + std::to_string(m);
        for (const char* value : testing::kAlikeMonth) monthly += std::string(",") + value;
        monthly += "\r\n";
    }
    for (const char* value : testing::kAlikeMonth) {
        for (int m = 1; m <= 12; ++m) wgn += std::string(6 - std::string(value).size(), ' ') + value;
        wgn += "\n";
    }
    const Result<CheckTable> editor = read_editor_tables(
        "wgn_stations.csv", "id,name,lat,lon,elev,rain_yrs\r\n1,alike,52,5,2,30\r\n", "wgn_monthly.csv", monthly);
    ASSERT_TRUE(editor) << editor.problem().message();
    ASSERT_EQ(editor->size(), 1U);
    EXPECT_EQ(editor->front().station.values, testing::alike_station().station.values);
    EXPECT_EQ(editor->front().station.name, "alike");
    const Result<CheckTable> read = read_table_text("/d/alike.wgn", wgn);
    ASSERT_TRUE(read) << read.problem().message();
    EXPECT_EQ(read->front().station.name, "alike");
    EXPECT_EQ(read->front().station.latitude, "52.00");
    EXPECT_EQ(read->front().station.longitude, "5.00");
    EXPECT_EQ(read->front().station.rain_yrs, "30.00");
    EXPECT_EQ(read->front().station.values, testing::alike_station().station.values);
    // A value without its leading 0, as the .wgn's fields write it.
    wgn.replace(wgn.find("   0.6"), 6, "   .60");
    const Result<CheckTable> short_field = read_table_text("alike.wgn", wgn);
    ASSERT_TRUE(short_field);
    EXPECT_EQ(short_field->front().station.values[0][weather::kWetWet].text(), "0.60");
    // A month row of a station the pair does not hold.
    const Result<CheckTable> stray = read_editor_tables(
        "wgn_stations.csv", "id,name,lat,lon,elev,rain_yrs\r\n1,alike,52,5,2,30\r\n", "wgn_monthly.csv",
        monthly.substr(0, monthly.find("\r\n") + 2) + "1,7,1" + std::string(14, ',') + "\r\n");
    ASSERT_FALSE(stray);
    EXPECT_EQ(stray.problem().message(),
              "wgn_monthly.csv, line 2, column wgn_id: not the id of a station of wgn_stations");
}

TEST(CheckTables, WhatIsExpectedWhereATableCannotBeRead) {
    const struct {
        std::string text;
        std::string message;
    } cases[] = {
        {userwgn_text("x"), "userwgn.csv, line 2, column PCPMM7: \"x\" is not a number"},
        {"STATION,WLATITUDE\r\n", "userwgn.csv, line 1: no column WLONGITUDE (a userwgn.csv header was expected)"},
        {"title\nst 1 2 3 30\n1 2 3\n",
         "userwgn.csv, line 3: a month line of fewer than 14 values (a weather-wgn.cli, userwgn.csv, .wgn or the "
         "Editor's wgn_stations.csv was expected)"},
        {"t\n  LATITUDE =  52.00\n  ELEV (m) =   x\n",
         "userwgn.csv, line 3: not a number in columns 13-19 (a .wgn's LATITUDE, ELEV or RAIN_YRS line)"},
        {"title\n", "userwgn.csv: no station (a weather-wgn.cli block was expected)"},
    };
    for (const auto& c : cases) {
        const Result<CheckTable> table = read_table_text("userwgn.csv", c.text);
        ASSERT_FALSE(table) << c.message;
        EXPECT_EQ(table.problem().message(), c.message);
    }
}

}  // namespace
}  // namespace wgn::check
