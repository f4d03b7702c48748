// Dated tables: a spreadsheet's CSV export and NASA POWER's daily CSV.
#include <cmath>

#include "readers/dated_table.hpp"
#include "readers/number_text.hpp"
#include "readers/read_station_file.hpp"
#include "readers/text_lines.hpp"
#include "readers/value_checks.hpp"

namespace wgn::readers {
namespace {

// The names a precipitation column goes by, compared without regard to case.
const std::vector<std::string_view> kPrecipitationNames = {"precipitation", "prcp", "pcp", "rain", "prectotcorr"};

bool is_nodata_marker(std::string_view text, std::string_view marker) {
    return is_nodata_text(text, marker);
}

std::size_t precipitation_column(const DatedTable& table, const ReadOptions& options) {
    const std::optional<std::size_t> column = find_column(table, kPrecipitationNames, options.pcp_column, "precipitation");
    if (!column) {
        throw ReadError(table.csv.rows.front().line + table.first_line - 1, "",
                        "no precipitation column (precipitation, prcp, pcp, rain or PRECTOTCORR): name it in the "
                        "station list's pcp_column");
    }
    return *column;
}

// The first number after `label` on a line of POWER's header:
//   "Location: Latitude  40.5853   Longitude -105.0844" , "Latitude" -> 40.5853
std::optional<double> number_after(std::string_view line, std::string_view label) {
    const std::size_t at = lower_case(line).find(lower_case(label));
    if (at == std::string_view::npos) return std::nullopt;
    std::string_view rest = line.substr(at + label.size());
    const std::size_t start = rest.find_first_of("+-0123456789");
    if (start == std::string_view::npos) return std::nullopt;
    rest.remove_prefix(start);
    return number_value(rest.substr(0, rest.find_first_not_of("+-.0123456789eE")));
}

}  // namespace

StationRecord read_csv(std::string_view text, const ReadOptions& options) {
    const DatedTable table = parse_dated_table(text, 1);
    const std::size_t column = precipitation_column(table, options);
    StationRecord record;
    record.variables[kPrecipitation] = read_dated_column(table, column, is_nodata_marker, options.nodata, false);
    return record;
}

StationRecord read_power(std::string_view text, const ReadOptions& options) {
    TextLines lines(text);
    std::string_view line;
    if (!lines.next(line) || trimmed(line) != "-BEGIN HEADER-") {
        throw ReadError(1, "", "a POWER file starts with the line -BEGIN HEADER-");
    }
    StationRecord record;
    std::string marker = "-999";
    bool ended = false;
    while (lines.next(line)) {
        if (trimmed(line) == "-END HEADER-") {
            ended = true;
            break;
        }
        if (const auto latitude = number_after(line, "Latitude")) record.latitude = latitude;
        if (const auto longitude = number_after(line, "Longitude")) record.longitude = longitude;
        if (lower_case(line).find("elevation") != std::string::npos) {
            if (const auto elevation = number_after(line, "=")) record.elevation = elevation;
        }
        // "The value for missing source data ...: -999"
        if (lower_case(line).find("missing") != std::string::npos && line.rfind(':') != std::string_view::npos) {
            const std::string_view value = trimmed(line.substr(line.rfind(':') + 1));
            if (is_number_text(value)) marker = value;
        }
    }
    if (!ended) throw ReadError(lines.number(), "", "the header block has no line -END HEADER-");
    const int first_line = lines.number() + 1;
    std::string_view rest = text.substr(std::min(text.size(), static_cast<std::size_t>(line.data() + line.size() - text.data())));
    if (!rest.empty() && rest.front() == '\r') rest.remove_prefix(1);
    if (!rest.empty() && rest.front() == '\n') rest.remove_prefix(1);
    const DatedTable table = parse_dated_table(rest, first_line);
    const std::size_t column = precipitation_column(table, options);
    // POWER marks missing days by its own fill value (-999, or -999.0).
    record.variables[kPrecipitation] = read_dated_column(table, column, is_nodata_marker, marker, true);
    return record;
}

}  // namespace wgn::readers
