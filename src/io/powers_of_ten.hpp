// The powers of ten a 64-bit unsigned number holds, 10^0 to 10^19:
//   kPowersOfTen[3] -> 1000
#pragma once

#include <cstdint>

namespace wgn::io {

inline constexpr std::uint64_t kPowersOfTen[] = {1,
                                                 10,
                                                 100,
                                                 1000,
                                                 10000,
                                                 100000,
                                                 1000000,
                                                 10000000,
                                                 100000000,
                                                 1000000000,
                                                 10000000000,
                                                 100000000000,
                                                 1000000000000,
                                                 10000000000000,
                                                 100000000000000,
                                                 1000000000000000,
                                                 10000000000000000,
                                                 100000000000000000,
                                                 1000000000000000000,
                                                 10000000000000000000ULL};

}  // namespace wgn::io
