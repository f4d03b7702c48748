// Fast paths for the shape that almost every number read has: digits with an
// optional sign and point (and, in a list record, an exponent), nothing else.
// Each accepts only what it can convert exactly as the general readers do and
// returns false for everything else, which then takes the general path:
// repeat counts, separators, quotes, NaN and Infinity, embedded blanks,
// implied points, overlong numbers.
//
//   read_lone_real("  12.5")     -> 12.5f          read_lone_real("-1.5e2") -> -150.0f
//   read_lone_real("12.5 7")     -> false (two values)    read_lone_real("3*1") -> false
//   read_plain_fixed("     -0.01", 2) -> -0.01f    read_plain_fixed("    1 2.34", 2) -> false
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace wgn::io {

// A record that holds one real and nothing else: blanks or tabs, an optional
// sign, digits with an optional point, an optional exponent (E or D, an
// optional sign, digits), and the record's end.  The value is what a
// list-directed read of one real takes from the record.
bool read_lone_real(std::string_view record, float& value);

// An Fw.d input field (the whole w characters) of leading blanks, an
// optional sign, digits, a point and exactly `digits` digits, with at most
// 7 significant digits: the value is exact by one single-precision division.
bool read_plain_fixed(std::string_view field, int digits, float& value);

// Runs of whole records in a buffer of bytes read ahead, each ended by LF or
// CR LF: as many as come in the shape above and fit `values`.  Each value is
// the one the fast path above gives for the record alone.  A run stops before
// the first record of another shape, one without its line end yet, and one
// whose number needs more than one exact operation; `used` receives the
// bytes the run took.
//   "2.5\r\n0\r\n1e3\r\n" -> 2.5f, 0.0f (stops at 1e3, which has an exponent)
std::size_t scan_lone_real_records(std::string_view bytes, std::span<float> values, std::size_t& used);
//   width 12, digits 2: "        2.54\r\n       -0.01\n" -> 2.54f, -0.01f
std::size_t scan_plain_fixed_records(std::string_view bytes, int width, int digits, std::span<float> values,
                                     std::size_t& used);

}  // namespace wgn::io
