// Small files read or written in one piece.
#pragma once

#include <string>
#include <string_view>

#include "io/platform.hpp"

namespace wgn::batch {

// The whole content of an existing file; false (and the system's reason in
// `error`) when it cannot be opened or read.
bool read_whole_file(const io::platform::ResolvedName& name, std::string& text, int& error);
// Creates the file or replaces its content with `text`.
bool write_whole_file(const io::platform::ResolvedName& name, std::string_view text, int& error);

}  // namespace wgn::batch
