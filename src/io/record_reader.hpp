// Splits the bytes of an open file or console stream into input records.
//
// A record ends at an LF; a CR directly before it is not part of the record.
// A final line without a line end is a record too (so a file saved without
// its last newline does not lose its last day).  On the console a record that
// is exactly the character 26 (Ctrl-Z) is the end of input, and a byte order
// mark that editors put before the first line of an answers file (UTF-8:
// EF BB BF) is no part of the first answer.
#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

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
    ReadStatus next(std::string_view& record, int& platform_error) {
        // The usual case: a whole line waits in the buffer of a file.
        if (begin_ < end_ && !console_) {
            const char* start = buffer_.get() + begin_;
            const void* newline = std::memchr(start, '\n', end_ - begin_);
            if (newline != nullptr) {
                std::size_t length = static_cast<std::size_t>(static_cast<const char*>(newline) - start);
                begin_ += length + 1;
                if (length > 0 && start[length - 1] == '\r') --length;
                record = std::string_view(start, length);
                return ReadStatus::ok;
            }
        }
        return next_filling(record, platform_error);
    }
    // Bytes read from the descriptor but not yet handed out as records.
    std::size_t unread_bytes() const { return end_ - begin_; }
    // The same bytes, for readers that take many whole records at once;
    // `consume` hands out the first `bytes` of them as taken.
    std::string_view ahead() const { return {buffer_.get() + begin_, end_ - begin_}; }
    void consume(std::size_t bytes) { begin_ += bytes; }

  private:
    ReadStatus next_filling(std::string_view& record, int& platform_error);

    platform::Handle handle_ = platform::kNoHandle;
    bool console_ = false;
    bool at_end_ = false;
    bool first_record_ = true;
    std::unique_ptr<char[]> buffer_;  // not cleared: only bytes read are looked at
    std::size_t capacity_ = 0;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
};

}  // namespace wgn::io
