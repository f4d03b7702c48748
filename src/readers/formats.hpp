// The formats of station file the readers know, a small fixed vocabulary,
// and what each promises: the one place a format's behaviour is decided.
//
//   format    honours nodata  dated  promises order  takes other variables' files               pcp unit
//   plain     yes             no     (by position)   no                                         open
//   csv       yes             yes    no              yes                                        open
//   ghcnd     no              yes    no              no   (all elements in one file)            tenths
//   power     no              yes    yes             no   (all parameters in one file)          its header
//   swat      no              yes    (by position)   yes  (one variable a file)                 mm
//   swatplus  no              yes    yes             yes  (one variable a file)                 mm
//   swat2012  no              yes    yes             yes  (pcp and tmp files, gauges side by side) mm
//
//   format_named("power") -> Format::power      name(Format::csv) -> "csv"
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace wgn::readers {

enum class Format : std::uint8_t { plain, csv, ghcnd, power, swat, swatplus, swat2012 };

struct FormatFacts {
    Format format;
    std::string_view name;  // as the station list and --format write it
    // A value equal to the list's `nodata` marks a missing day (the other
    // formats have their own marks for it).
    bool honours_nodata;
    // The file dates its values itself (plain counts from a first year).
    bool dated;
    // The file's dates must rise from row to row; a table whose rows may
    // come in any order (csv, ghcnd) is sorted instead.
    bool promises_order;
    // The station's other variables may come from files of their own
    // (tmp_file, slr_file, ...) in this format; the others hold every
    // variable they have in the station's one file, or none.
    bool takes_variable_files;
    // The format fixes the unit of its precipitation (GHCN-Daily's tenths,
    // read as mm; POWER's header; SWAT's mm); in the others nothing but a
    // column's header or a setting states it (series/precipitation_values.hpp).
    bool fixes_pcp_unit;
};

inline constexpr std::array<FormatFacts, 7> kFormatFacts = {{
    {Format::plain, "plain", true, false, false, false, false},
    {Format::csv, "csv", true, true, false, true, false},
    {Format::ghcnd, "ghcnd", false, true, false, false, true},
    {Format::power, "power", false, true, true, false, true},
    {Format::swat, "swat", false, true, false, true, true},
    {Format::swatplus, "swatplus", false, true, true, true, true},
    {Format::swat2012, "swat2012", false, true, true, true, true},
}};

constexpr const FormatFacts& facts(Format format) {
    return kFormatFacts[static_cast<std::size_t>(format)];
}
constexpr std::string_view name(Format format) {
    return facts(format).name;
}

// The names of all formats, for messages: "plain, csv, ghcnd, power, swat, swatplus, swat2012".
inline std::string format_names() {
    std::string names;
    for (const FormatFacts& known : kFormatFacts) names.append(names.empty() ? "" : ", ").append(known.name);
    return names;
}

// The format of a name exactly as written ("csv"); nothing for another.
constexpr std::optional<Format> format_named(std::string_view text) {
    for (const FormatFacts& known : kFormatFacts) {
        if (known.name == text) return known.format;
    }
    return std::nullopt;
}

}  // namespace wgn::readers
