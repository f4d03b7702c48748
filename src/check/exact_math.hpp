// Logarithm and exponential from additions, multiplications and divisions
// alone, so that every system gives the same bits for the same argument (the
// C library's log and exp may differ in the last place between Linux and
// Windows, and a generated series of a thousand years would show it).
//
//   natural_log(1.0) -> 0      natural_log(2.718281828459045) -> 1 (within 1e-15)
//   natural_exp(0.0) -> 1      power(8.0, 1.0 / 3.0) -> 2 (within 1e-15)
#pragma once

namespace wgn::check {

// ln x for x > 0 (finite).
double natural_log(double x);
// e^x, 0 below -745 and infinity above 709.
double natural_exp(double x);
// base^exponent for base > 0.
double power(double base, double exponent);

}  // namespace wgn::check
