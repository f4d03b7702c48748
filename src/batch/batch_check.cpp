#include "batch/batch_check.hpp"

#include <algorithm>
#include <map>
#include <utility>

#include "check/check_command.hpp"
#include "check/check_options.hpp"
#include "io/platform.hpp"
#include "io/whole_files.hpp"
#include "readers/csv.hpp"
#include "readers/number_text.hpp"

namespace wgn::batch {
namespace {

namespace platform = io::platform;

std::optional<double> number_of(const std::string& text) {
    return text.empty() ? std::nullopt : readers::number_value(text);
}

// The station's name in the model files, which generated.csv holds.
const std::string& model_name_of(const page::PageStation& station) {
    return station.model_name.empty() ? station.name : station.model_name;
}

}  // namespace

std::string check_arguments_problem(const std::vector<std::string>& arguments) {
    std::vector<std::string> command = {"weather-wgn.cli"};
    command.insert(command.end(), arguments.begin(), arguments.end());
    const Result<check::CheckOptions> options = check::parse_check_options(command);
    return options ? std::string() : options.problem().message();
}

std::vector<std::string> outside_intervals(std::string_view generated_csv,
                                           const std::vector<page::PageStation>& shown) {
    // station, month, variable -> generated
    std::map<std::string, std::map<std::pair<int, std::string>, double>> generated;
    const Result<readers::CsvText> csv = readers::parse_csv(generated_csv);
    if (!csv) return {};
    for (std::size_t r = 1; r < csv->rows.size(); ++r) {
        const std::vector<std::string>& fields = csv->rows[r].fields;
        if (fields.size() < 5) continue;
        const auto month = readers::whole_number(fields[1]);
        const auto value = number_of(fields[4]);
        if (month && value && *month >= 1 && *month <= 12) generated[fields[0]][{*month, fields[2]}] = *value;
    }
    std::vector<std::string> lines;
    for (const page::PageStation& station : shown) {
        const auto found = generated.find(model_name_of(station));
        if (found == generated.end()) continue;
        std::string line;
        for (const std::size_t column : {weather::kPcpAve, weather::kPcpDays}) {
            std::string months;
            for (int m = 1; m <= 12; ++m) {
                const auto value = found->second.find({m, weather::kColumns[column]});
                const auto low = number_of(station.low[m - 1][column]), high = number_of(station.high[m - 1][column]);
                if (value == found->second.end() || !low || !high) continue;
                if (value->second >= *low && value->second <= *high) continue;
                months.append(" ").append(std::to_string(m));
            }
            if (!months.empty()) line.append(line.empty() ? "" : ", ").append(weather::kColumns[column]).append(months);
        }
        if (!line.empty()) lines.push_back(station.name + ": " + line);
    }
    return lines;
}

void add_generated(std::string_view generated_csv, std::vector<page::PageStation>& shown) {
    const Result<readers::CsvText> csv = readers::parse_csv(generated_csv);
    if (!csv) return;
    std::map<std::string, page::PageStation*> by_name;
    for (page::PageStation& station : shown) by_name[model_name_of(station)] = &station;
    for (std::size_t r = 1; r < csv->rows.size(); ++r) {
        const std::vector<std::string>& fields = csv->rows[r].fields;
        if (fields.size() < 5) continue;
        const auto station = by_name.find(fields[0]);
        const auto month = readers::whole_number(fields[1]);
        const auto column = std::find(weather::kColumns.begin(), weather::kColumns.end(), std::string_view(fields[2]));
        if (station == by_name.end() || !month || *month < 1 || *month > 12 || column == weather::kColumns.end())
            continue;
        station->second->generated[static_cast<std::size_t>(*month - 1)]
                                  [static_cast<std::size_t>(column - weather::kColumns.begin())] = fields[4];
    }
}

std::optional<std::vector<std::string>> check_batch(const std::string& folder,
                                                    const std::vector<std::string>& arguments,
                                                    std::vector<page::PageStation>& shown) {
    const std::string into = platform::name_inside(folder, kCheckFolder);
    // The folder itself, so that the check's page shows the record's intervals beside the table.
    std::vector<std::string> command = {folder, "-o", into};
    command.insert(command.end(), arguments.begin(), arguments.end());
    if (check::run_check_command(command) != 0) return std::nullopt;
    std::string generated;
    int error = 0;
    if (!io::read_whole_file(platform::resolve_file_name(platform::name_inside(into, "generated.csv")), generated,
                             error))
        return std::nullopt;
    add_generated(generated, shown);
    return outside_intervals(generated, shown);
}

}  // namespace wgn::batch
