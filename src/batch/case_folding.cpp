#include "batch/case_folding.hpp"

#include <algorithm>
#include <utility>
#include <vector>

#include "text/unicode_text.hpp"

namespace wgn::batch {

namespace {

// Hangul syllables are composed by formula: S = SBase + (L * VCount + V) * TCount + T.
constexpr std::uint32_t kSBase = 0xAC00, kLBase = 0x1100, kVBase = 0x1161, kTBase = 0x11A7;
constexpr std::uint32_t kLCount = 19, kVCount = 21, kTCount = 28, kSCount = kLCount * kVCount * kTCount;

std::uint32_t combining_class(std::uint32_t code) {
    const CombiningClass* const end = kCombiningClasses + kCombiningClassCount;
    const CombiningClass* found = std::lower_bound(
        kCombiningClasses, end, code, [](const CombiningClass& c, std::uint32_t value) { return c.code < value; });
    return found != end && found->code == code ? found->value : 0;
}

void decompose(std::uint32_t code, std::vector<std::uint32_t>& out) {
    if (code >= kSBase && code < kSBase + kSCount) {
        const std::uint32_t index = code - kSBase;
        out.push_back(kLBase + index / (kVCount * kTCount));
        out.push_back(kVBase + (index % (kVCount * kTCount)) / kTCount);
        if (index % kTCount != 0) out.push_back(kTBase + index % kTCount);
        return;
    }
    const Decomposition* const end = kDecompositions + kDecompositionCount;
    const Decomposition* found = std::lower_bound(
        kDecompositions, end, code, [](const Decomposition& d, std::uint32_t value) { return d.code < value; });
    if (found == end || found->code != code) {
        out.push_back(code);
        return;
    }
    decompose(found->first, out);
    if (found->second != 0) decompose(found->second, out);
}

// The primary composite of two code points, or 0.
std::uint32_t compose(std::uint32_t first, std::uint32_t second) {
    if (first >= kLBase && first < kLBase + kLCount && second >= kVBase && second < kVBase + kVCount)
        return kSBase + ((first - kLBase) * kVCount + (second - kVBase)) * kTCount;
    if (first >= kSBase && first < kSBase + kSCount && (first - kSBase) % kTCount == 0 && second > kTBase &&
        second < kTBase + kTCount)
        return first + (second - kTBase);
    const Composition* const end = kCompositions + kCompositionCount;
    const Composition* found =
        std::lower_bound(kCompositions, end, std::pair{first, second},
                         [](const Composition& c, std::pair<std::uint32_t, std::uint32_t> p) {
                             return c.first < p.first || (c.first == p.first && c.second < p.second);
                         });
    return found != end && found->first == first && found->second == second ? found->composite : 0;
}

}  // namespace

std::string composed(std::string_view text) {
    if (text::first_invalid_utf8(text)) return std::string(text);
    // 1. Full canonical decomposition.
    std::vector<std::uint32_t> codes;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t length = 0;
        const std::uint32_t code = text::decode_utf8(text, at, length);
        at += length;
        decompose(code, codes);
    }
    // 2. Canonical order: each run of combining marks sorted by class, stably.
    for (std::size_t i = 0; i < codes.size();) {
        std::size_t end = i;
        while (end < codes.size() && combining_class(codes[end]) != 0) ++end;
        std::stable_sort(codes.begin() + static_cast<std::ptrdiff_t>(i),
                         codes.begin() + static_cast<std::ptrdiff_t>(end),
                         [](std::uint32_t a, std::uint32_t b) { return combining_class(a) < combining_class(b); });
        i = end == i ? i + 1 : end;
    }
    // 3. Composition: a mark joins the last starter unless a code point
    //    between them is a starter or has a class as high as its own.
    std::vector<std::uint32_t> joined;
    std::size_t starter = codes.size();  // none yet
    for (const std::uint32_t code : codes) {
        const std::uint32_t own_class = combining_class(code);
        if (starter != codes.size()) {
            const bool adjacent = joined.size() == starter + 1;
            const std::uint32_t last_class = adjacent ? 0 : combining_class(joined.back());
            if (adjacent || (last_class != 0 && last_class < own_class)) {
                if (const std::uint32_t composite = compose(joined[starter], code)) {
                    joined[starter] = composite;
                    continue;
                }
            }
        }
        joined.push_back(code);
        if (own_class == 0) starter = joined.size() - 1;
    }
    std::string out;
    out.reserve(text.size());
    for (const std::uint32_t code : joined) text::append_utf8(code, out);
    return out;
}

std::string name_key(std::string_view name) {
    return folded(composed(name));
}

std::string folded(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    const CaseFold* const end = kCaseFolds + kCaseFoldCount;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t length = 0;
        std::uint32_t code = text::decode_utf8(text, at, length);
        if (length == 0) {
            // Not UTF-8 (the list was refused already): the byte as it is.
            out.push_back(text[at++]);
            continue;
        }
        at += length;
        const CaseFold* fold =
            std::lower_bound(kCaseFolds, end, code, [](const CaseFold& f, std::uint32_t c) { return f.from < c; });
        if (fold != end && fold->from == code) code = fold->to;
        text::append_utf8(code, out);
    }
    return out;
}

}  // namespace wgn::batch
