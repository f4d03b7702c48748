// The two formats of one day per line without dates: wgnrain's own (from
// 1 January of a year the list names) and SWAT 2012's (from the date on its
// first line; a temperature file holds "maximum,minimum").  Without dates a
// blank line would move every later day up by one, so one among the values
// is refused; blank lines after the last value are fine.
#include "readers/calendar_days.hpp"
#include "readers/number_text.hpp"
#include "readers/read_station_file.hpp"
#include "readers/value_checks.hpp"
#include "text/plain_text.hpp"
#include "text/text_lines.hpp"

namespace wgn::readers {
namespace {

// Reads a day a line from the day `first_day` on into the variables `names`
// (one field each); `missing` tells which numbers mark a missing day, and
// `nodata` is the marker a missing day must be written as.  `markers`: the
// file may also write a missing day as NA, --, M ... and a trace as T
// (cell_kind); else only NaN is read as missing, as wgnrain reads it.
template <typename Missing>
void read_values(text::TextLines& lines, std::int32_t first_day, Missing missing, std::string_view nodata, bool markers,
                 const std::vector<Variable>& names, StationRecord& record) {
    std::vector<std::vector<DailyValue>*> columns;
    columns.reserve(names.size());
    for (const Variable name : names) {
        columns.push_back(&record.variables[name]);
        record.columns[name] = std::to_string(columns.size());
    }
    std::string_view line;
    std::int32_t day = first_day;
    int blank = 0;  // the first blank line after the last value read
    while (lines.next(line)) {
        const std::vector<std::string_view> fields = text::split_fields(line, " \t,", names.size());
        if (fields.empty()) {
            if (blank == 0) blank = lines.number();
            continue;
        }
        if (blank != 0) {
            const std::string marker = "the NoData value" + (nodata.empty() ? "" : " (" + std::string(nodata) + ")");
            fail(0, "",
                 "line " + std::to_string(blank) + " is blank: a missing day must be written as " + marker +
                     ", or every later day moves up by one");
        }
        if (fields.size() < names.size()) fail(lines.number(), "", "not a line maximum, minimum");
        for (std::size_t c = 0; c < names.size(); ++c) {
            DailyValue value;
            value.day = day;
            value.line = lines.number();
            const CellKind kind = markers ? cell_kind(fields[c]) : CellKind::other;
            if (kind == CellKind::trace && quantity_of(names[c]) == Quantity::kPrecipitation) {
                value.text = kTraceText;
                value.trace = true;
            } else if (kind != CellKind::missing && !text::same_letters(fields[c], "nan")) {
                const std::optional<double> number = column_number(fields[c], value.line, c + 1, names[c], record);
                if (number && !missing(*number)) value.text = fields[c];
            }
            columns[c]->push_back(std::move(value));
        }
        ++day;
    }
    drop_refused(record);
}

}  // namespace

StationRecord read_plain(std::string_view text, const ReadOptions& options) {
    if (!options.first_year || !is_valid_date(Date{*options.first_year, 1, 1})) {
        fail(0, "", "a plain series needs the year of its first value (first_year)");
    }
    StationRecord record;
    text::TextLines lines(text);
    const NoDataMark nodata(options.nodata);
    read_values(
        lines, day_number(Date{*options.first_year, 1, 1}), [&](double number) { return nodata.marks(number); },
        options.nodata, false, variables_of_kind(options.kind), record);
    return record;
}

StationRecord read_swat(std::string_view text, const ReadOptions& options) {
    text::TextLines lines(text);
    std::string_view line;
    if (!lines.next(line)) fail(0, "", "the file is empty (a SWAT station file starts with its date)");
    const std::string_view start = text::trimmed(line);
    const std::optional<int> digits = start.size() == 8 ? whole_number(start) : std::nullopt;
    const Date first{digits ? *digits / 10000 : 0, digits ? *digits / 100 % 100 : 0, digits ? *digits % 100 : 0};
    if (!digits || !is_valid_date(first)) {
        fail(1, "", text::quoted_cell(start) + " is not a start date (YYYYMMDD)");
    }
    StationRecord record;
    // SWAT marks a missing day by -99; anything below -97 is taken as such.
    const NoDataMark nodata(options.nodata);
    read_values(
        lines, day_number(first), [&](double number) { return number < -97 || nodata.marks(number); }, "-99", true,
        variables_of_kind(options.kind), record);
    return record;
}

}  // namespace wgn::readers
