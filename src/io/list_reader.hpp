// List-directed reads: free-form values taken from one or more records.
//
// One read statement fills its items in order:
//  - it starts at the beginning of the next record; records that hold nothing
//    but blanks are passed over;
//  - values are separated by blanks or tabs, by a comma with optional blanks
//    around it, or by the end of a record;
//  - a null value (nothing between two commas, or a comma first) leaves its
//    item unchanged; r*c gives the value c to r items, r* gives r nulls;
//  - a slash ends the read, leaving the remaining items unchanged;
//  - once the items are filled the rest of the record is discarded.
//
//   record "1990 2000", one integer        -> 1990
//   record "  'my data.txt' x", one text   -> "my data.txt" padded with blanks
//   record "data/in.txt", one text         -> "data/in.txt" (a slash inside a
//                                             text value belongs to it)
//   record "/", one text                   -> unchanged, the read ends
//   record "3*7.5", three reals            -> 7.5 7.5 7.5
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "io/read_status.hpp"

namespace wgn::io {

// Supplies the records of one unit, one after another.
class RecordSource {
  public:
    virtual ReadStatus next_record(std::string_view& record) = 0;

  protected:
    ~RecordSource() = default;
};

// A text item of fixed length: the value is stored left-justified and padded
// with blanks, or cut to the length.
struct TextItem {
    std::string* target;
    std::size_t length;
};

using ListItem = std::variant<TextItem, std::int32_t*, float*>;

// Longest unquoted value accepted; a longer one is a syntax error.
inline constexpr std::size_t kMaxUnquotedLength = 2048;

// `rest`, when given, receives what the read left unread of its last record
// (valid until the source's next record).
ReadStatus read_list(RecordSource& source, std::span<const ListItem> items, std::string_view* rest = nullptr);

}  // namespace wgn::io
