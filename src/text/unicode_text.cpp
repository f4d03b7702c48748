#include "text/unicode_text.hpp"

namespace wgn::text {

void append_utf8(std::uint32_t code, std::string& out) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

std::uint32_t decode_utf8(std::string_view text, std::size_t at, std::size_t& length) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    length = 0;
    if (lead < 0x80) {
        length = 1;
        return lead;
    }
    std::size_t count = 0;
    std::uint32_t code = 0, least = 0;
    if ((lead & 0xE0) == 0xC0) {
        count = 2, code = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        count = 3, code = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        count = 4, code = lead & 0x07, least = 0x10000;
    } else {
        return 0;
    }
    if (at + count > text.size()) return 0;
    for (std::size_t i = 1; i < count; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(at + i) & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    length = count;
    return code;
}

std::optional<std::size_t> first_invalid_utf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        std::size_t length = 0;
        decode_utf8(text, at, length);
        if (length == 0) return at;
        at += length;
    }
    return std::nullopt;
}

std::optional<std::string> utf16_as_utf8(std::string_view bytes) {
    if (bytes.size() < 2) return std::nullopt;
    const auto b0 = static_cast<unsigned char>(bytes[0]), b1 = static_cast<unsigned char>(bytes[1]);
    bool big_endian = false;
    if (b0 == 0xFE && b1 == 0xFF) {
        big_endian = true;
    } else if (!(b0 == 0xFF && b1 == 0xFE)) {
        return std::nullopt;
    }
    const auto unit = [&](std::size_t at) -> std::uint32_t {
        const auto hi = static_cast<unsigned char>(bytes[big_endian ? at : at + 1]);
        const auto lo = static_cast<unsigned char>(bytes[big_endian ? at + 1 : at]);
        return static_cast<std::uint32_t>(hi << 8 | lo);
    };
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t at = 2; at + 1 < bytes.size(); at += 2) {
        std::uint32_t code = unit(at);
        if (code >= 0xD800 && code <= 0xDBFF && at + 3 < bytes.size() && unit(at + 2) >= 0xDC00 &&
            unit(at + 2) <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (unit(at + 2) - 0xDC00);
            at += 2;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = 0xFFFD;
        }
        append_utf8(code, out);
    }
    return out;
}

}  // namespace wgn::text
