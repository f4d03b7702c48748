#include "readers/fixed_fields.hpp"

namespace wgn::readers {

std::optional<std::string_view> fixed_field(std::string_view line, std::size_t start, std::size_t width) {
    if (start > line.size() || line.size() - start < width) return std::nullopt;
    return line.substr(start, width);
}

}  // namespace wgn::readers
