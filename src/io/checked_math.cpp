#include "io/checked_math.hpp"

#include <cmath>

#include "io/failure.hpp"

namespace wgn::io {

double checked_sqrt(double value) {
    if (std::isnan(value) || value < 0.0) fail_math_domain("sqrt");
    return std::sqrt(value);
}

}  // namespace wgn::io
