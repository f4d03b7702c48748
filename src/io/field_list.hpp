// Field lists of formatted records, written as the program's record layouts
// are written: "(A8, F10.2, 4F12.4, F10.2)".  A repeat count r before a code
// stands for r consecutive fields with that code.
//
// Items take the fields in order, each converted to exactly w characters and
// placed directly after the previous field; fields that no item reaches are not
// written.  Example: (A8, F10.2) with the items "Jan.", 13.5f gives
// "    Jan.     13.50".
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace wgn::io {

struct FieldCode {
    char kind = 'A';  // 'A', 'I' or 'F'
    int width = 0;
    int digits = 0;  // d of Fw.d
};

class FieldList {
  public:
    // The text must be a valid field list; an invalid one is a programming
    // error and stops the program at once.
    explicit FieldList(std::string_view text);

    const std::vector<FieldCode>& fields() const { return fields_; }

  private:
    std::vector<FieldCode> fields_;
};

using FieldItem = std::variant<std::string_view, std::int32_t, float>;

// Appends the fields of the given items to `out` (no record end).
void append_fields(std::string& out, const FieldList& list, std::initializer_list<FieldItem> items);

}  // namespace wgn::io
