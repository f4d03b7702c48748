#include "text/csv_writing.hpp"

namespace wgn::text {

std::string csv_field(std::string_view value) {
    if (value.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(value);
    std::string quoted = "\"";
    for (const char c : value) {
        if (c == '"') quoted.push_back('"');
        quoted.push_back(c);
    }
    quoted.push_back('"');
    return quoted;
}

std::string csv_line(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) line.push_back(',');
        line.append(csv_field(fields[i]));
    }
    line.append("\r\n");
    return line;
}

}  // namespace wgn::text
