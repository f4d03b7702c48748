// The variables of daily grid files, found by their standard_name or named
// by the user, each from one file or several in time order, with the real
// date of every time step and the days of the csv text.
//
//   tp (standard_name precipitation_amount) in a_2001.nc and a_2002.nc
//       -> pcp from two pieces, a_2001.nc first (its first time is earlier)
//   tasmax (air_temperature, cell_methods "time: maximum")  -> tmax
//   pr and prcp both precipitation_flux, none named           -> refused, naming both
#include <algorithm>
#include <cmath>
#include <limits>
#include <set>

#include "grid/grid_state.hpp"

namespace wgn::grid {
namespace {

// A step whose model day has no real date, before the steps' days become rows.
constexpr long kNoDay = std::numeric_limits<long>::min();

constexpr const char* kKeys[] = {"pcp", "tmax", "tmin", "slr", "rh", "dew", "wnd", "uas", "vas"};

Quantity quantity_of(const std::string& key) {
    if (key == "pcp") return Quantity::precipitation;
    if (key == "tmax" || key == "tmin" || key == "dew") return Quantity::temperature;
    if (key == "slr") return Quantity::radiation;
    if (key == "rh") return Quantity::humidity;
    return Quantity::wind;
}

// The key a variable's standard_name (and cell_methods) gives it; empty: none.
std::string key_of(const netcdf::File& file, const netcdf::Variable& variable) {
    const std::string standard = file.text_attribute(variable.id, "standard_name").value_or("");
    if (standard == "precipitation_flux" || standard == "precipitation_amount" ||
        standard == "lwe_thickness_of_precipitation_amount")
        return "pcp";
    if (standard == "air_temperature") {
        const std::string methods = file.text_attribute(variable.id, "cell_methods").value_or("");
        if (methods.find("maximum") != std::string::npos) return "tmax";
        if (methods.find("minimum") != std::string::npos) return "tmin";
        return "";
    }
    // A day's mean flux (W m-2) or its integral over the day (J m-2).
    if (standard == "surface_downwelling_shortwave_flux_in_air" ||
        standard == "integral_wrt_time_of_surface_downwelling_shortwave_flux_in_air")
        return "slr";
    if (standard == "relative_humidity") return "rh";
    if (standard == "dew_point_temperature") return "dew";
    if (standard == "wind_speed") return "wnd";
    if (standard == "eastward_wind") return "uas";
    if (standard == "northward_wind") return "vas";
    return "";
}

std::string file_list(const GridState& state, const std::vector<Piece>& pieces) {
    std::string list;
    for (const Piece& piece : pieces) list.append(list.empty() ? "" : ", ").append(state.files[piece.file].path());
    return list;
}

// The time steps of one piece: each one's real date (nothing: dropped),
// checked to be one a day and in order.
Result<std::vector<std::optional<Date>>> piece_dates(const netcdf::File& file, const netcdf::Variable& variable,
                                                     std::set<std::string>& calendars) {
    Result<const netcdf::Variable*> time = time_coordinate(file, variable);
    if (!time) return time.problem();
    const std::string units = file.text_attribute((*time)->id, "units").value_or("");
    const std::string calendar = file.text_attribute((*time)->id, "calendar").value_or("");
    Result<TimeAxis> axis = TimeAxis::open(units, calendar);
    if (!axis) return axis.problem().in_file(file.path());
    calendars.insert(axis->calendar_name());
    const std::size_t steps = file.dimensions()[(*time)->dimensions[0]].length;
    std::vector<double> values(steps);
    if (steps > 0) {
        if (Done read = file.read(**time, {0}, {steps}, values.data()); !read) return read.problem();
    }
    std::vector<std::optional<Date>> dates;
    std::optional<Date> last;
    for (std::size_t step = 0; step < steps; ++step) {
        if (step > 0 && !(values[step] > values[step - 1])) {
            return Problem{file.path(), 0, "",
                           "the time of " + variable.name + " does not increase at step " + std::to_string(step + 1) +
                               ": not a daily file"};
        }
        Result<std::optional<Date>> date = axis->date_of(values[step]);
        if (!date) return date.problem().in_file(file.path());
        if (*date && last && **date <= *last) {
            return Problem{file.path(), 0, "",
                           "two time steps of " + variable.name + " on " + date_text(**date) + ": not a daily file"};
        }
        if (*date) last = *date;
        dates.push_back(*date);
    }
    return dates;
}

}  // namespace

Done find_sources(const GridChoice& choice, GridState& state) {
    for (const auto& [key, name] : choice.variable_names) {
        if (std::find(std::begin(kKeys), std::end(kKeys), key) == std::end(kKeys)) {
            return problem_text("\"" + key + "\" is not one of pcp, tmax, tmin, slr, rh, dew, wnd, uas, vas");
        }
    }
    // Each key's candidate variable names, and the files that hold each.
    std::map<std::string, std::map<std::string, std::vector<std::size_t>>> candidates;
    for (const char* key : kKeys) {
        const auto named = choice.variable_names.find(key);
        if (named == choice.variable_names.end()) continue;
        for (std::size_t f = 0; f < state.files.size(); ++f) {
            if (state.files[f].variable(named->second) != nullptr) candidates[key][named->second].push_back(f);
        }
        if (candidates[key].empty()) {
            std::set<std::string> present;
            for (const netcdf::File& file : state.files) {
                for (const netcdf::Variable& variable : file.variables()) present.insert(variable.name);
            }
            std::string list;
            for (const std::string& name : present) list.append(list.empty() ? "" : ", ").append(name);
            return problem_text("no variable " + named->second + " (named for " + key +
                                ") in the grid files: they have " + list);
        }
    }
    for (std::size_t f = 0; f < state.files.size(); ++f) {
        for (const netcdf::Variable& variable : state.files[f].variables()) {
            const std::string key = key_of(state.files[f], variable);
            if (key.empty() || choice.variable_names.count(key) != 0) continue;
            candidates[key][variable.name].push_back(f);
        }
    }
    for (const auto& [key, names] : candidates) {
        if (names.size() > 1) {
            auto second = std::next(names.begin());
            std::string why = "two variables could be " + key + ": ";
            why.append(names.begin()->first).append(" and ").append(second->first);
            why.append("; name the one to use: --var ").append(key).append("=").append(names.begin()->first);
            return problem_text(std::move(why));
        }
    }
    if (candidates.count("pcp") == 0) {
        return problem_text(
            "no precipitation in the grid files (standard_name precipitation_flux, precipitation_amount or "
            "lwe_thickness_of_precipitation_amount): name its variable for pcp");
    }
    // A wind speed is taken as it is; u and v only together, and only without one.
    if (candidates.count("wnd") != 0 || candidates.count("uas") == 0 || candidates.count("vas") == 0) {
        candidates.erase("uas");
        candidates.erase("vas");
    }
    // Humidity: the dew point where both are there.
    if (candidates.count("dew") != 0) candidates.erase("rh");
    std::set<std::string> calendars;
    std::vector<Date> all_days;
    std::size_t dropped = 0;
    for (const char* key : kKeys) {
        if (candidates.count(key) == 0) continue;
        const auto& [name, file_ids] = *candidates[key].begin();
        Source source{key, name, {}, {}};
        std::vector<std::vector<std::optional<Date>>> dates;
        for (const std::size_t f : file_ids) {
            const netcdf::File& file = state.files[f];
            const netcdf::Variable& variable = *file.variable(name);
            Result<ValueCode> code = value_code(file, variable, quantity_of(key));
            if (!code) return code.problem();
            Result<std::vector<std::optional<Date>>> steps = piece_dates(file, variable, calendars);
            if (!steps) return steps.problem();
            source.pieces.push_back({f, variable.id, std::move(*code), {}});
            dates.push_back(std::move(*steps));
        }
        // The pieces in the order of their first dates.
        std::vector<std::size_t> order(source.pieces.size());
        for (std::size_t k = 0; k < order.size(); ++k) order[k] = k;
        const auto first_date = [&dates](std::size_t k) {
            for (const auto& date : dates[k]) {
                if (date) return *date;
            }
            return Date{99999, 12, 31};
        };
        std::stable_sort(order.begin(), order.end(),
                         [&](std::size_t a, std::size_t b) { return first_date(a) < first_date(b); });
        std::vector<Piece> pieces;
        std::vector<std::vector<std::optional<Date>>> ordered;
        for (const std::size_t k : order) {
            pieces.push_back(std::move(source.pieces[k]));
            ordered.push_back(std::move(dates[k]));
        }
        std::optional<Date> last;
        for (std::size_t k = 0; k < pieces.size(); ++k) {
            for (const auto& date : ordered[k]) {
                if (!date) {
                    if (key == std::string("pcp")) ++dropped;
                    continue;
                }
                if (last && *date <= *last) {
                    return problem_text("the times of " + name + " in " + state.files[pieces[k - 1].file].path() +
                                        " and " + state.files[pieces[k].file].path() + " overlap (" + date_text(*date) +
                                        ")");
                }
                last = date;
                all_days.push_back(*date);
            }
        }
        source.pieces = std::move(pieces);
        state.sources.push_back(std::move(source));
        dates = std::move(ordered);
        // The rows are known once every variable is: kept for below.
        for (std::size_t k = 0; k < state.sources.back().pieces.size(); ++k) {
            Piece& piece = state.sources.back().pieces[k];
            for (const auto& date : dates[k]) {
                piece.row_of_step.push_back(date ? days_from_civil(*date) : kNoDay);
            }
        }
    }
    std::sort(all_days.begin(), all_days.end());
    all_days.erase(std::unique(all_days.begin(), all_days.end()), all_days.end());
    state.days = all_days;
    for (const Date& day : state.days) state.day_texts.push_back(date_text(day));
    // Each step's day number becomes its row.
    std::vector<long> day_numbers;
    for (const Date& day : state.days) day_numbers.push_back(days_from_civil(day));
    for (Source& source : state.sources) {
        source.piece_of_row.assign(state.days.size(), -1);
        for (std::size_t k = 0; k < source.pieces.size(); ++k) {
            for (long& row : source.pieces[k].row_of_step) {
                if (row == kNoDay) {
                    row = -1;
                    continue;
                }
                row = std::lower_bound(day_numbers.begin(), day_numbers.end(), row) - day_numbers.begin();
                source.piece_of_row[static_cast<std::size_t>(row)] = static_cast<int>(k);
            }
        }
        const ValueCode& code = source.pieces.front().code;
        std::string line = source.key + ": " + source.variable + " in " + file_list(state, source.pieces) + ", " +
                           (code.units.empty() ? "no units" : code.units);
        if (!code.conversion.shown.empty()) line += " (" + code.conversion.shown + ")";
        if (code.packed) line += ", packed";
        state.notes.push_back(line);
    }
    std::string calendar_line;
    for (const std::string& calendar : calendars)
        calendar_line.append(calendar_line.empty() ? "" : ", ").append(calendar);
    state.notes.push_back("calendar: " + calendar_line);
    if (calendars.count("noleap") != 0 || calendars.count("365_day") != 0) {
        state.notes.push_back("noleap calendar: 29 February has no value (a missing day)");
    }
    if (dropped > 0) {
        state.notes.push_back(std::to_string(dropped) +
                              " model days of precipitation have no real date (29 February of a year that is not leap, "
                              "30 February) and are dropped");
    }
    if (calendars.count("360_day") != 0) {
        state.notes.push_back(
            "360_day calendar: model day D of month M is real day D of month M where it exists; "
            "the 31sts are missing days");
    }
    if (state.days.empty()) return problem_text("the grid files have no time step with a date");
    return {};
}

}  // namespace wgn::grid
