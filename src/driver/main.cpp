// wgnrain: monthly precipitation parameters of a weather generator from a
// series of daily values.  A run takes no arguments; everything comes from
// the console dialogue and the input file.  --help and --version say what
// the program is, and do nothing else.
#include <span>

#include "driver/command_line.hpp"
#include "driver/run_analysis.hpp"
#include "io/run_time.hpp"

int main(int argc, char** argv) {
    if (argc > 1) return wgn::answer_arguments(std::span<char* const>(argv + 1, static_cast<std::size_t>(argc - 1)));
    wgn::io::start_run();
    wgn::run_analysis();
    wgn::io::finish_run();
}
