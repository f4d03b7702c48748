#include "readers/csv.hpp"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

namespace wgn::readers {
namespace {

bool blank_row(std::span<const std::string_view> fields) {
    for (const std::string_view field : fields) {
        if (field.find_first_not_of(" \t") != std::string_view::npos) return false;
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

// The first place from `at` on, before `end`, that holds `separator`; `end`
// when none does.  Eight bytes are tested at a time, as one 64-bit word: a
// byte of the word XOR eight separators is 0 exactly where the separator
// stands, and ((x & 0x7F..) + 0x7F..) | x has the high bit of each byte set
// exactly where that byte is not 0 (no carry crosses a byte).  A cell is a
// few characters: one word finds its end, where a loop byte by byte would
// mispredict its last test on every cell.
//   separator_from("12.5,3.1\n", 0, 8, ',') -> 4     (…, 5, 8, ',') -> 8
std::size_t separator_from(std::string_view text, std::size_t at, std::size_t end, char separator) {
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t kOnes = 0x0101010101010101ULL, kLows = 0x7F7F7F7F7F7F7F7FULL;
        const std::uint64_t pattern = kOnes * static_cast<unsigned char>(separator);
        // A word may reach past `end` (not past the text): what it finds there counts as `end`.
        for (; at < end && at + 8 <= text.size(); at += 8) {
            std::uint64_t word = 0;
            std::memcpy(&word, text.data() + at, 8);
            const std::uint64_t x = word ^ pattern;
            const std::uint64_t found = ~(((x & kLows) + kLows) | x) & ~kLows;
            if (found != 0) return std::min(end, at + static_cast<std::size_t>(std::countr_zero(found)) / 8);
        }
        if (at >= end) return end;
    }
    while (at < end && text[at] != separator) ++at;
    return at;
}

// Where the line that holds `at` ends: its LF, or the end of the text.
std::size_t line_end_from(std::string_view text, std::size_t at) {
    if (at >= text.size()) return text.size();
    const void* const found = std::memchr(text.data() + at, '\n', text.size() - at);
    return found == nullptr ? text.size() : static_cast<std::size_t>(static_cast<const char*>(found) - text.data());
}

}  // namespace

Result<CsvCells> parse_csv_cells(std::string_view text, char separator) {
    CsvCells csv;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    // Room for every cell at once: one per separator and line end (a
    // quoted one may hold some), so the cells are never moved as they grow.
    const Counts counts = separators_and_line_ends(text, separator);
    const std::size_t line_ends = counts.line_ends;
    csv.cells.reserve(counts.separators + line_ends + 1);
    csv.starts.reserve(line_ends + 2);
    csv.lines.reserve(line_ends + 1);
    std::size_t at = 0;
    std::size_t next_line = line_end_from(text, 0);  // the first line end at or after `at`
    int line = 1;
    std::string field;
    while (at < text.size()) {
        const int row_line = line;
        bool row_done = false;
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
        // Rows of blanks only are left out.
        const std::size_t first = csv.starts.back();
        if (blank_row(std::span<const std::string_view>(csv.cells).subspan(first))) {
            csv.cells.resize(first);
        } else {
            csv.starts.push_back(csv.cells.size());
            csv.lines.push_back(row_line);
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
