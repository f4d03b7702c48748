// GHCN-Daily .dly files: one line per station, month and element, fixed
// columns (counted from 1):
//
//   1-11 ID   12-15 YEAR   16-17 MONTH   18-21 ELEMENT
//   then for day d = 1 ... 31, from column 22 + 8 (d - 1):
//   VALUE (5, a whole number; -9999 missing)  MFLAG (1)  QFLAG (1)  SFLAG (1)
//
// PRCP is in tenths of a millimetre, TMAX and TMIN in tenths of a degree,
// AWND in tenths of a metre per second: "  123" -> "12.3", by moving the
// decimal point in the text, so no value passes through a binary fraction.
// A value with a quality flag failed a check and is a missing day (counted
// as flagged); a trace of rain (MFLAG T) is 0.  Other elements are passed over.
#include "readers/calendar_days.hpp"
#include "readers/number_text.hpp"
#include "readers/read_station_file.hpp"
#include "text/plain_text.hpp"
#include "text/text_lines.hpp"

namespace wgn::readers {
namespace {

constexpr std::size_t kLineLength = 21 + 31 * 8;

int field_number(std::string_view line, std::size_t start, std::size_t length, int line_number, std::string_view what) {
    const std::string_view text = text::trimmed(line.substr(start, length));
    const std::optional<int> number = whole_number(text);
    if (!number) {
        fail(line_number, std::to_string(start + 1),
             std::string(what) + " \"" + std::string(text) + "\" is not a whole number");
    }
    return *number;
}

// The variable of a .dly element (variables.hpp: PRCP, TMAX, TMIN, AWND);
// the other elements are passed over.
std::optional<Variable> element_variable(std::string_view element) {
    for (const VariableFacts& known : kVariableFacts) {
        if (!known.ghcnd_element.empty() && known.ghcnd_element == element) return known.variable;
    }
    return std::nullopt;
}

}  // namespace

StationRecord read_ghcnd(std::string_view text, const ReadOptions&) {
    StationRecord record;
    record.variables[Variable::pcp];
    text::TextLines lines(text);
    std::string_view line;
    std::string station;
    while (lines.next(line)) {
        if (text::trimmed(line).empty()) continue;
        record.station_id = station;
        const int number = lines.number();
        // A longer line (blanks at its end aside) is no .dly line either:
        // its days would not stand where they are read.
        const std::size_t length = line.find_last_not_of(" \t") + 1;
        if (line.size() < kLineLength || length > kLineLength) {
            fail(number, "",
                 "a line of " + std::to_string(line.size() < kLineLength ? line.size() : length) +
                     " characters; a .dly line has " + std::to_string(kLineLength));
        }
        const std::string_view id = line.substr(0, 11);
        if (station.empty()) station = id;
        record.station_id = station;
        if (id != station) {
            fail(number, "1", "a second station (" + std::string(id) + " after " + station + ")");
        }
        const int year = field_number(line, 11, 4, number, "the year");
        const int month = field_number(line, 15, 2, number, "the month");
        if (!is_valid_date(Date{year, month, 1})) {
            fail(number, "12", std::to_string(year) + "-" + std::to_string(month) + " is not a month");
        }
        const std::string_view element = line.substr(17, 4);
        const std::optional<Variable> variable = element_variable(element);
        if (!variable) continue;
        std::vector<DailyValue>& values = record.variables[*variable];
        record.columns[*variable] = element;
        for (int day = 1; day <= 31; ++day) {
            const std::size_t at = 21 + 8 * static_cast<std::size_t>(day - 1);
            const int value = field_number(line, at, 5, number, "the value");
            if (day > days_in_month(year, month)) {
                if (value != -9999) {
                    fail(number, std::to_string(at + 1),
                         "a value for day " + std::to_string(day) + " of a month of " +
                             std::to_string(days_in_month(year, month)) + " days");
                }
                continue;
            }
            DailyValue daily;
            daily.day = day_number(Date{year, month, day});
            daily.line = number;
            const char measurement = line[at + 5];
            const char quality = line[at + 6];
            if (value == -9999) {
                // missing
            } else if (quality != ' ') {
                daily.flagged = true;
            } else if (measurement == 'T' && variable == Variable::pcp) {
                daily.text = "0.0";
            } else {
                daily.text = tenths_text(text::trimmed(line.substr(at, 5)));
            }
            values.push_back(std::move(daily));
        }
    }
    return record;
}

}  // namespace wgn::readers
