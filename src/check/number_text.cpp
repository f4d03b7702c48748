#include "check/number_text.hpp"

#include <array>
#include <charconv>

namespace wgn::check {

std::string fixed(double value, int decimals) {
    std::array<char, 400> digits{};
    const auto [end, error] =
        std::to_chars(digits.data(), digits.data() + digits.size(), value, std::chars_format::fixed, decimals);
    if (error != std::errc()) return "";
    std::string text(digits.data(), end);
    // "-0.00": a value that rounds to zero is written without its sign.
    if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
    return text;
}

}  // namespace wgn::check
