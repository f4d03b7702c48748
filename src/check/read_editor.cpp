#include "check/read_editor.hpp"

#include <charconv>
#include <map>
#include <optional>
#include <string>

#include "readers/csv.hpp"
#include "text/plain_text.hpp"

namespace wgn::check {
namespace {

std::optional<long> whole(std::string_view text) {
    text = text::trimmed(text);
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

Result<readers::CsvText> rows_of(std::string_view shown, std::string_view text, std::size_t columns,
                                 const char* header) {
    Result<readers::CsvText> csv = readers::parse_csv(text);
    if (!csv) return csv.problem().in_file(shown);
    for (std::size_t r = 1; r < csv->rows.size(); ++r) {
        if (csv->rows[r].fields.size() < columns) {
            return Problem{std::string(shown), csv->rows[r].line, "",
                           "a row of fewer than " + std::to_string(columns) + " fields (" + header + ")"};
        }
    }
    return csv;
}

}  // namespace

EditorTable editor_table_of(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    const std::string head = text::lower_case(text.substr(0, text.find_first_of("\r\n")));
    if (head.rfind("id,name,lat", 0) == 0) return EditorTable::stations;
    if (head.rfind("id,wgn_id,month", 0) == 0) return EditorTable::monthly;
    return EditorTable::none;
}

Result<CheckTable> read_editor_tables(std::string_view stations_shown, std::string_view stations_text,
                                      std::string_view monthly_shown, std::string_view monthly_text) {
    const Result<readers::CsvText> stations =
        rows_of(stations_shown, stations_text, 6, "id,name,lat,lon,elev,rain_yrs");
    if (!stations) return stations.problem();
    const Result<readers::CsvText> monthly =
        rows_of(monthly_shown, monthly_text, 17, "id,wgn_id,month and the 14 values");
    if (!monthly) return monthly.problem();
    CheckTable table;
    std::map<long, std::size_t> by_id;
    for (std::size_t r = 1; r < stations->rows.size(); ++r) {
        const readers::CsvRow& row = stations->rows[r];
        const std::optional<long> id = whole(row.fields[0]);
        if (!id) return Problem{std::string(stations_shown), row.line, "id", "not a whole number"};
        if (!by_id.emplace(*id, table.size()).second) {
            return Problem{std::string(stations_shown), row.line, "id", "the id of an earlier station"};
        }
        TableStation station{std::string(stations_shown), {}, {}};
        station.station.line = row.line;
        station.station.name = text::trimmed(row.fields[1]);
        station.station.latitude = text::trimmed(row.fields[2]);
        station.station.longitude = text::trimmed(row.fields[3]);
        station.station.elevation = text::trimmed(row.fields[4]);
        station.station.rain_yrs = text::trimmed(row.fields[5]);
        table.push_back(std::move(station));
    }
    for (std::size_t r = 1; r < monthly->rows.size(); ++r) {
        const readers::CsvRow& row = monthly->rows[r];
        const auto fail = [&](const char* column, std::string why) {
            return Problem{std::string(monthly_shown), row.line, column, std::move(why)};
        };
        const std::optional<long> id = whole(row.fields[1]);
        if (!id || by_id.find(*id) == by_id.end()) return fail("wgn_id", "not the id of a station of wgn_stations");
        const std::optional<long> month = whole(row.fields[2]);
        if (!month || *month < 1 || *month > 12) return fail("month", "not a month (1 ... 12)");
        auto& values = table[by_id[*id]].station.values[static_cast<std::size_t>(*month - 1)];
        for (std::size_t c = 0; c < 14; ++c) {
            const std::string_view cell = text::trimmed(row.fields[3 + c]);
            if (cell.empty()) continue;
            const std::optional<weather::DecimalText> value = weather::DecimalText::read(cell);
            if (!value) return fail(weather::kColumns[c], text::quoted(cell) + " is not a number");
            values[c] = *value;
        }
    }
    return table;
}

}  // namespace wgn::check
