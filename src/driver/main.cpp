// wgnrain: monthly precipitation parameters of a weather generator from a
// series of daily values.  A run takes no arguments; everything comes from
// the console dialogue and the input file.  --help and --version say what
// the program is, and do nothing else.
#include <string>
#include <vector>

#include "driver/command_line.hpp"
#include "driver/run_analysis.hpp"
#include "io/platform.hpp"
#include "io/run_time.hpp"

int main(int argc, char** argv) {
    namespace platform = wgn::io::platform;
    const std::vector<std::string> arguments = platform::program_arguments(argc, argv);
    if (!arguments.empty()) platform::end_process(static_cast<std::uint32_t>(wgn::answer_arguments(arguments)));
    wgn::io::start_run();
    wgn::run_analysis();
    wgn::io::finish_run();
}
