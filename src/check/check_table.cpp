#include "check/check_table.hpp"

#include <charconv>
#include <cmath>

namespace wgn::check {

std::optional<double> number_of(std::string_view text) {
    if (text.empty()) return std::nullopt;
    if (text.front() == '+') text.remove_prefix(1);
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<double> value_of(const TableStation& station, std::size_t month, weather::Column column) {
    return number_of(station.station.values[month][column].plain());
}

}  // namespace wgn::check
