// Which model files a station's record can be written into, decided in one
// place for the batch, the .wgn writer and the summary.  A record goes into
// the files only when complete (every value of every month, and a position);
// then into each file whose number fields hold all of its numbers:
//
//   weather-wgn.cli       the position and the values %.5f in 12 characters
//                         (f12.5), rain_yrs in 8 (i8)
//   wgn_stations.csv,     plain decimals of any length
//   wgn_monthly.csv
//   STATION.wgn           the position and rain_yrs in 7 characters, the
//                         values in 6, each with as many of its decimals as
//                         the field holds (at least one; no fewer than f7.2,
//                         f6.2 and pcp_ave's f6.1 keep, where they fit):
//                         SWAT 2012 reads them with an F format, which takes
//                         an explicit decimal point as written, so
//                         wet_dry 0.0964 is read 0.0964, not 0.10
//
//   pcp_ave 10234.5 in July -> in weather-wgn.cli and the Editor's tables, not
//   in the .wgn: "not in ftc.wgn: pcp_ave 10234.5 of Jul is too wide for f6.1"
// (userwgn.csv takes every station, with empty cells for missing values.)
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "weather/model_notes.hpp"
#include "weather/weather_record.hpp"

namespace wgn::modelfiles {

// A number field: `width` characters, `decimals` after the point, laid out
// as Fortran's Fw.d (which leaves out the zero before the point of a full
// field) or as C's %w.df.  A `widest` field holds as many of the value's
// own decimals as fit, `decimals` the fewest it keeps where they fit, one
// the fewest of all:
//   widest 6, 2: "0.0964" -> "0.0964"   "20.39" -> " 20.39"   "3" -> "  3.00"
//                "1234.56" -> "1234.6"  "-0.0964" -> "-.0964" "0.123456" -> ".12346"
//                "123456" -> "******"
struct NumberField {
    int width, decimals;
    bool fortran;
    bool widest = false;
};
inline constexpr NumberField kCliNumber{12, 5, false};
inline constexpr NumberField kCliYears{8, 0, false};
inline constexpr NumberField kWgnPosition{7, 2, true, true};  // latitude, longitude, elevation, rain_yrs
// The .wgn's field of a column of the record: 6 characters, at least two
// decimals where they fit (pcp_ave one).
NumberField wgn_field(std::size_t column);

// The value right-justified in the field; asterisks when it is too wide.
std::string field_text(const weather::DecimalText& value, NumberField field);
bool fits(const weather::DecimalText& value, NumberField field);

enum ModelFile : std::size_t { kCliFile, kEditorTables, kWgnFile };
struct ModelFit {
    std::array<bool, 3> in{};  // by ModelFile
    std::string reason;        // the summary's model_files: empty when in all of them
};
// `station` names the .wgn in the reason.
ModelFit model_fit(std::string_view station, const weather::WeatherRecord& record);

// The months where the .wgn's layout of wet_dry and wet_wet makes SWAT 2012
// replace both from pcp_days (wet_wet not above wet_dry, or wet_dry not
// above 0) although the record's own values would not, as a change of the
// model's; nothing when there are none, or the record is not in the .wgn.
//   wet_dry 0.123451, wet_wet 0.123454 in Mar -> "wet_dry, wet_wet: SWAT 2012
//   replaces both from pcp_days in Mar, as the .wgn's 6 characters hold them
//   (wet_wet .12345 <= wet_dry .12345)"
std::optional<weather::ModelNote> wgn_layout_note(const weather::WeatherRecord& record);

}  // namespace wgn::modelfiles
