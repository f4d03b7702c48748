// Text of a station list: UTF-8 checked, UTF-16 turned into UTF-8, and
// names folded as a file system that ignores case compares them.
//
//   folded("Ärhus") == folded("ärhus")        folded("ZÜRICH") == "zürich"
//   composed("Zu\u0308rich") == "Z\u00FCrich"  (u + combining diaeresis: ü)
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

// The tables of canonical composition (generated with the case foldings).
struct Decomposition {
    std::uint32_t code, first, second;  // second 0: a single code point
};
struct CombiningClass {
    std::uint32_t code, value;
};
struct Composition {
    std::uint32_t first, second, composite;
};
extern const Decomposition kDecompositions[];
extern const std::size_t kDecompositionCount;
extern const CombiningClass kCombiningClasses[];
extern const std::size_t kCombiningClassCount;
extern const Composition kCompositions[];
extern const std::size_t kCompositionCount;

// Valid UTF-8 text in Unicode normalization form C (canonical composition),
// the form two spellings of one name share; other text as it is.
std::string composed(std::string_view text);

// Every letter of valid UTF-8 text in its simple case folding.
std::string folded(std::string_view text);

// The key under which two station names are one: folded(composed(name)).
std::string name_key(std::string_view name);

}  // namespace wgn::batch
