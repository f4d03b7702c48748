// What a reader makes of one station file: for each variable the values on
// their days, each as the text the file wrote, and the station's position
// where the file gives it.  Missing days are either marked (a value without
// text) or absent; the calendar fills the absent ones in.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "problem/problem.hpp"
#include "readers/formats.hpp"
#include "readers/measure_units.hpp"
#include "readers/settings.hpp"
#include "readers/variables.hpp"

namespace wgn::readers {

// The fields are in the order that packs them into 56 bytes: a station
// has hundreds of thousands of values, and every pass over them reads them
// from memory.
struct DailyValue {
    std::int32_t day = 0;  // day number (calendar_days.hpp)
    int line = 0;          // the line of the file it came from
    std::string text;      // the number as written; empty: the file marks the day missing
    // The text as its reader read it, so that nobody reads it again
    // (daily_number.hpp): its number_value; how many decimals it has when
    // it is a plain decimal ([+-]digits[.digits], at most 15 digits),
    // kNotPlain for any other number, kUnread when nobody has read it (a
    // value made from a text, or its text changed by set_text).
    double number = 0.0;
    static constexpr std::int8_t kUnread = -2, kNotPlain = -1;
    std::int8_t decimals = kUnread;
    bool flagged = false;  // missing because the file flags the value as failing a quality check
    bool trace = false;    // the file wrote a trace of precipitation, read as 0

    DailyValue() = default;
    // A value as its text gives it: {day, "12.5"}, {day, "", true, 12} (flagged, line 12).
    DailyValue(std::int32_t day_number, std::string written, bool is_flagged = false, int file_line = 0,
               bool is_trace = false)
        : day(day_number), line(file_line), text(std::move(written)), flagged(is_flagged), trace(is_trace) {}
    // A value as a reader takes it from its file, the text made in place
    // (no string made first and moved): {DailyValue::in_place, day, "12.5", 12}.
    struct InPlace {};
    static constexpr InPlace in_place{};
    DailyValue(InPlace, std::int32_t day_number, std::string_view written, int file_line, bool is_trace = false)
        : day(day_number), line(file_line), text(written), trace(is_trace) {}

    // A new text, to be read again when its number is asked for.
    void set_text(std::string new_text) {
        text = std::move(new_text);
        decimals = kUnread;
    }
};

// A place in a file, for messages: a line and a column (a name or a
// character position counted from 1).
struct TextPlace {
    int line = 0;
    std::string column;
};

struct StationRecord {
    std::map<Variable, std::vector<DailyValue>> variables;
    // The position where the file gives it, as written (the batch checks
    // it): degrees, metres; and where each of latitude, longitude and
    // elevation was read.
    std::string latitude, longitude, elevation;
    std::array<TextPlace, 3> position_places;
    // The units the file itself states for its variables (POWER's header, a
    // column named "srad (W/m^2)"):  {slr, kKilowattHoursPerDay}
    std::map<Variable, Unit> units;
    // Where each variable's values stand, for messages: the column's name as
    // the header writes it, or the field's number.
    std::map<Variable, std::string> columns;
    // Variables other than precipitation whose column could not be read,
    // with the reason: {tmax, "line 12, column tmax: \"--\" is not a number"}.
    // Precipitation is the point of the file: its faults fail the file.
    std::map<Variable, std::string> refused;
    std::string station_id;  // GHCN-Daily: the station's ID
};

// What the reader needs beyond the file itself.
struct ReadOptions {
    Format format = Format::plain;
    std::optional<int> first_year;  // plain: the year of the first value
    std::string nodata;             // a value marking a missing day; empty: the format's own marks only
    // csv, power: the column of a variable when its name is not recognised
    //   {pcp, "NEERSLAG"}
    std::map<Variable, std::string> columns;
    // csv, power: the column of the date when its name is not recognised
    // ("Datum"); the days then come from it alone.
    std::string date_column;
    // swat, swatplus, swat2012: what the file holds (one variable a file;
    // tmp the maximum and minimum).  csv, power: with pcp, the file must hold
    // precipitation.
    FileKind kind = FileKind::pcp;
    // csv, power: the variables to read when not every one the file has (a
    // series needs its precipitation and half-hour rain alone); empty: all.
    // The columns of the others never fail the file, so leaving them unread
    // changes nothing of what is read.
    std::vector<Variable> only;
    // Who set these, for messages that name a setting (readers/settings.hpp).
    Settings settings = Settings::station_list;
    // swat2012: the gauge whose column is read, by its name on the title
    // line or its number from 1; empty: the file's only gauge.
    std::string gauge;
};

}  // namespace wgn::readers
