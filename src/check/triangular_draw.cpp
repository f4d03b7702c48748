#include "check/triangular_draw.hpp"

#include <cmath>

namespace wgn::check {
namespace {

// The inverse of the triangular distribution's cumulative share at u.
double triangular(double low, double mode, double high, double u) {
    if (high <= low) return mode;
    const double split = (mode - low) / (high - low);
    if (u <= split) return low + std::sqrt(u * (high - low) * (mode - low));
    return high - std::sqrt((1.0 - u) * (high - low) * (high - mode));
}

}  // namespace

double scaled_triangular(double low, double mode, double high, double u) {
    const double draw = triangular(low, mode, high, u) * mode * 3.0 / (low + mode + high);
    if (draw >= 1.0) return 0.99;
    return draw <= 0.0 ? 0.001 : draw;
}

}  // namespace wgn::check
