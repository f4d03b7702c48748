#include "cells/grid_options.hpp"

#include <charconv>
#include <string_view>
#include <utility>

#include "io/platform.hpp"
#include "readers/number_text.hpp"

namespace wgn::cells {
namespace {

constexpr std::string_view kUsage =
    "Usage: wgnrain-grid GRID.nc... -o OUTDIR [--var NAME=VARIABLE]...\n"
    "                    [--bbox LAT_MIN,LAT_MAX,LON_MIN,LON_MAX] [--points POINTS.csv]\n"
    "                    [--mask [FILE:]VARIABLE] [--elevation [FILE:]VARIABLE]\n"
    "                    [--first-year YEAR] [--last-year YEAR] [--memory MB]\n"
    "                    [--keep all|failed|none] [-j N] [--rerun] [--strict]\n"
    "                    [--shard K/N | --merge] [--check [--model M] [--years N]\n"
    "                    [--seed N]] [--sqlite FILE [--table NAME]]\n"
    "       wgnrain-grid --help | --version\n"
    "\n"
    "Makes the complete weather-generator record of every chosen cell of daily\n"
    "CF NetCDF grids (one file or several, split by variable or by year): each\n"
    "cell runs as a dated station of wgnrain-batch does, into OUTDIR/<cell>/,\n"
    "and OUTDIR receives the batch's tables, model files and overview page.\n"
    "\n"
    "The variables are found by their standard_name (precipitation_flux or\n"
    "_amount, air_temperature with cell_methods maximum and minimum,\n"
    "surface_downwelling_shortwave_flux_in_air, relative_humidity,\n"
    "dew_point_temperature, wind_speed or eastward_wind and northward_wind) or\n"
    "named with --var (pcp, tmax, tmin, slr, rh, dew, wnd, uas, vas), and\n"
    "converted from their units exactly.  A cell is named from its position,\n"
    "latitude and longitude to 3 decimals: 52.125N_5.250E.\n"
    "\n"
    "Options:\n"
    "  -o OUTDIR        the output folder (created if missing)\n"
    "  --var NAME=VAR   take the variable NAME (pcp, tmax, ...) from VAR\n"
    "  --bbox A,B,C,D   only the cells from latitude A to B and longitude C to D\n"
    "  --points FILE    only the cells nearest the points of FILE (name,lat,lon\n"
    "                   and optionally elev): each point is a station of its name\n"
    "  --mask VAR       only the cells where VAR (of the grid's files, or FILE:VAR)\n"
    "                   is at least 0.5\n"
    "  --elevation VAR  each cell's elevation from VAR (or FILE:VAR)\n"
    "  --first-year Y, --last-year Y\n"
    "                   bound every cell's period (else the longest run of years\n"
    "                   with at most 10 % missing days)\n"
    "  --memory MB      the values of a tile of cells read at once (default 64;\n"
    "                   at most one tile more than there are jobs is held)\n"
    "  --keep WHAT      the files a cell's folder keeps: failed (default): a cell\n"
    "                   that succeeded keeps only its record (run.txt, report.txt,\n"
    "                   coverage.csv); none: every cell only its record; all\n"
    "  -j N, --rerun, --strict, --shard K/N, --merge, --check, --sqlite FILE,\n"
    "  --table NAME     as wgnrain-batch takes them; a shard runs whole tiles of\n"
    "                   the grid and reads only those\n"
    "  --help           show this text\n"
    "  --version        show the version\n"
    "\n"
    "Exit status: 0 when every cell succeeded, 1 when any failed, 2 for a bad\n"
    "command line or grid or a folder in use, 3 when the tables or the database\n"
    "could not be written, 130 (128 + the signal) when interrupted.\n";

Done year_text(std::string_view option, std::string_view value, std::string& into) {
    if (!readers::whole_number(value))
        return problem_text("'" + std::string(option) + " " + std::string(value) + "': the year is a whole number");
    into = value;
    return {};
}

// "50,54,3.5,8" -> {50, 54, 3.5, 8}.
Result<std::array<double, 4>> box_of(std::string_view value) {
    std::array<double, 4> box{};
    std::string_view rest = value;
    for (std::size_t i = 0; i < 4; ++i) {
        const std::size_t comma = rest.find(',');
        const std::string_view part = rest.substr(0, comma);
        const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), box[i]);
        if (part.empty() || error != std::errc() || end != part.data() + part.size() || (i < 3) == (comma == rest.npos))
            return problem_text("'--bbox " + std::string(value) +
                                "': four numbers LAT_MIN,LAT_MAX,LON_MIN,LON_MAX, e.g. --bbox 50,54,3,8");
        rest.remove_prefix(comma == rest.npos ? rest.size() : comma + 1);
    }
    if (!(box[0] <= box[1]) || box[0] < -90 || box[1] > 90)
        return problem_text("'--bbox " + std::string(value) + "': the latitudes go from south to north, -90 to 90");
    return box;
}

}  // namespace

std::string grid_usage() {
    std::string text(kUsage);
    if (io::platform::kWindowsConventions) {
        const std::string_view from = "wgnrain-grid --help | --version";
        text.replace(text.find(from), from.size(), "wgnrain-grid --help | /? | --version");
    }
    return text;
}

Result<GridOptions> parse_grid_options(std::span<const std::string> arguments) {
    GridOptions options;
    if (arguments.size() == 1 && io::platform::asks_for_help(arguments[0])) {
        options.batch.action = batch::BatchOptions::Action::help;
        return options;
    }
    if (arguments.size() == 1 && arguments[0] == "--version") {
        options.batch.action = batch::BatchOptions::Action::version;
        return options;
    }
    // The batch's own options go to its parser, with the grid in the list's place.
    std::vector<std::string> batch_arguments = {"grid"};
    bool have_keep = false;
    const auto value_of = [&](std::size_t& i) -> Result<std::string> {
        if (i + 1 == arguments.size()) return problem_text("'" + arguments[i] + "' needs a value");
        return arguments[++i];
    };
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--var" || argument == "--bbox" || argument == "--points" || argument == "--mask" ||
            argument == "--elevation" || argument == "--first-year" || argument == "--last-year" ||
            argument == "--memory") {
            const Result<std::string> value = value_of(i);
            if (!value) return value.problem();
            if (argument == "--var") {
                const std::size_t equals = value->find('=');
                if (equals == std::string::npos || equals == 0 || equals + 1 == value->size())
                    return problem_text("'--var " + *value + "': NAME=VARIABLE, e.g. --var pcp=tp");
                if (!options.grid.variable_names.emplace(value->substr(0, equals), value->substr(equals + 1)).second)
                    return problem_text("'--var " + value->substr(0, equals) + "=...' given twice");
            } else if (argument == "--bbox") {
                const Result<std::array<double, 4>> box = box_of(*value);
                if (!box) return box.problem();
                options.grid.bbox = *box;
            } else if (argument == "--points") {
                options.grid.points_file = *value;
            } else if (argument == "--mask") {
                options.grid.mask = *value;
            } else if (argument == "--elevation") {
                options.grid.elevation = *value;
            } else if (argument == "--memory") {
                const auto megabytes = readers::whole_number(*value);
                if (!megabytes || *megabytes < 1 || *megabytes > 1048576)
                    return problem_text("'--memory " + *value + "': a whole number of MB from 1 to 1048576");
                options.grid.memory_bytes = static_cast<std::size_t>(*megabytes) << 20;
            } else if (const Done year = year_text(argument, *value,
                                                   argument == "--first-year" ? options.first_year : options.last_year);
                       !year) {
                return year.problem();
            }
        } else if (argument.size() > 1 && argument.front() == '-') {
            // The batch's option, with its value when it takes one.
            have_keep = have_keep || argument == "--keep";
            batch_arguments.push_back(argument);
            const bool takes_value = argument == "-o" || argument == "-j" || argument == "--shard" ||
                                     argument == "--sqlite" || argument == "--table" || argument == "--keep" ||
                                     argument == "--model" || argument == "--years" || argument == "--seed";
            if (takes_value && i + 1 < arguments.size()) batch_arguments.push_back(arguments[++i]);
        } else {
            if (argument.empty()) return problem_text("an empty grid file name");
            options.grid.files.push_back(argument);
        }
    }
    if (options.grid.files.empty()) return problem_text("no grid file (GRID.nc)");
    Result<batch::BatchOptions> parsed = batch::parse_options(batch_arguments);
    if (!parsed) return parsed.problem();
    options.batch = std::move(*parsed);
    // Thousands of cells: a cell that succeeded keeps only its record.
    if (!have_keep) options.batch.keep = batch::BatchOptions::Keep::failed;
    return options;
}

}  // namespace wgn::cells
