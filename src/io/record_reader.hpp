// Splits the bytes of an open file or console stream into input records.
//
// A record ends at an LF; a CR directly before it is not part of the record.
// A final line without a line end is a record too (so a file saved without
// its last newline does not lose its last day).  On the console a record that
// is exactly the character 26 (Ctrl-Z) is the end of input.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "io/platform.hpp"
#include "io/read_status.hpp"

namespace wgn::io {

class RecordReader {
  public:
    void attach(platform::Handle handle, bool console);
    // Forgets everything buffered (after the file was repositioned).
    void reset();
    // The next record; valid until the next call.  On read_error the
    // platform's reason is left in `platform_error`.
    ReadStatus next(std::string_view& record, int& platform_error);
    // Bytes read from the descriptor but not yet handed out as records.
    std::size_t unread_bytes() const { return end_ - begin_; }

  private:
    platform::Handle handle_ = platform::kNoHandle;
    bool console_ = false;
    bool at_end_ = false;
    std::vector<char> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
};

}  // namespace wgn::io
