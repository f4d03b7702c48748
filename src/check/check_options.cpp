#include "check/check_options.hpp"

#include <charconv>

#include "io/platform.hpp"
#include "text/plain_text.hpp"

namespace wgn::check {
namespace {

template <typename Whole>
std::optional<Whole> whole_number(const std::string& text) {
    Whole value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace

const char* const kCheckUsage =
    "usage: wgnrain-check TABLE... [-o OUTDIR] [--model swatplus|swat2012] [--years N] [--seed N]\n"
    "                     [--table NAME]\n"
    "       wgnrain-check --help | --version\n"
    "  TABLE    a weather-wgn.cli, userwgn.csv, wgn_stations.csv or wgn_monthly.csv, .wgn,\n"
    "           or a wgnrain-batch output folder, or an SQLite database (its --table)\n"
    "  -o       the folder of audit.csv, generated.csv and index.html (default check)\n"
    "  --model  the generator to run (default swatplus)\n"
    "  --years  the years generated (default 1000)\n"
    "  --seed   the seed of the random numbers (default 1)\n"
    "  --table  the table pair NAME, NAME_mon of each database (default wgn_cfsr_world)\n";

Result<CheckOptions> parse_check_options(const std::vector<std::string>& arguments) {
    CheckOptions options;
    if (arguments.size() == 1 && io::platform::asks_for_help(arguments[0])) {
        options.help = true;
        return options;
    }
    if (arguments.size() == 1 && arguments[0] == "--version") {
        options.version = true;
        return options;
    }
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool takes_value = argument == "-o" || argument == "--model" || argument == "--years" ||
                                 argument == "--seed" || argument == "--table";
        if (!takes_value) {
            if (!argument.empty() && argument[0] == '-')
                return problem_text("unknown option " + text::quoted(argument));
            options.tables.push_back(argument);
            continue;
        }
        if (i + 1 == arguments.size()) return problem_text(argument + " needs a value");
        const std::string& value = arguments[++i];
        if (argument == "-o") {
            if (value.empty()) return problem_text("-o needs a folder");
            options.folder = value;
        } else if (argument == "--model") {
            if (value == "swatplus") {
                options.model = Model::swatplus;
            } else if (value == "swat2012") {
                options.model = Model::swat2012;
            } else {
                return problem_text("--model " + text::quoted(value) + ": swatplus or swat2012");
            }
        } else if (argument == "--table") {
            if (value.empty()) return problem_text("--table needs a table's name");
            options.database_table = value;
        } else if (argument == "--years") {
            const std::optional<int> years = whole_number<int>(value);
            if (!years || *years < 1 || *years > 100000) {
                return problem_text("--years " + text::quoted(value) + ": a whole number 1 ... 100000");
            }
            options.years = *years;
        } else {
            const std::optional<std::uint64_t> seed = whole_number<std::uint64_t>(value);
            if (!seed) return problem_text("--seed " + text::quoted(value) + ": a whole number 0 ... 2^64 - 1");
            options.seed = *seed;
        }
    }
    if (options.tables.empty()) return problem_text("no table given");
    return options;
}

}  // namespace wgn::check
