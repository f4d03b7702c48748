// UTF-8 and UTF-16 text, one code point at a time.
//
//   decode_utf8("é", 0, length) -> 0xE9, length 2      decode_utf8("\xE9", 0, length) -> length 0
//   append_utf8(0x20AC, out)    -> out += "€"
//   utf16_as_utf8("\xFF\xFEZ\0") -> "Z"  (a byte order mark, then UTF-16 LE)
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace wgn::text {

// The code point that starts at `at` and its length in bytes; length 0 for
// bytes that are not valid UTF-8 (overlong forms and surrogates included).
std::uint32_t decode_utf8(std::string_view text, std::size_t at, std::size_t& length);

// The code point written as UTF-8 at the end of `out`.
void append_utf8(std::uint32_t code, std::string& out);

// The offset of the first byte that is not part of valid UTF-8, or nothing.
std::optional<std::size_t> first_invalid_utf8(std::string_view text);

// A text that starts with a UTF-16 byte order mark, as UTF-8; nothing when the
// text has no such mark.  Unpaired surrogates become U+FFFD.
std::optional<std::string> utf16_as_utf8(std::string_view bytes);

}  // namespace wgn::text
