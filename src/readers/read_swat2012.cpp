// The station files of a SWAT 2012 project, pcpN.pcp and tmpN.tmp: several
// gauges side by side in fixed columns (counted from 1).
//
//   Station  p5210,p5211,                 title; the gauges' names after "Station"
//   Lati    52.1 52.3                     latitude of each gauge
//   Long     5.2  5.0                     longitude
//   Elev       2   10                     elevation (m), a whole number
//   2001001  0.0  1.5                     year (1-4), day of the year (5-7), then
//   2001002-99.0  0.4                     a field of 5 (f5.1) a gauge
//
// A .tmp file gives each gauge 10 characters, the maximum then the minimum
// (f5.1 each), and its Lati, Long and Elev fields are 10 wide as well.  The
// model reads the three lines after the title as titles and only the Elev
// line's numbers (7x, i5 / i10); the position of the chosen gauge is taken
// where its line has its label and its field is a number.  Values of -97
// and below mark missing days.  A field must write its decimal point: the
// model's f5.1 reads "  -99" as -9.9 and "   12" as 1.2, so such a field is
// refused rather than read one way or the other.

#include "readers/calendar_days.hpp"
#include "readers/fixed_fields.hpp"
#include "readers/number_text.hpp"
#include "readers/read_station_file.hpp"
#include "readers/value_checks.hpp"
#include "text/plain_text.hpp"
#include "text/text_lines.hpp"

namespace wgn::readers {
namespace {

constexpr std::size_t kDateWidth = 7;   // i4, i3
constexpr std::size_t kValueWidth = 5;  // f5.1
constexpr std::string_view kStationLabel = "Station";
constexpr std::string_view kPositionLabels[3] = {"Lati", "Long", "Elev"};

// The gauges a file holds: their names where the title gives them, and how
// many there are.
struct Gauges {
    std::vector<std::string_view> names;
    std::size_t count = 0;

    // As many as a message line has room for, then how many more.
    std::string listed() const {
        constexpr std::size_t kMostCharacters = 160;
        std::string text;
        std::size_t g = 0;
        for (; g < count && text.size() < kMostCharacters; ++g) {
            text.append(g == 0 ? "" : ", ").append(std::to_string(g + 1));
            if (g < names.size()) text.append(" (").append(text::shown_cell(names[g])).append(")");
        }
        if (g < count) text.append(", and ").append(std::to_string(count - g)).append(" more");
        return text.empty() ? "none" : text;
    }
};

// The names on a title line "Station  p5210,p5211,"; none on another title.
std::vector<std::string_view> gauge_names(std::string_view title) {
    std::vector<std::string_view> names;
    if (title.size() < kStationLabel.size() ||
        !text::same_letters(title.substr(0, kStationLabel.size()), kStationLabel))
        return names;
    for (const std::string_view name : text::split_fields(title.substr(kStationLabel.size()), ",")) {
        if (const std::string_view trimmed = text::trimmed(name); !trimmed.empty()) names.push_back(trimmed);
    }
    return names;
}

// The gauge chosen by `wanted` (its name on the title line, else its number
// from 1), counted from 0; a file of one gauge needs no choice.
std::size_t chosen_gauge(const Gauges& gauges, std::string_view wanted) {
    const std::string_view name = text::trimmed(wanted);
    if (name.empty()) {
        if (gauges.count == 1) return 0;
        fail(0, "",
             "the file holds " + std::to_string(gauges.count) + " gauges (" + gauges.listed() +
                 "): choose one by its number or name (gauge)");
    }
    for (std::size_t g = 0; g < gauges.names.size(); ++g) {
        if (text::same_letters(gauges.names[g], name)) return g;
    }
    const std::optional<int> number = whole_number(name);
    if (number && *number >= 1 && static_cast<std::size_t>(*number) <= gauges.count)
        return static_cast<std::size_t>(*number - 1);
    fail(0, "", "no gauge " + text::quoted_cell(name) + ": the file's gauges are " + gauges.listed());
}

// The number of a fixed field: its text without blanks, kept as written.
std::string_view field_text(std::string_view line, std::size_t start, std::size_t width, int number,
                            std::string_view what) {
    const std::optional<std::string_view> field = fixed_field(line, start, width);
    if (!field) {
        fail(number, std::to_string(start + 1),
             "a line of " + std::to_string(line.size()) + " characters ends before " + std::string(what) +
                 " (columns " + std::to_string(start + 1) + "-" + std::to_string(start + width) + ")");
    }
    return text::trimmed(*field);
}

// The position of the gauge from the Lati, Long and Elev lines (lines 2-4).
void read_position(const std::vector<std::string_view>& head, std::size_t start, std::size_t width,
                   StationRecord& record) {
    std::string* const into[3] = {&record.latitude, &record.longitude, &record.elevation};
    for (std::size_t c = 0; c < 3; ++c) {
        const std::string_view line = head[c + 1];
        const std::string_view label = kPositionLabels[c];
        if (line.size() < label.size() || !text::same_letters(line.substr(0, label.size()), label)) continue;
        const std::optional<std::string_view> field = fixed_field(line, start, width);
        const std::string_view value = field ? text::trimmed(*field) : std::string_view();
        if (!is_number_text(value)) continue;
        *into[c] = value;
        record.position_places[c] = {static_cast<int>(c) + 2, std::to_string(start + 1)};
    }
}

// The day of a line's date, year in columns 1-4 and day of the year in 5-7.
std::int32_t line_day(std::string_view line, int number) {
    const std::string_view year_text = field_text(line, 0, 4, number, "the year");
    const std::string_view day_text = field_text(line, 4, 3, number, "the day of the year");
    const std::optional<int> year = whole_number(year_text);
    const std::optional<int> day_of_year = whole_number(day_text);
    if (!year || !is_valid_date(Date{*year, 1, 1}))
        fail(number, "1", text::quoted_cell(year_text) + " is not a year (columns 1-4)");
    const Date date = day_of_year ? date_of_day_in_year(*year, *day_of_year) : Date{};
    if (!is_valid_date(date))
        fail(number, "5",
             text::quoted_cell(day_text) + " is not a day of " + std::string(year_text) + " (columns 5-7)");
    return day_number(date);
}

// A value field: a number with its decimal point; -97 and below are missing.
DailyValue read_value(std::string_view text, std::int32_t day, int number, std::size_t start) {
    const std::string column = std::to_string(start + 1);
    if (text.empty()) fail(number, column, "a blank field (a missing day is written -99.0)");
    const double value = checked_number(text, number, column);
    if (text.find('.') == std::string_view::npos) {
        fail(number, column,
             text::quoted_cell(text) + " has no decimal point: SWAT's f5.1 would read it as tenths (write " +
                 std::string(text) + ".0 for " + std::string(text) + ")");
    }
    DailyValue daily;
    daily.day = day;
    daily.line = number;
    if (value > -97) daily.text = text;
    return daily;
}

}  // namespace

StationRecord read_swat2012(std::string_view text, const ReadOptions& options) {
    if (options.kind != FileKind::pcp && options.kind != FileKind::tmp) {
        fail(0, "",
             "of SWAT 2012's station files only the .pcp and .tmp files are read, not a ." +
                 std::string(name(options.kind)) + " file");
    }
    text::TextLines lines(text);
    std::vector<std::string_view> head(4);
    for (std::string_view& line : head) {
        if (!lines.next(line))
            fail(lines.number(), "", "no days: a SWAT 2012 file has 4 lines (title, Lati, Long, Elev) before them");
    }
    const std::vector<Variable> names = variables_of_kind(options.kind);
    const std::size_t width = kValueWidth * names.size();  // of a gauge
    Gauges gauges;
    gauges.names = gauge_names(head[0]);
    std::string_view line;
    while (lines.next(line) && text::trimmed(line).empty()) {
    }
    const std::string_view first_day = line;
    gauges.count = !gauges.names.empty()
                       ? gauges.names.size()
                       : (first_day.size() > kDateWidth ? (first_day.size() - kDateWidth) / width : 0);
    const std::size_t gauge = chosen_gauge(gauges, options.gauge);
    const std::size_t start = kDateWidth + gauge * width;
    const std::string what = "gauge " + std::to_string(gauge + 1) + "'s field";

    StationRecord record;
    read_position(head, start, width, record);
    std::vector<std::vector<DailyValue>*> columns;
    for (std::size_t c = 0; c < names.size(); ++c) {
        columns.push_back(&record.variables[names[c]]);
        record.columns[names[c]] = std::to_string(start + 1 + c * kValueWidth);
    }
    int last_line = 0;
    std::int32_t last_day = 0;
    for (bool more = !text::trimmed(first_day).empty(); more; more = lines.next(line)) {
        if (text::trimmed(line).empty()) continue;
        const int number = lines.number();
        const std::int32_t day = line_day(line, number);
        if (last_line != 0 && day <= last_day)
            fail(number, "1", "the day does not follow the day of line " + std::to_string(last_line));
        for (std::size_t c = 0; c < names.size(); ++c) {
            const std::size_t at = start + c * kValueWidth;
            columns[c]->push_back(read_value(field_text(line, at, kValueWidth, number, what), day, number, at));
        }
        last_line = number;
        last_day = day;
    }
    return record;
}

}  // namespace wgn::readers
