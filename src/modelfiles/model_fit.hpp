// Which model files a station's record can be written into, decided in one
// place for the batch, the .wgn writer and the summary.  A record goes into
// the files only when complete (every value of every month, and a position);
// then into each file whose number fields hold all of its numbers:
//
//   weather-wgn.cli       the position and the values %.5f in 12 characters
//                         (f12.5), rain_yrs in 8 (i8)
//   wgn_stations.csv,     plain decimals of any length
//   wgn_monthly.csv
//   STATION.wgn           the position and rain_yrs f7.2, the values f6.2,
//                         pcp_ave f6.1
//
//   pcp_ave 10234.5 in July -> in weather-wgn.cli and the Editor's tables, not
//   in the .wgn: "not in ftc.wgn: pcp_ave 10234.5 of Jul is too wide for f6.1"
// (userwgn.csv takes every station, with empty cells for missing values.)
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "weather/weather_record.hpp"

namespace wgn::modelfiles {

// A number field: `width` characters, `decimals` after the point, laid out
// as Fortran's Fw.d (which leaves out the zero before the point of a full
// field) or as C's %w.df.
struct NumberField {
    int width, decimals;
    bool fortran;
};
inline constexpr NumberField kCliNumber{12, 5, false};
inline constexpr NumberField kCliYears{8, 0, false};
inline constexpr NumberField kWgnPosition{7, 2, true};  // latitude, longitude, elevation, rain_yrs
// The .wgn's field of a column of the record: f6.2, pcp_ave f6.1.
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

}  // namespace wgn::modelfiles
