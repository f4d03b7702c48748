#include "check/random_numbers.hpp"

#include <cmath>

#include "check/exact_math.hpp"

namespace wgn::check {
namespace {

std::uint64_t rotate_left(std::uint64_t x, int k) {
    return (x << k) | (x >> (64 - k));
}

}  // namespace

std::uint64_t splitmix64(std::uint64_t& state) {
    state += 0x9E3779B97F4A7C15ULL;
    std::uint64_t z = state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

RandomNumbers::RandomNumbers(std::uint64_t seed) {
    for (std::uint64_t& word : state_) word = splitmix64(seed);
}

std::uint64_t RandomNumbers::next() {
    const std::uint64_t result = rotate_left(state_[1] * 5, 7) * 9;
    const std::uint64_t t = state_[1] << 17;
    state_[2] ^= state_[0];
    state_[3] ^= state_[1];
    state_[1] ^= state_[2];
    state_[0] ^= state_[3];
    state_[2] ^= t;
    state_[3] = rotate_left(state_[3], 45);
    return result;
}

double RandomNumbers::uniform() {
    // The middle of one of 2^53 equal intervals of (0, 1).
    return (static_cast<double>(next() >> 11) + 0.5) * 0x1.0p-53;
}

double RandomNumbers::normal() {
    if (has_spare_) {
        has_spare_ = false;
        return spare_;
    }
    double v1 = 0.0, v2 = 0.0, s = 0.0;
    do {
        v1 = 2.0 * uniform() - 1.0;
        v2 = 2.0 * uniform() - 1.0;
        s = v1 * v1 + v2 * v2;
    } while (s >= 1.0 || s == 0.0);
    const double factor = std::sqrt(-2.0 * natural_log(s) / s);  // sqrt is exact to the bit everywhere
    spare_ = v2 * factor;
    has_spare_ = true;
    return v1 * factor;
}

}  // namespace wgn::check
