// Small ASCII text helpers shared by the readers and the companion programs.
//
//   trimmed("  12.5\t")   -> "12.5"      (blanks and tabs only)
//   lower_case("TMax °C") -> "tmax °C"   (ASCII letters only)
//   quoted("a b")         -> "\"a b\""   (for messages)
#pragma once

#include <string>
#include <string_view>

namespace wgn::text {

// Leading and trailing blanks and tabs removed.
std::string_view trimmed(std::string_view text);
// ASCII letters in lower case; every other byte unchanged.
std::string lower_case(std::string_view text);
// The text between double quotation marks, as messages show a value.
std::string quoted(std::string_view text);

}  // namespace wgn::text
