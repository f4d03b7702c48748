#include "readers/csv.hpp"

namespace wgn::readers {
namespace {

bool blank_row(const std::vector<std::string>& fields) {
    for (const std::string& field : fields) {
        if (field.find_first_not_of(" \t") != std::string::npos) return false;
    }
    return true;
}

}  // namespace

Result<CsvText> parse_csv(std::string_view text, char separator) {
    CsvText csv;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    std::size_t at = 0;
    int line = 1;
    while (at < text.size()) {
        CsvRow row;
        row.line = line;
        std::string field;
        bool row_done = false;
        while (!row_done) {
            if (at < text.size() && text[at] == '"') {
                // A quoted field runs to the next lone quotation mark.
                const int opened = line;
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
            std::size_t end = at;
            while (end < text.size() && text[end] != separator && text[end] != '\n') ++end;
            std::string_view run = text.substr(at, end - at);
            if (!run.empty() && run.back() == '\r' && (end == text.size() || text[end] == '\n')) run.remove_suffix(1);
            field.append(run);
            at = end;
            row.fields.push_back(std::move(field));
            field.clear();
            if (at < text.size() && text[at] == separator) {
                ++at;
            } else {
                if (at < text.size()) ++at;  // the line end
                ++line;
                row_done = true;
            }
        }
        if (!blank_row(row.fields)) csv.rows.push_back(std::move(row));
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
