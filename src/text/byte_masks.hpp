// Bytes found eight at a time: a word of eight bytes of text (the first the
// lowest) tested for one byte value at once, where a loop byte by byte
// would mispredict at every cell's end.
//
//   bytes_equal(word of "12.5,3.1", ',') -> 0x80 in byte 4, 0 elsewhere
#pragma once

#include <cstdint>

namespace wgn::text {

// The high bit of each byte of `word` that equals `byte`, the others 0: a
// byte of word XOR eight copies of `byte` is 0 exactly there, and
// ((x & 0x7F..) + 0x7F..) | x has the high bit of each byte set exactly
// where that byte is not 0 (no carry crosses a byte).
inline std::uint64_t bytes_equal(std::uint64_t word, char byte) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL, kLows = 0x7F7F7F7F7F7F7F7FULL;
    const std::uint64_t x = word ^ (kOnes * static_cast<unsigned char>(byte));
    return ~(((x & kLows) + kLows) | x) & ~kLows;
}

}  // namespace wgn::text
