#include "io/field_list.hpp"

#include <cctype>
#include <cstdlib>

#include "io/field_format.hpp"

namespace wgn::io {
namespace {

int parse_number(std::string_view text, std::size_t& pos) {
    int value = 0;
    while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos])) != 0)
        value = value * 10 + (text[pos++] - '0');
    return value;
}

void skip_blanks(std::string_view text, std::size_t& pos) {
    while (pos < text.size() && text[pos] == ' ') ++pos;
}

}  // namespace

FieldList::FieldList(std::string_view text) {
    std::size_t pos = 0;
    skip_blanks(text, pos);
    if (pos >= text.size() || text[pos++] != '(') std::abort();
    for (;;) {
        skip_blanks(text, pos);
        int repeat = 1;
        if (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos])) != 0)
            repeat = parse_number(text, pos);
        if (pos >= text.size()) std::abort();
        FieldCode code;
        code.kind = static_cast<char>(std::toupper(static_cast<unsigned char>(text[pos++])));
        if (code.kind != 'A' && code.kind != 'I' && code.kind != 'F') std::abort();
        code.width = parse_number(text, pos);
        if (code.kind == 'F') {
            if (pos >= text.size() || text[pos++] != '.') std::abort();
            code.digits = parse_number(text, pos);
            if (code.digits > kMaxFractionDigits) std::abort();
        }
        if (code.width <= 0 || repeat <= 0) std::abort();
        fields_.insert(fields_.end(), static_cast<std::size_t>(repeat), code);
        skip_blanks(text, pos);
        if (pos >= text.size()) std::abort();
        const char separator = text[pos++];
        if (separator == ')') break;
        if (separator != ',') std::abort();
    }
}

void append_fields(std::string& out, const FieldList& list, std::initializer_list<FieldItem> items) {
    const auto& fields = list.fields();
    std::size_t index = 0;
    for (const FieldItem& item : items) {
        if (index >= fields.size()) std::abort();  // every layout has a field per item
        const FieldCode& code = fields[index++];
        if (code.kind == 'A')
            append_text_field(out, std::get<std::string_view>(item), code.width);
        else if (code.kind == 'I')
            append_integer_field(out, std::get<std::int32_t>(item), code.width);
        else
            append_real_field(out, std::get<float>(item), code.width, code.digits);
    }
}

}  // namespace wgn::io
