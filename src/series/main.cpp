// wgnrain-series: see kSeriesUsage.
#include <span>

#include "io/platform.hpp"
#include "series/series_command.hpp"

int main(int argc, char** argv) {
    wgn::io::platform::secure_standard_streams();
    return wgn::series::run_series_command(
        std::span<char* const>(argv + 1, static_cast<std::size_t>(argc > 0 ? argc - 1 : 0)));
}
