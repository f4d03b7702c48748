#include "batch/station_status.hpp"

#include <array>
#include <utility>

namespace wgn::batch {
namespace {

// The kinds that are told by their name alone.
constexpr std::array<std::pair<StatusKind, std::string_view>, 8> kNamed = {{
    {StatusKind::ok, "ok"},
    {StatusKind::not_started, "not started"},
    {StatusKind::no_report, "no report"},
    {StatusKind::bad_file, "bad file"},
    {StatusKind::interrupted, "interrupted"},
    {StatusKind::not_written, "not written"},
    {StatusKind::not_run, "not run"},
    {StatusKind::warnings, "warnings"},
}};

}  // namespace

std::string StationStatus::summary() const {
    if (kind == StatusKind::report || kind == StatusKind::exit) return code;
    for (const auto& [named, text] : kNamed) {
        if (named == kind) return std::string(text);
    }
    return {};
}

StationStatus status_named(std::string_view summary) {
    if (summary.empty()) return {};
    for (const auto& [kind, text] : kNamed) {
        if (text == summary) return {kind, {}};
    }
    if (summary.substr(0, 7) == "signal ") return {StatusKind::exit, std::string(summary)};
    return {StatusKind::report, std::string(summary)};
}

}  // namespace wgn::batch
