#include "check/read_tables.hpp"

#include "check/read_userwgn.hpp"
#include "io/file_names.hpp"
#include "io/platform.hpp"
#include "io/whole_files.hpp"
#include "modelfiles/model_files.hpp"

namespace wgn::check {

Result<CheckTable> read_table_text(std::string_view shown, std::string_view text) {
    if (looks_like_userwgn(text)) return read_userwgn(shown, text);
    Result<std::vector<weather::ReferenceStation>> stations = modelfiles::read_cli(text);
    if (!stations) {
        Problem problem = stations.problem().in_file(shown);
        problem.text += " (a weather-wgn.cli or a userwgn.csv was expected)";
        return problem;
    }
    if (stations->empty())
        return Problem{std::string(shown), 0, "", "no station (a weather-wgn.cli block was expected)"};
    CheckTable table;
    for (weather::ReferenceStation& station : *stations) table.push_back({std::string(shown), std::move(station)});
    return table;
}

Result<CheckTable> read_tables(const std::vector<std::string>& names) {
    namespace platform = io::platform;
    CheckTable all;
    for (const std::string& name : names) {
        platform::ResolvedName file = platform::resolve_file_name(name);
        // A batch's output folder: the SWAT+ table it wrote.
        if (file.report == 0 && platform::file_kind(file) == platform::FileKind::folder) {
            file = platform::resolve_file_name(platform::name_inside(name, "weather-wgn.cli"));
        }
        const std::string shown = file.report == 0 ? file.shown : name;
        if (file.report != 0) return Problem{shown, 0, "", "not a name a file can have"};
        if (const std::string why = io::input_file_problem(file); !why.empty()) return problem_text(why);
        std::string text;
        int error = 0;
        if (!io::read_whole_file(file, text, error)) {
            return Problem{shown, 0, "", "cannot be read: " + io::failure_reason(file, error)};
        }
        Result<CheckTable> table = read_table_text(shown, text);
        if (!table) return table.problem();
        for (TableStation& station : *table) all.push_back(std::move(station));
    }
    return all;
}

}  // namespace wgn::check
