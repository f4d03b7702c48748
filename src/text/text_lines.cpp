#include "text/text_lines.hpp"

namespace wgn::text {

TextLines::TextLines(std::string_view text) : rest_(text) {
    if (rest_.substr(0, 3) == "\xEF\xBB\xBF") rest_.remove_prefix(3);
}

bool TextLines::next(std::string_view& line) {
    if (rest_.empty()) return false;
    const std::size_t end = rest_.find('\n');
    line = rest_.substr(0, end);
    rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    ++number_;
    return true;
}

std::vector<std::string_view> split_fields(std::string_view line, std::string_view separators, std::size_t most) {
    std::vector<std::string_view> fields;
    std::size_t at = 0;
    while (fields.size() < most && (at = line.find_first_not_of(separators, at)) != std::string_view::npos) {
        const std::size_t end = line.find_first_of(separators, at);
        fields.push_back(line.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at));
        at = end;
    }
    return fields;
}

}  // namespace wgn::text
