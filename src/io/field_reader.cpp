#include "io/field_reader.hpp"

#include <string>

#include "io/decimal_text.hpp"
#include "io/plain_numbers.hpp"

namespace wgn::io {
namespace {

// A field of a point alone is zero: it is what F1.0 writes for zero, whose
// leading 0 has no room.
ReadStatus convert(std::string_view text, int digits, float& value) {
    if (text == "." || text == "+." || text == "-.") {
        value = text[0] == '-' ? -0.0F : 0.0F;
        return ReadStatus::ok;
    }
    return parse_real_implied(text, digits, value) ? ReadStatus::ok : ReadStatus::conversion_error;
}

}  // namespace

ReadStatus read_real_field(std::string_view record, std::size_t start, int width, int digits, float& value) {
    const auto size = static_cast<std::size_t>(width);
    if (start + size <= record.size() && read_plain_fixed(record.substr(start, size), digits, value)) {
        return ReadStatus::ok;
    }
    return read_real_field_general(record, start, width, digits, value);
}

ReadStatus read_real_field_general(std::string_view record, std::size_t start, int width, int digits, float& value) {
    std::string_view field;
    if (start < record.size()) field = record.substr(start, static_cast<std::size_t>(width));
    // The usual field is blanks, then the number: no copy needed.
    const std::size_t first = field.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        value = 0.0F;
        return ReadStatus::ok;
    }
    field.remove_prefix(first);
    if (field.find(' ') == std::string_view::npos) return convert(field, digits, value);

    // Blanks inside the field are ignored: gather the other characters.
    char compact[64];
    std::string longer;
    std::size_t length = 0;
    for (const char c : field) {
        if (c == ' ') continue;
        if (length < sizeof compact)
            compact[length] = c;
        else {
            if (longer.empty()) longer.assign(compact, sizeof compact);
            longer.push_back(c);
        }
        ++length;
    }
    if (length == 0) {
        value = 0.0F;
        return ReadStatus::ok;
    }
    return convert(longer.empty() ? std::string_view(compact, length) : std::string_view(longer), digits, value);
}

}  // namespace wgn::io
