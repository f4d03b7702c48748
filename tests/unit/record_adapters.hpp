// The weather record's functions in the shape the record tests compare:
// a value and the problem's text (empty when there is none).
//
//   make_record(inputs, problem)   -> the record; problem "" or why there is none
//   decimal("64.17")               -> DecimalText "64.17"; decimal("") -> no value
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "problem/problem.hpp"
#include "readers/measure_units.hpp"
#include "weather/decimal_text.hpp"
#include "weather/plausible_values.hpp"
#include "weather/weather_record.hpp"

namespace wgn::testing {

inline weather::DecimalText decimal(std::string_view text) {
    return weather::DecimalText::made(text);
}

inline weather::WeatherRecord make_record(const weather::WeatherInputs& inputs, std::string& problem) {
    Result<weather::WeatherRecord> record = weather::make_weather_record(inputs);
    problem = record ? std::string() : record.problem().message();
    return record ? std::move(*record) : weather::WeatherRecord{};
}

inline std::optional<readers::Unit> humidity_unit(const std::vector<weather::DayValue>& days, std::string& problem) {
    const Result<readers::Unit> unit = weather::humidity_unit_of_values(days);
    if (!unit) problem = unit.problem().message();
    return unit ? std::optional<readers::Unit>(*unit) : std::nullopt;
}

}  // namespace wgn::testing
