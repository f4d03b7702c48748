// How a station of a batch ended, as the tables, the page and run.txt show
// it: a kind, and for a failed run the number of its failure report or how
// it exited.
//
//   {ok}                   -> "ok"
//   {report, "24"}         -> "24"          (wgnrain's failure report number; "M6201", "200")
//   {exit, "signal 9"}     -> "signal 9"    (how a run without a report ended; "3", "C0000005")
//   {not_started, ...}     -> "not started" (the folder, its files or the run could not be made)
//   {not_written}          -> "not written" (the run succeeded; a file made from it could not be written)
//   status_named("M6201")  -> {report, "M6201"}
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace wgn::batch {

enum class StatusKind : std::uint8_t {
    none,         // nothing known yet (a run not ended, a failure without a report number)
    ok,           // a complete report
    report,       // wgnrain's failure report, by its number
    exit,         // a failed run without a report number, by its exit
    not_started,  // wgnrain could not be run
    no_report,    // wgnrain ended well but left no complete report
    bad_file,     // the station's files could not be read as a series or record
    interrupted,  // the run was cut short by an interruption
    not_written,  // a file made from a successful run could not be written
    not_run,      // the batch did not reach the station
    warnings,     // --strict: a run with warnings
};

struct StationStatus {
    StatusKind kind = StatusKind::none;
    std::string code;  // report: its number; exit: the exit text

    // The text of the tables, the page and run.txt; empty for none.
    std::string summary() const;
    bool is(StatusKind other) const { return kind == other; }
    // A failure report of this number.
    bool is_report(std::string_view number) const { return kind == StatusKind::report && code == number; }
    bool operator==(const StationStatus&) const = default;
};

// The status a summary text tells (as run.txt keeps it).  A number is taken
// for a failure report: an exit status reads the same.
StationStatus status_named(std::string_view summary);

}  // namespace wgn::batch
