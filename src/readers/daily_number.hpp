// A day's value as a number, read from its text once: the reader that makes
// the value reads its text (read_daily_text), and everybody after takes the
// number it kept, the same one a new reading of the text would give.
//
//   read_daily_text(value, "12.5", 12.5, 1) -> value.text "12.5", read
//   number_of(value)                     -> 12.5 (not read again)
//   value.set_text("0"); number_of(value) -> 0 (read, since the text changed)
#pragma once

#include <optional>
#include <string_view>

#include "readers/number_text.hpp"
#include "readers/station_record.hpp"

namespace wgn::readers {

// Gives `value` the text `text` as read: number_value(text, plain_decimals)
// gave `number` and `plain_decimals`.
void read_daily_text(DailyValue& value, std::string_view text, double number, int plain_decimals);
// The same for a value that has its text already.
inline void set_number_read(DailyValue& value, double number, int plain_decimals) {
    value.number = number;
    value.decimals = plain_decimals >= 0 ? static_cast<std::int8_t>(plain_decimals) : DailyValue::kNotPlain;
}

// number_value(value.text): nothing for a missing day or a text that is no number.
inline std::optional<double> number_of(const DailyValue& value) {
    if (value.text.empty()) return std::nullopt;
    if (value.decimals != DailyValue::kUnread) return value.number;
    return number_value(value.text);
}

// The same into `number`, false for nothing: for loops over every day,
// where an optional double passed through memory costs more than the rest.
inline bool number_of(const DailyValue& value, double& number) {
    if (value.text.empty()) return false;
    if (value.decimals != DailyValue::kUnread) {
        number = value.number;
        return true;
    }
    const std::optional<double> read = number_value(value.text);
    if (read) number = *read;
    return read.has_value();
}

}  // namespace wgn::readers
