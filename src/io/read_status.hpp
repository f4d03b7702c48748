// Outcome of a read from the record layer.  The layer itself never ends the
// run; the unit layer turns a failure into the matching report.
#pragma once

namespace wgn::io {

enum class ReadStatus {
    ok,
    end_of_input,      // end of the file, or Ctrl-Z on the console
    conversion_error,  // a value that cannot be read as its item's kind
    syntax_error,      // malformed list input
    read_error,        // the platform's read failed
};

}  // namespace wgn::io
