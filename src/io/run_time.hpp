// Start and end of a run.
#pragma once

namespace wgn::io {

// Before the first statement of the program: missing standard streams
// replaced by the null device, round-to-nearest arithmetic with every floating-point
// exception masked, the console-interrupt handlers, and an allocation failure
// turned into its report.
void start_run();

// After the last statement: closes every unit still connected and ends the
// process with status 0.
[[noreturn]] void finish_run();

}  // namespace wgn::io
