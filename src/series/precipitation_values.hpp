// Precipitation as wgnrain must read it: millimetres, every day's amount a
// plausible one.  The texts of a station's pcp and hhr are turned into
// millimetres exactly, digit by digit (0.12 in -> 3.048).
//
// The unit is the one the list (or the command line) states, else the one
// the file states (a header "prcp (in)", ECA&D's note "RR: Precipitation
// amount in 0.1 mm", POWER's header), else the format's own (GHCN-Daily,
// POWER, SWAT).  Where nothing states it (a csv file, a plain series of
// wgnrain-series) the amounts themselves are looked at: a record that
// reads as tenths of a millimetre or as inches is refused with its figures
// and the setting that states the unit:
//
//   /d/rr.csv, column RR: whole numbers on 100 % of the wet days, 43.2 mm a wet day and 8112 mm
//   a year read as mm: the amounts read as tenths of mm: give pcp_unit tenths_mm, or pcp_unit mm
//   if they are mm
//
// A day below 0 or above 2,000 mm is an outlier day: a few of them (at most
// readers::outlier_limit of the days with a value) become missing days of
// the series; more refuse the precipitation, with the first of them:
//
//   /d/a.csv, line 40, column prcp: pcp 2540 on 2001-02-08 is above 2000 mm (12 of its 10958
//   days not plausible, more than the 10 taken as missing): is the column in tenths of mm? give pcp_unit
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "problem/problem.hpp"
#include "readers/measure_units.hpp"
#include "readers/outlier_days.hpp"
#include "readers/station_record.hpp"
#include "series/whole_years.hpp"

namespace wgn::series {

inline constexpr double kMostDailyRain = 2000;  // mm; the world's largest daily totals lie below

// What a record's amounts, read as millimetres, say of their unit: how many
// days and how wet, and how the amounts are written.  Days are added as
// their texts are read; each one a number from 0 to 2000.
//   add("12.5") add("0") add("0.25")  -> days 3, wet_days 2, hundredths 1, millionths 12750000
class AmountFigures {
  public:
    // A day's amount written as a plain decimal ("12", "0.25", "1.500");
    // false, and nothing added, for another text.  A dry day written "0",
    // most days of most records, is counted at once.
    bool add(std::string_view text) {
        if (text.size() == 1 && text[0] == '0') {
            ++days;
            return true;
        }
        return add_written(text);
    }
    // A day's amount written otherwise ("1.25e1"), by its value.
    void add_number(double value);

    long days = 0;                // days with an amount
    long wet_days = 0;            // of them above 0
    long whole = 0;               // wet days whose amount is a whole number
    long hundredths = 0;          // wet days whose amount needs two decimals, no more
    long finer = 0;               // wet days whose amount needs more than two decimals
    std::int64_t millionths = 0;  // the amounts' sum in millionths (decimals beyond the sixth left out)

  private:
    bool add_written(std::string_view text);
};

// The thresholds of the unit the amounts tell, in mm as read.  Real gauges
// lie within them: the wettest have some 12,000-13,300 mm a year (Lloró,
// Mawsynram, Cherrapunji); gauges in whole millimetres have wet-day means
// below 20 mm but at the heaviest monsoon gauges; inches of rain read as mm
// have wet days of 0.1-0.9 "mm" (and so years below 292 "mm"), while
// drizzly reanalysis extracts with wet-day means below 1 mm are wet on 25
// and more days a month.
struct UnitRule {
    static constexpr long kFewestDays = 365;              // days with an amount, for the amounts to say anything
    static constexpr long kFewestWetDays = 30;            // and wet days
    static constexpr std::int64_t kMostAnnual = 15000;    // mm a year: above it, tenths whatever the writing
    static constexpr long kWholePercent = 99;             // wet days whole numbers, with
    static constexpr std::int64_t kMostWholeWetDay = 20;  // mm a wet day or more: tenths
    static constexpr long kTwoDecimalsPercent = 50;       // wet days in hundredths, with
    static constexpr long kAtMostTwoPercent = 99;         // wet days with at most two decimals,
    static constexpr std::int64_t kInchWetDay = 1;        // below this mm a wet day,
    static constexpr long kInchWetPercent = 80;           // and wet on fewer days: inches
};

// The unit the amounts point to when read as mm: tenths of a millimetre,
// inches, or nothing (millimetres, as far as the amounts tell).
std::optional<readers::Unit> unit_of_amounts(const AmountFigures& figures);
// The figures behind it for a message: "whole numbers on 100 % of the wet
// days, 43.2 mm a wet day and 8112 mm a year read as mm".
std::string amounts_text(const AmountFigures& figures, readers::Unit told);

// Converts `variable`'s values (pcp or hhr) from `unit` into millimetres.
void to_millimetres(std::vector<readers::DailyValue>& values, readers::Unit unit);

// What was made of a record's precipitation.
struct MillimetreRead {
    readers::Unit unit = readers::Unit::kMillimetre;  // the unit it was converted from
    std::vector<readers::OutlierDay> outlier_days;    // pcp days made missing, in the file's order
};

// The record's precipitation (and half-hour rain) in millimetres, in the
// unit the list states (`listed`) or the file does; where neither does and
// the format does not fix it (`format_fixes`: readers::FormatFacts), the
// amounts are looked at.  The problem (with the file's name `shown_file`,
// line and column) when the units disagree, the amounts read as another
// unit, or more days than the outlier limit are not plausible; the hints
// name the settings as `settings` does.
Result<MillimetreRead> millimetre_precipitation(readers::StationRecord& record, std::optional<readers::Unit> listed,
                                                bool format_fixes, std::string_view shown_file,
                                                readers::Settings settings = readers::Settings::station_list);

// The outlier days within the period of `coverage`: those the series holds.
std::vector<readers::OutlierDay> outliers_within(const std::vector<readers::OutlierDay>& days,
                                                 const Coverage& coverage);

}  // namespace wgn::series
