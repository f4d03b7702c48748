// wgnrain-batch: many stations in one command.  See kBatchUsage.
#include <string>
#include <vector>

#include "batch/batch_options.hpp"
#include "batch/run_batch.hpp"
#include "io/platform.hpp"

int main(int argc, char** argv) {
    namespace platform = wgn::io::platform;
    using wgn::batch::BatchOptions;
    platform::secure_standard_streams();
    platform::keep_freed_memory();
    const std::vector<std::string> arguments = platform::program_arguments(argc, argv);
    const wgn::Result<BatchOptions> parsed = wgn::batch::parse_options(arguments);
    // Every end goes through end_process: a batch started by a double-click
    // keeps its window open until Enter, also after a refusal.
    if (!parsed) {
        platform::write_error_output("wgnrain-batch: " + parsed.problem().message() +
                                     " (see 'wgnrain-batch --help')\n");
        platform::end_process(2);
    }
    const BatchOptions& options = *parsed;
    int status = 2;
    switch (options.action) {
        case BatchOptions::Action::help:
            status = platform::write_standard_output(wgn::batch::batch_usage()) ? 0 : 1;
            break;
        case BatchOptions::Action::version:
            status = platform::write_standard_output("wgnrain-batch " WGNRAIN_VERSION "\n") ? 0 : 1;
            break;
        case BatchOptions::Action::run: status = wgn::batch::run_batch(options); break;
    }
    platform::end_process(static_cast<std::uint32_t>(status));
}
