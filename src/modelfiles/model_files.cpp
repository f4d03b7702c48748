#include "modelfiles/model_files.hpp"

#include <array>
#include <optional>

#include "modelfiles/cli_columns.hpp"
#include "modelfiles/fixed_text.hpp"
#include "modelfiles/model_fit.hpp"
#include "readers/csv.hpp"
#include "readers/number_text.hpp"
#include "readers/plain_decimal.hpp"
#include "text/csv_writing.hpp"
#include "text/plain_text.hpp"
#include "text/text_lines.hpp"

namespace wgn::modelfiles {
namespace {

using weather::WeatherRecord;

// SWAT 2012's names of the 14 columns, in the same order.
constexpr const char* kUserwgnStems[14] = {"TMPMX",  "TMPMN",  "TMPSTDMX", "TMPSTDMN", "PCPMM",   "PCPSTD", "PCPSKW",
                                           "PR_W1_", "PR_W2_", "PCPD",     "RAINHHMX", "SOLARAV", "DEWPT",  "WNDAV"};

std::string field(std::string_view text) {
    return std::string(text) + "  ";
}

// The name field of a station line: the name left-justified in 25.
std::string cli_name_field(std::string_view name) {
    std::string shown = model_name(name);
    if (shown.size() < 25) shown.resize(25, ' ');
    return shown;
}

}  // namespace

std::string folded_name(std::string_view name) {
    return text::lower_case(model_name(text::trimmed(name)));
}

std::string model_name(std::string_view name) {
    constexpr std::size_t kLongest = 50;
    if (name.size() > kLongest) {
        std::size_t cut = kLongest;
        // A UTF-8 continuation byte (10xxxxxx) at the cut: the character it
        // belongs to goes whole.
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
        name = name.substr(0, cut);
    }
    std::string shown(name);
    for (char& c : shown) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || std::string_view(" '\",;/\\").find(c) != std::string_view::npos) c = '_';
    }
    return shown;
}

std::string cli_title(std::string_view version) {
    return "weather-wgn.cli: weather generator data written by wgnrain-batch " + std::string(version) + "\n";
}

CliStation cli_station(std::string_view name, const WeatherRecord& record) {
    CliStation station;
    station.name = model_name(name);
    station.head = {field_text(record.latitude, kCliNumber), field_text(record.longitude, kCliNumber),
                    field_text(record.elevation, kCliNumber), field_text(record.rain_yrs, kCliYears)};
    for (std::size_t m = 0; m < 12; ++m) {
        for (std::size_t c = 0; c < 14; ++c) station.months[m][c] = field_text(record.values[m][c], kCliNumber);
    }
    return station;
}

std::string cli_block(std::string_view name, const WeatherRecord& record) {
    const CliStation station = cli_station(name, record);
    std::string block = field(cli_name_field(name));
    for (const std::string& head : station.head) block.append(field(head));
    block.append("\n");
    for (const char* column : weather::kColumns) block.append(field(right(column, 12)));
    block.append("\n");
    for (const auto& month : station.months) {
        for (const std::string& value : month) block.append(field(value));
        block.append("\n");
    }
    return block;
}

Result<std::vector<weather::ReferenceStation>> read_cli(std::string_view text) {
    std::vector<weather::ReferenceStation> stations;
    text::TextLines lines(text);
    std::string_view line;
    if (!lines.next(line)) return problem_text("an empty file, not a weather-wgn.cli");
    const auto fail = [&lines](const std::string& why) { return Problem{"", lines.number(), "", why}; };
    while (lines.next(line)) {
        std::vector<std::string_view> head = text::split_fields(line);
        if (head.empty()) continue;
        if (head.size() < 5) return fail("not a station line (name lat lon elev rain_yrs)");
        weather::ReferenceStation station;
        station.line = lines.number();
        station.name = head[0];
        station.latitude = head[1];
        station.longitude = head[2];
        station.elevation = head[3];
        station.rain_yrs = head[4];
        // The column-name line, if the block has one: the 12 month lines may
        // follow the station line straight away.
        if (!lines.next(line)) return fail("a station of fewer than 12 months");
        const std::vector<std::string_view> fields = text::split_fields(line);
        std::array<std::size_t, 14> column_of{};
        for (std::size_t c = 0; c < 14; ++c) column_of[c] = c;
        const bool named = !is_month_line(fields);
        if (named) {
            if (fields.size() < 14) return fail("not the header line of 14 names");
            if (const auto by_name = named_columns(fields)) column_of = *by_name;
        }
        for (std::size_t m = 0; m < 12; ++m) {
            if ((named || m > 0) && !lines.next(line)) return fail("a station of fewer than 12 months");
            const std::vector<std::string_view> values = text::split_fields(line);
            if (values.size() < 14) return fail("a month line of fewer than 14 values");
            for (std::size_t c = 0; c < 14; ++c) {
                // A value filled in from here is written as a plain decimal.
                const std::optional<std::string> plain = readers::plain_decimal(values[c]);
                if (!plain) {
                    return fail(text::quoted_cell(values[c]) + " is not a number" +
                                (readers::is_number_text(values[c]) ? " that can be written without an exponent" : ""));
                }
                station.values[m][column_of[c]] = weather::DecimalText::made(*plain);
            }
        }
        stations.push_back(std::move(station));
    }
    return stations;
}

const weather::ReferenceStation* find_station(const std::vector<weather::ReferenceStation>& stations,
                                              std::string_view name) {
    const std::vector<const weather::ReferenceStation*> named = stations_named(stations, name);
    return named.empty() ? nullptr : named.front();
}

std::vector<const weather::ReferenceStation*> stations_named(const std::vector<weather::ReferenceStation>& stations,
                                                             std::string_view name) {
    const std::string wanted = folded_name(name);
    std::vector<const weather::ReferenceStation*> named;
    for (const weather::ReferenceStation& station : stations) {
        if (folded_name(station.name) == wanted) named.push_back(&station);
    }
    return named;
}

std::string editor_stations_header() {
    return text::csv_line({"id", "name", "lat", "lon", "elev", "rain_yrs"});
}

std::string editor_stations_row(int id, std::string_view name, const WeatherRecord& record) {
    return text::csv_line({std::to_string(id), model_name(name), record.latitude.text(), record.longitude.text(),
                           record.elevation.text(), record.rain_yrs.text()});
}

std::string editor_monthly_header() {
    std::vector<std::string> header = {"id", "wgn_id", "month"};
    header.insert(header.end(), weather::kColumns.begin(), weather::kColumns.end());
    return text::csv_line(header);
}

std::string editor_monthly_rows(int first_id, int station_id, const WeatherRecord& record) {
    std::string rows;
    for (std::size_t m = 0; m < 12; ++m) {
        std::vector<std::string> row = {std::to_string(first_id + static_cast<int>(m)), std::to_string(station_id),
                                        std::to_string(m + 1)};
        for (const weather::DecimalText& value : record.values[m]) row.push_back(value.text());
        rows.append(text::csv_line(row));
    }
    return rows;
}

std::string userwgn_header() {
    std::vector<std::string> header = {"STATION", "WLATITUDE", "WLONGITUDE", "WELEV", "RAIN_YRS"};
    for (const char* stem : kUserwgnStems) {
        for (int m = 1; m <= 12; ++m) header.push_back(stem + std::to_string(m));
    }
    return text::csv_line(header);
}

std::string userwgn_row(std::string_view name, const WeatherRecord& record) {
    std::vector<std::string> row = {model_name(name), record.latitude.text(), record.longitude.text(),
                                    record.elevation.text(), record.rain_yrs.text()};
    for (std::size_t c = 0; c < 14; ++c) {
        for (std::size_t m = 0; m < 12; ++m) row.push_back(record.values[m][c].text());
    }
    return text::csv_line(row);
}

std::string wgn_file(std::string_view name, const WeatherRecord& record, std::string_view version) {
    std::string text =
        model_name(name) + ": weather generator data written by wgnrain-batch " + std::string(version) + "\n";
    text.append("  LATITUDE =").append(field_text(record.latitude, kWgnPosition));
    text.append(" LONGITUDE =").append(field_text(record.longitude, kWgnPosition)).append("\n");
    text.append("  ELEV (m) =").append(field_text(record.elevation, kWgnPosition)).append("\n");
    text.append("  RAIN_YRS =").append(field_text(record.rain_yrs, kWgnPosition)).append("\n");
    for (std::size_t c = 0; c < 14; ++c) {
        for (std::size_t m = 0; m < 12; ++m) text.append(field_text(record.values[m][c], wgn_field(c)));
        text.append("\n");
    }
    return text;
}

}  // namespace wgn::modelfiles
