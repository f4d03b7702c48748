// A station's steps through the real wgnrain, its statuses, and run.txt
// written and read back.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "batch/station_record.hpp"
#include "batch/station_run.hpp"
#include "batch/station_status.hpp"
#include "readers/calendar_days.hpp"

namespace wgn::batch {
namespace {

namespace fs = std::filesystem;

TEST(StationStatus, SummaryAndBack) {
    struct Case {
        StationStatus status;
        const char* summary;
    };
    const Case cases[] = {
        {{StatusKind::ok, {}}, "ok"},
        {{StatusKind::report, "24"}, "24"},
        {{StatusKind::report, "M6201"}, "M6201"},
        {{StatusKind::exit, "signal 9"}, "signal 9"},
        {{StatusKind::not_started, {}}, "not started"},
        {{StatusKind::no_report, {}}, "no report"},
        {{StatusKind::bad_file, {}}, "bad file"},
        {{StatusKind::interrupted, {}}, "interrupted"},
        {{StatusKind::not_written, {}}, "not written"},
        {{StatusKind::not_run, {}}, "not run"},
        {{StatusKind::warnings, {}}, "warnings"},
        {{StatusKind::none, {}}, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.status.summary(), c.summary);
        EXPECT_EQ(status_named(c.summary), c.status) << c.summary;
    }
    // An exit status without a report reads back as a number: the same text.
    EXPECT_EQ(status_named(StationStatus{StatusKind::exit, "3"}.summary()).summary(), "3");
}

// A folder of its own under the system's temporary folder, removed after;
// named unit-test-..., not wgnrain-..., the programs' own scratch names,
// which the end-to-end tests running beside count as litter.
class TempFolder {
  public:
    explicit TempFolder(const std::string& name) : path_(fs::temp_directory_path() / name) {
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(path_, ignored);
    }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

  private:
    fs::path path_;
};

void write_file(const std::string& name, const std::string& text) {
    std::ofstream(name, std::ios::binary) << text;
}

// Five years of rain on every third day, one value a line from 2001.
std::string plain_series() {
    std::string text;
    for (int day = 0; day < 5 * 365 + 1; ++day) {
        text += day % 3 == 0 ? std::to_string(1 + day % 11) + ".5\n" : "0\n";
    }
    return text;
}

Station plain_station(const TempFolder& temp) {
    Station station;
    station.row = 2;
    station.name = "st";
    station.file = "s.txt";
    station.input_name = temp / "s.txt";
    station.first_year = "2001";
    station.nodata = "-99";
    write_file(station.input_name, plain_series());
    return station;
}

// A file of the station's folder that cannot be written (a folder stands in
// its place) fails the station with that step's status, leaves no record,
// and the next run, unblocked, is ok.
TEST(StationRun, EveryStepTellsItsOwnFailure) {
    if (!fs::exists(WGNRAIN_PROGRAM)) GTEST_SKIP() << "no " << WGNRAIN_PROGRAM;
    struct Case {
        const char* blocked;  // a folder made in the station's folder before the run
        StatusKind kind;
        const char* line_begins;  // with the station's folder in front
    };
    const Case cases[] = {
        {"", StatusKind::ok, ""},
        {"parameters.svg", StatusKind::not_written, "cannot write "},
        {"run.txt", StatusKind::not_written, "cannot write the record "},
        {"answers.txt", StatusKind::not_started, "cannot prepare "},
    };
    for (const Case& c : cases) {
        const TempFolder temp("unit-test-station-run-test");
        const Station station = plain_station(temp);
        const std::string output = temp / "out";
        const std::string folder = output + "/st";
        fs::create_directories(folder);
        if (*c.blocked) fs::create_directories(folder + "/" + c.blocked + "/x");
        const std::string key = station_key(station);
        ASSERT_FALSE(key.empty());

        const StationOutcome outcome = run_station(WGNRAIN_PROGRAM, output, station, key, false);
        EXPECT_EQ(outcome.status.kind, c.kind) << c.blocked << ": " << outcome.report_line;
        if (*c.line_begins) {
            EXPECT_EQ(outcome.report_line.rfind(c.line_begins, 0), 0U) << outcome.report_line;
            // The folder as the system writes its names ("C:\\...\\out\\st" on Windows).
            const std::string shown = fs::path(folder).make_preferred().string();
            EXPECT_NE(outcome.report_line.find(shown), std::string::npos) << outcome.report_line;
        } else {
            EXPECT_EQ(outcome.report_line, "");
        }
        const std::optional<StationOutcome> recorded = recorded_outcome(folder, key);
        EXPECT_EQ(recorded.has_value(), c.kind == StatusKind::ok) << c.blocked;

        // Unblocked, the station runs again and is ok.
        if (*c.blocked) fs::remove_all(folder + "/" + c.blocked);
        EXPECT_TRUE(run_station(WGNRAIN_PROGRAM, output, station, key, false).ok()) << c.blocked;
        ASSERT_TRUE(recorded_outcome(folder, key).has_value()) << c.blocked;
        EXPECT_TRUE(recorded_outcome(folder, key)->ok());
        EXPECT_FALSE(recorded_outcome(folder, key + "x").has_value()) << "a stale key is reused";
    }
}

// run.txt written for an outcome and read back: the status, the failure and
// the warnings as they were; a failed station needs no report.
TEST(StationRecord, WrittenAndReadBack) {
    struct Case {
        StationStatus status;
        const char* report_line;
        int warnings;
        const char* first_warning;
    };
    const Case cases[] = {
        {{StatusKind::report, "24"}, "runlib: severe (24): end-of-file during read", 0, ""},
        {{StatusKind::report, "M6201"}, "- sqrt: DOMAIN error", 2, "runlib: warning: a"},
        {{StatusKind::exit, "signal 9"}, "", 0, ""},
        {{StatusKind::bad_file, {}}, "/d/a.csv, line 3, column tmax: \"x\" is not a number", 0, ""},
        {{StatusKind::no_report, {}}, "/d/st/report.txt is not a complete report", 1, "runlib: warning: b"},
    };
    const TempFolder temp("unit-test-station-record-test");
    const std::string key = "wgnrain-batch station record\r\nversion: 1\r\n";
    for (const Case& c : cases) {
        StationOutcome outcome;
        outcome.status = c.status;
        outcome.report_line = c.report_line;
        outcome.warnings = c.warnings;
        outcome.first_warning = c.first_warning;
        write_file(temp / "run.txt", record_text(key, "1", outcome));
        const std::optional<StationOutcome> read = recorded_outcome(temp / "", key);
        ASSERT_TRUE(read.has_value()) << c.status.summary();
        EXPECT_EQ(read->status.summary(), c.status.summary());
        EXPECT_FALSE(read->ok());
        EXPECT_EQ(read->report_line, c.report_line);
        EXPECT_EQ(read->warnings, c.warnings);
        EXPECT_EQ(read->first_warning, c.first_warning);
        EXPECT_FALSE(recorded_outcome(temp / "", "another key").has_value());
    }
    // An ok record whose report has gone is run again.
    StationOutcome ok;
    ok.status = {StatusKind::ok, {}};
    write_file(temp / "run.txt", record_text(key, "0", ok));
    EXPECT_FALSE(recorded_outcome(temp / "", key).has_value());
}

// The outlier days in run.txt read back as they were; a record without the
// line (an older version's) has none, one whose line is edited out of shape
// runs again.
TEST(StationRecord, OutlierDaysReadBack) {
    const TempFolder temp("unit-test-station-outlier-record-test");
    const std::string key = "wgnrain-batch station record\r\nversion: 1\r\n";
    StationOutcome outcome;
    outcome.status = {StatusKind::bad_file, {}};
    const std::int32_t day = readers::day_number({2001, 2, 8});
    outcome.outlier_days = {{readers::Variable::pcp, day, "2540"},
                            {readers::Variable::pcp, day + 21, "-5"},
                            {readers::Variable::slr, day + 1, "397.65"}};
    const std::string text = record_text(key, "1", outcome);
    EXPECT_NE(text.find("\r\noutlier_days: pcp 2001-02-08 2540, 2001-03-01 -5; slr 2001-02-09 397.65\r\n"),
              std::string::npos);
    const struct {
        std::string line;  // replacing the record's
        std::optional<std::vector<readers::OutlierDay>> read;
    } cases[] = {
        {"outlier_days: pcp 2001-02-08 2540, 2001-03-01 -5; slr 2001-02-09 397.65", outcome.outlier_days},
        {"", std::vector<readers::OutlierDay>{}},
        {"outlier_days: pcp 2001-02-30 2540", std::nullopt},
        {"outlier_days: rain 2001-02-08 2540", std::nullopt},
        {"outlier_days: pcp 2001-02-08 x", std::nullopt},
        {"outlier_days: pcp", std::nullopt},
    };
    const std::size_t at = text.find("outlier_days: ");
    const std::size_t end = text.find("\r\n", at) + 2;
    for (const auto& c : cases) {
        write_file(temp / "run.txt", text.substr(0, at) + (c.line.empty() ? "" : c.line + "\r\n") + text.substr(end));
        const std::optional<StationOutcome> read = recorded_outcome(temp / "", key);
        ASSERT_EQ(read.has_value(), c.read.has_value()) << c.line;
        if (read) {
            EXPECT_EQ(read->outlier_days, *c.read) << c.line;
        }
    }
}

// The complete record in run.txt read back digit for digit, a value missing
// as "-"; a number edited into something else makes the record unreadable,
// so that the station runs again rather than put it into a model file.
TEST(StationRecord, TheCompleteRecordReadBackAsItsNumbers) {
    const TempFolder temp("unit-test-station-weather-record-test");
    const std::string key = "wgnrain-batch station record\r\nversion: 1\r\n";
    StationOutcome outcome;
    outcome.status = {StatusKind::not_written, {}};
    weather::WeatherRecord record;
    record.latitude = weather::DecimalText::made("52.1");
    record.longitude = weather::DecimalText::made("-5.18");
    record.rain_yrs = weather::DecimalText::made("30");
    record.position_problem = "";
    for (std::size_t m = 0; m < 12; ++m) {
        for (std::size_t c = 0; c < weather::kColumns.size(); ++c) {
            if (c != weather::kSlrAve || m != 6)
                record.values[m][c] = weather::DecimalText::made(std::to_string(m) + ".25");
        }
    }
    record.missing_variables = {"slr_ave"};
    outcome.weather = record;
    const std::string text = record_text(key, "1", outcome);
    write_file(temp / "run.txt", text);
    const std::optional<StationOutcome> read = recorded_outcome(temp / "", key);
    ASSERT_TRUE(read.has_value());
    ASSERT_TRUE(read->weather.has_value());
    EXPECT_EQ(read->weather->latitude, "52.1");
    EXPECT_EQ(read->weather->longitude, "-5.18");
    EXPECT_TRUE(read->weather->elevation.empty());
    EXPECT_EQ(read->weather->rain_yrs, "30");
    EXPECT_EQ(read->weather->missing_variables, std::vector<std::string>{"slr_ave"});
    for (std::size_t m = 0; m < 12; ++m) {
        for (std::size_t c = 0; c < weather::kColumns.size(); ++c)
            EXPECT_EQ(read->weather->values[m][c], record.values[m][c]) << m << " " << c;
    }
    const struct {
        const char *from, *to;
    } edits[] = {
        {"wgn_pcp_ave: 0.25", "wgn_pcp_ave: x.25"}, {"rain_yrs: 30", "rain_yrs: 3O"}, {"lat: 52.1", "lat: 52,1"}};
    for (const auto& edit : edits) {
        std::string edited = text;
        const std::size_t at = edited.find(edit.from);
        ASSERT_NE(at, std::string::npos) << edit.from;
        edited.replace(at, std::string_view(edit.from).size(), edit.to);
        write_file(temp / "run.txt", edited);
        EXPECT_FALSE(recorded_outcome(temp / "", key).has_value()) << edit.to;
    }
}

// The six values the tables took, read back from run.txt; a record written
// before them holds the report's, which stand only without missing days and
// months of NaN (else the station runs again), as does an edited value.
TEST(StationRecord, ThePrecipitationValuesReadBack) {
    const TempFolder temp("unit-test-station-precipitation-record-test");
    const std::string key = "wgnrain-batch station record\r\nversion: 1\r\n";
    const auto report = [](const char* nodata, const char* april) {
        std::string text = std::string("Statistical Analysis of Daily Precipitation Data (2003 - 2003)\r\n") +
                           "Input Filename = in.txt\r\n \r\nNumber of Years =   1\r\nNumber of Leap Years =  0\r\n"
                           "Number of Records =      365\r\nNumber of NoData values = " +
                           nodata + "\r\n \r\n rule\r\n \r\n heads\r\n rule\r\n \r\n";
        for (const char* label :
             {"Jan.", "Feb.", "Mar.", "Apr.", "May.", "Jun.", "Jul.", "Aug.", "Sep.", "Oct.", "Nov.", "Dec."}) {
            text += std::string(label) == "Apr."
                        ? april
                        : std::string("    ") + label +
                              "     64.17      3.8913      3.3283      0.3295      0.6854     16.63";
            text += "\r\n";
        }
        return text;
    };
    const std::string shown = "    Apr.     64.17      3.8913      3.3283      0.3295      0.6854     16.63";
    const std::string dry = "    Apr.      0.00      0.0000 NaN              0.0000 NaN              0.00";
    StationOutcome outcome;
    outcome.status = {StatusKind::ok, {}};
    StationPrecipitation gap_aware;
    for (auto& month : gap_aware.values) month = {"60.01", "3.8001", "3.3001", "0.3301", "0.6801", "16.01"};
    gap_aware.values[3] = {"0.00", "0.0000", "0.2000", "0.00001", "0.00002", "0.00"};
    gap_aware.gap_aware = true;
    gap_aware.missing_days = 5;
    outcome.precipitation = gap_aware;
    const std::string with_values = record_text(key, "0", outcome);
    outcome.precipitation.reset();
    const std::string older = record_text(key, "0", outcome);
    const struct {
        const char* what;
        std::string record, nodata, april;
        std::optional<std::string> april_skew;  // nothing: runs again
    } cases[] = {
        {"gap-aware", with_values, "       5", dry, "0.2000"},
        {"older, no missing day", older, "       0", shown, "3.3283"},
        {"older, missing days", older, "       3", shown, std::nullopt},
        {"older, a month of NaN", older, "       0", dry, std::nullopt},
        {"edited", std::string(with_values).replace(with_values.find("0.00001"), 7, "0.0000x"), "       5", dry,
         std::nullopt},
    };
    for (const auto& c : cases) {
        write_file(temp / "run.txt", c.record);
        write_file(temp / "report.txt", report(c.nodata.c_str(), c.april.c_str()));
        const std::optional<StationOutcome> read = recorded_outcome(temp / "", key);
        EXPECT_EQ(read.has_value(), c.april_skew.has_value()) << c.what;
        if (!read || !c.april_skew) continue;
        ASSERT_TRUE(read->precipitation) << c.what;
        EXPECT_EQ(read->precipitation->values[3][2], *c.april_skew) << c.what;
        EXPECT_EQ(pcp_values_text(*read->precipitation),
                  c.record == with_values ? "gap-aware (5 missing days)" : "report")
            << c.what;
    }
}

// A file many stations share is read once per batch for their keys: an edit
// that keeps its size and time is not seen again (its hash is the one read
// first), while any other change is; the station's own file is read for
// every key.
TEST(StationRecord, ASharedFileIsReadOncePerBatch) {
    const TempFolder temp("unit-test-station-key-test");
    Station station = plain_station(temp);
    station.weather.fill_file = temp / "ref.cli";
    write_file(station.weather.fill_file, "reference one\n");
    // Times in whole seconds, which every system sets back exactly (Windows
    // under Wine keeps no finer part of a time it is given).
    for (const std::string& name : {station.input_name, station.weather.fill_file})
        fs::last_write_time(name, std::chrono::floor<std::chrono::seconds>(fs::last_write_time(name)));
    const std::string first = station_key(station);
    ASSERT_FALSE(first.empty());
    const auto edit_in_place = [](const std::string& name, const std::string& text) {
        const fs::file_time_type time = fs::last_write_time(name);
        write_file(name, text);
        fs::last_write_time(name, time);
    };
    edit_in_place(station.weather.fill_file, "reference two\n");
    EXPECT_EQ(station_key(station), first) << "the shared file was read again";
    write_file(station.weather.fill_file, "reference three\n");
    EXPECT_NE(station_key(station), first);
    const std::string before = station_key(station);
    std::ifstream in(station.input_name, std::ios::binary);
    std::string series((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    series[0] = series[0] == '1' ? '2' : '1';
    edit_in_place(station.input_name, series);
    EXPECT_NE(station_key(station), before) << "the station's own file must be read for every key";
}

}  // namespace
}  // namespace wgn::batch
