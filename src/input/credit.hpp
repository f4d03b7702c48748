// The program's credit lines: one on the console banner, one closing every
// output file.
#pragma once

#include <string_view>

namespace wgn {

inline constexpr std::string_view kConsoleCredit = "wgnrain weather generator inputs";             // 32 characters
inline constexpr std::string_view kFileCredit = "wgnrain: weather generator precipitation input";  // 46 characters

static_assert(kConsoleCredit.size() == 32);
static_assert(kFileCredit.size() == 46);

}  // namespace wgn
