#include "check/read_userwgn.hpp"

#include <array>
#include <optional>

#include "readers/csv.hpp"
#include "text/plain_text.hpp"

namespace wgn::check {
namespace {

// SWAT 2012's names of the 14 columns, in the order of weather::kColumns.
constexpr std::array<std::string_view, 14> kStems = {"tmpmx",    "tmpmn",   "tmpstdmx", "tmpstdmn", "pcpmm",
                                                     "pcpstd",   "pcpskw",  "pr_w1_",   "pr_w2_",   "pcpd",
                                                     "rainhhmx", "solarav", "dewpt",    "wndav"};
constexpr std::array<std::string_view, 5> kHead = {"station", "wlatitude", "wlongitude", "welev", "rain_yrs"};

std::string folded(std::string_view cell) {
    return text::lower_case(text::trimmed(cell));
}

}  // namespace

bool looks_like_userwgn(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    return folded(text.substr(0, text.find_first_of(",\r\n"))) == "station";
}

Result<CheckTable> read_userwgn(std::string_view shown, std::string_view text) {
    Result<readers::CsvText> csv = readers::parse_csv(text);
    if (!csv) return csv.problem().in_file(shown);
    if (csv->rows.empty()) return Problem{std::string(shown), 1, "", "no header line (STATION,WLATITUDE,...)"};
    const readers::CsvRow& header = csv->rows.front();
    std::array<std::optional<std::size_t>, 5> head_at;
    std::array<std::array<std::optional<std::size_t>, 14>, 12> value_at;
    for (std::size_t i = 0; i < header.fields.size(); ++i) {
        const std::string name = folded(header.fields[i]);
        for (std::size_t h = 0; h < kHead.size(); ++h) {
            if (name == kHead[h]) head_at[h] = i;
        }
        for (std::size_t c = 0; c < 14; ++c) {
            for (std::size_t m = 0; m < 12; ++m) {
                if (name == std::string(kStems[c]) + std::to_string(m + 1)) value_at[m][c] = i;
            }
        }
    }
    for (std::size_t h = 0; h < kHead.size(); ++h) {
        if (!head_at[h]) {
            return Problem{std::string(shown), header.line, "",
                           "no column " + text::upper_case(kHead[h]) + " (a userwgn.csv header was expected)"};
        }
    }
    for (std::size_t c = 0; c < 14; ++c) {
        for (std::size_t m = 0; m < 12; ++m) {
            if (!value_at[m][c]) {
                return Problem{std::string(shown), header.line, "",
                               "no column " + text::upper_case(kStems[c]) + std::to_string(m + 1) +
                                   " (a userwgn.csv header was expected)"};
            }
        }
    }
    CheckTable table;
    for (std::size_t r = 1; r < csv->rows.size(); ++r) {
        const readers::CsvRow& row = csv->rows[r];
        const auto cell = [&row](std::size_t at) {
            return at < row.fields.size() ? text::trimmed(row.fields[at]) : std::string_view();
        };
        TableStation station{std::string(shown), {}, {}};
        station.station.line = row.line;
        station.station.name = cell(*head_at[0]);
        station.station.latitude = cell(*head_at[1]);
        station.station.longitude = cell(*head_at[2]);
        station.station.elevation = cell(*head_at[3]);
        station.station.rain_yrs = cell(*head_at[4]);
        for (std::size_t m = 0; m < 12; ++m) {
            for (std::size_t c = 0; c < 14; ++c) {
                const std::string_view value = cell(*value_at[m][c]);
                if (value.empty()) continue;  // a value the table lacks
                const std::optional<weather::DecimalText> read = weather::DecimalText::read(value);
                if (!read) {
                    return Problem{std::string(shown), row.line, header.fields[*value_at[m][c]],
                                   text::quoted(value) + " is not a number"};
                }
                station.station.values[m][c] = *read;
            }
        }
        table.push_back(std::move(station));
    }
    return table;
}

}  // namespace wgn::check
