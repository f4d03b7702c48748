#include "readers/dated_table.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <span>
#include <stdexcept>

#include "readers/calendar_days.hpp"
#include "readers/daily_number.hpp"
#include "readers/measure_units.hpp"
#include "readers/number_text.hpp"
#include "readers/value_checks.hpp"
#include "text/plain_text.hpp"

namespace wgn::readers {
namespace {

struct DateColumns {
    std::optional<std::size_t> date, year, month, day, day_of_year;
};

// A column's name as compared: without blanks, letter case or a unit in
// brackets or R's dotted form ("Year", "yday (d)" -> "year", "yday").
std::string plain_name(std::string_view header) {
    return text::lower_case(name_without_unit(header));
}

std::optional<std::size_t> named(std::span<const std::string_view> header,
                                 std::initializer_list<std::string_view> names) {
    for (std::size_t i = 0; i < header.size(); ++i) {
        const std::string name = plain_name(header[i]);
        for (const std::string_view candidate : names) {
            if (name == candidate) return i;
        }
    }
    return std::nullopt;
}

// The date columns a header names by themselves (no date_column given):
// a date, or a year with a month and a day or with a day of the year.
DateColumns named_date_columns(std::span<const std::string_view> header) {
    DateColumns columns;
    columns.date = named(header, {"date"});
    columns.year = named(header, {"year", "yyyy", "yr"});
    columns.month = named(header, {"month", "mo", "mon"});
    columns.day = named(header, {"day", "dy", "dd"});
    // Daymet writes yday, others doy or jday.
    columns.day_of_year = named(header, {"doy", "yday", "jday", "day_of_year"});
    return columns;
}

bool complete(const DateColumns& columns) {
    return columns.date || (columns.year && ((columns.month && columns.day) || columns.day_of_year));
}

bool has_date_columns(std::span<const std::string_view> header) {
    return complete(named_date_columns(header));
}

// The first column of `header` that the station's name `date_column` for
// the date's column names: as written, or without its unit.
std::optional<std::size_t> named_date_column(std::span<const std::string_view> header, std::string_view date_column) {
    const std::string wanted = text::lower_case(text::trimmed(date_column));
    for (std::size_t i = 0; i < header.size(); ++i) {
        if (text::lower_case(text::trimmed(header[i])) == wanted || plain_name(header[i]) == wanted) return i;
    }
    return std::nullopt;
}

DateColumns date_columns(const DatedTable& table) {
    const std::vector<std::string_view>& header = table.header;
    const int line = table.header_line + table.first_line - 1;
    DateColumns columns;
    if (!table.date_column.empty()) {
        // The station names the date's column: the days come from it alone.
        columns.date = named_date_column(header, table.date_column);
        if (!columns.date) {
            fail(line, "",
                 "no date column " + text::quoted_cell(table.date_column) + " (the columns are " + column_names(table) +
                     ")");
        }
        return columns;
    }
    columns = named_date_columns(header);
    if (complete(columns)) return columns;
    fail(line, "",
         "no date column (date, or year, month and day, or year and doy): name it in " +
             setting_name(table.settings, "date_column"));
}

// A date written in one field.  Year first: YYYY-MM-DD, YYYY/MM/DD,
// YYYY.MM.DD, YYYYMMDD.  Year last (DD/MM/YYYY or MM/DD/YYYY, also with '.'
// or '-'): `day_first` says which, when the column has told.
struct DateParts {
    int first = 0, second = 0, third = 0;
    bool year_first = true;
    bool ok = false;
};

bool digits_at(std::string_view text, std::size_t from, std::size_t count) {
    for (std::size_t i = from; i < from + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
    }
    return true;
}

bool digits_only(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// A time of day as date-time stamps write it after their date: hours and
// minutes, optional seconds and their fraction, then an optional zone.
//   "00:00", "06:30:00", "00:00:00.000", "00:00:00Z", "12:00:00+01:00", "00:00 UTC"
bool is_time_of_day(std::string_view text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon == 0 || colon > 2 || !digits_only(text.substr(0, colon))) return false;
    std::size_t at = colon + 1;
    if (text.size() < at + 2 || !digits_at(text, at, 2)) return false;
    at += 2;
    if (at < text.size() && text[at] == ':') {
        if (text.size() < at + 3 || !digits_at(text, at + 1, 2)) return false;
        at += 3;
        if (at < text.size() && text[at] == '.') {
            const std::size_t end = text.find_first_not_of("0123456789", at + 1);
            if (end == at + 1) return false;
            at = end == std::string_view::npos ? text.size() : end;
        }
    }
    std::string_view zone = text::trimmed(text.substr(at));
    if (zone.empty() || zone == "Z" || text::same_letters(zone, "utc") || text::same_letters(zone, "gmt")) return true;
    // +01:00, -0500, +01
    if (zone[0] != '+' && zone[0] != '-') return false;
    zone.remove_prefix(1);
    if (zone.size() == 5 && zone[2] == ':') return digits_at(zone, 0, 2) && digits_at(zone, 3, 2);
    return (zone.size() == 2 || zone.size() == 4) && digits_only(zone);
}

// The date part of a date-time stamp ("2001-01-01 00:00:00",
// "2001-01-01T00:00:00Z"): any time on a day is that day.  Other text as it is.
std::string_view without_time_of_day(std::string_view text) {
    const std::size_t cut = text.find_first_of(" T");
    if (cut == std::string_view::npos || cut < 6) return text;
    return is_time_of_day(text::trimmed(text.substr(cut + 1))) ? text.substr(0, cut) : text;
}

// Almost every date is written YYYY-MM-DD (or with '/' or '.'): read from
// its fixed places, as the general reading would read it.  Such a date has
// no time of day to take off.
// Its eight digits are tested together, each as unsigned (0 to 9).
bool fixed_date(std::string_view text, DateParts& parts) {
    if (text.size() != 10 || (text[4] != '-' && text[4] != '/' && text[4] != '.') || text[7] != text[4]) return false;
    constexpr std::size_t kPlaces[8] = {0, 1, 2, 3, 5, 6, 8, 9};
    unsigned digits[8];
    unsigned largest = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        digits[i] = static_cast<unsigned>(static_cast<unsigned char>(text[kPlaces[i]])) - unsigned{'0'};
        largest = std::max(largest, digits[i]);
    }
    if (largest > 9) return false;
    const auto number = [&](std::size_t from, std::size_t count) {
        int value = 0;
        for (std::size_t i = from; i < from + count; ++i) value = value * 10 + static_cast<int>(digits[i]);
        return value;
    };
    parts = DateParts{number(0, 4), number(4, 2), number(6, 2), true, true};
    return true;
}

DateParts split_date(std::string_view text) {
    DateParts parts;
    text = text::trimmed(text);
    if (fixed_date(text, parts)) return parts;
    text = without_time_of_day(text);
    if (fixed_date(text, parts)) return parts;
    if (text.size() == 8 && text.find_first_not_of("0123456789") == std::string_view::npos) {
        const int digits = *whole_number(text);
        parts = DateParts{digits / 10000, digits / 100 % 100, digits % 100, true, true};
        return parts;
    }
    const std::size_t one = text.find_first_of("-/.");
    if (one == std::string_view::npos) return parts;
    const char separator = text[one];
    const std::size_t two = text.find(separator, one + 1);
    if (two == std::string_view::npos) return parts;
    const std::string_view a = text.substr(0, one), b = text.substr(one + 1, two - one - 1), c = text.substr(two + 1);
    const auto number = [](std::string_view field, std::size_t low, std::size_t high) -> std::optional<int> {
        if (field.size() < low || field.size() > high ||
            field.find_first_not_of("0123456789") != std::string_view::npos)
            return std::nullopt;
        return whole_number(field);
    };
    if (const auto year = number(a, 4, 4), month = number(b, 1, 2), day = number(c, 1, 2); year && month && day) {
        return DateParts{*year, *month, *day, true, true};
    }
    if (const auto x = number(a, 1, 2), y = number(b, 1, 2), year = number(c, 4, 4); x && y && year) {
        return DateParts{*x, *y, *year, false, true};
    }
    return parts;
}

}  // namespace

namespace {

// Lines of notes before the header row (Daymet's "Latitude: ...",
// "How to cite: ..."): the header is the first row that names the date,
// among the first rows; a table without one keeps its first row, whose
// message tells what it lacks.
constexpr std::size_t kMostNoteRows = 40;

// Whether header cell `name` is the column asked for.
bool is_asked(std::string_view name, const std::vector<std::string_view>& names, std::string_view wanted) {
    // A header may carry its unit: "prcp (mm/day)", R's "prcp..mm.day.".
    const std::string plain = text::lower_case(name_without_unit(name));
    if (!wanted.empty())
        return text::lower_case(text::trimmed(name)) == text::lower_case(wanted) || plain == text::lower_case(wanted);
    for (const std::string_view candidate : names) {
        if (plain == text::lower_case(candidate)) return true;
    }
    return false;
}

// How many leading columns of `header` the reading of `asked` and of the
// dates can touch: up to the last of the date's columns and of every column
// any of `asked` names; all when the header leaves that open (no date
// column, no column by a wanted name), whose message is for the reading.
std::optional<std::size_t> columns_touched(std::span<const std::string_view> header, std::string_view date_column,
                                           std::span<const ColumnAsked> asked) {
    std::size_t touched = 0;
    const auto touch = [&](std::optional<std::size_t> column) {
        if (column) touched = std::max(touched, *column + 1);
    };
    if (!date_column.empty()) {
        const std::optional<std::size_t> date = named_date_column(header, date_column);
        if (!date) return std::nullopt;
        touch(date);
    } else {
        const DateColumns columns = named_date_columns(header);
        if (!complete(columns)) return std::nullopt;
        for (const auto column : {columns.date, columns.year, columns.month, columns.day, columns.day_of_year})
            touch(column);
    }
    for (const ColumnAsked& column : asked) {
        bool found = false;
        for (std::size_t i = 0; i < header.size(); ++i) {
            if (!is_asked(header[i], column.names, column.wanted)) continue;
            found = true;
            touch(i);
        }
        if (!found && !column.wanted.empty()) return std::nullopt;
    }
    return touched;
}

}  // namespace

DatedTable parse_dated_table(std::string_view text, int first_line, std::string_view date_column, Settings settings,
                             std::span<const ColumnAsked> asked) {
    DatedTable table;
    table.first_line = first_line;
    table.date_column = date_column;
    table.settings = settings;
    table.separator = detect_separator(text);
    // The header row is known as soon as it is read (as below): the rows
    // after it keep the cells of the columns asked for.
    CellsKept kept;
    if (!asked.empty()) {
        kept = [&](const CsvCells& so_far) -> std::optional<std::size_t> {
            const std::size_t r = so_far.rows() - 1;
            std::optional<std::size_t> header;
            if (!date_column.empty() || has_date_columns(so_far.row(r))) {
                header = r;
            } else if (r == kMostNoteRows) {
                header = 0;
            }
            if (!header) return std::nullopt;
            return columns_touched(so_far.row(*header), date_column, asked)
                .value_or(std::numeric_limits<std::size_t>::max());
        };
    }
    Result<CsvCells> cells = parse_csv_cells(text, table.separator, kept);
    if (!cells) fail(cells.problem().line + first_line - 1, "", cells.problem().text);
    table.cells = std::move(*cells);
    if (table.cells.rows() == 0) fail(first_line, "", "no header row");
    std::size_t header = 0;
    if (table.date_column.empty()) {
        for (std::size_t r = 0; r < table.cells.rows() && r <= kMostNoteRows; ++r) {
            if (!has_date_columns(table.cells.row(r))) continue;
            header = r;
            break;
        }
    }
    for (std::size_t r = 0; r < header; ++r) {
        const std::span<const std::string_view> note = table.cells.row(r);
        table.notes.push_back(CsvRow{table.cells.lines[r], std::vector<std::string>(note.begin(), note.end())});
    }
    const std::span<const std::string_view> header_cells = table.cells.row(header);
    table.header.assign(header_cells.begin(), header_cells.end());
    table.header_line = table.cells.lines[header];
    table.first_row = header + 1;
    // A spreadsheet that saved the table again may have given the header
    // empty cells at its end (",,,"): they name no column.
    while (table.header.size() > 1 && text::trimmed(table.header.back()).empty()) table.header.pop_back();
    return table;
}

ColumnAsked column_asked(const VariableFacts& variable, const ReadOptions& options) {
    ColumnAsked asked;
    for (const std::string_view name : variable.columns) {
        if (!name.empty()) asked.names.push_back(name);
    }
    const auto wanted = options.columns.find(variable.variable);
    if (wanted != options.columns.end()) asked.wanted = wanted->second;
    return asked;
}

std::optional<std::size_t> date_column_of(const DatedTable& table) {
    return date_columns(table).date;
}

std::optional<std::size_t> find_column(const DatedTable& table, const std::vector<std::string_view>& names,
                                       std::string_view wanted, std::string_view what, std::string_view setting) {
    const std::vector<std::string_view>& header = table.header;
    const int line = table.header_line + table.first_line - 1;
    std::optional<std::size_t> found;
    for (std::size_t i = 0; i < header.size(); ++i) {
        if (!is_asked(header[i], names, wanted)) continue;
        if (found) {
            fail(line, "",
                 "two " + std::string(what) + " columns (" + text::shown_cell(header[*found]) + ", " +
                     text::shown_cell(header[i]) + "): name the one to use in " +
                     setting_name(table.settings, setting));
        }
        found = i;
    }
    if (!found && !wanted.empty()) {
        fail(line, "",
             "no " + std::string(what) + " column " + text::quoted_cell(wanted) + " (the columns are " +
                 column_names(table) + ")");
    }
    return found;
}

std::string column_names(const DatedTable& table) {
    // As many names as a message line has room for.
    constexpr std::size_t kMostCharacters = 160;
    const std::vector<std::string_view>& header = table.header;
    std::string names;
    std::size_t shown = 0;
    for (; shown < header.size() && names.size() < kMostCharacters; ++shown)
        names.append(shown == 0 ? "" : ", ").append(text::quoted_cell(header[shown]));
    if (shown < header.size()) names.append(", and ").append(std::to_string(header.size() - shown)).append(" more");
    return names;
}

bool day_comes_first(const DatedTable& table, std::size_t date_column) {
    const CsvCells& cells = table.cells;
    const auto line_of = [&](std::size_t r) { return cells.lines[r] + table.first_line - 1; };
    int day_first_line = 0, month_first_line = 0, undecided_line = 0;
    std::string undecided;
    for (std::size_t r = table.first_row; r < cells.rows(); ++r) {
        if (date_column >= cells.starts[r + 1] - cells.starts[r]) continue;
        const std::string_view date = cells.cells[cells.starts[r] + date_column];
        // Ten characters with a separator after four and after seven
        // ("2001-01-13", also with a digit amiss) are never a date with the
        // year last: no need to read them.
        if (const std::string_view cell = text::trimmed(date);
            cell.size() == 10 && (cell[4] == '-' || cell[4] == '/' || cell[4] == '.') && cell[7] == cell[4])
            continue;
        const DateParts parts = split_date(date);
        if (!parts.ok || parts.year_first) continue;
        if (parts.first > 12 && day_first_line == 0) day_first_line = line_of(r);
        if (parts.second > 12 && month_first_line == 0) month_first_line = line_of(r);
        if (undecided_line == 0) {
            undecided_line = line_of(r);
            undecided = text::trimmed(date);
        }
    }
    if (day_first_line != 0 && month_first_line != 0) {
        fail(std::max(day_first_line, month_first_line), std::string(table.header[date_column]),
             "the dates put the day first on line " + std::to_string(day_first_line) + " and the month first on line " +
                 std::to_string(month_first_line));
    }
    if (undecided_line != 0 && day_first_line == 0 && month_first_line == 0) {
        fail(undecided_line, text::shown_cell(table.header[date_column]),
             "the order of day and month in " + text::shown_cell(undecided) +
                 " cannot be told apart (no day above 12): write the dates as YYYY-MM-DD");
    }
    return day_first_line != 0;
}

namespace {

// The date of one row, from its date column or its year, month and day (or
// day-of-year) columns; a field that is no date fails at its line.
Date row_date(const DatedTable& table, const DateColumns& columns, std::span<const std::string_view> row, int line,
              bool day_first) {
    const std::vector<std::string_view>& header = table.header;
    Date date;
    if (columns.date) {
        const std::string_view text = text::trimmed(row[*columns.date]);
        const DateParts parts = split_date(text);
        if (parts.year_first) {
            date = Date{parts.first, parts.second, parts.third};
        } else {
            date =
                day_first ? Date{parts.third, parts.second, parts.first} : Date{parts.third, parts.first, parts.second};
        }
        if (!parts.ok || !is_valid_date(date)) {
            fail(line, text::shown_cell(header[*columns.date]),
                 text::quoted_cell(text) + " is not a date (YYYY-MM-DD, YYYY/MM/DD or YYYYMMDD)");
        }
    } else {
        const auto part = [&](std::size_t at) {
            const std::string_view text = text::trimmed(row[at]);
            const std::optional<int> number = whole_number(text);
            if (!number) {
                fail(line, text::shown_cell(header[at]), text::quoted_cell(text) + " is not a whole number");
            }
            return *number;
        };
        const int year = part(*columns.year);
        if (columns.month && columns.day) {
            date = Date{year, part(*columns.month), part(*columns.day)};
            if (!is_valid_date(date)) {
                fail(line, "", date_text(date.year, date.month, date.day) + " is not a date");
            }
        } else {
            const int day_of_year = part(*columns.day_of_year);
            date = is_valid_date(Date{year, 1, 1}) ? date_of_day_in_year(year, day_of_year) : Date{};
            if (!is_valid_date(date)) {
                fail(line, text::shown_cell(header[*columns.day_of_year]),
                     "day " + std::to_string(day_of_year) + " is not a day of " + std::to_string(year));
            }
        }
    }
    return date;
}

// The day numbers of the rows, one after the other.  A date written
// YYYY-MM-DD (or with '/' or '.') that is the day after the row before's,
// as in almost every file, is that day's number plus one: its text is
// compared with the text that day would have, written as the row before
// wrote its own, with no reading or calendar arithmetic.  Any other goes
// through row_date.
class RowDays {
  public:
    RowDays(const DatedTable& table, const DateColumns& columns, bool day_first)
        : table_(table), columns_(columns), day_first_(day_first) {}
    std::int32_t day(std::span<const std::string_view> row, int line) {
        if (columns_.date && expected_) {
            const std::string_view cell = text::trimmed(row[*columns_.date]);
            if (cell.size() == kFixedSize && std::memcmp(cell.data(), next_text_, kFixedSize) == 0) {
                const std::int32_t day = next_day_;
                write_next(next_, day, false);
                return day;
            }
        }
        const Date date = row_date(table_, columns_, row, line, day_first_);
        const std::int32_t day = day_number(date);
        // The next row is expected in the same writing when this row's
        // date is written in its fixed places.
        const std::string_view cell = columns_.date ? text::trimmed(row[*columns_.date]) : std::string_view();
        DateParts parts;
        expected_ = fixed_date(cell, parts);
        if (expected_) {
            next_text_[4] = cell[4];
            next_text_[7] = cell[7];
            write_next(date, day, true);
        }
        return day;
    }

  private:
    static constexpr std::size_t kFixedSize = 10;
    // The day after `date` (day number `day`) as the next row is expected
    // to write it: its day, and its month and year when `whole` or when
    // they change; nothing is expected past the years of four digits.
    void write_next(Date date, std::int32_t day, bool whole) {
        next_ = day_after(date);
        next_day_ = day + 1;
        if (next_.year > 9999) {
            expected_ = false;
            return;
        }
        write_date_digits(next_, whole, next_text_);
    }
    const DatedTable& table_;
    const DateColumns& columns_;
    bool day_first_;
    bool expected_ = false;         // whether next_text_ holds the next row's expected date
    char next_text_[kFixedSize]{};  // "2001-01-02": the day after the row before's, written as it was
    Date next_;                     // that day
    std::int32_t next_day_ = 0;     // its day number
};

}  // namespace

std::vector<DailyValue> read_dated_column(const DatedTable& table, std::size_t column, const NoDataMark& nodata,
                                          bool ordered, bool traces) {
    const DateColumns columns = date_columns(table);
    const CsvCells& cells = table.cells;
    const std::string column_name = text::shown_cell(table.header[column]);
    if (column >= cells.kept) throw std::logic_error("read_dated_column: a column the table did not keep");

    // A date column with the year last: the column as a whole tells whether
    // the day or the month comes first (a day above 12 somewhere); a column
    // that never tells is refused rather than guessed.
    // The days are known when another column of the table was read through.
    const bool days_known = table.value_rows() > 0 && table.row_days.size() == table.value_rows();
    const bool day_first = !days_known && columns.date && day_comes_first(table, *columns.date);

    RowDays days{table, columns, day_first};
    std::vector<DailyValue> values;
    values.reserve(table.value_rows());
    for (std::size_t r = table.first_row; r < cells.rows(); ++r) {
        const std::span<const std::string_view> row = cells.row(r);
        const int line = cells.lines[r] + table.first_line - 1;
        if (cells.fields(r) < table.header.size()) {
            fail(line, "",
                 std::to_string(cells.fields(r)) + " fields, the header has " + std::to_string(table.header.size()));
        }
        const std::int32_t day = days_known ? table.row_days[r - table.first_row] : days.day(row, line);
        if (ordered && !values.empty() && day <= values.back().day) {
            const Date date = date_of(day);
            fail(line, "",
                 date_text(date.year, date.month, date.day) + " does not follow the date of line " +
                     std::to_string(values.back().line));
        }
        // A missing-day marker or a number the NoData value marks is a
        // missing day, a trace of precipitation is 0; any other cell that
        // is not a number is refused.  (A cell with a decimal comma is no
        // number until its comma is a point, so the NoData value is
        // compared with the cell as a number.)  The value is made in its
        // place with its text, the cell's as it stands (a decimal comma's
        // cell alone is copied first).
        const std::string_view cell = text::trimmed(row[column]);
        const CellKind kind = cell_kind(cell);
        if (kind == CellKind::trace && traces) {
            values.emplace_back(DailyValue::in_place, day, kTraceText, line, true);
            continue;
        }
        if (kind != CellKind::missing) {
            const std::string pointed = table.separator == ';' ? decimal_point_text(cell) : std::string();
            const std::string_view text = table.separator == ';' ? std::string_view(pointed) : cell;
            int plain_decimals = 0;
            double number = 0.0;
            const bool read = read_number(text, number, plain_decimals);
            if (!read || !nodata.marks_number(number)) {
                // Almost every number needs no check beyond being one (a
                // plain decimal that reads as 0 has no digit but 0).
                if (!read || (number == 0 && plain_decimals < 0) || !std::isfinite(number))
                    checked_number(read, number, text, line, column_name);
                DailyValue& value = values.emplace_back(DailyValue::in_place, day, text, line);
                set_number_read(value, number, plain_decimals);
                continue;
            }
        }
        // A missing day: its marker, or a number the NoData value marks.
        values.emplace_back(DailyValue::in_place, day, "", line);
    }
    if (!days_known) {
        table.row_days.clear();
        table.row_days.reserve(values.size());
        for (const DailyValue& value : values) table.row_days.push_back(value.day);
    }
    return values;
}

}  // namespace wgn::readers
