// A number's text, checked once where it is made, so that whatever lays it
// out later (the model files' fixed fields) never meets a text that is not a
// number.  It keeps the characters it was made of, for the tables that show
// them as they are, and the same number written without an exponent, digit
// for digit, for the fields that round it:
//
//   DecimalText::read("64.17")    -> text "64.17",    plain "64.17"
//   DecimalText::read("4.0585e1") -> text "4.0585e1", plain "40.585"
//   DecimalText::read("NaN"), ("1e999"), ("12mm"), ("") -> nothing
//   DecimalText::whole(30)        -> "30"
//   DecimalText{}                 -> no value: text "", empty()
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace wgn::weather {

class DecimalText {
  public:
    DecimalText() = default;  // no value

    // The text when it is a number that can be written without its exponent.
    static std::optional<DecimalText> read(std::string_view text);
    // Digits this program made itself (a mean rounded to two decimals): a
    // text that is not a number here is a fault of the program, and throws
    // std::logic_error rather than pass on as a number.  Empty: no value.
    static DecimalText made(std::string_view digits);
    static DecimalText whole(std::int64_t value);

    bool empty() const { return text_.empty(); }
    // As made: "4.0585e1"; empty for no value.
    const std::string& text() const { return text_; }
    // Without an exponent: "40.585"; empty for no value.
    const std::string& plain() const { return plain_; }

    friend bool operator==(const DecimalText& a, const DecimalText& b) { return a.text_ == b.text_; }
    friend bool operator==(const DecimalText& a, std::string_view b) { return a.text_ == b; }

  private:
    DecimalText(std::string text, std::string plain) : text_(std::move(text)), plain_(std::move(plain)) {}
    std::string text_, plain_;
};

std::ostream& operator<<(std::ostream& out, const DecimalText& value);

}  // namespace wgn::weather
