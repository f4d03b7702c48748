// Text of a station list: UTF-8 checked, UTF-16 turned into UTF-8, and
// names folded as a file system that ignores case compares them.
//
//   folded("Ärhus") == folded("ärhus")        folded("ZÜRICH") == "zürich"
//   first_invalid_utf8("caf\xE9") -> 3       (a Windows code page, not UTF-8)
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace wgn::batch {

struct CaseFold {
    std::uint32_t from, to;
};
extern const CaseFold kCaseFolds[];
extern const std::size_t kCaseFoldCount;

// The offset of the first byte that is not part of valid UTF-8, or nothing.
std::optional<std::size_t> first_invalid_utf8(std::string_view text);

// A text that starts with a UTF-16 byte order mark, as UTF-8; nothing when the
// text has no such mark.  Unpaired surrogates become U+FFFD.
std::optional<std::string> utf16_as_utf8(std::string_view bytes);

// Every letter of valid UTF-8 text in its simple case folding.
std::string folded(std::string_view text);

}  // namespace wgn::batch
