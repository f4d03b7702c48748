#include "report/write_monthly_series.hpp"

#include <string>

#include "driver/shared_records.hpp"
#include "input/credit.hpp"
#include "io/units.hpp"
#include "partition/calendar.hpp"

namespace wgn {
namespace {

using Text = std::string_view;

// Year, January in a 10-wide field, February to December in 8-wide fields:
//   "    Year      Jan.    Feb. ...    Dec."                     (106 characters)
//   "    1990      2.35    1.20 ...    0.00"                     (106 characters)
// The totals table adds " Total Yearly PCP" in A20 to the head and the
// yearly total in F15.2 to every row.
struct Table {
    int unit;
    Text file_name;
    Text title;
    const MonthlyGrid& grid;
    bool yearly_total;
};

void write_table(const Table& table, std::int32_t year_count, std::int32_t first_year) {
    static const io::FieldList head("(A8, A10, 11A8, A20)");
    static const io::FieldList row("(I8, F10.2, 11F8.2)");
    static const io::FieldList row_with_total("(I8, F10.2, 11F8.2, F15.2)");

    io::connect(table.unit, table.file_name, "UNKNOWN");
    io::write_list_record(table.unit, table.title);
    io::write_list_record(table.unit, "");
    const auto& l = kMonthLabels;
    if (table.yearly_total)
        io::write_formatted(table.unit, head,
                            {Text("Year"), l[0], l[1], l[2], l[3], l[4], l[5], l[6], l[7], l[8], l[9], l[10], l[11],
                             Text(" Total Yearly PCP")});
    else
        io::write_formatted(table.unit, head,
                            {Text("Year"), l[0], l[1], l[2], l[3], l[4], l[5], l[6], l[7], l[8], l[9], l[10], l[11]});
    io::write_list_record(table.unit, "");

    const MonthlyGrid& g = table.grid;
    const std::int32_t rows = year_count;  // taken once, before the first row
    for (std::int32_t i = 1; i <= rows; ++i) {
        const std::int32_t year = year_after(first_year, i - 1);
        if (!table.yearly_total) {
            io::write_formatted(table.unit, row,
                                {year, g.at(i, 1), g.at(i, 2), g.at(i, 3), g.at(i, 4), g.at(i, 5), g.at(i, 6),
                                 g.at(i, 7), g.at(i, 8), g.at(i, 9), g.at(i, 10), g.at(i, 11), g.at(i, 12)});
            continue;
        }
        // Summed again from the unrounded grid, in single precision.
        float total = 0.0F;
        for (int month = 1; month <= 12; ++month) total += g.at(i, month);
        io::write_formatted(table.unit, row_with_total,
                            {year, g.at(i, 1), g.at(i, 2), g.at(i, 3), g.at(i, 4), g.at(i, 5), g.at(i, 6), g.at(i, 7),
                             g.at(i, 8), g.at(i, 9), g.at(i, 10), g.at(i, 11), g.at(i, 12), total});
    }
    io::write_list_record(table.unit, "");
    io::write_list_record(table.unit, "");
    io::write_list_record(table.unit, kFileCredit);
    io::close_unit(table.unit);
}

}  // namespace

void write_monthly_series(std::int32_t year_count, std::int32_t first_year) {
    write_table({201, kMeanTableName, "Average Daily Precipitation in Month", MonthlyMeanGrid, false}, year_count,
                first_year);
    write_table({202, kTotalTableName, "Total Monthly Precipitation", MonthlyTotalGrid, true}, year_count, first_year);
}

}  // namespace wgn
