// What the audit of a weather-generator table can find, a small fixed
// vocabulary, each with its facts: its name in audit.csv and its kind.
//
//   kind change    the model generates other weather than the table says
//   kind suspect   the value is likely wrong as the model reads it (a unit, a daily mean, bounds)
//   kind note      the model reads the value otherwise than a reader of the table might
//   kind missing   the model has no value to read
//
//   name(Finding::skew_raised) -> "skew_raised"      kind_of(Finding::skew_raised) -> FindingKind::change
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace wgn::check {

enum class Finding : std::uint8_t {
    daily_mean_pcp,          // pcp_sd above pcp_ave: pcp_ave reads like a daily mean, not a monthly total
    probabilities_replaced,  // wet_wet <= wet_dry or wet_dry <= 0: the model replaces both from pcp_days
    pcp_days_recomputed,     // the model's pcp_days more than 10 % away from the table's
    skew_raised,             // pcp_skew below 0.2, raised to 0.2
    tmin_above_tmax,         // tmp_min_ave above tmp_max_ave
    zero_deviation,          // a deviation of 0: the month's daily values will not vary
    humidity_mixed,          // some months of dew_ave in [0, 1], others not
    humidity_fraction,       // all twelve dew_ave in [0, 1]: read as humidity fractions
    out_of_bounds,           // a value no climate has
    likely_inches,           // precipitation that reads like inches
    likely_fahrenheit,       // temperatures that read like °F
    likely_watts,            // radiation that reads like W/m² (a day's mean)
    missing_value,           // a month without a value
    position_out_of_range,   // latitude, longitude or elevation not a number within bounds
    rain_yrs_default,        // rain_yrs below 1: the model takes 10
};

enum class FindingKind : std::uint8_t { change, suspect, note, missing };

struct FindingFacts {
    Finding finding;
    std::string_view name;
    FindingKind kind;
};

inline constexpr std::array<FindingFacts, 15> kFindingFacts = {{
    {Finding::daily_mean_pcp, "daily_mean_pcp", FindingKind::suspect},
    {Finding::probabilities_replaced, "probabilities_replaced", FindingKind::change},
    {Finding::pcp_days_recomputed, "pcp_days_recomputed", FindingKind::change},
    {Finding::skew_raised, "skew_raised", FindingKind::change},
    {Finding::tmin_above_tmax, "tmin_above_tmax", FindingKind::suspect},
    {Finding::zero_deviation, "zero_deviation", FindingKind::suspect},
    {Finding::humidity_mixed, "humidity_mixed", FindingKind::suspect},
    {Finding::humidity_fraction, "humidity_fraction", FindingKind::note},
    {Finding::out_of_bounds, "out_of_bounds", FindingKind::suspect},
    {Finding::likely_inches, "likely_inches", FindingKind::suspect},
    {Finding::likely_fahrenheit, "likely_fahrenheit", FindingKind::suspect},
    {Finding::likely_watts, "likely_watts", FindingKind::suspect},
    {Finding::missing_value, "missing_value", FindingKind::missing},
    {Finding::position_out_of_range, "position_out_of_range", FindingKind::suspect},
    {Finding::rain_yrs_default, "rain_yrs_default", FindingKind::change},
}};

constexpr const FindingFacts& facts(Finding finding) {
    return kFindingFacts[static_cast<std::size_t>(finding)];
}
constexpr std::string_view name(Finding finding) {
    return facts(finding).name;
}
constexpr FindingKind kind_of(Finding finding) {
    return facts(finding).kind;
}
constexpr std::string_view name(FindingKind kind) {
    constexpr std::array<std::string_view, 4> kNames = {"change", "suspect", "note", "missing"};
    return kNames[static_cast<std::size_t>(kind)];
}

}  // namespace wgn::check
