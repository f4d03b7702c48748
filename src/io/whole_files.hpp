// Small files read or written in one piece.
#pragma once

#include <string>
#include <string_view>

#include "io/platform.hpp"

namespace wgn::io {

// The whole content of an existing file; false (and the system's reason in
// `error`) when it cannot be opened or read.
bool read_whole_file(const platform::ResolvedName& name, std::string& text, int& error);
// Creates the file or replaces its content with `text` in place.
bool write_whole_file(const platform::ResolvedName& name, std::string_view text, int& error);

// Replaces the file whole or not at all: `text` goes to a new file beside it
// (same folder, a name no other writer uses), is flushed to the disk, then
// renamed over the old one.  On failure the old file is untouched, the new
// one removed, and `error` holds the system's reason.
//   out/summary.csv  <- written as out/summary.csv.1234-7.tmp, then renamed
bool replace_whole_file(const platform::ResolvedName& name, std::string_view text, int& error);

}  // namespace wgn::io
