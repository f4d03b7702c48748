// Every one of the 2^32 float bit patterns through every real field the
// program writes (F12.2, F12.4, F10.2, F8.2, F15.2), compared with an
// independent formatter, and the F12.2 write -> read-back round trip that
// the month files rely on.  The fields are made and read as the program
// makes and reads them, fast paths included.  Opt-in: it takes a while.
//
//   exhaustive [THREADS [FIRST_BLOCK LAST_BLOCK]]
//
// (blocks of 2^20 patterns, 0 ... 4096; a part of the range for a quick look)
//
// The independent formatter: the C library's printf, which prints the exact
// binary value correctly rounded with ties to even, plus the one case where
// that differs from rounding halves away from zero.  A float m * 2^e (m odd,
// e < 0) has exactly -e decimal places ending in 5, so it lies exactly halfway
// at d places only when -e == d + 1; then its d + 1 places are printed exactly
// and rounded away from zero by hand.  Patterns outside printf's useful range
// are decided by reasoning: below 2^-30 every field shows a rounded zero;
// from 2^40 (> 10^12) on no field has room, so all show asterisks.
//
// Also counts the values in the narrow zone where a value below one unit of
// the last digit lies within 1/65536 of a unit below one half of it.
#include <algorithm>
#include <atomic>
#include <bit>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "io/field_format.hpp"
#include "io/field_reader.hpp"
#include "io/plain_numbers.hpp"

namespace {

struct Field {
    int width;
    int digits;
};
constexpr Field kFields[] = {{12, 2}, {12, 4}, {10, 2}, {8, 2}, {15, 2}};

// Adds one unit in the last place to a string of decimal digits.
void increment(std::string& digits) {
    for (std::size_t i = digits.size(); i-- > 0;) {
        if (digits[i] == '.') continue;
        if (digits[i] != '9') {
            ++digits[i];
            return;
        }
        digits[i] = '0';
    }
    digits.insert(0, 1, '1');
}

std::string expected_field(float value, int width, int digits) {
    const std::string stars(static_cast<std::size_t>(width), '*');
    if (std::isnan(value) || std::isinf(value)) {
        std::string word = std::isnan(value) ? "NaN" : (value < 0 ? "-Infinity" : "Infinity");
        if (static_cast<int>(word.size()) + 1 > width) return stars;
        word.insert(0, 1, ' ');
        word.resize(static_cast<std::size_t>(width), ' ');
        return word;
    }
    const float magnitude = std::fabs(value);
    std::string text;  // the rounded magnitude
    if (magnitude >= 0x1p40F) return stars;
    if (magnitude < 0x1p-30F) {
        text = "0." + std::string(static_cast<std::size_t>(digits), '0');
    } else {
        const std::uint32_t bits = std::bit_cast<std::uint32_t>(magnitude);
        std::uint32_t m = (bits & 0x7FFFFF) | 0x800000;
        int e = static_cast<int>(bits >> 23) - 150;
        while ((m & 1) == 0) {
            m >>= 1;
            ++e;
        }
        char buffer[64];
        if (-e == digits + 1) {  // exactly halfway: round away from zero
            std::snprintf(buffer, sizeof buffer, "%.*f", digits + 1, static_cast<double>(magnitude));
            text = buffer;
            text.pop_back();
            if (text.back() == '.') text.pop_back();
            increment(text);
            if (digits == 0) text += ".";
        } else {
            std::snprintf(buffer, sizeof buffer, "%.*f", digits, static_cast<double>(magnitude));
            text = buffer;
            if (digits == 0) text += ".";
        }
    }
    const bool zero = text.find_first_not_of("0.") == std::string::npos;
    if (value < 0 && !zero) text.insert(0, 1, '-');
    if (static_cast<int>(text.size()) > width) {
        const std::size_t zero_at = text[0] == '-' ? 1 : 0;
        if (text.compare(zero_at, 2, "0.") == 0) text.erase(zero_at, 1);
    }
    if (static_cast<int>(text.size()) > width) return stars;
    return std::string(static_cast<std::size_t>(width) - text.size(), ' ') + text;
}

struct Tally {
    std::uint64_t checked = 0;
    std::uint64_t differences = 0;
    std::uint64_t round_trip_differences = 0;
    std::uint64_t narrow_zone[2] = {0, 0};  // d = 2, d = 4
};

std::mutex report_mutex;

void check_range(std::uint64_t first, std::uint64_t last, Tally& tally, std::atomic<std::uint64_t>& done) {
    std::string field;
    for (std::uint64_t pattern = first; pattern < last; ++pattern) {
        const float value = std::bit_cast<float>(static_cast<std::uint32_t>(pattern));
        for (const Field& f : kFields) {
            field.clear();
            wgn::io::append_real_field(field, value, f.width, f.digits);
            if (field != expected_field(value, f.width, f.digits)) {
                ++tally.differences;
                const std::lock_guard<std::mutex> lock(report_mutex);
                std::fprintf(stderr, "\ndifference: %08llx F%d.%d program \"%s\" expected \"%s\"\n",
                             static_cast<unsigned long long>(pattern), f.width, f.digits, field.c_str(),
                             expected_field(value, f.width, f.digits).c_str());
            }
        }
        // The month files: F12.2 written, read back, must be the float nearest
        // to the printed decimal (the C library's correctly rounded strtof).
        field.clear();
        wgn::io::append_real_field(field, value, 12, 2);
        if (std::isfinite(value) && field[0] != '*') {
            float back = 0.0F;
            const float expected = std::strtof(field.c_str(), nullptr);
            if (wgn::io::read_real_field(field, 0, 12, 2, back) != wgn::io::ReadStatus::ok ||
                std::memcmp(&back, &expected, sizeof back) != 0)
                ++tally.round_trip_differences;
            // ... and as the month files are read: a run of records.
            const std::string record = field + "\r\n";
            float run[1];
            std::size_t used = 0;
            if (wgn::io::scan_plain_fixed_records(record, 12, 2, run, used) == 1 &&
                std::memcmp(&run[0], &expected, sizeof expected) != 0)
                ++tally.round_trip_differences;
        }
        const double magnitude = std::fabs(static_cast<double>(value));
        for (int i = 0; i < 2; ++i) {
            const double scaled = magnitude * (i == 0 ? 1e2 : 1e4);
            if (scaled > 0 && scaled < 0.5 && scaled >= 0.5 - 1.0 / 65536) ++tally.narrow_zone[i];
        }
        ++tally.checked;
        if ((pattern & 0xFFFFF) == 0xFFFFF) done += 0x100000;
    }
}

}  // namespace

int main(int argc, char** argv) {
    const unsigned threads = argc > 1 ? static_cast<unsigned>(std::atoi(argv[1])) : std::thread::hardware_concurrency();
    constexpr std::uint64_t kBlock = std::uint64_t{1} << 20;
    const std::uint64_t first_block = argc > 3 ? std::strtoull(argv[2], nullptr, 0) : 0;
    const std::uint64_t last_block = argc > 3 ? std::strtoull(argv[3], nullptr, 0) : 4096;
    const std::uint64_t kAll = (last_block - first_block) * kBlock;
    std::vector<Tally> tallies(threads);
    std::vector<std::thread> workers;
    std::atomic<std::uint64_t> done{0};
    const auto start = std::chrono::steady_clock::now();
    // Blocks handed out one at a time, so every thread gets a share of the slow ranges.
    std::atomic<std::uint64_t> next_block{first_block};
    for (unsigned t = 0; t < threads; ++t) {
        workers.emplace_back([&, t] {
            for (;;) {
                const std::uint64_t block = next_block++;
                if (block >= last_block) return;
                check_range(block * kBlock, (block + 1) * kBlock, tallies[t], done);
            }
        });
    }
    for (int tick = 1; done.load() < kAll; ++tick) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (tick % 100 != 0 && done.load() < kAll) continue;
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::fprintf(stderr, "\r%6.2f%% of the patterns, %.0f s", 100.0 * static_cast<double>(done.load()) / kAll,
                     seconds);
    }
    for (auto& worker : workers) worker.join();
    Tally total;
    for (const Tally& t : tallies) {
        total.checked += t.checked;
        total.differences += t.differences;
        total.round_trip_differences += t.round_trip_differences;
        total.narrow_zone[0] += t.narrow_zone[0];
        total.narrow_zone[1] += t.narrow_zone[1];
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("\npatterns checked: %llu, fields compared: %llu, differences: %llu\n",
                static_cast<unsigned long long>(total.checked), static_cast<unsigned long long>(total.checked * 5),
                static_cast<unsigned long long>(total.differences));
    std::printf("F12.2 write -> read-back differences: %llu\n",
                static_cast<unsigned long long>(total.round_trip_differences));
    std::printf(
        "narrow zone (below one unit, within 1/65536 under one half): d=2: %llu values, d=4: %llu values; "
        "each compared above with its rounded zero\n",
        static_cast<unsigned long long>(total.narrow_zone[0]), static_cast<unsigned long long>(total.narrow_zone[1]));
    std::printf("time: %.0f s on %u threads\n", seconds, threads);
    return total.differences == 0 && total.round_trip_differences == 0 ? 0 : 1;
}
