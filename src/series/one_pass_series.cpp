#include "series/one_pass_series.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>
#include <vector>

#include "io/decimal_text.hpp"
#include "readers/calendar_days.hpp"
#include "readers/dated_table.hpp"
#include "readers/formats.hpp"
#include "readers/value_checks.hpp"
#include "series/period_choice.hpp"
#include "series/precipitation_values.hpp"
#include "text/byte_masks.hpp"

namespace wgn::series {
namespace {

using readers::Date;
constexpr std::size_t kNone = std::string_view::npos;
constexpr std::size_t kDateSize = 10;  // "YYYY-MM-DD"
// A longer run of days without a row is left to the general reading, which
// writes only the period's days: these lines are written for every year of
// the record.
constexpr std::int32_t kLongestGap = 366;

// Where the header puts what the pass reads.
struct HeaderRead {
    std::size_t width = 0;  // the header's fields: a row needs as many
    std::size_t date = 0, pcp = 0;
};

// The header of the first line, read as the general reading reads it from
// the first two lines (the first row tells the separator and that the
// header has no notes before it); nothing for any header this pass leaves
// to the general reading: a date in year, month and day columns, a unit in
// the precipitation's name, a half-hour rain column to check with it.
std::optional<HeaderRead> header_read(std::string_view first, std::string_view second,
                                      const readers::ReadOptions& read) {
    const std::string head = std::string(first) + "\n" + std::string(second) + "\n";
    try {
        const readers::DatedTable table = readers::parse_dated_table(head, 1, read.date_column, read.settings);
        if (table.first_row != 1 || table.cells.rows() != 2 || table.separator != ',') return std::nullopt;
        const std::optional<std::size_t> date = readers::date_column_of(table);
        const auto column = [&](readers::Variable variable) {
            const readers::VariableFacts& facts = readers::facts(variable);
            const readers::ColumnAsked asked = readers::column_asked(facts, read);
            return readers::find_column(table, asked.names, asked.wanted, facts.what, facts.list_column);
        };
        const std::optional<std::size_t> pcp = column(readers::Variable::pcp);
        if (!date || !pcp || column(readers::Variable::hhr)) return std::nullopt;
        if (readers::unit_in_text(readers::Quantity::kPrecipitation, table.header[*pcp])) return std::nullopt;
        return HeaderRead{table.header.size(), *date, *pcp};
    } catch (const ProblemError&) {
        return std::nullopt;
    }
}

// The date and precipitation cells of `row`; false when it holds a
// quotation mark or has fewer fields than the header.  Eight bytes at a
// time, each word's commas taken from its mask: a cell is a few bytes, and
// a test byte by byte would mispredict at every cell's end.
bool row_cells(std::string_view row, const HeaderRead& header, std::string_view& date, std::string_view& pcp) {
    std::size_t field = 0, start = 0;
    const auto cell_ends_at = [&](std::size_t place) {
        if (field == header.date) date = row.substr(start, place - start);
        if (field == header.pcp) pcp = row.substr(start, place - start);
        ++field;
        start = place + 1;
    };
    std::size_t i = 0;
    if constexpr (std::endian::native == std::endian::little) {
        for (; i + 8 <= row.size(); i += 8) {
            std::uint64_t word = 0;
            std::memcpy(&word, row.data() + i, 8);
            if (text::bytes_equal(word, '"') != 0) return false;
            for (std::uint64_t commas = text::bytes_equal(word, ','); commas != 0; commas &= commas - 1)
                cell_ends_at(i + static_cast<std::size_t>(std::countr_zero(commas)) / 8);
        }
    }
    for (; i < row.size(); ++i) {
        if (row[i] == '"') return false;
        if (row[i] == ',') cell_ends_at(i);
    }
    cell_ends_at(row.size());
    return field >= header.width;
}

// Whether `cell` is the 10 bytes of `text`, in two loads each.
bool same_date_text(std::string_view cell, const char* text) {
    if (cell.size() != kDateSize) return false;
    std::uint64_t a = 0, b = 0;
    std::uint16_t c = 0, d = 0;
    std::memcpy(&a, cell.data(), 8);
    std::memcpy(&b, text, 8);
    std::memcpy(&c, cell.data() + 8, 2);
    std::memcpy(&d, text + 8, 2);
    return a == b && c == d;
}

// A date written YYYY-MM-DD:  "2001-02-28" -> {2001, 2, 28};  "2001-2-28", "2001/02/28" -> false
bool iso_date(std::string_view cell, Date& date) {
    if (cell.size() != kDateSize || cell[4] != '-' || cell[7] != '-') return false;
    const auto number = [&](std::size_t from, std::size_t count, int& value) {
        value = 0;
        for (std::size_t i = from; i < from + count; ++i) {
            if (cell[i] < '0' || cell[i] > '9') return false;
            value = value * 10 + (cell[i] - '0');
        }
        return true;
    };
    return number(0, 4, date.year) && number(5, 2, date.month) && number(8, 2, date.day) &&
           readers::is_valid_date(date);
}

// A plain decimal from 0 to below 2000 as a number is written without
// leading zeros:  "0", "12.5", "1999.9" -> true;  "2000", "05", ".5", "5.", "-1", "1e2" -> false
bool plain_amount(std::string_view cell) {
    if (cell.empty() || cell.size() > 12) return false;
    std::size_t point = kNone;
    for (std::size_t i = 0; i < cell.size(); ++i) {
        if (cell[i] == '.') {
            if (point != kNone || i == 0 || i + 1 == cell.size()) return false;
            point = i;
        } else if (cell[i] < '0' || cell[i] > '9') {
            return false;
        }
    }
    const std::size_t whole = point == kNone ? cell.size() : point;
    if (whole > 1 && cell[0] == '0') return false;
    return whole < 4 || (whole == 4 && cell[0] == '1');
}

// One calendar year of the record as written: where its lines start, the
// days with a value and the missing days of each month.
struct YearWritten {
    int year = 0;
    std::size_t start = 0;
    int present = 0;
    std::array<int, 12> missing{};
};

// The lines of whole years, day by day from 1 January of the first row's year.
class YearLines {
  public:
    explicit YearLines(std::string_view nodata, std::size_t room) : nodata_(nodata) { text_.reserve(room); }
    bool started() const { return !years_.empty(); }
    void start(int year) {
        date_ = Date{year, 1, 1};
        day_ = readers::day_number(date_);
    }
    std::int32_t next_day() const { return day_; }
    Date next_date() const { return date_; }
    // Writes the next day: `value`, or the NoData value when it is empty.
    void write(std::string_view value) {
        if (date_.month == 1 && date_.day == 1) years_.push_back(YearWritten{date_.year, text_.size()});
        YearWritten& year = years_.back();
        if (value.empty()) {
            text_.append(nodata_);
            ++year.missing[static_cast<std::size_t>(date_.month - 1)];
        } else {
            text_.append(value);
            ++year.present;
        }
        text_.append("\r\n");
        date_ = readers::day_after(date_);
        ++day_;
    }
    // Writes the missing days up to the end of the year written last.
    void finish_year() {
        while (date_.month != 1 || date_.day != 1) write({});
    }
    const std::vector<YearWritten>& years() const { return years_; }
    std::string& text() { return text_; }

  private:
    std::string_view nodata_;
    std::string text_;
    std::vector<YearWritten> years_;
    Date date_;
    std::int32_t day_ = 0;
};

// The series of the period from the record's whole years: the coverage as
// make_whole_years counts it, the period's lines cut from the record's.
std::optional<WholeYearSeries> period_of(YearLines& lines, const SeriesOptions& options) {
    const std::vector<YearWritten>& years = lines.years();
    std::map<int, int> present;
    for (const YearWritten& year : years) present[year.year] = year.present;
    const int record_first = years.front().year, record_last = years.back().year;
    const ChosenPeriod chosen =
        choose_period(present, record_first, record_last, options.first_year, options.last_year);
    const int first = chosen.first_year, last = chosen.last_year;
    if (first == 0 || first > last || first < record_first || last > record_last) return std::nullopt;
    WholeYearSeries series;
    series.coverage = period_coverage(present, first, last);
    Coverage& coverage = series.coverage;
    for (int year = first; year <= last; ++year) {
        const YearWritten& written = years[static_cast<std::size_t>(year - record_first)];
        int missing = 0;
        for (const int month : written.missing) missing += month;
        coverage.days += readers::days_in_year(year);
        coverage.missing_days += missing;
        coverage.missing.push_back(written.missing);
        if (missing * 10 > readers::days_in_year(year)) coverage.incomplete_years.push_back(year);
    }
    std::string& text = lines.text();
    const std::size_t from = years[static_cast<std::size_t>(first - record_first)].start;
    if (last < record_last) text.resize(years[static_cast<std::size_t>(last + 1 - record_first)].start);
    text.erase(0, from);
    series.text = std::move(text);
    return series;
}

}  // namespace

std::optional<WholeYearSeries> one_pass_series(const NextLine& next_line, std::size_t file_size,
                                               const readers::ReadOptions& read, std::optional<readers::Unit> pcp_unit,
                                               const SeriesOptions& series) {
    // 1. What the pass reads: a dated csv file in UTF-8 without a byte
    //    order mark, its amounts in millimetres as they stand, and a NoData
    //    value below 0 by more than a millionth of it, so that no amount
    //    from 0 up can equal it as wgnrain reads both.
    if (read.format != readers::Format::csv || pcp_unit || !series.pcp_threshold.empty()) return std::nullopt;
    float nodata = 0.0F;
    if (!io::parse_real(series.nodata, nodata) || !std::isfinite(nodata)) return std::nullopt;
    const double margin = 1e-6 * std::max(1.0, std::fabs(static_cast<double>(nodata)));
    if (static_cast<double>(nodata) + margin >= 0) return std::nullopt;
    std::string_view row;
    if (!next_line(row) || row.empty() || static_cast<unsigned char>(row[0]) >= 0xEF) return std::nullopt;
    const std::string first(row);  // the next line takes the window's place
    if (!next_line(row)) return std::nullopt;
    const std::optional<HeaderRead> header = header_read(first, row, read);
    if (!header) return std::nullopt;

    // 2. Each row in turn: its day (the one after the row before's, as its
    //    text tells at once, or a later one), the days up to it missing, then
    //    its amount, or missing when its cell is the NoData value or a
    //    missing-day marker (empty, NA, ...).
    //    (A series line is some 4 bytes where a row is some 40.)
    YearLines lines(series.nodata, file_size / 8 + 64);
    AmountFigures amounts;
    char expected[kDateSize] = {'0', '0', '0', '0', '-', '0', '0', '-', '0', '0'};
    bool expecting = false;
    do {
        if (!row.empty() && row.back() == '\r') row.remove_suffix(1);
        std::string_view date_cell, pcp_cell;
        if (row.empty() || !row_cells(row, *header, date_cell, pcp_cell)) return std::nullopt;
        const bool next_day = expecting && same_date_text(date_cell, expected);
        if (!next_day) {
            Date date;
            if (!iso_date(date_cell, date)) return std::nullopt;
            if (!lines.started()) lines.start(date.year);
            const std::int32_t day = readers::day_number(date);
            if (day < lines.next_day() || day - lines.next_day() > kLongestGap) return std::nullopt;
            while (lines.next_day() < day) lines.write({});
        }
        if (plain_amount(pcp_cell)) {
            lines.write(pcp_cell);
            amounts.add(pcp_cell);
        } else if (pcp_cell == read.nodata || readers::cell_kind(pcp_cell) == readers::CellKind::missing) {
            lines.write({});
        } else {
            return std::nullopt;
        }
        const Date next = lines.next_date();
        expecting = next.year <= 9999;
        if (expecting) readers::write_date_digits(next, !next_day, expected);
    } while (next_line(row));
    lines.finish_year();
    // 3. Amounts that read as another unit than mm are the general
    //    reading's to refuse.
    if (unit_of_amounts(amounts)) return std::nullopt;

    // 4. The period, as make_whole_years chooses it.
    return period_of(lines, series);
}

std::optional<WholeYearSeries> one_pass_series(std::string_view text, const readers::ReadOptions& read,
                                               std::optional<readers::Unit> pcp_unit, const SeriesOptions& series) {
    const NextLine next_line = [&text](std::string_view& line) {
        if (text.empty()) return false;
        const std::size_t end = std::min(text.find('\n'), text.size());
        line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        return true;
    };
    return one_pass_series(next_line, text.size(), read, pcp_unit, series);
}

}  // namespace wgn::series
