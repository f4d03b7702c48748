#include "text/plain_text.hpp"

#include "text/unicode_text.hpp"

namespace wgn::text {

std::string_view trimmed_ends(std::string_view text) {
    // A loop of its own: find_first_not_of searches its set of two for every
    // character, and this runs for every cell of every file.
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    std::size_t first = 0, end = text.size();
    while (first < end && blank(text[first])) ++first;
    while (end > first && blank(text[end - 1])) --end;
    return text.substr(first, end - first);
}

std::string lower_case(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return result;
}

std::string upper_case(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return result;
}

bool same_letters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

std::string quoted(std::string_view text) {
    std::string result;
    result.reserve(text.size() + 2);
    result.push_back('"');
    result.append(text);
    result.push_back('"');
    return result;
}

std::string shown_cell(std::string_view text) {
    constexpr int kMostCharacters = 40;
    constexpr char kHex[] = "0123456789abcdef";
    std::string shown;
    int characters = 0;
    std::size_t at = 0;
    while (at < text.size() && characters < kMostCharacters) {
        const auto code = static_cast<unsigned char>(text[at]);
        std::size_t length = 0;
        decode_utf8(text, at, length);
        if (code == '\n' || code == '\r' || code == '\t') {
            shown.append(code == '\n' ? "\\n" : code == '\r' ? "\\r" : "\\t");
        } else if (code < 32 || code == 127 || length == 0) {
            shown.append("\\x").push_back(kHex[code >> 4]);
            shown.push_back(kHex[code & 15]);
        } else {
            shown.append(text.substr(at, length));
            at += length;
            ++characters;
            continue;
        }
        ++at;
        ++characters;
    }
    if (at < text.size()) shown.append("...");
    return shown;
}

std::string quoted_cell(std::string_view text) {
    return quoted(shown_cell(text));
}

std::vector<std::string_view> split(std::string_view text, std::string_view between) {
    std::vector<std::string_view> pieces;
    while (!text.empty()) {
        const std::size_t at = text.find(between);
        pieces.push_back(text.substr(0, at));
        text.remove_prefix(at == std::string_view::npos ? text.size() : at + between.size());
    }
    return pieces;
}

}  // namespace wgn::text
