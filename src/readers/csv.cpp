#include "readers/csv.hpp"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>

#include "text/byte_masks.hpp"

namespace wgn::readers {
namespace {

bool blank_row(std::span<const std::string_view> fields) {
    for (const std::string_view field : fields) {
        for (const char c : field) {
            if (c != ' ' && c != '\t') return false;
        }
    }
    return true;
}

// How many separators and line ends the text holds, counted in blocks of
// at most 255 bytes: a block's counts fit a byte each, which lets the loop
// test 16 bytes at a time where a count of size_t per byte would widen every
// comparison.
struct Counts {
    std::size_t separators = 0, line_ends = 0;
};
Counts separators_and_line_ends(std::string_view text, char separator) {
    Counts counts;
    for (std::size_t at = 0; at < text.size(); at += 255) {
        const std::size_t end = std::min(text.size(), at + 255);
        std::uint8_t separators = 0, line_ends = 0;
        for (std::size_t i = at; i < end; ++i) {
            separators = static_cast<std::uint8_t>(separators + (text[i] == separator ? 1 : 0));
            line_ends = static_cast<std::uint8_t>(line_ends + (text[i] == '\n' ? 1 : 0));
        }
        counts.separators += separators;
        counts.line_ends += line_ends;
    }
    return counts;
}

// The eight bytes of the text from `at` as a word, the first the lowest; 0
// for bytes past its end.
std::uint64_t word_at(std::string_view text, std::size_t at) {
    std::uint64_t word = 0;
    if (text.size() - at >= 8) {
        std::memcpy(&word, text.data() + at, 8);  // one load
    } else {
        std::memcpy(&word, text.data() + at, text.size() - at);
    }
    return word;
}

constexpr bool kLittleEndian = std::endian::native == std::endian::little;

// The first place from `at` on, before `end`, that holds `separator`; `end`
// when none does; eight bytes at a time.  A cell is a few characters: one
// word finds its end, where a loop byte by byte would mispredict its last
// test on every cell.
//   separator_from("12.5,3.1\n", 0, 8, ',') -> 4     (…, 5, 8, ',') -> 8
std::size_t separator_from(std::string_view text, std::size_t at, std::size_t end, char separator) {
    if constexpr (kLittleEndian) {
        // A word may reach past `end` (not past the text): what it finds there counts as `end`.
        for (; at < end; at += 8) {
            const std::uint64_t found = text::bytes_equal(word_at(text, at), separator);
            if (found != 0) return std::min(end, at + static_cast<std::size_t>(std::countr_zero(found)) / 8);
        }
        return end;
    }
    while (at < end && text[at] != separator) ++at;
    return at;
}

// The cells of the line that starts at `at`, appended to `cells`, at most
// `keep` of them, when the line holds no quotation mark; false, with
// nothing appended, when it does (the cell by cell reading takes it).
// `fields` is told how many cells the line has, `end` where it ends (its
// LF, or the end of the text).  The line is read eight bytes at a time,
// each word's line end, quotation marks and separators found at once; the
// separators are taken one after the other from their mask, so that no
// cell waits on the one before to be found, and those past the kept cells
// are only counted.  A carriage return ends the last cell only.
//   "2001-01-01,1.5,,3\r\n" -> "2001-01-01", "1.5", "", "3", end 18;
//   keep 2: "2001-01-01", "1.5", fields 4
bool split_plain_line(std::string_view text, std::size_t at, char separator, std::size_t keep,
                      std::vector<std::string_view>& cells, std::size_t& fields, std::size_t& end) {
    if constexpr (!kLittleEndian) return false;
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    const std::size_t before = cells.size();
    std::size_t start = at;  // of the cell being read
    std::size_t ended = 0;   // cells kept, each ended by its separator
    std::size_t passed = 0;  // separators past the kept cells
    end = text.size();
    // word_at gives 0 for the bytes past the text, which match none of the
    // bytes looked for.
    for (std::size_t i = at; i < text.size(); i += 8) {
        const std::uint64_t word = word_at(text, i);
        const std::uint64_t line_ends = text::bytes_equal(word, '\n');
        const std::uint64_t quotes = text::bytes_equal(word, '"');
        std::uint64_t found = text::bytes_equal(word, separator);
        if ((line_ends | quotes) != 0) {
            // The bytes of the line alone: those before its LF.  The LF's
            // high bit moved to the lowest bit of its byte, less 1, sets
            // the bits of the bytes below it.
            const std::uint64_t line = line_ends == 0 ? ~std::uint64_t{0} : ((line_ends & (0 - line_ends)) >> 7) - 1;
            if ((quotes & line) != 0) {
                cells.resize(before);
                return false;
            }
            found &= line;
        }
        for (; found != 0 && ended < keep; found &= found - 1, ++ended) {
            const std::size_t place = i + static_cast<std::size_t>(std::countr_zero(found)) / 8;
            cells.push_back(text.substr(start, place - start));
            start = place + 1;
        }
        // The high bits of the separators past the kept cells, as 0 or 1
        // a byte, summed by one multiplication (eight add up below 256).
        passed += static_cast<std::size_t>(((found >> 7) * kOnes) >> 56);
        if (line_ends != 0) {
            end = i + static_cast<std::size_t>(std::countr_zero(line_ends)) / 8;
            break;
        }
    }
    if (ended < keep) {
        std::string_view last = text.substr(start, end - start);
        if (!last.empty() && last.back() == '\r') last.remove_suffix(1);
        cells.push_back(last);
    }
    fields = ended + passed + 1;
    return true;
}

// Where the line that holds `at` ends: its LF, or the end of the text.
std::size_t line_end_from(std::string_view text, std::size_t at) {
    if (at >= text.size()) return text.size();
    const void* const found = std::memchr(text.data() + at, '\n', text.size() - at);
    return found == nullptr ? text.size() : static_cast<std::size_t>(static_cast<const char*>(found) - text.data());
}

}  // namespace

Result<CsvCells> parse_csv_cells(std::string_view text, char separator) {
    return parse_csv_cells(text, separator, {});
}

Result<CsvCells> parse_csv_cells(std::string_view text, char separator, const CellsKept& kept) {
    CsvCells csv;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    // Room for every cell at once: one per separator and line end (a
    // quoted one may hold some), so the cells are never moved as they grow.
    // (Room not filled costs no memory: its pages are never touched.)
    const Counts counts = separators_and_line_ends(text, separator);
    const std::size_t line_ends = counts.line_ends;
    csv.cells.reserve(counts.separators + line_ends + 1);
    csv.starts.reserve(line_ends + 2);
    csv.lines.reserve(line_ends + 1);
    constexpr std::size_t kAll = std::numeric_limits<std::size_t>::max();
    std::size_t keep = kAll;  // the leading cells a row keeps
    bool asking = static_cast<bool>(kept);
    std::size_t at = 0;
    std::size_t next_line = 0;  // the first line end at or after `at`, for the cell by cell reading
    int line = 1;
    std::string field;
    while (at < text.size()) {
        const int row_line = line;
        const std::size_t row_at = at;
        std::size_t fields = 0, row_end = 0;
        // Almost every line has no quotation mark: its cells are split at once.
        bool row_done = split_plain_line(text, at, separator, keep, csv.cells, fields, row_end);
        const bool plain = row_done;
        if (row_done) {
            at = row_end < text.size() ? row_end + 1 : text.size();
            ++line;
        } else {
            next_line = line_end_from(text, at);
        }
        while (!row_done) {
            bool quoted = false;
            if (at < text.size() && text[at] == '"') {
                // A quoted field runs to the next lone quotation mark.
                const int opened = line;
                quoted = true;
                field.clear();
                ++at;
                for (;;) {
                    if (at >= text.size())
                        return Problem{"", opened, "", "a quotation mark opened here is never closed"};
                    const char c = text[at++];
                    if (c == '"') {
                        if (at < text.size() && text[at] == '"') {
                            field.push_back('"');
                            ++at;
                            continue;
                        }
                        break;
                    }
                    if (c == '\n') ++line;
                    field.push_back(c);
                }
            }
            // Unquoted characters (and anything after a closing quote) up to
            // the next comma or line end, taken at once; a carriage return
            // is dropped where the line or the text ends after it (CR LF
            // lines), kept anywhere else.
            // The line's end is found once for all its cells (again after a
            // quoted cell that held line ends), each separator a word at a
            // time: cells are a few characters, shorter than a call costs.
            if (next_line < at) next_line = line_end_from(text, at);
            const std::size_t end = separator_from(text, at, next_line, separator);
            std::string_view run = text.substr(at, end - at);
            if (!run.empty() && run.back() == '\r' && (end == text.size() || text[end] == '\n')) run.remove_suffix(1);
            if (quoted) {
                csv.unquoted.push_back(field.append(run));
                csv.cells.emplace_back(csv.unquoted.back());
            } else {
                csv.cells.push_back(run);
            }
            at = end;
            if (at < text.size() && text[at] == separator) {
                ++at;
            } else {
                if (at < text.size()) ++at;  // the line end
                ++line;
                row_done = true;
            }
        }
        const std::size_t first = csv.starts.back();
        if (!plain) fields = csv.cells.size() - first;
        // Rows of blanks only are left out; a row whose kept cells are
        // blank is split whole to tell.
        bool blank = blank_row(std::span<const std::string_view>(csv.cells).subspan(first));
        if (blank && fields > csv.cells.size() - first) {
            csv.cells.resize(first);
            split_plain_line(text, row_at, separator, kAll, csv.cells, fields, row_end);
            blank = blank_row(std::span<const std::string_view>(csv.cells).subspan(first));
        }
        if (blank) {
            csv.cells.resize(first);
            continue;
        }
        csv.starts.push_back(csv.cells.size());
        csv.lines.push_back(row_line);
        if (keep != kAll) csv.widths.push_back(fields);
        if (asking) {
            if (const std::optional<std::size_t> answer = kept(csv); answer && *answer < kAll) {
                // Every row so far kept all its cells.
                keep = std::max<std::size_t>(*answer, 1);
                csv.kept = keep;
                asking = false;
                csv.widths.reserve(line_ends + 1);
                for (std::size_t r = 0; r < csv.rows(); ++r) csv.widths.push_back(csv.starts[r + 1] - csv.starts[r]);
            } else if (answer) {
                asking = false;
            }
        }
    }
    return csv;
}

Result<CsvText> parse_csv(std::string_view text, char separator) {
    Result<CsvCells> cells = parse_csv_cells(text, separator);
    if (!cells) return cells.problem();
    CsvText csv;
    csv.rows.reserve(cells->rows());
    for (std::size_t r = 0; r < cells->rows(); ++r) {
        const std::span<const std::string_view> row = cells->row(r);
        csv.rows.push_back(CsvRow{cells->lines[r], std::vector<std::string>(row.begin(), row.end())});
    }
    return csv;
}

char detect_separator(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    std::size_t commas = 0;
    std::size_t semicolons = 0;
    bool quoted = false;
    for (const char c : text) {
        if (c == '"') quoted = !quoted;
        if (quoted) continue;
        if (c == '\n') break;
        commas += c == ',' ? 1 : 0;
        semicolons += c == ';' ? 1 : 0;
    }
    return semicolons > commas ? ';' : ',';
}

}  // namespace wgn::readers
