// wgnrain: monthly precipitation parameters of a weather generator from a
// series of daily values.  The program takes no arguments; everything comes
// from the console dialogue and the input file.
#include "driver/run_analysis.hpp"
#include "io/run_time.hpp"

int main() {
    wgn::io::start_run();
    wgn::run_analysis();
    wgn::io::finish_run();
}
