// The random numbers of the check's generator, the same sequence on every
// system for a seed: xoshiro256** (Blackman and Vigna), its state filled by
// splitmix64 from the seed, uniform numbers from its top 53 bits, normal
// numbers by Marsaglia's polar method (no trigonometry, exact_math's log).
//
//   RandomNumbers numbers(42);
//   numbers.uniform()   -> in (0, 1), never 0 or 1
//   numbers.normal()    -> standard normal
#pragma once

#include <array>
#include <cstdint>

namespace wgn::check {

// One step of splitmix64: advances `state` and returns the next number.
std::uint64_t splitmix64(std::uint64_t& state);

class RandomNumbers {
  public:
    explicit RandomNumbers(std::uint64_t seed);
    std::uint64_t next();
    double uniform();
    double normal();

  private:
    std::array<std::uint64_t, 4> state_{};
    double spare_ = 0.0;
    bool has_spare_ = false;
};

}  // namespace wgn::check
