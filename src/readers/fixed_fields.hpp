// Fields of fixed width in a line, counted in characters from 0, as the
// SWAT 2012 station files and other Fortran-written records lay them out.
//
//   fixed_field("2001001  1.5 -99.0", 7, 5)  -> "  1.5"
//   fixed_field("2001001  1.5", 12, 5)       -> nothing (the line ends before the field does)
//   fixed_field("2001001", 7, 0)             -> ""
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace wgn::readers {

// The `width` characters from `start`, as written (blanks kept); nothing
// when the line is too short to hold all of them.
std::optional<std::string_view> fixed_field(std::string_view line, std::size_t start, std::size_t width);

}  // namespace wgn::readers
