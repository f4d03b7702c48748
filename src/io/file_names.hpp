// File names of connections, as text.
//
// A name is taken without its leading and trailing blanks (and without the
// code-0 padding of a name field that was never filled); at most 256 of its
// characters are used.
//
// `full_path` makes a name absolute the POSIX way, by text alone: "." and
// ".." and repeated separators are folded, symbolic links are not followed.
//
//   "  x.txt   " in /home/me      -> "/home/me/x.txt"
//   "./data//../in.txt" in /w     -> "/w/in.txt"
//   "/tmp/a/./b"                  -> "/tmp/a/b"
#pragma once

#include <string>
#include <string_view>

#include "io/platform.hpp"

namespace wgn::io {

inline constexpr std::size_t kMaxFileNameLength = 256;

std::string trimmed_file_name(std::string_view name);

// `directory` must be absolute.
std::string full_path(std::string_view name, std::string_view directory);

// Why a name was refused before any open, for messages of people's own:
// the system's reason when it gave one, else what the refusal means
// ("no such drive" for report 42 of "Q:\out").
std::string name_refusal(const platform::ResolvedName& name);
// Why something failed on `name`: the system's reason for `error` when there
// is one, else name_refusal.
std::string failure_reason(const platform::ResolvedName& name, int error);

}  // namespace wgn::io
