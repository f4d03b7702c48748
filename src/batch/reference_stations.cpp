#include "batch/reference_stations.hpp"

#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

#include "batch/nearest_station.hpp"
#include "io/platform.hpp"
#include "io/whole_files.hpp"
#include "modelfiles/database_rows.hpp"
#include "modelfiles/model_files.hpp"
#include "modelfiles/wgn_database.hpp"
#include "readers/number_text.hpp"
#include "text/plain_text.hpp"
#include "weather/position.hpp"

namespace wgn::batch {
namespace {

namespace platform = io::platform;
using weather::ReferenceStation;

// One fill_file (and table) as the batch holds it.
struct ReferenceTable {
    std::optional<Problem> problem;  // why it cannot be read: every station that names it fails
    std::vector<ReferenceStation> stations;
    std::optional<NearestStations> positions;  // of the stations with a position within its bounds
    // A database whose months are read station by station, as they are taken.
    std::optional<modelfiles::WgnDatabase> database;
    bool is_database = false;
    std::string place;  // in messages: "/d/x.cli", "/d/wgn.sqlite, table wgn_cfsr_world"
    std::mutex months_lock;
    std::vector<bool> months_read;
};

std::optional<double> coordinate(weather::Coordinate which, const std::string& text) {
    const Result<weather::DecimalText> plain = weather::position_text(which, text);
    return plain ? readers::number_value(plain->plain()) : std::nullopt;
}

void index_positions(ReferenceTable& table) {
    std::vector<NearestStations::Entry> entries;
    entries.reserve(table.stations.size());
    for (std::size_t s = 0; s < table.stations.size(); ++s) {
        const auto latitude = coordinate(weather::kLatitude, table.stations[s].latitude);
        const auto longitude = coordinate(weather::kLongitude, table.stations[s].longitude);
        if (latitude && longitude) entries.push_back({{*latitude, *longitude}, s});
    }
    table.positions.emplace(std::move(entries));
}

void read_cli_table(const std::string& file, ReferenceTable& table) {
    std::string text;
    int error = 0;
    if (!io::read_whole_file(platform::resolve_file_name(file), text, error)) {
        table.problem = problem_text("cannot read " + file + ": " + platform::reason_text(error));
        return;
    }
    Result<std::vector<ReferenceStation>> stations = modelfiles::read_cli(text);
    if (!stations) {
        table.problem = problem_text(file + ", " + stations.problem().message());
        return;
    }
    table.stations = std::move(*stations);
}

void read_database_table(const platform::ResolvedName& file, const std::string& name, ReferenceTable& table) {
    table.is_database = true;
    Result<modelfiles::WgnDatabase> database = modelfiles::WgnDatabase::open(file, name);
    if (!database) {
        table.problem = database.problem();
        return;
    }
    Result<bool> indexed = database->months_indexed();
    if (!indexed) {
        table.problem = indexed.problem();
        return;
    }
    Result<std::vector<ReferenceStation>> stations = *indexed ? database->stations() : database->stations_with_months();
    if (!stations) {
        table.problem = stations.problem();
        return;
    }
    table.stations = std::move(*stations);
    table.months_read.assign(table.stations.size(), !*indexed);
    if (*indexed) table.database.emplace(std::move(*database));
}

// The reference as the batch holds it: read, and its positions indexed, by
// the first station that names it.
ReferenceTable& reference_table(const std::string& file, const std::string& table_name) {
    static std::mutex lock;
    static std::map<std::pair<std::string, std::string>, std::unique_ptr<ReferenceTable>> tables;
    const std::lock_guard<std::mutex> guard(lock);
    std::unique_ptr<ReferenceTable>& table = tables[{file, table_name}];
    if (table) return *table;
    table = std::make_unique<ReferenceTable>();
    const platform::ResolvedName resolved = platform::resolve_file_name(file);
    table->place = file;
    if (modelfiles::is_database_file(resolved)) {
        const std::string name = table_name.empty() ? std::string(modelfiles::kGlobalWgnTable) : table_name;
        table->place = file + ", table " + name;
        read_database_table(resolved, name, *table);
    } else if (!table_name.empty()) {
        table->problem = problem_text(file + " is a weather-wgn.cli, not a database: fill_table " + table_name +
                                      " names a table of an SQLite database");
    } else {
        read_cli_table(file, *table);
    }
    if (!table->problem) index_positions(*table);
    return *table;
}

// The reference's months, read from a database when the station is first taken.
Result<const ReferenceStation*> with_months(ReferenceTable& table, std::size_t s) {
    const std::lock_guard<std::mutex> guard(table.months_lock);
    ReferenceStation& station = table.stations[s];
    if (table.database && !table.months_read[s]) {
        if (Result<void> read = table.database->read_months(station); !read) return read.problem();
        table.months_read[s] = true;
    }
    return &station;
}

Result<ChosenReference> named_reference(const Station& station, ReferenceTable& table) {
    const std::string wanted = station.weather.fill_station.empty() ? station.name : station.weather.fill_station;
    const std::vector<const ReferenceStation*> named = modelfiles::stations_named(table.stations, wanted);
    if (named.empty()) return problem_text(table.place + " has no station " + wanted);
    // Two stations of one name: which one was meant cannot be told.
    if (named.size() > 1) {
        const char* where = table.is_database ? " (ids " : " (lines ";
        return problem_text(table.place + " holds the station " + wanted + " twice" + where +
                            std::to_string(named[0]->line) + " and " + std::to_string(named[1]->line) + ")");
    }
    Result<const ReferenceStation*> taken =
        with_months(table, static_cast<std::size_t>(named.front() - table.stations.data()));
    if (!taken) return taken.problem();
    return ChosenReference{*taken, ""};
}

Result<ChosenReference> nearest_reference(const Station& station, const weather::WeatherInputs& inputs,
                                          ReferenceTable& table) {
    const auto latitude = readers::number_value(inputs.latitude.plain());
    const auto longitude = readers::number_value(inputs.longitude.plain());
    if (!latitude || !longitude) {
        std::string why = "fill_station nearest needs the station's position (lat, lon)";
        if (inputs.position_problem) why += ": " + inputs.position_problem->message();
        return problem_text(why);
    }
    const std::optional<NearestStations::Found> found = table.positions->nearest({*latitude, *longitude});
    if (!found) return problem_text(table.place + " has no station with a position");
    const std::string km = km_text(found->km);
    const std::string& max_text =
        station.weather.fill_max_km.empty() ? std::string(kDefaultFillMaxKm) : station.weather.fill_max_km;
    // Compared as the summary shows the distance.
    if (readers::number_value(km).value_or(0) > readers::number_value(max_text).value_or(0)) {
        return problem_text("the nearest station of " + table.place + ", " + table.stations[found->id].name + ", is " +
                            km + " km away, farther than fill_max_km " + max_text);
    }
    Result<const ReferenceStation*> taken = with_months(table, found->id);
    if (!taken) return taken.problem();
    return ChosenReference{*taken, km};
}

}  // namespace

std::string km_text(double km) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", km);
    return text;
}

Result<ChosenReference> reference_station(const Station& station, const weather::WeatherInputs& inputs) {
    const WeatherColumns& listed = station.weather;
    if (listed.fill_file.empty()) return ChosenReference{};
    ReferenceTable& table = reference_table(listed.fill_file, listed.fill_table);
    if (table.problem) return *table.problem;
    if (text::lower_case(listed.fill_station) == kNearestStation) return nearest_reference(station, inputs, table);
    return named_reference(station, table);
}

}  // namespace wgn::batch
