#include "check/batch_record.hpp"

#include <algorithm>

#include "modelfiles/model_files.hpp"
#include "readers/csv.hpp"
#include "readers/number_text.hpp"

namespace wgn::check {
namespace {

// The place of a column in a header row, or nothing.
std::optional<std::size_t> column_of(const std::vector<std::string>& header, std::string_view name) {
    const auto found = std::find(header.begin(), header.end(), name);
    if (found == header.end()) return std::nullopt;
    return static_cast<std::size_t>(found - header.begin());
}

}  // namespace

Result<BatchRecords> read_record_intervals(std::string_view shown, std::string_view text) {
    const Result<readers::CsvText> csv = readers::parse_csv(text);
    if (!csv) return csv.problem().in_file(shown);
    constexpr std::array<std::string_view, 6> kHeader = {"station", "month", "variable", "value", "low", "high"};
    const std::vector<readers::CsvRow>& rows = csv->rows;
    if (rows.empty() || !std::equal(kHeader.begin(), kHeader.end(), rows[0].fields.begin(), rows[0].fields.end())) {
        return Problem{std::string(shown), rows.empty() ? 0 : rows[0].line, "",
                       "not the header station,month,variable,value,low,high of a batch's intervals.csv"};
    }
    BatchRecords records;
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const std::vector<std::string>& f = rows[r].fields;
        const auto wrong = [&](std::string column, std::string what) {
            return Problem{std::string(shown), rows[r].line, std::move(column), std::move(what)};
        };
        if (f.size() != kHeader.size()) return wrong("", "a row of " + std::to_string(f.size()) + " fields, not 6");
        const std::optional<int> month = readers::whole_number(f[1]);
        if (!month || *month < 1 || *month > 12) return wrong("month", "\"" + f[1] + "\" is not a month 1 ... 12");
        const auto column = std::find(weather::kColumns.begin(), weather::kColumns.end(), std::string_view(f[2]));
        if (column == weather::kColumns.end()) {
            return wrong("variable", "\"" + f[2] + "\" is not one of the 14 variables of the table");
        }
        RecordValue& value =
            records[modelfiles::model_name(f[0])].values[static_cast<std::size_t>(*month - 1)]
                                                        [static_cast<std::size_t>(column - weather::kColumns.begin())];
        value = {f[3], f[4], f[5]};
    }
    return records;
}

void add_interval_notes(std::string_view summary_text, BatchRecords& records) {
    const Result<readers::CsvText> csv = readers::parse_csv(summary_text);
    if (!csv || csv->rows.empty()) return;
    const std::vector<std::string>& header = csv->rows[0].fields;
    const auto name = column_of(header, "model_name"), notes = column_of(header, "interval_notes");
    if (!name || !notes) return;
    for (std::size_t r = 1; r < csv->rows.size(); ++r) {
        const std::vector<std::string>& f = csv->rows[r].fields;
        if (f.size() <= std::max(*name, *notes)) continue;
        const auto found = records.find(f[*name]);
        if (found != records.end()) found->second.notes = f[*notes];
    }
}

}  // namespace wgn::check
