#include "readers/read_station_file.hpp"

#include "readers/value_checks.hpp"

namespace wgn::readers {

namespace {

// The reader of each format, in the order of Format.
using Reader = StationRecord (*)(std::string_view, const ReadOptions&);
constexpr std::array<Reader, kFormatFacts.size()> kReaders = {read_plain, read_csv,      read_ghcnd,   read_power,
                                                              read_swat,  read_swatplus, read_swat2012};

}  // namespace

Result<StationRecord> read_station_file(std::string_view shown_name, std::string_view text,
                                        const ReadOptions& options) {
    Result<StationRecord> read =
        catch_problem([&] { return kReaders[static_cast<std::size_t>(options.format)](text, options); });
    if (!read) return read.problem().in_file(shown_name);
    return read;
}

}  // namespace wgn::readers
