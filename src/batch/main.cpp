// wgnrain-batch: many stations in one command.  See kBatchUsage.
#include <span>

#include "batch/batch_options.hpp"
#include "batch/run_batch.hpp"
#include "io/platform.hpp"

int main(int argc, char** argv) {
    namespace platform = wgn::io::platform;
    using wgn::batch::BatchOptions;
    platform::secure_standard_streams();
    const BatchOptions options =
        wgn::batch::parse_options(std::span<char* const>(argv + 1, static_cast<std::size_t>(argc > 0 ? argc - 1 : 0)));
    switch (options.action) {
        case BatchOptions::Action::help: return platform::write_standard_output(wgn::batch::kBatchUsage) ? 0 : 1;
        case BatchOptions::Action::version:
            return platform::write_standard_output("wgnrain-batch " WGNRAIN_VERSION "\n") ? 0 : 1;
        case BatchOptions::Action::refuse:
            platform::write_error_output("wgnrain-batch: " + options.error + " (see 'wgnrain-batch --help')\n");
            return 2;
        case BatchOptions::Action::run: break;
    }
    return wgn::batch::run_batch(options);
}
