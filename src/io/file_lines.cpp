#include "io/file_lines.hpp"

#include <cstring>

namespace wgn::io {

FileLines::~FileLines() {
    if (handle_ != platform::kNoHandle) platform::close_handle(handle_);
}

bool FileLines::open(const platform::ResolvedName& name, int& error) {
    const platform::OpenResult file = platform::open_for_reading(name);
    error = file.error;
    handle_ = file.handle;
    return handle_ != platform::kNoHandle;
}

bool FileLines::next(std::string_view& line) {
    for (;;) {
        // 1. A whole line among the bytes read.
        const char* const from = window_.data() + begin_;
        if (const void* const end = std::memchr(from, '\n', end_ - begin_); end != nullptr) {
            line = std::string_view(from, static_cast<std::size_t>(static_cast<const char*>(end) - from));
            begin_ += line.size() + 1;
            return true;
        }
        // 2. At the end of the file, the bytes after the last LF are its last line.
        if (ended_ || handle_ == platform::kNoHandle) {
            if (begin_ == end_ || error_ != 0) return false;
            line = std::string_view(from, end_ - begin_);
            begin_ = end_;
            return true;
        }
        // 3. Else the unread bytes move to the window's start (the window
        //    doubles when they fill it: a line longer than the window) and
        //    more are read after them.
        std::memmove(window_.data(), from, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
        if (end_ == window_.size()) window_.resize(window_.size() * 2);
        const long got = platform::read_some(handle_, window_.data() + end_, window_.size() - end_, error_);
        if (got < 0) {
            ended_ = true;
            return false;
        }
        if (got == 0) ended_ = true;
        end_ += static_cast<std::size_t>(got);
    }
}

}  // namespace wgn::io
