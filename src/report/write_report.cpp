#include "report/write_report.hpp"

#include <string>

#include "driver/shared_records.hpp"
#include "input/credit.hpp"
#include "io/units.hpp"
#include "partition/calendar.hpp"
#include "report/report_layout.hpp"
#include "stats/month_statistics.hpp"

namespace wgn {
namespace {

constexpr int kReportUnit = 400;
using Text = std::string_view;

void empty_record() {
    io::write_list_record(kReportUnit, "");
}

void rule_line() {
    static const io::FieldList a77("(A77)");
    static const std::string underscores(75, '_');
    io::write_formatted(kReportUnit, a77, {Text(underscores)});
}

}  // namespace

void write_report(std::int32_t year_count, std::int32_t first_year, std::int32_t leap_year_count,
                  std::int32_t record_count, std::int32_t nodata_count) {
    namespace layout = report_layout;
    static const io::FieldList title(layout::kTitleFormat);
    static const io::FieldList input_name("(A17, A60)");
    static const io::FieldList years(layout::kYears.format);
    static const io::FieldList leap_years(layout::kLeapYears.format);
    static const io::FieldList records(layout::kRecords.format);
    static const io::FieldList nodata(layout::kNodataValues.format);
    static const io::FieldList heads("(A8, A10, 4A12, A10)");
    static const io::FieldList month_row(layout::kMonthRowFormat);

    // 1. Connect the report; an existing file is replaced from its start.
    io::connect(kReportUnit, run_settings.output_file_name, "UNKNOWN");

    // 2. The 37 records.
    // The last year: year_count + first_year - 1, wrapping around in 32 bits.
    const std::int32_t last_year = year_after(year_after(year_count, first_year), -1);
    io::write_formatted(kReportUnit, title, {layout::kTitle, first_year, Text(" - "), last_year, Text(")")});
    io::write_formatted(kReportUnit, input_name, {Text("Input Filename = "), Text(run_settings.input_file_name)});
    empty_record();
    io::write_formatted(kReportUnit, years, {layout::kYears.label, year_count});
    io::write_formatted(kReportUnit, leap_years, {layout::kLeapYears.label, leap_year_count});
    io::write_formatted(kReportUnit, records, {layout::kRecords.label, record_count});
    io::write_formatted(kReportUnit, nodata, {layout::kNodataValues.label, nodata_count});
    empty_record();
    rule_line();
    empty_record();
    io::write_formatted(
        kReportUnit, heads,
        {Text("Month"), Text("PCP_MM"), Text("PCPSTD"), Text("PCPSKW"), Text("PR_W1"), Text("PR_W2"), Text("PCPD")});
    rule_line();
    empty_record();
    const MonthStatistics& s = month_statistics;
    for (std::size_t m = 1; m <= 12; ++m) {
        io::write_formatted(
            kReportUnit, month_row,
            {kMonthLabels[m - 1], s.PCP_MM[m], s.PCPSTD[m], s.PCPSKW[m], s.PR_W1[m], s.PR_W2[m], s.PCPD[m]});
    }
    rule_line();
    empty_record();
    empty_record();
    io::write_list_record(kReportUnit, "PCP_MM = average monthly precipitation [mm]");
    io::write_list_record(kReportUnit, "PCPSTD = standard deviation");
    io::write_list_record(kReportUnit, "PCPSKW = skew coefficient");
    io::write_list_record(kReportUnit, "PR_W1  = probability of a wet day following a dry day");
    io::write_list_record(kReportUnit, "PR_W2  = probability of a wet day following a wet day");
    io::write_list_record(kReportUnit, "PCPD   = average number of days of precipitation in month");
    empty_record();
    empty_record();
    io::write_list_record(kReportUnit, "(" + std::string(kFileCredit) + ")");

    // 3. The unit stays connected; the end of the run closes it.
}

}  // namespace wgn
