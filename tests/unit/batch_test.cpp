// The pieces of wgnrain-batch that need no process: the CSV reader, the
// station names, the report reader and the reading of a failure report.
#include <gtest/gtest.h>

#include "batch/batch_tables.hpp"
#include "batch/case_folding.hpp"
#include "batch/report_reader.hpp"
#include "batch/station_findings.hpp"
#include "batch/station_list.hpp"
#include "batch/station_run.hpp"
#include "io/whole_files.hpp"
#include "readers/csv.hpp"
#include "text/csv_writing.hpp"

namespace wgn::batch {

using readers::CsvText;
using readers::parse_csv;
using text::csv_line;

namespace {

TEST(Csv, RowsFieldsAndLines) {
    struct Case {
        const char* text;
        std::vector<std::vector<std::string>> rows;
        std::vector<int> lines;
    };
    const Case cases[] = {
        {"a,b\nc,d\n", {{"a", "b"}, {"c", "d"}}, {1, 2}},
        {"a,b\r\nc,d", {{"a", "b"}, {"c", "d"}}, {1, 2}},
        {"\xEF\xBB\xBFstation\n\n  \nx\n", {{"station"}, {"x"}}, {1, 4}},
        {"\"De Bilt, 260\",\"say \"\"hi\"\"\"\n", {{"De Bilt, 260", "say \"hi\""}}, {1}},
        {"\"two\nlines\",x\ny,\n", {{"two\nlines", "x"}, {"y", ""}}, {1, 3}},
        {"a\rb,c\r\n", {{"a\rb", "c"}}, {1}},
        // A lone CR after the last field of the text is its line end.
        {"a,b\r\nc,d\r", {{"a", "b"}, {"c", "d"}}, {1, 2}},
    };
    for (const Case& c : cases) {
        const Result<CsvText> csv = parse_csv(c.text);
        ASSERT_EQ(csv ? "" : csv.problem().text, "") << c.text;
        ASSERT_EQ(csv->rows.size(), c.rows.size()) << c.text;
        for (std::size_t i = 0; i < c.rows.size(); ++i) {
            EXPECT_EQ(csv->rows[i].fields, c.rows[i]) << c.text;
            EXPECT_EQ(csv->rows[i].line, c.lines[i]) << c.text;
        }
    }
    const Result<CsvText> open = parse_csv("a\nb,\"never closed\n\n");
    EXPECT_EQ(open ? 0 : open.problem().line, 2);
}

TEST(Csv, FieldsQuotedOnlyWhenNeeded) {
    EXPECT_EQ(csv_line({"a b", "1,5", "say \"x\"", "", "two\nlines"}),
              "a b,\"1,5\",\"say \"\"x\"\"\",,\"two\nlines\"\r\n");
    // What is written reads back as it was.
    const std::vector<std::string> fields = {"x,y", "\"", "plain", "\r\n"};
    EXPECT_EQ(parse_csv(csv_line(fields))->rows.at(0).fields, fields);
}

TEST(StationNames, UnsafeNamesAreRefused) {
    for (const char* name :
         {"", ".", "..", "a/b", "a\\b", "c:", "x*", "why?", "a\"b", "<", ">", "|", "tab\there", "dot.", "blank ", "CON",
          "nul.txt", "Lpt1", "com9.csv", "SUMMARY.csv", "userwgn_pcp.csv", "wgn_mon_pcp.csv",
          // The batch's other files in the output folder, any case.
          "index.html", "Index.HTML", "weather-wgn.cli", "wgn_stations.csv", "WGN_MONTHLY.csv", "userwgn.csv",
          // The folders of the .wgn files and of --check.
          "swat2012", "check", "Check", "CHECK",
          "\u017Fummary.csv",  // long s, folded to s
          ".wgnrain-batch.lock", ".WGNRAIN-BATCH.LOCK", ".wgnrain-batch-2-of-3.lock", ".wgnrain-batch-1-of-2.LOCK",
          ".wgnrain-batch-10-of-4000.lock", "summary.csv.3f2a-7.tmp", "x.3F2A-7.TMP",
          // Cells a spreadsheet would run.
          "=HYPERLINK(\"http://x\")", "+cmd", "-2+3", "@SUM(1)"}) {
        EXPECT_NE(unsafe_name_reason(name), "") << name;
    }
    for (const char* name : {"ftc",
                             "De Bilt 260",
                             "knmi-249",
                             "consol",
                             "com10",
                             ".hidden",
                             "Zürich",
                             "a.b",
                             "index.htm",
                             "summary",
                             "checks",
                             "check.csv",
                             "ftc.csv",
                             "a=b",
                             "x+",
                             "knmi-",
                             "a@b",
                             ".wgnrain-batch",
                             ".wgnrain-batch-1-of-1.lock",
                             ".wgnrain-batch-3-of-2.lock",
                             ".wgnrain-batch-02-of-3.lock",
                             ".wgnrain-batch-2-of-3.lock.x",
                             "x.1-2.tmpx"}) {
        EXPECT_EQ(unsafe_name_reason(name), "") << name;
    }
}

std::vector<std::string> problem_texts(const StationList& list) {
    std::vector<std::string> texts;
    for (const Problem& problem : list.problems) texts.push_back(list_problem_text(problem));
    return texts;
}

// A good list's rows as the stations the batch runs: each cell in its field,
// the station's files (its own and those of its other variables) by their
// full names, the format as its type, the list's NoData value kept as written.
TEST(StationList, RowsBecomeStations) {
    const FileCheck in_data = [](std::string_view file) { return Result<std::string>("/d/" + std::string(file)); };
    const StationList list = read_station_list(
        "station,file,first_year,nodata,format,last_year,pcp_column,pcp_unit,tmp_file,tmax_column,hmd_unit,lat,"
        "fill_file,fill_station,note\r\n"
        "ftc,ftc.txt,1991,-99.9,,,,,,,,,,,plain one\r\n"
        "De Bilt,260.csv,,,CSV,2020,RH,in,t.csv,TX,percent,52.1,ref.cli,DEBILT,\"a, b\"\r\n",
        in_data);
    ASSERT_EQ(problem_texts(list), std::vector<std::string>{});
    ASSERT_EQ(list.stations.size(), 2U);
    EXPECT_EQ(list.extra_columns, std::vector<std::string>{"note"});
    EXPECT_TRUE(list.dated_columns);
    EXPECT_TRUE(list.weather_columns);
    struct Case {
        const char *name, *file, *input_name, *first_year, *nodata;
        readers::Format format;
        const char *last_year, *pcp_column, *pcp_unit, *tmp_file, *tmax_column, *hmd_unit, *lat, *fill_file,
            *fill_station, *note;
    };
    const Case cases[] = {
        {"ftc", "ftc.txt", "/d/ftc.txt", "1991", "-99.9", readers::Format::plain, "", "", "", "", "", "", "", "", "",
         "plain one"},
        {"De Bilt", "260.csv", "/d/260.csv", "", "", readers::Format::csv, "2020", "RH", "in", "/d/t.csv", "TX",
         "percent", "52.1", "/d/ref.cli", "DEBILT", "a, b"},
    };
    for (std::size_t i = 0; i < 2; ++i) {
        const Case& c = cases[i];
        const Station& station = list.stations[i];
        EXPECT_EQ(station.row, static_cast<int>(i) + 2);
        EXPECT_EQ(station.name, c.name);
        EXPECT_EQ(station.file, c.file);
        EXPECT_EQ(station.input_name, c.input_name);
        EXPECT_EQ(station.first_year, c.first_year);
        EXPECT_EQ(station.nodata, c.nodata);
        EXPECT_EQ(station.format, c.format) << c.name;
        EXPECT_EQ(station.last_year, c.last_year);
        EXPECT_EQ(station.pcp_column, c.pcp_column);
        EXPECT_EQ(station.pcp_unit, c.pcp_unit);
        EXPECT_EQ(station.weather.tmp_file, c.tmp_file);
        EXPECT_EQ(station.weather.column_of(readers::Variable::tmax), c.tmax_column);
        EXPECT_EQ(station.weather.unit_of(readers::Quantity::kHumidity), c.hmd_unit);
        EXPECT_EQ(station.weather.file_of(readers::FileKind::tmp), c.tmp_file);
        EXPECT_EQ(station.weather.lat, c.lat);
        EXPECT_EQ(station.weather.fill_file, c.fill_file);
        EXPECT_EQ(station.weather.fill_station, c.fill_station);
        EXPECT_EQ(station.extra, std::vector<std::string>{c.note});
    }
}

// The messages of whole lists, each with its row and column.
TEST(StationList, NamesRefusedBeforeAnythingRuns) {
    struct Case {
        const char* list;
        std::vector<std::string> problems;
    };
    const Case cases[] = {
        {"station,file,first_year,nodata\nindex.html,a.txt,2001,-99\n",
         {"row 2, column station: \"index.html\" is the name of an output file of the batch"}},
        {"station,file,first_year,nodata\nok,a.txt,2001,-99\ncheck,a.txt,2001,-99\n",
         {"row 3, column station: \"check\" is the name of an output file of the batch"}},
        {"station,file,first_year,nodata\nok,a.txt,2001,-99\n.wgnrain-batch-2-of-3.lock,a.txt,2001,-99\n",
         {"row 3, column station: \".wgnrain-batch-2-of-3.lock\" is the name of the batch's lock"}},
        {"station,file,first_year,nodata\n.WGNRAIN-BATCH.lock.takeover,a.txt,2001,-99\n",
         {"row 2, column station: \".WGNRAIN-BATCH.lock.takeover\" is the name of the batch's lock"}},
        {"station,file,first_year,nodata\n=HYPERLINK(1),a.txt,2001,-99\n",
         {"row 2, column station: \"=HYPERLINK(1)\" begins with = : a spreadsheet would take it for a formula"}},
        {"station,file,first_year,nodata\n\"@SUM(1)\",a.txt,2001,-99\n",
         {"row 2, column station: \"@SUM(1)\" begins with @ : a spreadsheet would take it for a formula"}},
        // weather-wgn.cli writes a blank as '_': the two would be one station there.
        {"station,file,format,lat\na b,a.txt,swat,1\nok,a.txt,swat,1\na_b,a.txt,swat,1\n",
         {"row 4, column station: \"a_b\" is written as a_b in weather-wgn.cli, as is \"a b\" of row 2"}},
        {"station,file,format,lat\nDe Bilt,a.txt,swat,1\nde_BILT,a.txt,swat,1\nDE BILT,a.txt,swat,1\n",
         {"row 3, column station: \"de_BILT\" is written as de_BILT in weather-wgn.cli, as is \"De Bilt\" of row 2",
          "row 4, column station: \"DE BILT\" is already the station of row 2"}},
        // Without the columns of the complete record no weather-wgn.cli is written.
        {"station,file,first_year,nodata\na b,a.txt,2001,-99\na_b,a.txt,2001,-99\n", {}},
        // The written forms are compared as the duplicate check compares names.
        {"station,file,format,lat\n\u00C4rhus x,a.txt,swat,1\n\u00E4rhus_X,a.txt,swat,1\n",
         {"row 3, column station: \"\u00E4rhus_X\" is written as \u00E4rhus_X in weather-wgn.cli, as is "
          "\"\u00C4rhus x\" of row 2"}},
        // An unknown format is refused on its own column; the row's other cells are checked as a dated file's.
        {"station,file,format,tmp_file\nx,a.txt,swatt,t.tmp\n",
         {"row 2, column format: \"swatt\" is not a format (plain, csv, ghcnd, power, swat, swatplus, swat2012)"}},
        // A format that holds every variable in the station's one file takes no file of another.
        {"station,file,format,tmp_file\nx,a.dly,ghcnd,t.tmp\ny,a.csv,csv,t.csv\n",
         {"row 2, column tmp_file: a ghcnd station gives its other variables in its own file"}},
        // A wet-day threshold is a number of mm, 0 or more; a plain series goes to wgnrain as it is.
        {"station,file,format,pcp_threshold\na,a.csv,csv,0.1\nb,a.csv,csv,0\nc,a.csv,csv,1e-1\nd,a.csv,csv,\n", {}},
        {"station,file,format,pcp_threshold\na,a.csv,csv,-0.1\nb,a.csv,csv,0.1mm\nc,a.csv,csv,nan\n",
         {"row 2, column pcp_threshold: \"-0.1\" is not a wet-day threshold (a number of mm, 0 or more)",
          "row 3, column pcp_threshold: \"0.1mm\" is not a wet-day threshold (a number of mm, 0 or more)",
          "row 4, column pcp_threshold: \"nan\" is not a wet-day threshold (a number of mm, 0 or more)"}},
        {"station,file,first_year,nodata,format,pcp_threshold\np,a.txt,2001,-99,,0.1\n",
         {"row 2, column pcp_threshold: a plain series is read as it is: write it with wgnrain-series "
          "--pcp-threshold first"}},
        // Only a swat2012 file has gauges; its gauge is taken as written (a name or a number).
        {"station,file,format,gauge\nx,a.pcp,swat2012,p5211\ny,b.pcp,swat2012,\nz,a.csv,csv,2\n",
         {"row 4, column gauge: only a swat2012 file has gauges to choose from"}},
    };
    const FileCheck exists = [](std::string_view file) { return Result<std::string>(std::string(file)); };
    for (const Case& c : cases) EXPECT_EQ(problem_texts(read_station_list(c.list, exists)), c.problems) << c.list;
}

TEST(ReportReader, ShownNumbers) {
    const std::pair<const char*, const char*> cases[] = {
        {"     64.17", "64.17"},
        {"     -0.00", "-0.00"},
        {"  150000.00", "150000.00"},
        {"**********", ""},
        {" NaN      ", ""},
        {"  Infinity", ""},
        {" -Infinity", ""},
        {"          ", ""},
        {"  30", "30"},
        {"***", ""},
    };
    for (const auto& [field, shown] : cases) EXPECT_EQ(shown_number(field), shown) << field;
}

std::string report_with_rows(const std::string& april) {
    std::string text =
        "Statistical Analysis of Daily Precipitation Data (2003 - 2003)\r\n"
        "Input Filename = in.txt                                                      \r\n \r\n"
        "Number of Years =   1\r\nNumber of Leap Years =  0\r\nNumber of Records =      365\r\n"
        "Number of NoData values =        0\r\n \r\n rule\r\n \r\n heads\r\n rule\r\n \r\n";
    const char* labels[] = {"Jan.", "Feb.", "Mar.", "Apr.", "May.", "Jun.",
                            "Jul.", "Aug.", "Sep.", "Oct.", "Nov.", "Dec."};
    for (const char* label : labels) {
        if (std::string(label) == "Apr.") {
            text += april + "\r\n";
        } else {
            text += std::string("    ") + label +
                    "     64.17      3.8913      3.3283      0.3295      0.6854     16.63\r\n";
        }
    }
    return text;
}

TEST(ReportReader, ValuesAsPrinted) {
    const auto figures =
        read_report(report_with_rows("    Apr.      0.00      0.0000 NaN              0.0000 NaN        **********"));
    ASSERT_TRUE(figures.has_value());
    EXPECT_EQ(figures->first_year, "2003");
    EXPECT_EQ(figures->years, "1");
    EXPECT_EQ(figures->records, "365");
    EXPECT_EQ(figures->values[0],
              (std::array<std::string, 6>{"64.17", "3.8913", "3.3283", "0.3295", "0.6854", "16.63"}));
    EXPECT_EQ(figures->values[3], (std::array<std::string, 6>{"0.00", "0.0000", "", "0.0000", "", ""}));
    EXPECT_EQ(values_not_shown(*figures), "PCPSKW4 PR_W2_4 PCPD4");
    // A row cut short or a month out of place is no report.
    EXPECT_FALSE(read_report(report_with_rows("    Apr.      0.00")).has_value());
    EXPECT_FALSE(
        read_report(report_with_rows("    Jan.     64.17      3.8913      3.3283      0.3295      0.6854     16.63"))
            .has_value());
}

TEST(FailureReport, NumberAndLastLine) {
    struct Case {
        const char* errors;
        const char* status;
        const char* line;
        int warnings;
    };
    const Case cases[] = {
        {"runlib: severe (24): end-of-file during read, unit 10, file /d/x.txt\r\n", "24",
         "runlib: severe (24): end-of-file during read, unit 10, file /d/x.txt", 0},
        {"runlib: No such file or directory\r\nrunlib: severe (29): file not found, unit 10, file /x\r\n", "29",
         "runlib: severe (29): file not found, unit 10, file /x", 0},
        {"runlib: warning: a\r\nrunlib: warning: b\r\n\r\nrun-time error M6201: MATH\r\n- sqrt: DOMAIN error\r\n",
         "M6201", "- sqrt: DOMAIN error", 2},
        {"runlib: error (200): program aborting due to control-C event\r\n", "200",
         "runlib: error (200): program aborting due to control-C event", 0},
        {"runlib: warning: only a warning\r\n", "", "", 1},
        // A month file is named for what it is; unit 10 (the series) and 112's neighbours are not.
        {"runlib: severe (64): input conversion error, unit 101, file /tmp/#10955865\r\n", "64",
         "runlib: severe (64): input conversion error, unit 101, file /tmp/#10955865 (wgnrain's own month file, a "
         "temporary file of the run)",
         0},
        {"runlib: severe (24): end-of-file during read, unit 112, file /tmp/#1\r\n", "24",
         "runlib: severe (24): end-of-file during read, unit 112, file /tmp/#1 (wgnrain's own month file, a temporary "
         "file of the run)",
         0},
        {"runlib: severe (38): error during write, unit 113, file /x\r\n", "38",
         "runlib: severe (38): error during write, unit 113, file /x", 0},
        {"", "", "", 0},
    };
    for (const Case& c : cases) {
        StationOutcome outcome;
        read_failure(c.errors, outcome);
        EXPECT_EQ(outcome.status.summary(), c.status) << c.errors;
        EXPECT_EQ(outcome.report_line, c.line) << c.errors;
        EXPECT_EQ(outcome.warnings, c.warnings) << c.errors;
    }
}

// One line of standard error for a station, whatever it found; none for
// a station without findings.
TEST(StationFindings, OneLineAStation) {
    using weather::NoteKind;
    const weather::ModelNote change{NoteKind::change, "pcp_days: fewer"}, skew{NoteKind::change, "pcp_skew: raised"};
    const weather::ModelNote note{NoteKind::note, "pcp_hhr 0 in Jul"}, told = weather::recomputed_pcp_days();
    const std::string refused = "/d/ftc.csv, line 2, column srad: slr 397.65 on 2001-01-01 is above 6.52";
    struct Case {
        std::vector<weather::ModelNote> notes;
        const char* line;
        std::vector<std::string> refused = {};
        std::string position = {};
    };
    const Case cases[] = {
        {{}, ""},
        {{told}, ""},
        {{},
         "wgnrain-batch: ftc: 1 variable refused; worst: /d/ftc.csv, line 2, column srad: slr 397.65 on "
         "2001-01-01 is above 6.52; see out/summary.csv\n",
         {refused}},
        {{change, note},
         "wgnrain-batch: ftc: 2 variables refused, 1 model change, 1 model note; worst: /d/ftc.csv, "
         "line 2, column srad: slr 397.65 on 2001-01-01 is above 6.52; see out/summary.csv\n",
         {refused, "tmax"}},
        {{note},
         "wgnrain-batch: ftc: no position, 1 model note; worst: no position: \"91\" is not a latitude; see "
         "out/summary.csv\n",
         {},
         "\"91\" is not a latitude"},
        {{change}, "wgnrain-batch: ftc: 1 model change; worst: pcp_days: fewer; see out/summary.csv\n"},
        {{note}, "wgnrain-batch: ftc: 1 model note; worst: pcp_hhr 0 in Jul; see out/summary.csv\n"},
        {{note, note}, "wgnrain-batch: ftc: 2 model notes; worst: pcp_hhr 0 in Jul; see out/summary.csv\n"},
        {{change, skew, note},
         "wgnrain-batch: ftc: 2 model changes, 1 model note; worst: pcp_days: fewer; see out/summary.csv\n"},
        {{told, skew, note, note},
         "wgnrain-batch: ftc: 1 model change, 2 model notes; worst: pcp_skew: raised; see out/summary.csv\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(findings_line("ftc", {c.notes, c.refused, c.position}, "out/summary.csv"), c.line) << c.line;
}

TEST(ScratchNames, OnlyTheBatchsOwn) {
    for (const char* name :
         {"summary.csv.3f2a-7.tmp", "run.txt.1-0.tmp", ".wgnrain-batch.lock.ffffffff-ffffffff.tmp"}) {
        EXPECT_TRUE(io::is_scratch_name(name)) << name;
    }
    for (const char* name : {"data.tmp", "x.3f2a.tmp", "x.3F2A-7.tmp", ".1-2.tmp", "x.1-2.tmpx", "x.123456789-1.tmp"}) {
        EXPECT_FALSE(io::is_scratch_name(name)) << name;
    }
}

// Normalization form C: one spelling for every way of storing an accent.
TEST(StationNames, ComposedAsUnicodeNormalizationFormC) {
    struct Case {
        const char* text;
        const char* composed;
    };
    const Case cases[] = {
        {"Zu\u0308rich", "Z\u00FCrich"},    // u + diaeresis -> ü
        {"Z\u00FCrich", "Z\u00FCrich"},     // already composed
        {"a\u0323\u0302", "\u1EAD"},        // marks in canonical order
        {"a\u0302\u0323", "\u1EAD"},        // ... and out of it
        {"\u212B", "\u00C5"},               // ANGSTROM SIGN is a singleton: Å
        {"\u0915\u093C", "\u0915\u093C"},   // QA is excluded from composition
        {"\u1100\u1161\u11A8", "\uAC01"},   // Hangul L V T by formula
        {"\uAC00\u11A8", "\uAC01"},         // LV + T
        {"\u1100\u1161", "\uAC00"},         // the first syllable, L V
        {"\u1112\u1175\u11C2", "\uD7A3"},   // the last, L V T
        {"\uAC00\u11A7", "\uAC00\u11A7"},   // U+11A7 is before the first T: no LVT
        {"e\u0301\u0301", "\u00E9\u0301"},  // a second acute is blocked
        {"\u0301e", "\u0301e"},             // a mark before any starter stays
        {"caf\xE9", "caf\xE9"},             // not UTF-8: as it is
    };
    for (const Case& c : cases) EXPECT_EQ(composed(c.text), c.composed) << c.text;
}

TEST(StationNames, KeysOfOneStation) {
    struct Case {
        const char* first;
        const char* second;
        bool same;
    };
    const Case cases[] = {
        {"Z\u00FCrich", "Z\u00DCrich", true},                  // Zürich, ZÜrich
        {"Z\u00FCrich", "ZU\u0308RICH", true},                 // decomposed capitals
        {"\u00C5s", "\u212Bs", true},                          // Ås with the Angstrom sign
        {"\u0141\u00F3d\u017A", "\u0142\u00D3D\u0179", true},  // Łódź, łÓDŹ
        {"Zurich", "Z\u00FCrich", false},
        {"\u00DF", "ss", false},           // simple folding: ß stays one letter
        {"\uAC00", "\u1100\u1161", true},  // 가 and its jamo
    };
    for (const Case& c : cases)
        EXPECT_EQ(name_key(c.first) == name_key(c.second), c.same) << c.first << " " << c.second;
}

TEST(DialogueAnswers, NameQuotedWhateverItHolds) {
    EXPECT_EQ(dialogue_answers("/data/my \"best\", station/x.txt", "1991", "-99"),
              "\"/data/my \"\"best\"\", station/x.txt\"" + std::string(io::platform::kLineEnd) + "report.txt" +
                  io::platform::kLineEnd + "1991" + io::platform::kLineEnd + "-99" + io::platform::kLineEnd);
}

}  // namespace
}  // namespace wgn::batch
