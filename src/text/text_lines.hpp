// The lines of a text, numbered from 1, without their LF or CR LF ends; a
// UTF-8 byte order mark at the start is skipped.
//
//   TextLines("\xEF\xBB\xBFa\r\nb")  -> "a" (line 1), "b" (line 2), end
//   split_fields(" 1991  1\t0.5")           -> {"1991", "1", "0.5"}
//   split_fields("12.5,3.0 x", " \t,", 2)   -> {"12.5", "3.0"}
#pragma once

#include <string_view>
#include <vector>

namespace wgn::text {

class TextLines {
  public:
    explicit TextLines(std::string_view text);
    // The next line into `line`; false at the end of the text.
    bool next(std::string_view& line);
    int number() const { return number_; }
    // The text after the last line read.
    std::string_view rest() const { return rest_; }

  private:
    std::string_view rest_;
    int number_ = 0;
};

// The fields of a line between any of `separators`, at most `most`.
std::vector<std::string_view> split_fields(std::string_view line, std::string_view separators = " \t",
                                           std::size_t most = std::string_view::npos);

}  // namespace wgn::text
