// The lines of a text, numbered from 1, without their LF or CR LF ends.
#pragma once

#include <string_view>

namespace wgn::readers {

class TextLines {
  public:
    explicit TextLines(std::string_view text) : rest_(text) {
        if (rest_.substr(0, 3) == "\xEF\xBB\xBF") rest_.remove_prefix(3);
    }
    // The next line into `line`; false at the end of the text.
    bool next(std::string_view& line) {
        if (rest_.empty()) return false;
        const std::size_t end = rest_.find('\n');
        line = rest_.substr(0, end);
        rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        ++number_;
        return true;
    }
    int number() const { return number_; }

  private:
    std::string_view rest_;
    int number_ = 0;
};

}  // namespace wgn::readers
