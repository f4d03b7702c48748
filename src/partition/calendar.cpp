#include "partition/calendar.hpp"

namespace wgn {

bool is_leap_year(std::int32_t year) {
    bool leap = true;
    const bool by_4 = year % 4 == 0;
    const bool by_100 = year % 100 == 0;
    const bool by_400 = year % 400 == 0;
    if (!by_4 || (by_100 && !by_400)) leap = false;
    return leap;
}

std::int32_t year_after(std::int32_t first, std::int32_t offset) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(first) + static_cast<std::uint32_t>(offset));
}

std::int32_t following_year(std::int32_t year) {
    return year_after(year, 1);
}

std::int32_t leap_years_in(std::int32_t first_year, std::int32_t years) {
    std::int32_t count = 0;
    std::int32_t year = first_year;
    for (std::int32_t i = 0; i < years; ++i, year = following_year(year))
        if (is_leap_year(year)) ++count;
    return count;
}

}  // namespace wgn
