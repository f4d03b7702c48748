// List-directed reads on arbitrary bytes.  The first byte picks the reader:
// even, a file of reals read one item per record as the series reader does;
// odd, the console answers (a text of 255 characters, an integer, a real).
// Checked: no read past a record, texts always 255 characters, and every real
// taken from a record whose first value is a plain number equals the float
// nearest to that number, as the slow exact path computes it.  Where the fast
// path for a record of one lone real accepts the record that a read took its
// value from, it gives the same float, and so does a run of such records
// read straight from the bytes.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "exact_decimal.hpp"
#include "io/list_reader.hpp"
#include "io/plain_numbers.hpp"
#include "memory_records.hpp"

namespace {

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

// The first value of a record as an independent tokenizer sees it, when it is
// a plain number (no repeat count, quote, null or special word).
bool plain_first_value(std::string_view record, std::string_view& token) {
    std::size_t start = 0;
    while (start < record.size() && is_blank(record[start])) ++start;
    std::size_t end = start;
    while (end < record.size() && !is_blank(record[end]) && record[end] != ',' && record[end] != '/') ++end;
    token = record.substr(start, end - start);
    if (token.empty()) return false;
    for (const char c : token)
        if (c == '*' || c == '\'' || c == '"' || c == '(' || c == ')' ||
            std::isalpha(static_cast<unsigned char>(c)) != 0)
            if (c != 'e' && c != 'E' && c != 'd' && c != 'D' && c != 'q' && c != 'Q') return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    wgn::fuzz::MemoryRecords records(data + 1, size - 1);
    if (data[0] % 2 == 0) {
        // A run read straight from the bytes gives each record's lone real.
        const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
        float run[64];
        std::size_t used = 0;
        const std::size_t count = wgn::io::scan_lone_real_records(bytes, run, used);
        std::string_view rest = bytes;
        for (std::size_t i = 0; i < count; ++i) {
            std::string_view record = rest.substr(0, rest.find('\n'));
            rest.remove_prefix(record.size() + 1);
            if (!record.empty() && record.back() == '\r') record.remove_suffix(1);
            float one = 0.0F;
            if (!wgn::io::read_lone_real(record, one) || std::memcmp(&one, &run[i], sizeof one) != 0) std::abort();
        }
        if (rest.size() != bytes.size() - used) std::abort();
        for (;;) {
            float value = 0.0F;
            const wgn::io::ListItem items[] = {&value};
            if (wgn::io::read_list(records, items) != wgn::io::ReadStatus::ok) break;
            float fast = 0.0F;
            if (wgn::io::read_lone_real(records.record(records.consumed() - 1), fast) &&
                std::memcmp(&fast, &value, sizeof value) != 0)
                std::abort();
            std::string_view token;
            if (!plain_first_value(records.record(records.consumed() - 1), token)) continue;
            const auto expected = wgn::exact::nearest_float(token);
            if (!expected) std::abort();  // accepted a value the exact path rejects
            if (std::memcmp(&*expected, &value, sizeof value) != 0) std::abort();
        }
    } else {
        std::string name(255, '\0');
        std::int32_t year = 0;
        float nodata = 0.0F;
        const wgn::io::ListItem text[] = {wgn::io::TextItem{&name, 255}};
        const wgn::io::ListItem integer[] = {&year};
        const wgn::io::ListItem real[] = {&nodata};
        wgn::io::read_list(records, text);
        if (name.size() != 255) std::abort();
        wgn::io::read_list(records, integer);
        wgn::io::read_list(records, real);
    }
    return 0;
}
