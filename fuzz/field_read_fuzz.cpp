// The Fw.d field reader on arbitrary fields: byte 0 gives w (1-40), byte 1
// gives d (0-10), the rest is the record.  Checked against the slow exact
// path: the same fields accepted, and the float nearest to the number; the
// reader's fast path and its general path agree on every field, and on the
// same bytes read as a run of records.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "exact_decimal.hpp"
#include "io/field_reader.hpp"
#include "io/plain_numbers.hpp"

namespace {

bool equals_ignoring_case(const std::string& text, const char* word) {
    if (text.size() != std::strlen(word)) return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != word[i]) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const int width = 1 + data[0] % 40;
    const int digits = data[1] % 11;
    // The record in a block of its own size: reading past it is caught.
    const std::size_t length = size - 2;
    auto* block = static_cast<char*>(std::malloc(length == 0 ? 1 : length));
    std::memcpy(block, data + 2, length);
    const std::string_view record(block, length);

    float value = 0.0F;
    const wgn::io::ReadStatus status = wgn::io::read_real_field(record, 0, width, digits, value);
    float general = 0.0F;
    if (wgn::io::read_real_field_general(record, 0, width, digits, general) != status) std::abort();
    if (status == wgn::io::ReadStatus::ok && std::memcmp(&general, &value, sizeof value) != 0) std::abort();

    // The same bytes as a run of records of the field's width: each value
    // taken is that record's field, read alone.
    float run[16];
    std::size_t used = 0;
    const std::size_t count = wgn::io::scan_plain_fixed_records(record, width, digits, run, used);
    std::string_view rest = record;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string_view line = rest.substr(0, rest.find('\n'));
        float alone = 0.0F;
        if (wgn::io::read_real_field_general(line, 0, width, digits, alone) != wgn::io::ReadStatus::ok ||
            std::memcmp(&alone, &run[i], sizeof alone) != 0)
            std::abort();
        rest.remove_prefix(line.size() + 1);
    }
    if (rest.size() != record.size() - used) std::abort();

    std::string compact;
    for (const char c : record.substr(0, static_cast<std::size_t>(width)))
        if (c != ' ') compact.push_back(c);
    std::free(block);

    std::string word = compact;
    if (!word.empty() && (word[0] == '+' || word[0] == '-')) word.erase(0, 1);
    if (equals_ignoring_case(compact, "nan") || equals_ignoring_case(word, "infinity")) {
        if (status != wgn::io::ReadStatus::ok) std::abort();
        return 0;
    }
    // A blank field is zero, and so is a point alone (what F1.0 writes for zero).
    const bool zero = compact.empty() || compact == "." || compact == "+.";
    const auto expected = zero              ? std::optional<float>(0.0F)
                          : compact == "-." ? std::optional<float>(-0.0F)
                                            : wgn::exact::nearest_float(compact, digits);
    if (expected.has_value() != (status == wgn::io::ReadStatus::ok)) std::abort();
    if (expected && std::memcmp(&*expected, &value, sizeof value) != 0) std::abort();
    return 0;
}
