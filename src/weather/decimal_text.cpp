#include "weather/decimal_text.hpp"

#include <ostream>
#include <stdexcept>

#include "readers/plain_decimal.hpp"

namespace wgn::weather {

std::optional<DecimalText> DecimalText::read(std::string_view text) {
    std::optional<std::string> plain = readers::plain_decimal(text);
    if (!plain) return std::nullopt;
    return DecimalText(std::string(text), std::move(*plain));
}

DecimalText DecimalText::made(std::string_view digits) {
    if (digits.empty()) return {};
    std::optional<DecimalText> checked = read(digits);
    if (!checked) throw std::logic_error("\"" + std::string(digits) + "\" made as a number is not one");
    return std::move(*checked);
}

DecimalText DecimalText::whole(std::int64_t value) {
    return made(std::to_string(value));
}

std::ostream& operator<<(std::ostream& out, const DecimalText& value) {
    return out << '"' << value.text() << '"';
}

}  // namespace wgn::weather
