// Square root with the math library's failure: the root of a negative number
// or of a NaN ends the run with the domain-error report and exit status 3;
// sqrt(-0.0) is -0.0 and sqrt(+inf) is +inf, silently.
#pragma once

namespace wgn::io {

double checked_sqrt(double value);

}  // namespace wgn::io
