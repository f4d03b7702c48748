// wgnrain-series: see kSeriesUsage.
#include <string>
#include <vector>

#include "io/platform.hpp"
#include "series/series_command.hpp"

int main(int argc, char** argv) {
    namespace platform = wgn::io::platform;
    platform::secure_standard_streams();
    const std::vector<std::string> arguments = platform::program_arguments(argc, argv);
    platform::end_process(static_cast<std::uint32_t>(wgn::series::run_series_command(arguments)));
}
