// Records of a byte buffer for the fuzz targets: split at LF, a CR before the
// LF dropped, a last line without LF kept.  Every record lives in a heap block
// of exactly its own size, so a read past its end is caught by the sanitizer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "io/list_reader.hpp"

namespace wgn::fuzz {

class MemoryRecords final : public io::RecordSource {
  public:
    MemoryRecords(const std::uint8_t* data, std::size_t size) {
        std::size_t start = 0;
        while (start < size) {
            std::size_t end = start;
            while (end < size && data[end] != '\n') ++end;
            std::size_t length = end - start;
            if (length > 0 && end < size && data[end - 1] == '\r') --length;
            if (end == size && length > 0 && data[end - 1] == '\r') --length;
            auto block = std::make_unique<char[]>(length == 0 ? 1 : length);
            for (std::size_t i = 0; i < length; ++i) block[i] = static_cast<char>(data[start + i]);
            records_.emplace_back(std::move(block), length);
            start = end + 1;
        }
    }
    io::ReadStatus next_record(std::string_view& record) override {
        if (next_ == records_.size()) return io::ReadStatus::end_of_input;
        record = std::string_view(records_[next_].first.get(), records_[next_].second);
        ++next_;
        return io::ReadStatus::ok;
    }
    std::size_t consumed() const { return next_; }
    std::string_view record(std::size_t index) const { return {records_[index].first.get(), records_[index].second}; }

  private:
    std::vector<std::pair<std::unique_ptr<char[]>, std::size_t>> records_;
    std::size_t next_ = 0;
};

}  // namespace wgn::fuzz
