// The program's arguments.  A run takes none; the only ones it knows say
// what the program is:
//
//   wgnrain --help      the usage text on standard output, status 0
//   wgnrain --version   "wgnrain 1.0.0" on standard output, status 0
//   wgnrain anything    one line on standard error pointing to --help,
//                       status 2; nothing is read or written
// (Status 1 when standard output cannot take the text.)
#pragma once

#include <span>
#include <string>

namespace wgn {

// Answers the arguments of a start with at least one, and gives the exit status.
int answer_arguments(std::span<const std::string> arguments);

}  // namespace wgn
