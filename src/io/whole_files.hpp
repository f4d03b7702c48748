// Small files read or written in one piece.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "io/platform.hpp"

namespace wgn::io {

// The whole content of an existing file; false (and the system's reason in
// `error`) when it cannot be opened or read.
bool read_whole_file(const platform::ResolvedName& name, std::string& text, int& error);
// The largest input file read whole: a station file, or another file a list names.
inline constexpr std::int64_t kLargestInputFile = std::int64_t{1} << 30;
// Why `name` cannot be read whole as an input file, or empty: it must be a
// regular file of at least one byte and at most kLargestInputFile, never a
// named pipe or device that might give bytes without end, or none ever.
//   "no file /d/x.txt", "/d is a folder", "/dev/zero is a device, not a file"
std::string input_file_problem(const platform::ResolvedName& name);
// Creates the file or replaces its content with `text` in place.
bool write_whole_file(const platform::ResolvedName& name, std::string_view text, int& error);

// A file replaced whole or not at all, written piece by piece: the pieces go
// to a new file beside it (same folder, a name no other writer uses); commit()
// puts that on the disk and renames it over the old file.  A file never
// committed is removed, and the old one stays as it was.
class ReplacingFile {
  public:
    ReplacingFile() = default;
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;
    ~ReplacingFile() { abandon(); }

    // False (and the system's reason) when the new file cannot be created.
    bool open(const platform::ResolvedName& name, int& error);
    bool append(std::string_view text, int& error);
    // `durable`: flushed to the disk before the rename.
    bool commit(int& error, bool durable = true);
    void abandon();

  private:
    bool flush(int& error);
    platform::ResolvedName target_, scratch_;
    platform::Handle handle_ = platform::kNoHandle;
    std::string buffer_;
};

// Replaces the file whole or not at all: `text` goes to a new file beside it
// (same folder, a name no other writer uses), is flushed to the disk, then
// renamed over the old one.  On failure the old file is untouched, the new
// one removed, and `error` holds the system's reason.
//   out/summary.csv  <- written as out/summary.csv.1234-7.tmp, then renamed
bool replace_whole_file(const platform::ResolvedName& name, std::string_view text, int& error, bool durable = true);

// The scratch name of `name` in the same folder, at most 21 characters longer:
//   "out/summary.csv" -> "out/summary.csv.3f2a-7.tmp"   (process 3f2a, its 7th scratch file)
std::string scratch_name_beside(std::string_view name);
inline constexpr std::size_t kScratchSuffixLength = 21;
// True for a name scratch_name_beside makes: "summary.csv.3f2a-7.tmp".
bool is_scratch_name(std::string_view name);
// Removes the scratch files a process that was killed left in the folder.
void remove_scratch_files(std::string_view folder);

}  // namespace wgn::io
