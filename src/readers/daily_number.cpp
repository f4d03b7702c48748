#include "readers/daily_number.hpp"

namespace wgn::readers {

void read_daily_text(DailyValue& value, std::string_view text, double number, int plain_decimals) {
    value.text = text;
    value.number = number;
    value.decimals = plain_decimals >= 0 ? static_cast<std::int8_t>(plain_decimals) : DailyValue::kNotPlain;
}

}  // namespace wgn::readers
