#include "batch/station_weather.hpp"

#include <array>
#include <map>
#include <mutex>

#include "io/platform.hpp"
#include "io/whole_files.hpp"
#include "modelfiles/model_files.hpp"
#include "readers/calendar_days.hpp"
#include "readers/number_text.hpp"
#include "readers/read_station_file.hpp"
#include "readers/text_lines.hpp"
#include "readers/value_checks.hpp"
#include "series/precipitation_values.hpp"
#include "series/whole_years.hpp"
#include "weather/exact_decimal.hpp"
#include "weather/model_notes.hpp"
#include "weather/position.hpp"

namespace wgn::batch {
namespace {

namespace platform = io::platform;

// The files of the other variables and what each holds.
constexpr std::pair<const char*, const char*> kVariableFiles[] = {
    {"tmp_file", "tmp"}, {"slr_file", "slr"}, {"hmd_file", "hmd"}, {"wnd_file", "wnd"}, {"hhr_file", "hhr"}};
// The list's column names of a csv file's columns, by variable.
constexpr std::pair<const char*, const char*> kColumnOptions[] = {
    {"tmax_column", "tmax"}, {"tmin_column", "tmin"}, {"slr_column", "slr"}, {"dew_column", "dew"},
    {"rh_column", "rh"},     {"wnd_column", "wnd"},   {"hhr_column", "hhr"}};

bool read_text(const std::string& name, std::string& text, std::string& problem) {
    int error = 0;
    if (io::read_whole_file(platform::resolve_file_name(name), text, error)) return true;
    problem = "cannot read " + name + ": " + platform::reason_text(error);
    return false;
}

// Files read by many stations (a reference weather-wgn.cli, GHCN's station
// list) are read once per batch.
const std::string* shared_text(const std::string& name, std::string& problem) {
    static std::mutex lock;
    static std::map<std::string, std::string> texts;
    const std::lock_guard<std::mutex> guard(lock);
    const auto found = texts.find(name);
    if (found != texts.end()) return &found->second;
    std::string text;
    if (!read_text(name, text, problem)) return nullptr;
    return &texts.emplace(name, std::move(text)).first->second;
}

const std::vector<weather::ReferenceStation>* reference_stations(const std::string& name, std::string& problem) {
    static std::mutex lock;
    static std::map<std::string, std::vector<weather::ReferenceStation>> files;
    const std::string* text = shared_text(name, problem);
    if (text == nullptr) return nullptr;
    const std::lock_guard<std::mutex> guard(lock);
    const auto found = files.find(name);
    if (found != files.end()) return &found->second;
    std::string why;
    std::vector<weather::ReferenceStation> stations = modelfiles::read_cli(*text, why);
    if (!why.empty()) {
        problem = name + ", " + why;
        return nullptr;
    }
    return &files.emplace(name, std::move(stations)).first->second;
}

// The position of a GHCN station in ghcnd-stations.txt: ID 1-11, LATITUDE
// 13-20, LONGITUDE 22-30, ELEVATION 32-37 (-999.9: unknown).
void ghcnd_position(const std::string& text, const std::string& id, readers::StationRecord& own) {
    readers::TextLines lines(text);
    std::string_view line;
    while (lines.next(line)) {
        if (line.size() < 37 || line.substr(0, 11) != id) continue;
        own.latitude = readers::trimmed(line.substr(12, 8));
        own.longitude = readers::trimmed(line.substr(21, 9));
        own.elevation = readers::trimmed(line.substr(31, 6));
        own.position_places = {{{lines.number(), "13"}, {lines.number(), "22"}, {lines.number(), "32"}}};
        return;
    }
}

}  // namespace

std::optional<StationWeather> station_weather(const Station& station, readers::StationRecord* own, int first_year,
                                              int last_year, const ReportFigures& figures, std::string& problem) {
    // 1. The station's own file (a plain series is read here) and the files
    //    of its other variables.  A variable whose file cannot be read is
    //    refused, never the station: its precipitation stands.
    readers::StationRecord plain;
    readers::ReadOptions options;
    options.format = readers::name(station.format);
    options.nodata = readers::facts(station.format).honours_nodata ? station.nodata : std::string();
    for (const auto& [column, variable] : kColumnOptions) {
        if (const std::string name = station.weather_option(column); !name.empty()) options.columns[variable] = name;
    }
    if (own == nullptr) {
        std::string text;
        options.first_year = readers::whole_number(station.first_year);
        if (!read_text(station.input_name, text, problem)) return std::nullopt;
        readers::ReadResult read = readers::read_station_file(station.input_name, text, options);
        if (!read.problem.empty()) {
            problem = read.problem;
            return std::nullopt;
        }
        plain = std::move(read.record);
        own = &plain;
        const auto values = static_cast<long>(plain.variables[readers::kPrecipitation].size());
        if (last_year == 0) last_year = first_year + static_cast<int>(values / 365) - 1;
    }
    weather::WeatherInputs inputs;
    for (const auto& [variable, values] : own->variables) {
        inputs.sources[variable] = {station.input_name, own->columns[variable]};
    }
    for (const auto& [variable, why] : own->refused) inputs.refused[variable] = station.input_name + ", " + why;
    std::map<std::string, readers::Unit> stated = own->units;
    for (const auto& [column, kind] : kVariableFiles) {
        const std::string name = station.weather_option(column);
        if (name.empty()) continue;
        std::string text, why;
        readers::ReadOptions file_options = options;
        file_options.kind = kind;
        readers::ReadResult read;
        if (read_text(name, text, why)) {
            read = readers::read_station_file(name, text, file_options);
            why = read.problem;
        }
        if (!why.empty()) {
            for (const std::string& variable : readers::variables_of_kind(kind)) inputs.refused[variable] = why;
            continue;
        }
        // Half-hour rain is in the precipitation's unit.
        if (const std::string unit_problem = series::millimetre_precipitation(
                read.record, readers::unit_named(readers::Quantity::kPrecipitation, station.pcp_unit), name);
            !unit_problem.empty()) {
            for (const std::string& variable : readers::variables_of_kind(kind))
                inputs.refused[variable] = unit_problem;
            continue;
        }
        for (auto& [variable, values] : read.record.variables) {
            std::vector<readers::DailyValue>& into = own->variables[variable];
            into.insert(into.end(), values.begin(), values.end());
            inputs.sources[variable] = {name, read.record.columns[variable]};
        }
        for (const auto& [variable, unit] : read.record.units) stated[variable] = unit;
    }

    // 2. Each variable's days in order, within the period, and its unit: the
    //    list's, else the file's own; the two differing is refused.
    inputs.first_year = first_year;
    inputs.last_year = last_year;
    const std::int32_t first_day = readers::day_number({first_year, 1, 1});
    const std::int32_t last_day = readers::day_number({last_year, 12, 31});
    for (auto& [variable, values] : own->variables) {
        if (inputs.refused.count(variable) != 0) continue;
        int line = 0;
        if (const std::string conflict = series::merge_days(values, line); !conflict.empty()) {
            // The line is that of the variable's file (the station's own or its *_file).
            const std::string why = readers::place_text(inputs.sources[variable].file, line, "") + ": " + conflict;
            if (variable == readers::kPrecipitation) {
                problem = why;
                return std::nullopt;
            }
            inputs.refused[variable] = why;
            continue;
        }
        std::vector<readers::DailyValue>& kept = inputs.variables[variable];
        for (readers::DailyValue& value : values) {
            if (value.day >= first_day && value.day <= last_day) kept.push_back(std::move(value));
        }
        const readers::Quantity quantity = readers::quantity_of(variable);
        if (quantity == readers::Quantity::kPrecipitation) continue;  // in mm already
        const std::string listed_name = station.weather_option(std::string(readers::unit_column(quantity)));
        const std::optional<readers::Unit> listed =
            listed_name.empty() ? std::nullopt : readers::unit_named(quantity, listed_name);
        const auto in_file = stated.find(variable);
        std::string why;
        const std::optional<readers::Unit> unit = readers::unit_of_values(
            quantity, listed, in_file == stated.end() ? std::nullopt : std::optional<readers::Unit>(in_file->second),
            why);
        if (!unit) {
            inputs.refused[variable] =
                readers::place_text(inputs.sources[variable].file, 0, inputs.sources[variable].column) + ": " + why;
            inputs.variables.erase(variable);
            continue;
        }
        // Humidity stated by nobody is told by its values.
        if (quantity != readers::Quantity::kHumidity || listed || in_file != stated.end())
            inputs.units[variable] = *unit;
    }
    for (std::size_t m = 0; m < 12; ++m) inputs.precipitation[m] = figures.values[m];

    // 3. The position: the list's, else the file's, else GHCN's station list.
    std::string position_file = station.input_name;
    bool ghcnd = false;
    if (const std::string stations = station.weather_option("stations_file");
        !stations.empty() && !own->station_id.empty()) {
        const std::string* text = shared_text(stations, problem);
        if (text == nullptr) return std::nullopt;
        ghcnd_position(*text, own->station_id, *own);
        position_file = stations;
        ghcnd = true;
    }
    std::array<weather::GivenCoordinate, 3> given;
    constexpr const char* kListColumns[3] = {"lat", "lon", "elev"};
    const std::string* texts[3] = {&own->latitude, &own->longitude, &own->elevation};
    for (std::size_t c = 0; c < 3; ++c) {
        const readers::TextPlace& place = own->position_places[c];
        given[c] = {station.weather_option(kListColumns[c]), *texts[c],
                    readers::place_text(position_file, place.line, place.column)};
    }
    const std::array<std::string, 3> position = weather::take_position(given, ghcnd, inputs.position_problem);
    inputs.latitude = position[weather::kLatitude];
    inputs.longitude = position[weather::kLongitude];
    inputs.elevation = position[weather::kElevation];

    // 4. The reference station that fills what the record cannot give.
    if (const std::string fill = station.weather_option("fill_file"); !fill.empty()) {
        const std::vector<weather::ReferenceStation>* stations = reference_stations(fill, problem);
        if (stations == nullptr) return std::nullopt;
        std::string wanted = station.weather_option("fill_station");
        if (wanted.empty()) wanted = station.name;
        const std::vector<const weather::ReferenceStation*> named = modelfiles::stations_named(*stations, wanted);
        if (named.empty()) {
            problem = fill + " has no station " + wanted;
            return std::nullopt;
        }
        // Two blocks of one name: which one was meant cannot be told.
        if (named.size() > 1) {
            problem = fill + " holds the station " + wanted + " twice (lines " + std::to_string(named[0]->line) +
                      " and " + std::to_string(named[1]->line) + ")";
            return std::nullopt;
        }
        inputs.reference = named.front();
    }

    StationWeather result;
    result.record = weather::make_weather_record(inputs, problem);
    if (!problem.empty()) return std::nullopt;
    std::vector<weather::DayValue> rain;
    for (const readers::DailyValue& value : inputs.variables[readers::kPrecipitation]) {
        if (const auto exact = value.text.empty() ? std::nullopt : weather::billionths(value.text))
            rain.push_back({value.day, *exact});
    }
    result.notes = weather::model_notes(result.record, weather::monthly_largest(rain));
    return result;
}

}  // namespace wgn::batch
