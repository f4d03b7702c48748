#include "batch/station_weather.hpp"

#include <algorithm>
#include <array>
#include <iterator>
#include <map>
#include <mutex>

#include "batch/position_notes.hpp"
#include "batch/reference_stations.hpp"
#include "io/platform.hpp"
#include "io/whole_files.hpp"
#include "modelfiles/model_files.hpp"
#include "modelfiles/model_fit.hpp"
#include "readers/calendar_days.hpp"
#include "readers/number_text.hpp"
#include "readers/read_station_file.hpp"
#include "readers/value_checks.hpp"
#include "series/precipitation_values.hpp"
#include "series/wet_day_threshold.hpp"
#include "series/whole_years.hpp"
#include "text/plain_text.hpp"
#include "text/text_lines.hpp"
#include "weather/exact_decimal.hpp"
#include "weather/model_notes.hpp"
#include "weather/position.hpp"

namespace wgn::batch {
namespace {

namespace platform = io::platform;
using readers::FileKind;
using readers::Variable;

// The kinds of file of the other variables, in the order they are read.
constexpr FileKind kVariableFiles[] = {FileKind::tmp, FileKind::slr, FileKind::hmd, FileKind::wnd, FileKind::hhr};

Result<std::string> read_text(const std::string& name) {
    std::string text;
    int error = 0;
    if (io::read_whole_file(platform::resolve_file_name(name), text, error)) return text;
    return problem_text("cannot read " + name + ": " + platform::reason_text(error));
}

// A file read by many stations (GHCN's station list) is read once per batch.
Result<const std::string*> shared_text(const std::string& name) {
    static std::mutex lock;
    static std::map<std::string, std::string> texts;
    const std::lock_guard<std::mutex> guard(lock);
    const auto found = texts.find(name);
    if (found != texts.end()) return &found->second;
    Result<std::string> text = read_text(name);
    if (!text) return text.problem();
    return &texts.emplace(name, std::move(*text)).first->second;
}

// The position of a GHCN station in ghcnd-stations.txt: ID 1-11, LATITUDE
// 13-20, LONGITUDE 22-30, ELEVATION 32-37 (-999.9: unknown).  False when
// the list has no line of the station.
bool ghcnd_position(const std::string& text, const std::string& id, readers::StationRecord& own) {
    text::TextLines lines(text);
    std::string_view line;
    while (lines.next(line)) {
        if (line.size() < 37 || line.substr(0, 11) != id) continue;
        own.latitude = text::trimmed(line.substr(12, 8));
        own.longitude = text::trimmed(line.substr(21, 9));
        own.elevation = text::trimmed(line.substr(31, 6));
        own.position_places = {{{lines.number(), "13"}, {lines.number(), "22"}, {lines.number(), "32"}}};
        return true;
    }
    return false;
}

// What the station's files give, on the way to the record's inputs.
struct Gathered {
    const Station& station;
    readers::StationRecord& own;
    weather::WeatherInputs& inputs;
    std::map<Variable, readers::Unit> stated;  // the units the files state
    std::vector<StatedPosition> positions;     // those the files of the other variables state
    std::vector<weather::ModelNote> position_notes;
};

// A file's position, named as its note names it: a swat2012 file's gauge
// with it ("/d/tmp1.tmp gauge 4").
StatedPosition stated_position(const Station& station, const std::string& file, const readers::StationRecord& read) {
    std::string source = file;
    if (station.format == readers::Format::swat2012 && !station.gauge.empty()) source += " gauge " + station.gauge;
    return {std::move(source), {read.latitude, read.longitude, read.elevation}};
}

// 1. The station's own variables: where each comes from, and those its
//    reader refused.
void take_own_variables(Gathered& gathered) {
    const std::string& file = gathered.station.input_name;
    for (const auto& [variable, values] : gathered.own.variables) {
        gathered.inputs.sources[variable] = {file, gathered.own.columns[variable]};
    }
    for (const auto& [variable, why] : gathered.own.refused)
        gathered.inputs.refused[variable] = std::string(file).append(", ").append(why);
    gathered.stated = gathered.own.units;
}

// 2. The files of the other variables, in the station's format, added to
//    its own.  A file that cannot be read refuses its variables, never the
//    station: its precipitation stands.
void add_variable_files(Gathered& gathered, const readers::ReadOptions& options) {
    const Station& station = gathered.station;
    for (const FileKind kind : kVariableFiles) {
        const std::string& name = station.weather.file_of(kind);
        if (name.empty()) continue;
        const auto refuse = [&](const Problem& problem) {
            for (const Variable variable : readers::variables_of_kind(kind))
                gathered.inputs.refused[variable] = problem.message();
        };
        readers::ReadOptions file_options = read_options(station, station.nodata, kind);
        file_options.first_year = options.first_year;
        const Result<std::string> text = read_text(name);
        if (!text) {
            refuse(text.problem());
            continue;
        }
        Result<readers::StationRecord> read = readers::read_station_file(name, *text, file_options);
        if (!read) {
            refuse(read.problem());
            continue;
        }
        // Half-hour rain is in the precipitation's unit, told by the station's own file.
        if (const Result<series::MillimetreRead> millimetres = series::millimetre_precipitation(
                *read, readers::unit_named(readers::Quantity::kPrecipitation, station.pcp_unit), true, name);
            !millimetres) {
            refuse(millimetres.problem());
            continue;
        }
        for (auto& [variable, values] : read->variables) {
            std::vector<readers::DailyValue>& into = gathered.own.variables[variable];
            into.insert(into.end(), std::make_move_iterator(values.begin()), std::make_move_iterator(values.end()));
            gathered.inputs.sources[variable] = {name, read->columns[variable]};
        }
        for (const auto& [variable, unit] : read->units) gathered.stated[variable] = unit;
        gathered.positions.push_back(stated_position(station, name, *read));
        // A variable of the file refused alone (one of a tmp file's pair).
        for (const auto& [variable, why] : read->refused)
            gathered.inputs.refused[variable] = std::string(name).append(", ").append(why);
    }
}

// The unit of a variable other than precipitation: the list's, else the
// file's own; the two differing refuses the variable.  Humidity stated by
// nobody is told later by its values.
void take_unit(Gathered& gathered, Variable variable) {
    weather::WeatherInputs& inputs = gathered.inputs;
    const readers::Quantity quantity = readers::quantity_of(variable);
    const std::string& listed_name = gathered.station.weather.unit_of(quantity);
    const std::optional<readers::Unit> listed =
        listed_name.empty() ? std::nullopt : readers::unit_named(quantity, listed_name);
    const auto in_file = gathered.stated.find(variable);
    const Result<readers::Unit> unit = readers::unit_of_values(
        quantity, listed,
        in_file == gathered.stated.end() ? std::nullopt : std::optional<readers::Unit>(in_file->second));
    if (!unit) {
        const weather::WeatherInputs::Source& source = inputs.sources[variable];
        inputs.refused[variable] = Problem{source.file, 0, source.column, unit.problem().text}.message();
        inputs.variables.erase(variable);
        return;
    }
    if (quantity != readers::Quantity::kHumidity || listed || in_file != gathered.stated.end())
        inputs.units[variable] = *unit;
}

// The record's precipitation is the series wgnrain read: drizzle below the
// wet-day threshold is 0, for the largest daily rain (pcp_hhr, the model's
// notes) as for the report's six values.  Half-hour rain is checked against
// the rain as the file gives it.
void dry_below_threshold(Gathered& gathered, std::vector<readers::DailyValue>& rain) {
    const std::string& threshold = gathered.station.pcp_threshold;
    if (threshold.empty()) return;
    gathered.inputs.rain_as_read = rain;
    for (readers::DailyValue& day : rain) {
        if (series::is_drizzle(day.text, threshold)) day.set_text("0");
    }
}

// 3. Each variable's days in order, each day once, within the period, and
//    its unit.  Days of precipitation that contradict each other end the
//    station; those of another variable refuse that variable.
Done take_days(Gathered& gathered) {
    weather::WeatherInputs& inputs = gathered.inputs;
    const std::int32_t first_day = readers::day_number({inputs.first_year, 1, 1});
    const std::int32_t last_day = readers::day_number({inputs.last_year, 12, 31});
    for (auto& [variable, values] : gathered.own.variables) {
        if (inputs.refused.count(variable) != 0) continue;
        if (const Done merged = series::merge_days(values); !merged) {
            // The line is that of the variable's file (the station's own or its *_file).
            const Problem conflict = merged.problem().in_file(inputs.sources[variable].file);
            if (variable == Variable::pcp) return conflict;
            inputs.refused[variable] = conflict.message();
            continue;
        }
        // The days now rise: those of the period are one stretch of them,
        // kept where they are.
        const auto before = [](const readers::DailyValue& value, std::int32_t day) { return value.day < day; };
        values.erase(std::lower_bound(values.begin(), values.end(), last_day + 1, before), values.end());
        values.erase(values.begin(), std::lower_bound(values.begin(), values.end(), first_day, before));
        if (variable == Variable::pcp) dry_below_threshold(gathered, values);
        inputs.variables[variable] = std::move(values);
        if (readers::quantity_of(variable) != readers::Quantity::kPrecipitation) take_unit(gathered, variable);
    }
    return {};
}

// 4. The position: the list's, else the file's, else GHCN's station list;
//    and a note on every file that states another (position_notes.hpp).
Done take_position(Gathered& gathered) {
    const Station& station = gathered.station;
    readers::StationRecord& own = gathered.own;
    std::string position_file = station.input_name;
    bool ghcnd = false;
    if (const std::string& stations = station.weather.stations_file; !stations.empty() && !own.station_id.empty()) {
        const Result<const std::string*> text = shared_text(stations);
        if (!text) return text.problem();
        const bool found = ghcnd_position(**text, own.station_id, own);
        position_file = stations;
        ghcnd = true;
        // Say whose line is missing where the list does not give the whole position itself.
        const WeatherColumns& listed = station.weather;
        if (!found && (listed.lat.empty() || listed.lon.empty() || listed.elev.empty())) {
            gathered.inputs.position_problem = Problem{stations, 0, "", "no line of the station " + own.station_id};
            return {};
        }
    }
    const std::array<const std::string*, 3> listed = {&station.weather.lat, &station.weather.lon,
                                                      &station.weather.elev};
    const std::array<const std::string*, 3> texts = {&own.latitude, &own.longitude, &own.elevation};
    std::array<weather::GivenCoordinate, 3> given;
    for (std::size_t c = 0; c < 3; ++c) {
        const readers::TextPlace& place = own.position_places[c];
        given[c] = {*listed[c], *texts[c], readers::place_text(position_file, place.line, place.column)};
    }
    Result<weather::Position> position = weather::take_position(given, ghcnd);
    if (!position) {
        gathered.inputs.position_problem = position.problem();
        return {};
    }
    gathered.inputs.latitude = (*position)[weather::kLatitude];
    gathered.inputs.longitude = (*position)[weather::kLongitude];
    gathered.inputs.elevation = (*position)[weather::kElevation];
    StatedPosition own_position = stated_position(station, position_file, own);
    if (ghcnd) own_position.source += " station " + own.station_id;
    gathered.positions.insert(gathered.positions.begin(), std::move(own_position));
    for (const StatedPosition& stated : gathered.positions) {
        if (std::optional<weather::ModelNote> note = position_note(*position, stated))
            gathered.position_notes.push_back(std::move(*note));
    }
    return {};
}

// The largest daily rain of each month, for the model's notes.
weather::MonthTexts largest_daily_rain(const std::vector<readers::DailyValue>& precipitation) {
    std::vector<weather::DayValue> rain;
    for (const readers::DailyValue& value : precipitation) {
        if (const auto exact = weather::billionths_of(value)) rain.push_back({value.day, *exact});
    }
    return weather::monthly_largest(rain);
}

// wgnrain's report divides February by n / 28 years (n its days), which
// from 28 leap Februaries on counts a year more than the period has: its
// PCP_MM and PCPD are then low by that year (records of some 112 years and
// more).  A note with the values over the true years; nothing for shorter
// records.
//   200 years, 48 leap: "pcp_ave, pcp_days of Feb: wgnrain's report divides them by 201 years for 200
//   (n / 28 of February's days), so they are low: 19.26 for 19.36, 4.01 for 4.03"
std::optional<weather::ModelNote> long_february_note(const weather::SeriesMonths& months,
                                                     const ReportFigures& figures) {
    long days = 0;
    for (const auto& year : months) days += static_cast<long>(year[1].days.size());
    const auto years = static_cast<long>(months.size());
    if (days / 28 == years) return std::nullopt;
    const weather::PrecipitationValues exact = weather::gap_aware_values(months);
    const auto& shown = figures.values[1];
    const auto& truth = exact.values[1];
    return weather::ModelNote{weather::NoteKind::note,
                              "pcp_ave, pcp_days of Feb: wgnrain's report divides them by " +
                                  std::to_string(days / 28) + " years for " + std::to_string(years) +
                                  " (n / 28 of February's days), so they are low: " + shown[0] + " for " + truth[0] +
                                  ", " + shown[5] + " for " + truth[5]};
}

}  // namespace

Result<StationWeather> station_weather(const Station& station, readers::StationRecord* own, int first_year,
                                       int last_year, const ReportFigures& figures) {
    // The station's own file: a plain series is read here, and its last
    // year counted as wgnrain counts them.
    // The files of its other variables are read as it is, from the same year.
    readers::ReadOptions options = read_options(station, station.nodata);
    readers::StationRecord plain;
    if (own == nullptr) {
        options.first_year = readers::whole_number(station.first_year);
        const Result<std::string> text = read_text(station.input_name);
        if (!text) return text.problem();
        Result<readers::StationRecord> read = readers::read_station_file(station.input_name, *text, options);
        if (!read) return read.problem();
        plain = std::move(*read);
        own = &plain;
        const auto values = static_cast<long>(plain.variables[Variable::pcp].size());
        if (last_year == 0) last_year = first_year + static_cast<int>(values / 365) - 1;
    }
    weather::WeatherInputs inputs;
    inputs.first_year = first_year;
    inputs.last_year = last_year;
    Gathered gathered{station, *own, inputs, {}, {}, {}};
    take_own_variables(gathered);
    add_variable_files(gathered, options);
    if (const Done days = take_days(gathered); !days) return days.problem();
    // The six precipitation values: the report's, or with missing days in
    // the period the gap-aware ones.
    // (The months are made only where they are needed: with missing days, or
    // 28 leap Februaries and more, whose note they give.)
    const std::vector<readers::DailyValue>& rain = inputs.variables[Variable::pcp];
    const bool gaps = weather::has_missing_days(first_year, last_year, rain);
    int leap_years = 0;
    for (int year = first_year; year <= last_year; ++year) leap_years += readers::days_in_year(year) == 366 ? 1 : 0;
    const weather::SeriesMonths months =
        gaps || leap_years >= 28 ? weather::series_months(first_year, last_year, rain) : weather::SeriesMonths{};
    StationPrecipitation precipitation = station_precipitation(figures, gaps ? &months : nullptr);
    for (std::size_t m = 0; m < 12; ++m) {
        for (std::size_t p = 0; p < 6; ++p)
            inputs.precipitation[m][p] = weather::DecimalText::made(precipitation.values[m][p]);
    }
    if (const Done position = take_position(gathered); !position) return position.problem();
    // 5. The reference station that fills what the record cannot give (reference_stations.hpp).
    const Result<ChosenReference> reference = reference_station(station, inputs);
    if (!reference) return reference.problem();
    inputs.reference = reference->station;

    Result<weather::WeatherRecord> record = weather::make_weather_record(inputs);
    if (!record) return record.problem();
    StationWeather result;
    result.record = std::move(*record);
    if (reference->station != nullptr) {
        result.record.fill_station = reference->station->name;
        result.record.fill_km = reference->km;
    }
    // The days the record left out are missing days for its intervals too.
    weather::leave_out_days(inputs, result.record.outlier_days);
    result.intervals = record_intervals(inputs, result.record);
    result.notes = weather::model_notes(result.record, largest_daily_rain(inputs.variables[Variable::pcp]),
                                        precipitation.model_months.rainless);
    // Files of other places first among the notes: every value they give is another place's.
    const auto first_note = std::find_if(result.notes.begin(), result.notes.end(), [](const weather::ModelNote& n) {
        return n.kind != weather::NoteKind::change;
    });
    result.notes.insert(first_note, gathered.position_notes.begin(), gathered.position_notes.end());
    for (weather::ModelNote& note : weather::model_months_notes(precipitation.model_months))
        result.notes.push_back(std::move(note));
    if (!gaps && !months.empty()) {
        if (std::optional<weather::ModelNote> february = long_february_note(months, figures))
            result.notes.push_back(std::move(*february));
    }
    result.precipitation = std::move(precipitation);
    // The .wgn's layout may make SWAT 2012 change what the record says: a
    // change, after the record's own ones.
    if (std::optional<weather::ModelNote> layout = modelfiles::wgn_layout_note(result.record)) {
        const auto after_changes =
            std::find_if(result.notes.begin(), result.notes.end(),
                         [](const weather::ModelNote& n) { return n.kind != weather::NoteKind::change; });
        result.notes.insert(after_changes, std::move(*layout));
    }
    return result;
}

}  // namespace wgn::batch
