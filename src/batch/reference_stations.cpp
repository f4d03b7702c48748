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

struct GeoText {
    const std::string *latitude, *longitude;
};

// One fill_file (and table) as the batch holds it: a weather-wgn.cli's
// stations whole; a database's without their months, each made whole when
// a station first takes it.
struct ReferenceTable {
    std::optional<Problem> problem;  // why it cannot be read: every station that names it fails
    std::string place;               // in messages: "/d/x.cli", "/d/wgn.sqlite, table wgn_cfsr_world"
    bool is_database = false;
    std::vector<ReferenceStation> stations;  // whole
    std::vector<modelfiles::DatabaseStation> heads;
    std::optional<modelfiles::WgnDatabase> database;
    std::optional<NearestStations> positions;  // of the stations with a position within its bounds
    std::mutex taken_lock;
    std::map<std::size_t, ReferenceStation> taken;  // of heads, by their place
    // The stations by their folded names (modelfiles::folded_name), in the
    // file's order: made by the first station that asks for a name.
    std::once_flag names_made;
    std::map<std::string, std::vector<std::size_t>> by_name;

    std::size_t size() const { return database ? heads.size() : stations.size(); }
    const std::string& name(std::size_t s) const { return database ? heads[s].name : stations[s].name; }
    int line(std::size_t s) const { return database ? heads[s].id : stations[s].line; }
    GeoText position(std::size_t s) const {
        return database ? GeoText{&heads[s].latitude, &heads[s].longitude}
                        : GeoText{&stations[s].latitude, &stations[s].longitude};
    }
};

std::optional<double> coordinate(weather::Coordinate which, const std::string& text) {
    const Result<weather::DecimalText> plain = weather::position_text(which, text);
    return plain ? readers::number_value(plain->plain()) : std::nullopt;
}

void index_positions(ReferenceTable& table) {
    std::vector<NearestStations::Entry> entries;
    entries.reserve(table.size());
    for (std::size_t s = 0; s < table.size(); ++s) {
        const GeoText at = table.position(s);
        const auto latitude = coordinate(weather::kLatitude, *at.latitude);
        const auto longitude = coordinate(weather::kLongitude, *at.longitude);
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
    if (*indexed) {
        Result<std::vector<modelfiles::DatabaseStation>> heads = database->stations();
        if (!heads) {
            table.problem = heads.problem();
            return;
        }
        table.heads = std::move(*heads);
        table.database.emplace(std::move(*database));
        return;
    }
    // Without an index on wgn_id, finding a station's months reads the whole
    // monthly table: it is read once, with every station.
    Result<std::vector<ReferenceStation>> stations = database->stations_with_months();
    if (!stations) {
        table.problem = stations.problem();
        return;
    }
    table.stations = std::move(*stations);
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

// The reference station `s` whole: a database's read when first taken.
Result<const ReferenceStation*> whole_station(ReferenceTable& table, std::size_t s) {
    if (!table.database) return &table.stations[s];
    const std::lock_guard<std::mutex> guard(table.taken_lock);
    const auto found = table.taken.find(s);
    if (found != table.taken.end()) return &found->second;
    Result<ReferenceStation> whole = table.database->with_months(table.heads[s]);
    if (!whole) return whole.problem();
    return &table.taken.emplace(s, std::move(*whole)).first->second;
}

Result<ChosenReference> named_reference(const Station& station, ReferenceTable& table) {
    const std::string wanted = station.weather.fill_station.empty() ? station.name : station.weather.fill_station;
    const std::string key = modelfiles::folded_name(wanted);
    std::call_once(table.names_made, [&table] {
        for (std::size_t s = 0; s < table.size(); ++s)
            table.by_name[modelfiles::folded_name(table.name(s))].push_back(s);
    });
    const auto found = table.by_name.find(key);
    const std::vector<std::size_t> named = found == table.by_name.end() ? std::vector<std::size_t>{} : found->second;
    if (named.empty()) return problem_text(table.place + " has no station " + wanted);
    // Two stations of one name: which one was meant cannot be told.
    if (named.size() > 1) {
        const char* where = table.is_database ? " (ids " : " (lines ";
        return problem_text(table.place + " holds the station " + wanted + " twice" + where +
                            std::to_string(table.line(named[0])) + " and " + std::to_string(table.line(named[1])) +
                            ")");
    }
    Result<const ReferenceStation*> taken = whole_station(table, named.front());
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
        return problem_text("the nearest station of " + table.place + ", " + table.name(found->id) + ", is " + km +
                            " km away, farther than fill_max_km " + max_text);
    }
    Result<const ReferenceStation*> taken = whole_station(table, found->id);
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
