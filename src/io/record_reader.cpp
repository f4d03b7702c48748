#include "io/record_reader.hpp"

#include <cstring>
#include <memory>

#include "io/platform.hpp"

namespace wgn::io {

namespace {
constexpr std::size_t kChunk = std::size_t{64} * 1024;
}

void RecordReader::attach(platform::Handle handle, bool console) {
    handle_ = handle;
    console_ = console;
    first_record_ = true;
    reset();
}

void RecordReader::reset() {
    at_end_ = false;
    begin_ = end_ = 0;
}

ReadStatus RecordReader::next_filling(std::string_view& record, int& platform_error) {
    for (;;) {
        const char* start = buffer_.get() + begin_;
        const void* newline = end_ > begin_ ? std::memchr(start, '\n', end_ - begin_) : nullptr;
        std::size_t length = 0;
        if (newline != nullptr) {
            length = static_cast<std::size_t>(static_cast<const char*>(newline) - start);
            begin_ += length + 1;
        } else if (at_end_ && end_ > begin_) {
            length = end_ - begin_;  // final line without a line end
            begin_ = end_;
        } else if (at_end_) {
            return ReadStatus::end_of_input;
        } else {
            // Move what is left to the front and read more.
            if (begin_ > 0) {
                std::memmove(buffer_.get(), buffer_.get() + begin_, end_ - begin_);
                end_ -= begin_;
                begin_ = 0;
            }
            if (capacity_ - end_ < kChunk) {
                // A record longer than the buffer: room for another chunk.
                const std::size_t capacity = end_ + kChunk;
                std::unique_ptr<char[]> larger(new char[capacity]);
                if (end_ > 0) std::memcpy(larger.get(), buffer_.get(), end_);
                buffer_ = std::move(larger);
                capacity_ = capacity;
            }
            const std::size_t room = capacity_ - end_;
            const long got = console_ ? platform::read_console_text(handle_, buffer_.get() + end_, room, platform_error)
                                      : platform::read_some(handle_, buffer_.get() + end_, room, platform_error);
            if (got < 0) return ReadStatus::read_error;
            if (got == 0) at_end_ = true;
            end_ += static_cast<std::size_t>(got);
            continue;
        }
        if (length > 0 && start[length - 1] == '\r') --length;
        record = std::string_view(start, length);
        if (console_ && first_record_ && record.substr(0, 3) == "\xEF\xBB\xBF") record.remove_prefix(3);
        first_record_ = false;
        if (console_ && record == "\x1a") return ReadStatus::end_of_input;
        return ReadStatus::ok;
    }
}

}  // namespace wgn::io
