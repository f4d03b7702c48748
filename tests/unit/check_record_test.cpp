// The record beside the table: a batch's intervals.csv read back by the
// check (and what is expected where it cannot be), the page's table of the
// record with a generated value outside its interval marked, and the
// summary's interval_notes column last of all.
#include <gtest/gtest.h>

#include <string>

#include "batch/batch_tables.hpp"
#include "check/batch_record.hpp"
#include "check/record_table.hpp"
#include "check_station.hpp"

namespace wgn::check {
namespace {

constexpr const char* kHeader = "station,month,variable,value,low,high\r\n";

TEST(CheckRecord, IntervalsReadByTheNameInTheModelFiles) {
    const std::string long_name(60, 'x');
    const std::string text = std::string(kHeader) +
                             "example,7,pcp_ave,67.88,57.54,78.39\r\n"
                             "example,12,wnd_ave,4.60,,\r\n" +
                             long_name + ",1,pcp_hhr,10.20,8.00,10.20\r\n";
    const Result<BatchRecords> records = read_record_intervals("intervals.csv", text);
    ASSERT_TRUE(records) << records.problem().message();
    ASSERT_EQ(records->size(), 2U);
    const BatchRecord& example = records->at("example");
    EXPECT_EQ(example.values[6][weather::kPcpAve].value, "67.88");
    EXPECT_EQ(example.values[6][weather::kPcpAve].low, "57.54");
    EXPECT_EQ(example.values[6][weather::kPcpAve].high, "78.39");
    EXPECT_EQ(example.values[11][weather::kWndAve].value, "4.60");
    EXPECT_EQ(example.values[11][weather::kWndAve].low, "");
    EXPECT_EQ(example.values[0][weather::kPcpAve].value, "");
    // The model files hold at most 50 bytes of a name.
    EXPECT_EQ(records->count(std::string(50, 'x')), 1U);
}

TEST(CheckRecord, WhatIsExpectedWhereIntervalsCannotBeRead) {
    const struct {
        std::string text, message;
    } cases[] = {
        {"station,month,variable\r\n",
         "i.csv, line 1: not the header station,month,variable,value,low,high of a batch's intervals.csv"},
        {"", "i.csv: not the header station,month,variable,value,low,high of a batch's intervals.csv"},
        {std::string(kHeader) + "a,13,pcp_ave,1,0,2\r\n",
         "i.csv, line 2, column month: \"13\" is not a month 1 ... 12"},
        {std::string(kHeader) + "a,7,pcp_mean,1,0,2\r\n",
         "i.csv, line 2, column variable: \"pcp_mean\" is not one of the 14 variables of the table"},
        {std::string(kHeader) + "a,7,pcp_ave,1,0\r\n", "i.csv, line 2: a row of 5 fields, not 6"},
        {std::string(kHeader) + "a,7,pcp_ave,\"1,0,2\r\n",
         "i.csv, line 2: a quotation mark opened here is never closed"},
    };
    for (const auto& c : cases) {
        const Result<BatchRecords> records = read_record_intervals("i.csv", c.text);
        ASSERT_FALSE(records) << c.text;
        EXPECT_EQ(records.problem().message(), c.message) << c.text;
    }
}

TEST(CheckRecord, ThePageSetsTheRecordBesideTheTableAndTheGenerated) {
    TableStation station = testing::alike_station();
    EXPECT_EQ(record_table(station, {}), "");
    station.record = BatchRecord{};
    station.record->values[6][weather::kPcpAve] = {"60.00", "50.00", "70.00"};
    station.record->values[6][weather::kPcpDays] = {"11.90", "10.00", "13.00"};
    const std::vector<GeneratedRow> generated = {{"pcp_ave", "60", 64.5, 7}, {"pcp_days", "11.9", 9.2, 7}};
    const std::string html = record_table(station, generated);
    EXPECT_NE(html.find("<tr><td>Jul</td><td>pcp_ave</td><td>60</td><td>60.00</td><td>50.00 … 70.00</td>"
                        "<td>64.5000</td></tr>"),
              std::string::npos);
    EXPECT_NE(html.find("<tr><td>Jul</td><td>pcp_days</td><td>11.9</td><td>11.90</td><td>10.00 … 13.00</td>"
                        "<td class=\"far\">9.2000</td></tr>"),
              std::string::npos);
    const struct {
        RecordValue record;
        double generated;
        bool outside;
    } cases[] = {{{"1", "0.5", "1.5"}, 1.5, false},
                 {{"1", "0.5", "1.5"}, 1.51, true},
                 {{"1", "0.5", "1.5"}, 0.4, true},
                 {{"1", "", ""}, 9.0, false}};
    for (const auto& c : cases) EXPECT_EQ(outside_interval(c.record, c.generated), c.outside) << c.generated;
}

// The intervals' notes, then the outlier days, after the list's own columns.
TEST(CheckRecord, TheSummarysIntervalNotesComeLast) {
    const struct {
        bool weather, dated;
        std::vector<std::string> extra;
        std::string ends;
    } cases[] = {
        {true, false, {}, ",fill_km,interval_notes,pcp_values,outlier_days\r\n"},
        {true,
         false,
         {"note", "Interval_Notes"},
         ",fill_km,note,list_Interval_Notes,interval_notes,pcp_values,outlier_days\r\n"},
        {false,
         false,
         {"interval_notes"},
         ",report_line,interval_notes,pcp_values\r\n"},  // the list's own, kept as it is
        {false, true, {"outlier_days"}, ",years_outside,list_outlier_days,pcp_values,outlier_days\r\n"},
        {false, false, {"outlier_days", "PCP_values"}, ",report_line,outlier_days,list_PCP_values,pcp_values\r\n"},
    };
    for (const auto& c : cases) {
        batch::StationList list;
        list.weather_columns = c.weather;
        list.dated_columns = c.dated;
        list.extra_columns = c.extra;
        const std::string header = batch::summary_header(list);
        ASSERT_GE(header.size(), c.ends.size());
        EXPECT_EQ(header.substr(header.size() - c.ends.size()), c.ends) << header;
    }
}

}  // namespace
}  // namespace wgn::check
