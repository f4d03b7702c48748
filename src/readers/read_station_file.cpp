#include "readers/read_station_file.hpp"

#include "readers/value_checks.hpp"
#include "text/unicode_text.hpp"

namespace wgn::readers {

namespace {

// The reader of each format, in the order of Format.
using Reader = StationRecord (*)(std::string_view, const ReadOptions&);
constexpr std::array<Reader, kFormatFacts.size()> kReaders = {read_plain, read_csv,      read_ghcnd,   read_power,
                                                              read_swat,  read_swatplus, read_swat2012};

// The text as the readers take it, UTF-8 with LF or CR LF line ends:
//   a UTF-16 file (by its byte order mark, a spreadsheet's "Unicode text") as UTF-8;
//   a UTF-8 byte order mark left out;
//   a file whose lines end in CR alone (old Mac spreadsheets) with LF line ends.
// `owned` keeps a converted text; otherwise the text is `text` itself.
std::string_view readable_text(std::string_view text, std::string& owned) {
    if (std::optional<std::string> utf8 = text::utf16_as_utf8(text)) {
        owned = std::move(*utf8);
        text = owned;
    }
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    // (An LF in the first line tells almost every file apart at once.)
    if (text.find('\n') == std::string_view::npos && text.find('\r') != std::string_view::npos) {
        std::string lines(text);
        for (char& c : lines) {
            if (c == '\r') c = '\n';
        }
        owned = std::move(lines);
        text = owned;
    }
    return text;
}

}  // namespace

Result<StationRecord> read_station_file(std::string_view shown_name, std::string_view text,
                                        const ReadOptions& options) {
    std::string owned;
    const std::string_view readable = readable_text(text, owned);
    Result<StationRecord> read =
        catch_problem([&] { return kReaders[static_cast<std::size_t>(options.format)](readable, options); });
    if (!read) return read.problem().in_file(shown_name);
    return read;
}

}  // namespace wgn::readers
