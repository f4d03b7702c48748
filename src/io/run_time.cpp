#include "io/run_time.hpp"

#include <new>

#include "io/failure.hpp"
#include "io/platform.hpp"

namespace wgn::io {

void start_run() {
    platform::secure_standard_descriptors();
    platform::establish_float_environment();
    platform::install_interrupt_handlers();
    std::set_new_handler([] { fail_insufficient_memory(); });
}

void finish_run() {
    end_run(0);
}

}  // namespace wgn::io
