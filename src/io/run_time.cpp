#include "io/run_time.hpp"

#include <cfloat>
#include <limits>
#include <new>

#include "io/failure.hpp"
#include "io/platform.hpp"

namespace wgn::io {

// The printed digits depend on plain IEEE arithmetic: single and double
// precision numbers, and every intermediate result rounded to its own type
// (no wider x87 registers).  That is what x86-64 and its SSE units give, on
// Linux and on Windows; a platform that does not is refused at compile time
// rather than worked around.
static_assert(std::numeric_limits<float>::is_iec559 && std::numeric_limits<double>::is_iec559);
static_assert(FLT_EVAL_METHOD == 0, "intermediate results must not carry excess precision");

void start_run() {
    platform::secure_standard_streams();
    platform::establish_float_environment();
    platform::install_interrupt_handlers();
    std::set_new_handler([] { fail_insufficient_memory(); });
}

void finish_run() {
    end_run(0);
}

}  // namespace wgn::io
