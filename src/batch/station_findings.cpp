#include "batch/station_findings.hpp"

#include "batch/program_name.hpp"

namespace wgn::batch {
namespace {

std::string counted(std::size_t count, const char* what) {
    return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

}  // namespace

std::string findings_line(const std::string& station, const StationFindings& findings, const std::string& summary) {
    const std::size_t changes = weather::count_of(findings.model_notes, weather::NoteKind::change);
    const std::size_t notes = weather::count_of(findings.model_notes, weather::NoteKind::note);
    if (changes + notes + findings.refused.size() == 0 && findings.position_problem.empty()) return {};
    std::string counts;
    if (!findings.refused.empty()) counts = counted(findings.refused.size(), "variable") + " refused";
    if (!findings.position_problem.empty()) counts.append(counts.empty() ? "" : ", ").append("no position");
    if (changes > 0) counts.append(counts.empty() ? "" : ", ").append(counted(changes, "model change"));
    if (notes > 0) counts.append(counts.empty() ? "" : ", ").append(counted(notes, "model note"));
    // The notes come worst first; information is never a finding.
    std::string worst = !findings.refused.empty()            ? findings.refused.front()
                        : !findings.position_problem.empty() ? "no position: " + findings.position_problem
                                                             : std::string();
    for (const weather::ModelNote& note : findings.model_notes) {
        if (worst.empty() && note.kind != weather::NoteKind::information) {
            worst = note.text;
            break;
        }
    }
    return std::string(program_name()) + ": " + station + ": " + counts + "; worst: " + worst + "; see " + summary +
           "\n";
}

}  // namespace wgn::batch
