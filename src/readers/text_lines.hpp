// The lines of a text, numbered from 1, without their LF or CR LF ends.
#pragma once

#include <string_view>
#include <vector>

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

// The fields of a line between any of `separators`, at most `most`:
//   split_fields(" 1991  1\t0.5")           -> {"1991", "1", "0.5"}
//   split_fields("12.5,3.0 x", " \t,", 2)   -> {"12.5", "3.0"}
inline std::vector<std::string_view> split_fields(std::string_view line, std::string_view separators = " \t",
                                                  std::size_t most = std::string_view::npos) {
    std::vector<std::string_view> fields;
    std::size_t at = 0;
    while (fields.size() < most && (at = line.find_first_not_of(separators, at)) != std::string_view::npos) {
        const std::size_t end = line.find_first_of(separators, at);
        fields.push_back(line.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at));
        at = end;
    }
    return fields;
}

}  // namespace wgn::readers
