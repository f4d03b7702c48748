// The daily variables of a weather station, a small fixed vocabulary, and
// every name each goes by: in messages and records, in the columns of a
// table, in the station list, and in the SWAT and SWAT+ files that hold it.
//
//   variable  what                  csv columns (any case)             list column  file kind  quantity       .dly
//   pcp       precipitation         precipitation prcp pcp rain ...    pcp_column   pcp        precipitation  PRCP
//             (also PRECTOTCORR and the older POWER files' PRECTOT)
//   tmax      maximum temperature   tmax temp_max tmp_max t2m_max      tmax_column  tmp        temperature    TMAX
//   tmin      minimum temperature   tmin temp_min tmp_min t2m_min      tmin_column  tmp        temperature    TMIN
//   slr       radiation             slr solar allsky_sfc_sw_dwn        slr_column   slr        radiation
//   dew       dew point             dew dewpoint dew_point t2mdew      dew_column   (none)     temperature
//   rh        humidity              rh rhum relative_humidity rh2m     rh_column    hmd        humidity
//   wnd       wind                  wind wnd wind_speed ws2m           wnd_column   wnd        wind           AWND
//   hhr       half-hour rain        hhr pcp_hhr                        hhr_column   hhr        precipitation
//
//   variable_named("tmax") -> Variable::tmax       name(Variable::rh) -> "rh"
//   variables_of_kind(FileKind::tmp) -> {tmax, tmin}
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "readers/measure_units.hpp"

namespace wgn::readers {

enum class Variable : std::uint8_t { pcp, tmax, tmin, slr, dew, rh, wnd, hhr };

// The kinds of SWAT 2012 and SWAT+ station file, one variable (or the
// temperature pair) a file: the list's <kind>_file columns, SWAT+'s file
// extensions and weather-sta.cli columns.
enum class FileKind : std::uint8_t { pcp, tmp, slr, hmd, wnd, hhr };

struct VariableFacts {
    Variable variable;
    std::string_view name;                    // in messages, records and options: "tmax"
    std::string_view what;                    // for messages: "maximum temperature"
    std::array<std::string_view, 6> columns;  // the names of a table column holding it; unused places empty
    std::string_view list_column;             // the station list's column naming its csv column
    std::optional<FileKind> kind;             // the kind of SWAT file holding it, if any
    Quantity quantity;
    std::string_view ghcnd_element;  // its element in a GHCN-Daily .dly file; empty: not read from one
};

inline constexpr std::array<VariableFacts, 8> kVariableFacts = {{
    {Variable::pcp,
     "pcp",
     "precipitation",
     {"precipitation", "prcp", "pcp", "rain", "prectotcorr", "prectot"},
     "pcp_column",
     FileKind::pcp,
     Quantity::kPrecipitation,
     "PRCP"},
    {Variable::tmax,
     "tmax",
     "maximum temperature",
     {"tmax", "temp_max", "tmp_max", "t2m_max", "", ""},
     "tmax_column",
     FileKind::tmp,
     Quantity::kTemperature,
     "TMAX"},
    {Variable::tmin,
     "tmin",
     "minimum temperature",
     {"tmin", "temp_min", "tmp_min", "t2m_min", "", ""},
     "tmin_column",
     FileKind::tmp,
     Quantity::kTemperature,
     "TMIN"},
    {Variable::slr,
     "slr",
     "radiation",
     {"slr", "solar", "allsky_sfc_sw_dwn", "", "", ""},
     "slr_column",
     FileKind::slr,
     Quantity::kRadiation,
     ""},
    {Variable::dew,
     "dew",
     "dew point",
     {"dew", "dewpoint", "dew_point", "t2mdew", "", ""},
     "dew_column",
     std::nullopt,
     Quantity::kTemperature,
     ""},
    {Variable::rh,
     "rh",
     "humidity",
     {"rh", "rhum", "relative_humidity", "rh2m", "", ""},
     "rh_column",
     FileKind::hmd,
     Quantity::kHumidity,
     ""},
    {Variable::wnd,
     "wnd",
     "wind",
     {"wind", "wnd", "wind_speed", "ws2m", "", ""},
     "wnd_column",
     FileKind::wnd,
     Quantity::kWind,
     "AWND"},
    {Variable::hhr,
     "hhr",
     "half-hour rain",
     {"hhr", "pcp_hhr", "", "", "", ""},
     "hhr_column",
     FileKind::hhr,
     Quantity::kPrecipitation,
     ""},
}};

inline constexpr std::array<Variable, 8> kAllVariables = {Variable::pcp, Variable::tmax, Variable::tmin, Variable::slr,
                                                          Variable::dew, Variable::rh,   Variable::wnd,  Variable::hhr};

constexpr const VariableFacts& facts(Variable variable) {
    return kVariableFacts[static_cast<std::size_t>(variable)];
}
constexpr std::string_view name(Variable variable) {
    return facts(variable).name;
}
constexpr Quantity quantity_of(Variable variable) {
    return facts(variable).quantity;
}

// The variable of a short name ("tmax"), exactly as written; nothing for another.
constexpr std::optional<Variable> variable_named(std::string_view text) {
    for (const VariableFacts& known : kVariableFacts) {
        if (known.name == text) return known.variable;
    }
    return std::nullopt;
}

struct FileKindFacts {
    FileKind kind;
    std::string_view name;         // "tmp": the list's tmp_file, SWAT+'s .tmp
    std::string_view list_column;  // "tmp_file"
};
inline constexpr std::array<FileKindFacts, 6> kFileKindFacts = {{
    {FileKind::pcp, "pcp", "pcp_file"},
    {FileKind::tmp, "tmp", "tmp_file"},
    {FileKind::slr, "slr", "slr_file"},
    {FileKind::hmd, "hmd", "hmd_file"},
    {FileKind::wnd, "wnd", "wnd_file"},
    {FileKind::hhr, "hhr", "hhr_file"},
}};
constexpr const FileKindFacts& facts(FileKind kind) {
    return kFileKindFacts[static_cast<std::size_t>(kind)];
}
constexpr std::string_view name(FileKind kind) {
    return facts(kind).name;
}
constexpr std::optional<FileKind> file_kind_named(std::string_view text) {
    for (const FileKindFacts& known : kFileKindFacts) {
        if (known.name == text) return known.kind;
    }
    return std::nullopt;
}

// The variables a file of a kind holds, in the order of its columns.
inline std::vector<Variable> variables_of_kind(FileKind kind) {
    std::vector<Variable> held;
    for (const VariableFacts& known : kVariableFacts) {
        if (known.kind == kind) held.push_back(known.variable);
    }
    return held;
}

}  // namespace wgn::readers
