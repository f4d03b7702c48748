#include "batch/station_findings.hpp"

namespace wgn::batch {
namespace {

std::string counted(std::size_t count, const char* what) {
    return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

}  // namespace

std::string findings_line(const std::string& station, const StationFindings& findings, const std::string& summary) {
    const std::size_t changes = weather::count_of(findings.model_notes, weather::NoteKind::change);
    const std::size_t notes = weather::count_of(findings.model_notes, weather::NoteKind::note);
    if (changes + notes == 0) return {};
    std::string counts;
    if (changes > 0) counts = counted(changes, "model change");
    if (notes > 0) counts.append(counts.empty() ? "" : ", ").append(counted(notes, "model note"));
    // The notes come worst first; information is never a finding.
    std::string worst;
    for (const weather::ModelNote& note : findings.model_notes) {
        if (note.kind != weather::NoteKind::information) {
            worst = note.text;
            break;
        }
    }
    return "wgnrain-batch: " + station + ": " + counts + "; worst: " + worst + "; see " + summary + "\n";
}

}  // namespace wgn::batch
