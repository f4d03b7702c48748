// Delivers a console event to a run in progress, in-process, for the events
// that Wine cannot send from outside (Ctrl-Break, closing the console,
// logoff, shutdown): a report file with one completed record and a scratch
// file are connected, then the event's own routine runs.
//
//   console_event.exe EVENT      (the system's number of the event)
//
// Afterwards "events.txt" in the working folder must hold exactly the one
// record, and no scratch file may remain.
#include <cstdlib>

#include "io/platform.hpp"
#include "io/run_time.hpp"
#include "io/units.hpp"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    wgn::io::start_run();
    wgn::io::connect(400, "events.txt", "UNKNOWN");
    wgn::io::write_list_record(400, "completed record");
    wgn::io::connect(101, "jan.clm", "SCRATCH");
    wgn::io::write_list_record(101, "scratch record");
    wgn::io::platform::abort_on_console_event(std::atoi(argv[1]));
}
