// Numbers as the check writes them: fixed decimals, the same digits on every
// system (std::to_chars, exactly rounded).
//
//   fixed(0.78125, 4) -> "0.7813"    fixed(-0.0, 2) -> "0.00"
#pragma once

#include <string>

namespace wgn::check {

std::string fixed(double value, int decimals);

}  // namespace wgn::check
