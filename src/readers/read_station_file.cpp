#include "readers/read_station_file.hpp"

#include "readers/value_checks.hpp"

namespace wgn::readers {

bool is_known_format(std::string_view format) {
    for (const std::string_view known : kFormats) {
        if (format == known) return true;
    }
    return false;
}

std::vector<std::string> variables_of_kind(std::string_view kind) {
    if (kind == "pcp") return {kPrecipitation};
    if (kind == "tmp") return {"tmax", "tmin"};
    if (kind == "hmd") return {"rh"};
    if (kind == "slr" || kind == "wnd" || kind == "hhr") return {std::string(kind)};
    throw ReadError(0, "", "\"" + std::string(kind) + "\" is not a kind of weather file");
}

ReadResult read_station_file(std::string_view shown_name, std::string_view text, const ReadOptions& options) {
    ReadResult result;
    try {
        if (options.format == "plain") {
            result.record = read_plain(text, options);
        } else if (options.format == "csv") {
            result.record = read_csv(text, options);
        } else if (options.format == "ghcnd") {
            result.record = read_ghcnd(text, options);
        } else if (options.format == "power") {
            result.record = read_power(text, options);
        } else if (options.format == "swat") {
            result.record = read_swat(text, options);
        } else if (options.format == "swatplus") {
            result.record = read_swatplus(text, options);
        } else {
            throw ReadError(0, "", "\"" + options.format + "\" is not a known format");
        }
    } catch (const ReadError& error) {
        result.problem = place_text(shown_name, error.line, error.column) + ": " + error.what();
    }
    return result;
}

}  // namespace wgn::readers
