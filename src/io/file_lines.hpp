// A file's lines read a window at a time, for a reader that takes each line
// once and keeps none: the memory it touches is the window (and the longest
// line), not the file.  Each line comes without its LF; a CR before the LF
// stays, and a last line without LF is a line.
//
//   "a\r\nb\n\nc"  -> "a\r", "b", "", "c", end
//   "a\n"          -> "a", end
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

#include "io/platform.hpp"

namespace wgn::io {

class FileLines {
  public:
    // `window`: the bytes read at a time (a line longer than that widens it).
    explicit FileLines(std::size_t window = 65536) : window_(std::max<std::size_t>(window, 1), '\0') {}
    FileLines(const FileLines&) = delete;
    FileLines& operator=(const FileLines&) = delete;
    ~FileLines();

    // False (and the system's reason) when the file cannot be opened.
    bool open(const platform::ResolvedName& name, int& error);
    // The next line into `line`, valid until the next call; false at the end
    // of the file, or when a read fails (error() then holds the reason).
    bool next(std::string_view& line);
    // The system's reason for a failed read; 0 when none failed.
    int error() const { return error_; }

  private:
    platform::Handle handle_ = platform::kNoHandle;
    std::string window_;
    std::size_t begin_ = 0, end_ = 0;  // the bytes read and not yet given as lines
    bool ended_ = false;
    int error_ = 0;
};

}  // namespace wgn::io
