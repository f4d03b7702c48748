// wgnrain-check: see check_command.hpp.
#include <string>
#include <vector>

#include "check/check_command.hpp"
#include "io/platform.hpp"

int main(int argc, char** argv) {
    namespace platform = wgn::io::platform;
    platform::secure_standard_streams();
    const std::vector<std::string> arguments = platform::program_arguments(argc, argv);
    platform::end_process(static_cast<std::uint32_t>(wgn::check::run_check_command(arguments)));
}
