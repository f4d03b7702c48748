#include "check/exact_math.hpp"

#include <cmath>
#include <limits>

namespace wgn::check {
namespace {

constexpr double kLn2 = 0.6931471805599453094;
constexpr double kSqrtHalf = 0.7071067811865475244;
// ln 2 in two parts (Cody and Waite): k times the first is exact for |k| < 2^11.
constexpr double kLn2High = 6.93147180369123816490e-01, kLn2Low = 1.90821492927058770002e-10;

}  // namespace

double natural_log(double x) {
    // x = m * 2^e with m in [sqrt(1/2), sqrt(2)); ln m = 2 atanh(s), s = (m - 1) / (m + 1), |s| < 0.172.
    int e = 0;
    double m = std::frexp(x, &e);  // exact: m in [0.5, 1)
    if (m < kSqrtHalf) {
        m *= 2.0;
        --e;
    }
    const double s = (m - 1.0) / (m + 1.0);
    const double s2 = s * s;
    double term = s, sum = 0.0;
    for (int k = 1; k < 40; k += 2) {
        sum += term / k;
        term *= s2;
    }
    return 2.0 * sum + e * kLn2;
}

double natural_exp(double x) {
    if (x < -745.0) return 0.0;
    if (x > 709.0) return std::numeric_limits<double>::infinity();
    // x = k ln 2 + r with |r| <= ln 2 / 2; e^r by its series, then scaled by 2^k exactly.
    const double k = std::nearbyint(x / kLn2);
    const double r = (x - k * kLn2High) - k * kLn2Low;
    double term = 1.0, sum = 1.0;
    for (int n = 1; n < 30; ++n) {
        term *= r / n;
        sum += term;
    }
    return std::ldexp(sum, static_cast<int>(k));
}

double power(double base, double exponent) {
    return natural_exp(exponent * natural_log(base));
}

}  // namespace wgn::check
