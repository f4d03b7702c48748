// What the model will do with a station's numbers, in words: one note per
// finding, listing the months it concerns and the month where it matters most.
//
//   changes (the model generates materially other weather than the table says)
//     "wet_dry, wet_wet: the model replaces both from pcp_days in Mar: wet_wet 0.2000 <= wet_dry 0.3000
//      (the model uses 0.1839 and 0.4339)"
//     "pcp_days: the model makes fewer wet days in 7 months (Jan, Feb, ...), down to 0.78 of the table's
//      in Jul (8.10 for 10.40): each wet day about 1.28 times wetter"
//     "pcp_skew: the model raises it to 0.2 in Jul (0.1500)"
//   notes (the model reads a value otherwise than it means, or cannot use it as meant)
//     "dew_ave: all twelve between 0 and 1, measured in every month: the model reads them as humidity
//      fractions, not as dew points"
//     "tmp_min_ave above tmp_max_ave in May (13.00 above 12.34)"
//     "tmp_max_sd 0 in Jun: the model's daily values of the month will not vary"
//     "pcp_hhr 0 in Jul: the model finds no rain intensity"
//     "pcp_hhr above the month's largest daily value in Aug (50.00 above 40.00)"
//
// The model always recomputes pcp_days from wet_dry and wet_wet; a result
// within 10 % of the table's is the table's own rounding and sampling, so it
// is never reported for a station (recomputed_pcp_days() says it once).
#pragma once

#include <array>
#include <string>
#include <vector>

#include "weather/weather_record.hpp"

namespace wgn::weather {

enum class NoteKind {
    change,       // the model changes what it generates
    note,         // the model reads a value differently from what it means
    information,  // what the model does with every table
};

struct ModelNote {
    NoteKind kind = NoteKind::note;
    std::string text;
    bool operator==(const ModelNote&) const = default;
};

// The notes of a station, the changes first, each kind in the order of the
// examples above: the first note is the one that matters most.  The texts
// hold neither "; " nor " | " (the summary and the run record join them so).
std::vector<ModelNote> model_notes(const WeatherRecord& record);

// The largest daily precipitation of each month ("" where unknown), for the
// note on a pcp_hhr above it.
std::vector<ModelNote> model_notes(const WeatherRecord& record, const MonthTexts& largest_daily);
// `rainless`: months without a wet day in the record, whose pcp_sd and
// pcp_hhr of 0 need no note (gap_aware_precipitation.hpp notes them).
std::vector<ModelNote> model_notes(const WeatherRecord& record, const MonthTexts& largest_daily,
                                   const std::array<bool, 12>& rainless);

// How many notes are of `kind`.
std::size_t count_of(const std::vector<ModelNote>& notes, NoteKind kind);

// What the model does with every table's pcp_days (kind information).
ModelNote recomputed_pcp_days();

}  // namespace wgn::weather
