// The one-pass series against the general reading on arbitrary bytes taken
// as a dated csv file.  The first byte picks the options: its two lowest
// bits the period's bounds (none, a first year, a last year, both), the
// next one the NoData value (-99 or -999.5).  Checked: wherever the one
// pass answers, the general reading makes the same series with the same
// coverage, byte for byte.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "series/one_pass_series.hpp"
#include "series_readings.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    using namespace wgn;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    series::SeriesOptions options;
    options.settings = readers::Settings::command_line;
    if ((data[0] & 1) != 0) options.first_year = 2001;
    if ((data[0] & 2) != 0) options.last_year = 2002;
    options.nodata = (data[0] & 4) != 0 ? "-999.5" : "-99";
    readers::ReadOptions read;
    read.format = readers::Format::csv;
    read.nodata = options.nodata;
    read.settings = readers::Settings::command_line;
    read.only = {readers::Variable::pcp, readers::Variable::hhr};
    const std::optional<series::WholeYearSeries> one = series::one_pass_series(text, read, std::nullopt, options);
    if (one && test_support::series_text(*one) != test_support::general_series(text, read, std::nullopt, options))
        std::abort();
    return 0;
}
