#include "readers/daily_number.hpp"

namespace wgn::readers {

void read_daily_text(DailyValue& value, std::string_view text, double number, int plain_decimals) {
    value.text = text;
    set_number_read(value, number, plain_decimals);
}

}  // namespace wgn::readers
