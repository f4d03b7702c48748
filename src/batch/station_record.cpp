#include "batch/station_record.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <map>
#include <mutex>
#include <optional>
#include <utility>

#include "io/platform.hpp"
#include "io/whole_files.hpp"
#include "readers/number_text.hpp"
#include "text/plain_text.hpp"

namespace wgn::batch {
namespace {

namespace platform = io::platform;

constexpr std::string_view kTitle = "wgnrain-batch station record";
// The report's names of the six precipitation values, for the lines that keep them.
constexpr std::array<std::string_view, kParameterCount> kParameterNames = {"PCP_MM", "PCPSTD", "PCPSKW",
                                                                           "PR_W1",  "PR_W2",  "PCPD"};
// The record's lines of model notes, by kind, the changes first.
constexpr std::pair<std::string_view, weather::NoteKind> kNoteLines[] = {{"model_changes", weather::NoteKind::change},
                                                                         {"model_notes", weather::NoteKind::note}};

// A line of a record: "name: value", the value on one line.
void add(std::string& text, std::string_view name, std::string_view value) {
    text.append(name).append(": ");
    for (const char c : value) text.push_back(c == '\r' || c == '\n' ? ' ' : c);
    text.append("\r\n");
}

// The value of the line `name` of a record; nothing when there is none.
std::optional<std::string_view> value_of(std::string_view record, std::string_view name) {
    while (!record.empty()) {
        const std::size_t end = record.find('\n');
        std::string_view line = record.substr(0, end);
        record.remove_prefix(end == std::string_view::npos ? record.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.size() >= name.size() + 2 && line.substr(0, name.size()) == name &&
            line.substr(name.size(), 2) == ": ") {
            return line.substr(name.size() + 2);
        }
    }
    return std::nullopt;
}

long number_of(std::string_view record, std::string_view name) {
    const auto value = value_of(record, name);
    const auto number = value ? readers::whole_number(*value) : std::nullopt;
    return number ? *number : 0;
}

// The years of the line `name`, "1994 2003".
std::vector<int> years_of(std::string_view record, std::string_view name) {
    std::vector<int> list;
    std::string_view years = value_of(record, name).value_or("");
    while (!years.empty()) {
        const std::size_t blank = years.find(' ');
        if (const auto year = readers::whole_number(years.substr(0, blank))) list.push_back(*year);
        years.remove_prefix(blank == std::string_view::npos ? years.size() : blank + 1);
    }
    return list;
}

// The six values the tables took (the pcp_ lines); false when the record
// does not hold them whole.  A record older than them holds the report's
// values, which stand where the period has no missing day and every month
// had both wet and dry days; otherwise the station runs again.
bool read_precipitation(std::string_view record, StationOutcome& outcome) {
    const auto source = value_of(record, "pcp_values");
    if (!source) {
        const ReportFigures& figures = *outcome.figures;
        const bool gaps = outcome.coverage ? outcome.coverage->missing_days != 0 : figures.nodata_values != "0";
        bool both_kinds = true;
        for (const auto& month : figures.values) both_kinds = both_kinds && !month[3].empty() && !month[4].empty();
        if (gaps || !both_kinds) return false;
        outcome.precipitation = station_precipitation(figures, nullptr);
        return true;
    }
    StationPrecipitation precipitation;
    precipitation.gap_aware = source->substr(0, 9) == "gap-aware";
    if (precipitation.gap_aware) {
        const auto missing = readers::whole_number(source->substr(std::min<std::size_t>(source->size(), 10)));
        if (!missing) return false;
        precipitation.missing_days = *missing;
    } else if (*source != "report") {
        return false;
    }
    for (std::size_t p = 0; p < kParameterCount; ++p) {
        const auto line = value_of(record, std::string("pcp_") + std::string(kParameterNames[p]));
        const std::vector<std::string_view> values = text::split(line.value_or(""), " ");
        if (values.size() != 12) return false;
        for (std::size_t m = 0; m < 12; ++m) {
            if (values[m] == "-") continue;
            // A value that is not a number would pass into the tables: run again.
            if (!weather::DecimalText::read(values[m])) return false;
            precipitation.values[m][p] = values[m];
        }
    }
    outcome.precipitation = std::move(precipitation);
    return true;
}

}  // namespace

namespace {

constexpr std::uint64_t kHashStart = 0xcbf29ce484222325ULL;

std::uint64_t hash_more(std::uint64_t hash, std::string_view bytes) {
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

std::string hash_text(std::uint64_t hash) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

}  // namespace

std::string content_hash(std::string_view bytes) {
    return hash_text(hash_more(kHashStart, bytes));
}

// The hash of a file's bytes, read piece by piece (a reference database may
// be larger than is worth holding); nothing when it cannot be read.
std::optional<std::string> file_hash(const platform::ResolvedName& file) {
    const platform::OpenResult opened = platform::open_for_reading(file);
    if (opened.handle == platform::kNoHandle) return std::nullopt;
    std::uint64_t hash = kHashStart;
    char buffer[65536];
    long got = 0;
    int error = 0;
    while ((got = platform::read_some(opened.handle, buffer, sizeof buffer, error)) > 0)
        hash = hash_more(hash, std::string_view(buffer, static_cast<std::size_t>(got)));
    platform::close_handle(opened.handle);
    if (got != 0) return std::nullopt;
    return hash_text(hash);
}

// The hash of a file many stations share (a reference weather-wgn.cli, GHCN's
// station list): read once per batch, and again only when its size or time
// has changed since.
std::optional<std::string> shared_file_hash(const platform::ResolvedName& file, const platform::FileStamp& stamp) {
    struct Known {
        std::int64_t size, modified;
        std::string hash;
    };
    static std::mutex lock;
    static std::map<std::string, Known> known;
    {
        const std::lock_guard<std::mutex> guard(lock);
        const auto found = known.find(file.shown);
        if (found != known.end() && found->second.size == stamp.size && found->second.modified == stamp.modified)
            return found->second.hash;
    }
    std::optional<std::string> hash = file_hash(file);
    if (!hash) return std::nullopt;
    const std::lock_guard<std::mutex> guard(lock);
    known[file.shown] = {stamp.size, stamp.modified, *hash};
    return hash;
}

// The lines of a file in a key: its name, size, modification and hash;
// false when it cannot be read.
bool add_file(std::string& key, std::string_view label, const std::string& name, bool shared) {
    const platform::ResolvedName file = platform::resolve_file_name(name);
    const platform::FileStamp stamp = platform::file_stamp(file);
    if (!stamp.exists) return false;
    const std::optional<std::string> hash = shared ? shared_file_hash(file, stamp) : file_hash(file);
    if (!hash) return false;
    if (label == "file") {
        add(key, "file", file.shown);
        add(key, "size", std::to_string(stamp.size));
        add(key, "modified", std::to_string(stamp.modified));
        add(key, "hash", *hash);
    } else {
        add(key, label,
            file.shown + " " + std::to_string(stamp.size) + " " + std::to_string(stamp.modified) + " " + *hash);
    }
    return true;
}

std::string station_key(const Station& station) {
    std::string key(kTitle);
    key.append("\r\n");
    add(key, "version", WGNRAIN_VERSION);
    add(key, "settings",
        "format=" + std::string(readers::name(station.format)) + " first_year=" + station.first_year +
            " last_year=" + station.last_year + " nodata=" + station.nodata + " pcp_column=" + station.pcp_column +
            (station.pcp_unit.empty() ? std::string() : " pcp_unit=" + station.pcp_unit) +
            (station.pcp_threshold.empty() ? std::string() : " pcp_threshold=" + station.pcp_threshold) +
            (station.date_column.empty() ? std::string() : " date_column=" + station.date_column) +
            (station.gauge.empty() ? std::string() : " gauge=" + station.gauge));
    if (station.texts != nullptr) {
        // A text held in memory: its size and hash stand where a file's
        // would; a text that cannot be had, the reason's (the station then
        // ends as a bad file with it, and runs again when the reason changes).
        const Result<std::shared_ptr<const std::string>> text = station.texts->text(station);
        const std::string reason = text ? std::string() : text.problem().message();
        const std::string_view content = text ? std::string_view(**text) : std::string_view(reason);
        add(key, "file", station.input_name);
        add(key, "size", std::to_string(content.size()));
        add(key, "modified", "-");
        add(key, "hash", content_hash(content));
    } else if (!add_file(key, "file", station.input_name, false)) {
        return {};
    }
    for (const WeatherColumn& column : kWeatherColumns) {
        const std::string& value = station.weather.*column.field;
        if (value.empty()) continue;
        if (!names_file(column)) {
            add(key, column.name, value);
        } else if (!add_file(key, column.name, value, column.kind == WeatherColumnKind::reference_file)) {
            return {};
        }
    }
    return key;
}

// A month's values on one line, "-" for a value missing.
std::string month_values(const weather::WeatherRecord& record, std::size_t column) {
    std::string line;
    for (std::size_t m = 0; m < 12; ++m) {
        if (m > 0) line.push_back(' ');
        line.append(record.values[m][column].empty() ? "-" : record.values[m][column].text());
    }
    return line;
}

// A month's bounds on one line, "-" for none.
std::string bound_values(const std::array<std::array<std::string, 14>, 12>& bounds, std::size_t column) {
    std::string line;
    for (std::size_t m = 0; m < 12; ++m) {
        if (m > 0) line.push_back(' ');
        line.append(bounds[m][column].empty() ? "-" : bounds[m][column]);
    }
    return line;
}

std::string joined(const std::vector<std::string>& parts, std::string_view between) {
    std::string text;
    for (const std::string& part : parts) text.append(text.empty() ? "" : between).append(part);
    return text;
}

std::vector<std::string> split(std::string_view text, std::string_view between) {
    const std::vector<std::string_view> pieces = text::split(text, between);
    return {pieces.begin(), pieces.end()};
}

std::string record_text(std::string_view key, std::string_view exit, const StationOutcome& outcome) {
    std::string text(key);
    add(text, "exit", exit);
    add(text, "status", outcome.status.summary());
    add(text, "report_line", outcome.report_line);
    add(text, "warnings", std::to_string(outcome.warnings));
    add(text, "first_warning", outcome.first_warning);
    if (outcome.precipitation) {
        // The six values the tables take, so that a later batch writes them as they were.
        const StationPrecipitation& precipitation = *outcome.precipitation;
        add(text, "pcp_values",
            precipitation.gap_aware ? "gap-aware " + std::to_string(precipitation.missing_days) : "report");
        for (std::size_t p = 0; p < kParameterCount; ++p) {
            std::string line;
            for (std::size_t m = 0; m < 12; ++m) {
                const std::string& value = precipitation.values[m][p];
                line.append(m == 0 ? "" : " ").append(value.empty() ? "-" : value);
            }
            add(text, std::string("pcp_") + std::string(kParameterNames[p]), line);
        }
    }
    if (outcome.coverage) {
        const series::Coverage& coverage = *outcome.coverage;
        add(text, "period", series::period_text(coverage));
        add(text, "days", std::to_string(coverage.days));
        add(text, "missing_days", std::to_string(coverage.missing_days));
        add(text, "flagged_values", std::to_string(coverage.flagged_values));
        add(text, "below_threshold", std::to_string(coverage.below_threshold));
        add(text, "trace_values", std::to_string(coverage.trace_values));
        add(text, "incomplete_years", series::incomplete_years_text(coverage));
        add(text, "years_outside", series::outside_years_text(coverage));
    }
    // Only a station with outlier days has the line (an older record has none).
    if (!outcome.outlier_days.empty()) add(text, "outlier_days", readers::outlier_list(outcome.outlier_days));
    if (outcome.weather) {
        const weather::WeatherRecord& record = *outcome.weather;
        add(text, "lat", record.latitude.text());
        add(text, "lon", record.longitude.text());
        add(text, "elev", record.elevation.text());
        if (!record.position_problem.empty()) add(text, "position_problem", record.position_problem);
        add(text, "rain_yrs", record.rain_yrs.text());
        add(text, "pcp_hhr", record.hhr_estimated ? "estimated" : "measured");
        add(text, "missing_variables", joined(record.missing_variables, " "));
        add(text, "filled_variables", joined(record.filled_variables, " "));
        add(text, "units", joined(record.units, " | "));
        add(text, "refused", joined(record.refused, " | "));
        add(text, "fill_station", record.fill_station);
        add(text, "fill_km", record.fill_km);
        // The notes by kind, each kind in its order.
        for (const auto& [line, kind] : kNoteLines) {
            std::vector<std::string> texts;
            for (const weather::ModelNote& note : outcome.model_notes) {
                if (note.kind == kind) texts.push_back(note.text);
            }
            add(text, line, joined(texts, " | "));
        }
        for (std::size_t c = 0; c < weather::kColumns.size(); ++c) {
            add(text, std::string("wgn_") + weather::kColumns[c], month_values(record, c));
        }
        // The intervals, so that a later batch writes intervals.csv without
        // resampling the station again.
        const RecordIntervals none;
        const RecordIntervals& intervals = outcome.intervals ? *outcome.intervals : none;
        add(text, "interval_years", std::to_string(intervals.years));
        for (std::size_t c = 0; c < weather::kColumns.size(); ++c) {
            add(text, std::string("low_") + weather::kColumns[c], bound_values(intervals.low, c));
            add(text, std::string("high_") + weather::kColumns[c], bound_values(intervals.high, c));
        }
    }
    return text;
}

std::optional<StationOutcome> recorded_outcome(std::string_view folder, std::string_view key) {
    const auto in_folder = [&](std::string_view name) {
        return platform::resolve_file_name(platform::name_inside(folder, name));
    };
    std::string record;
    int error = 0;
    if (!io::read_whole_file(in_folder(kRecordName), record, error) || record.substr(0, key.size()) != key ||
        record.substr(0, kTitle.size()) != kTitle) {
        return std::nullopt;
    }
    const auto status = value_of(record, "status");
    if (!status || status->empty()) return std::nullopt;
    StationOutcome outcome;
    outcome.status = status_named(*status);
    outcome.report_line = value_of(record, "report_line").value_or("");
    outcome.warnings = static_cast<int>(number_of(record, "warnings"));
    outcome.first_warning = value_of(record, "first_warning").value_or("");
    if (const auto period = value_of(record, "period")) {
        series::Coverage coverage;
        const auto first = readers::whole_number(period->substr(0, period->find('-')));
        const auto last = readers::whole_number(period->substr(period->find('-') + 1));
        coverage.first_year = first.value_or(0);
        coverage.last_year = last.value_or(0);
        coverage.days = number_of(record, "days");
        coverage.missing_days = number_of(record, "missing_days");
        coverage.flagged_values = number_of(record, "flagged_values");
        coverage.below_threshold = number_of(record, "below_threshold");
        // A record written before traces were counted does not know them.
        coverage.trace_values = value_of(record, "trace_values") ? number_of(record, "trace_values") : -1;
        coverage.incomplete_years = years_of(record, "incomplete_years");
        coverage.outside_years = years_of(record, "years_outside");
        outcome.coverage = std::move(coverage);
    }
    if (const auto outliers = value_of(record, "outlier_days")) {
        std::optional<std::vector<readers::OutlierDay>> days = readers::read_outlier_list(*outliers);
        if (!days) return std::nullopt;  // not as written: run again
        outcome.outlier_days = std::move(*days);
    }
    if (const auto rain_yrs = value_of(record, "rain_yrs")) {
        // The key holds the list's lat, lon and elev as written: the record's
        // own (plain decimals, or none) follow the exit line.
        const std::size_t exit_line = record.find("\nexit: ");
        const std::string_view results =
            exit_line == std::string::npos ? std::string_view(record) : std::string_view(record).substr(exit_line);
        // Every number goes into the model files as it stands: one that is
        // not a number makes the record unreadable, and the station runs again.
        bool numbers = true;
        const auto number = [&numbers](std::string_view text) {
            if (text.empty()) return weather::DecimalText{};
            std::optional<weather::DecimalText> value = weather::DecimalText::read(text);
            numbers = numbers && value.has_value();
            return value.value_or(weather::DecimalText{});
        };
        weather::WeatherRecord weather;
        weather.latitude = number(value_of(results, "lat").value_or(""));
        weather.longitude = number(value_of(results, "lon").value_or(""));
        weather.elevation = number(value_of(results, "elev").value_or(""));
        weather.position_problem = value_of(results, "position_problem").value_or("");
        weather.rain_yrs = number(*rain_yrs);
        weather.hhr_estimated = value_of(record, "pcp_hhr").value_or("") == "estimated";
        weather.missing_variables = split(value_of(record, "missing_variables").value_or(""), " ");
        weather.filled_variables = split(value_of(record, "filled_variables").value_or(""), " ");
        weather.units = split(value_of(record, "units").value_or(""), " | ");
        weather.refused = split(value_of(record, "refused").value_or(""), " | ");
        // The key's fill_station is the list's: the record's own follows the exit line.
        weather.fill_station = value_of(results, "fill_station").value_or("");
        weather.fill_km = value_of(results, "fill_km").value_or("");
        for (const auto& [line, kind] : kNoteLines) {
            // A record without the notes' kinds is older than them: run again.
            const auto texts = value_of(record, line);
            if (!texts) return std::nullopt;
            for (std::string& note : split(*texts, " | ")) outcome.model_notes.push_back({kind, std::move(note)});
        }
        for (std::size_t c = 0; c < weather::kColumns.size(); ++c) {
            const std::vector<std::string> values =
                split(value_of(record, std::string("wgn_") + weather::kColumns[c]).value_or(""), " ");
            if (values.size() != 12) return std::nullopt;
            for (std::size_t m = 0; m < 12; ++m)
                weather.values[m][c] = values[m] == "-" ? weather::DecimalText{} : number(values[m]);
        }
        if (!numbers) return std::nullopt;
        // A record without intervals is older than them: run again.
        if (!value_of(record, "interval_years")) return std::nullopt;
        RecordIntervals intervals;
        intervals.years = static_cast<int>(number_of(record, "interval_years"));
        for (std::size_t c = 0; c < weather::kColumns.size(); ++c) {
            for (const auto& [line, bounds] :
                 {std::pair{"low_", &intervals.low}, std::pair{"high_", &intervals.high}}) {
                const std::vector<std::string> values =
                    split(value_of(record, std::string(line) + weather::kColumns[c]).value_or(""), " ");
                if (values.size() != 12) return std::nullopt;
                for (std::size_t m = 0; m < 12; ++m) (*bounds)[m][c] = values[m] == "-" ? "" : values[m];
            }
        }
        outcome.intervals = std::move(intervals);
        outcome.weather = std::move(weather);
    }
    if (outcome.ok()) {
        std::string report;
        if (io::read_whole_file(in_folder("report.txt"), report, error)) outcome.figures = read_report(report);
        if (!outcome.figures) return std::nullopt;  // the report has gone: run again
        if (!read_precipitation(record, outcome)) return std::nullopt;
    }
    return outcome;
}

}  // namespace wgn::batch
