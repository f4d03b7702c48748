// The record writer with arbitrary values and widths: bytes 0-3 a float bit
// pattern, 4-7 an integer, 8 the width (1-40), 9 d (0-10), the rest a text.
// Checked: every field exactly w characters; Fw.d equal to the slow exact
// rounding (halves away from zero) on the fast and the general path alike,
// and a field that is not asterisks reads
// back, with the same Fw.d, as the float nearest to its printed decimal.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "exact_decimal.hpp"
#include "io/field_format.hpp"
#include "io/field_reader.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 10) return 0;
    float value = 0.0F;
    std::int32_t integer = 0;
    std::memcpy(&value, data, 4);
    std::memcpy(&integer, data + 4, 4);
    const int width = 1 + data[8] % 40;
    const int digits = data[9] % 11;
    const std::string_view text(reinterpret_cast<const char*>(data + 10), size - 10);
    const auto w = static_cast<std::size_t>(width);

    std::string field;
    wgn::io::append_text_field(field, text, width);
    const std::string expected_text =
        text.size() >= w ? std::string(text.substr(0, w)) : std::string(w - text.size(), ' ') + std::string(text);
    if (field != expected_text) std::abort();

    field.clear();
    wgn::io::append_integer_field(field, integer, width);
    const std::string digits_text = std::to_string(integer);
    const std::string expected_integer =
        digits_text.size() > w ? std::string(w, '*') : std::string(w - digits_text.size(), ' ') + digits_text;
    if (field != expected_integer) std::abort();

    field.clear();
    wgn::io::append_real_field(field, value, width, digits);
    if (field.size() != w) std::abort();
    if (field != wgn::exact::fixed_field(value, width, digits)) std::abort();
    std::string general;
    wgn::io::append_real_field_general(general, value, width, digits);
    if (general != field) std::abort();
    if (!std::isfinite(value) || field[0] == '*') return 0;

    float back = 0.0F;
    if (wgn::io::read_real_field(field, 0, width, digits, back) != wgn::io::ReadStatus::ok) std::abort();
    const std::string printed = field.substr(field.find_first_not_of(' '));
    const auto expected = printed == "." ? std::optional<float>(0.0F) : wgn::exact::nearest_float(printed, digits);
    if (!expected || std::memcmp(&*expected, &back, sizeof back) != 0) std::abort();
    return 0;
}
