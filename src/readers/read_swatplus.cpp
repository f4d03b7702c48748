// SWAT+ weather files (.pcp, .tmp, .slr, .hmd, .wnd):
//
//   pcp1.pcp: precipitation written by SWAT+ Editor     title
//   nbyr     tstep       lat       lon      elev         header
//     30         0    40.585  -105.084  1559.210         years, time step (0: daily), position
//   1991       1       0.00000                           year, day of the year, value
//   1991       1      12.50000      -3.20000             (.tmp: maximum and minimum)
//
// Values of -97 and below mark missing days, as do the markers of
// cell_kind (NA, --, ...); a trace T of precipitation is 0.  Files of several values a day
// (tstep above 0) are refused: the weather generator wants daily values.

#include "readers/calendar_days.hpp"
#include "readers/number_text.hpp"
#include "readers/read_station_file.hpp"
#include "readers/value_checks.hpp"
#include "text/plain_text.hpp"
#include "text/text_lines.hpp"

namespace wgn::readers {

StationRecord read_swatplus(std::string_view text, const ReadOptions& options) {
    text::TextLines lines(text);
    std::string_view line;
    if (!lines.next(line) || !lines.next(line)) fail(0, "", "no title and header lines (a SWAT+ file)");
    if (!lines.next(line)) fail(3, "", "no line nbyr tstep lat lon elev");
    const std::vector<std::string_view> station = text::split_fields(line);
    if (station.size() < 5)
        fail(3, "", "the line nbyr tstep lat lon elev has " + std::to_string(station.size()) + " values");
    checked_number(station[0], 3, "nbyr");
    if (checked_number(station[1], 3, "tstep") != 0) {
        fail(3, "tstep",
             "a file of " + std::string(station[1]) + " steps a day: only daily files (tstep 0) can be read");
    }
    StationRecord record;
    record.latitude = station[2];
    record.longitude = station[3];
    record.elevation = station[4];
    // The position is checked where it is used (a precipitation file that
    // gives none usable still gives its values).
    record.position_places = {{{3, "lat"}, {3, "lon"}, {3, "elev"}}};
    const std::vector<Variable> names = variables_of_kind(options.kind);
    std::vector<DailyValue>* columns[2] = {&record.variables[names[0]],
                                           names.size() > 1 ? &record.variables[names[1]] : nullptr};
    std::vector<DailyValue>& values = *columns[0];
    for (std::size_t c = 0; c < names.size(); ++c) record.columns[names[c]] = std::to_string(3 + c);
    const NoDataMark nodata(options.nodata);
    while (lines.next(line)) {
        const std::vector<std::string_view> fields = text::split_fields(line);
        if (fields.empty()) continue;
        const int number = lines.number();
        if (fields.size() < 2 + names.size()) {
            fail(number, "",
                 names.size() > 1 ? "not a line year, day, maximum, minimum" : "not a line year, day, value");
        }
        const std::optional<int> year = whole_number(fields[0]);
        const std::optional<int> day_of_year = whole_number(fields[1]);
        if (!year) fail(number, "1", text::quoted_cell(fields[0]) + " is not a year");
        if (!day_of_year) fail(number, "2", text::quoted_cell(fields[1]) + " is not a day of the year");
        const Date date = is_valid_date(Date{*year, 1, 1}) ? date_of_day_in_year(*year, *day_of_year) : Date{};
        if (!is_valid_date(date)) {
            fail(number, "2", "day " + std::string(fields[1]) + " is not a day of " + std::string(fields[0]));
        }
        DailyValue value;
        value.day = day_number(date);
        value.line = number;
        if (!values.empty() && value.day <= values.back().day) {
            fail(number, "", "the day does not follow the day of line " + std::to_string(values.back().line));
        }
        for (std::size_t c = 0; c < names.size(); ++c) {
            DailyValue daily = value;
            const std::string_view cell = fields[2 + c];
            const CellKind kind = cell_kind(cell);
            if (kind == CellKind::trace && quantity_of(names[c]) == Quantity::kPrecipitation) {
                daily.text = kTraceText;
                daily.trace = true;
            } else if (kind != CellKind::missing) {
                const std::optional<double> amount = column_number(cell, number, 3 + c, names[c], record);
                if (amount && *amount > -97 && !nodata.marks(*amount)) daily.text = cell;
            }
            columns[c]->push_back(std::move(daily));
        }
    }
    drop_refused(record);
    return record;
}

}  // namespace wgn::readers
