#include "check/check_command.hpp"

#include "check/audit.hpp"
#include "check/check_options.hpp"
#include "check/check_page.hpp"
#include "check/generated_statistics.hpp"
#include "check/read_tables.hpp"
#include "io/platform.hpp"
#include "io/whole_files.hpp"

namespace wgn::check {
namespace {

namespace platform = io::platform;

void say(const std::string& text) {
    platform::write_error_output("wgnrain-check: " + text + "\n");
}

bool write_file(const std::string& folder, const char* name, const std::string& text) {
    const platform::ResolvedName file = platform::resolve_file_name(platform::name_inside(folder, name));
    int error = 0;
    if (file.report != 0 || !io::replace_whole_file(file, text, error)) {
        say("cannot write " + file.shown + ": " + platform::reason_text(error != 0 ? error : file.error));
        return false;
    }
    return true;
}

}  // namespace

int run_check_command(const std::vector<std::string>& arguments) {
    const Result<CheckOptions> options = parse_check_options(arguments);
    if (!options) {
        say(options.problem().message());
        platform::write_error_output(kCheckUsage);
        return 2;
    }
    if (options->help) {
        platform::write_standard_output(kCheckUsage);
        return 0;
    }
    if (options->version) {
        platform::write_standard_output("wgnrain-check " WGNRAIN_VERSION "\n");
        return 0;
    }
    const Result<CheckTable> table = read_tables(options->tables, options->database_table);
    if (!table) {
        say(table.problem().message());
        return 2;
    }
    std::vector<AuditRow> findings;
    std::string generated = generated_csv_header();
    std::size_t generated_stations = 0;
    std::vector<PageStation> shown;
    for (std::size_t i = 0; i < table->size(); ++i) {
        const TableStation& station = (*table)[i];
        PageStation page{&station, audit_station(station), {}, {}};
        findings.insert(findings.end(), page.findings.begin(), page.findings.end());
        RandomNumbers numbers(station_seed(options->seed, i));
        const std::optional<StationParameters> parameters = model_parameters(station, numbers, page.not_generated);
        if (!parameters) {
            say(station.station.name + ": not generated: " + page.not_generated);
        } else {
            const GeneratedStatistics statistics =
                generate(options->model, *parameters, options->years, station_seed(options->seed, i) + 1);
            page.generated = generated_rows(station, statistics);
            generated.append(generated_csv_rows(station.station.name, page.generated));
            ++generated_stations;
        }
        shown.push_back(std::move(page));
    }
    const std::string run = std::string(options->model == Model::swatplus ? "SWAT+" : "SWAT 2012") + "'s generator, " +
                            std::to_string(options->years) + " years, seed " + std::to_string(options->seed);
    const platform::ResolvedName folder = platform::resolve_file_name(options->folder);
    int error = 0;
    if (folder.report != 0 || !platform::make_folder(folder, error)) {
        say("cannot make the folder " + folder.shown + ": " + platform::reason_text(error != 0 ? error : folder.error));
        return 1;
    }
    if (!write_file(options->folder, "audit.csv", audit_csv(findings)) ||
        !write_file(options->folder, "generated.csv", generated) ||
        !write_file(options->folder, "index.html", check_page(shown, run))) {
        return 1;
    }
    say(std::to_string(table->size()) + " stations, " + std::to_string(findings.size()) + " findings, " +
        std::to_string(generated_stations) + " generated; see " + folder.shown);
    return 0;
}

}  // namespace wgn::check
