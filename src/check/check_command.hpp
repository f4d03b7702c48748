// wgnrain-check: reads the tables, writes OUTDIR/audit.csv,
// OUTDIR/generated.csv and OUTDIR/index.html (each whole or not at all), and says on standard error
// how many stations and findings there were.  Exit status 0 when the tables
// were read (findings are results, not failures), 1 when an output cannot be
// written, 2 for a wrong command line or a table that cannot be read.
#pragma once

#include <string>
#include <vector>

namespace wgn::check {

int run_check_command(const std::vector<std::string>& arguments);

}  // namespace wgn::check
