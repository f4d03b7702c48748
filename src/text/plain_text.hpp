// Small ASCII text helpers shared by the readers and the companion programs.
//
//   trimmed("  12.5\t")   -> "12.5"      (blanks and tabs only)
//   lower_case("TMax °C") -> "tmax °C"   (ASCII letters only)
//   same_letters("NaN", "nan") -> true   (ASCII letters without regard to case)
//   quoted("a b")         -> "\"a b\""   (for messages)
//   shown_cell("a\x1b[2Jb") -> "a\\x1b[2Jb"   (a file's text as a message may show it)
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace wgn::text {

// Leading and trailing blanks and tabs removed.
std::string_view trimmed_ends(std::string_view text);
// The same, inline: almost every cell has no blank at either end, which
// two comparisons tell.
inline std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    if (!text.empty() && !blank(text.front()) && !blank(text.back())) return text;
    return trimmed_ends(text);
}
// ASCII letters in lower case; every other byte unchanged.
// The pieces of a text between separators, the last piece up to its end;
// none of an empty text:  ("a | b", " | ") -> {"a", "b"}   ("a  b", " ") -> {"a", "", "b"}
std::vector<std::string_view> split(std::string_view text, std::string_view between);

std::string lower_case(std::string_view text);
// ASCII letters in upper case; every other byte unchanged.
std::string upper_case(std::string_view text);
// Whether the two texts are the same but for the case of ASCII letters:
// lower_case(a) == lower_case(b), without making either.
bool same_letters(std::string_view a, std::string_view b);
// The text between double quotation marks, as messages show a value.
std::string quoted(std::string_view text);

// A cell of a file as a message shows it, so that no file can flood or
// steer the terminal: at most 40 characters, cut ones as "...", control
// characters written \n, \r, \t or \xHH, bytes that are no UTF-8 \xHH.
//   shown_cell("12,5\tmm") -> "12,5\\tmm"     shown_cell(60 x "a") -> 40 x "a" + "..."
std::string shown_cell(std::string_view text);
// The same between double quotation marks: quoted_cell("--") -> "\"--\"".
std::string quoted_cell(std::string_view text);

}  // namespace wgn::text
