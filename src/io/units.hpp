// Numbered units: the program's channels to the console and to files.
//
// Unit 5 reads the console and unit 6 writes to it; both are ready without a
// connect.  Every other unit is connected to a file by name with a status:
//   "UNKNOWN"  an existing file is opened (read from its start; the first
//              record written replaces all of its old content), a missing
//              one is created empty; the file remains when closed;
//   "SCRATCH"  the name is not used: a private temporary file is created,
//              which is gone when the unit is closed or the process ends.
// Records reach an "UNKNOWN" file the moment they are complete; scratch
// files are private and written through a buffer.
//
// None of these operations returns a failure, except the one list read that
// asks for a status: every failure is reported and ends the run.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "io/field_list.hpp"
#include "io/list_reader.hpp"

namespace wgn::io {

inline constexpr int kConsoleInput = 5;
inline constexpr int kConsoleOutput = 6;

enum class Advance { yes, no };

void connect(int unit, std::string_view name, std::string_view status);
// Ends the run with report 43 on a name too long to be kept, shown as the
// failure reports of `connect` show names (its full path).
[[noreturn]] void fail_name_too_long(int unit, std::string_view name);
// Plain close: the file remains, a scratch file is deleted.  Closing a unit
// that is not connected does nothing.
void close_unit(int unit);
// Back to the first record; the next write replaces everything from there.
void rewind_unit(int unit);
void close_all_units();

// A list record holding one text: a blank, then the text.
void write_list_record(int unit, std::string_view text);
// A formatted record, completed with CR LF unless it is non-advancing.
void write_formatted(int unit, const FieldList& list, std::initializer_list<FieldItem> items,
                     Advance advance = Advance::yes);

// Formatted records of reals, the field list used from its start for every
// record ((F12.2) writes one value a record).  No values, no record.
void write_formatted_reals(int unit, const FieldList& list, std::span<const float> values);

// List-directed read; every failure ends the run.
void read_list(int unit, std::initializer_list<ListItem> items);
// List-directed read that hands the end of the input and conversion
// failures back to the caller instead; a failing platform read still ends
// the run.
ReadStatus read_list_with_status(int unit, std::initializer_list<ListItem> items);
// Where a list read found its values, for checks of what a file holds.
struct ReadExtent {
    std::int64_t last_record = 0;  // number of the read's last record (the file's first is 1)
    std::int64_t records = 0;      // records the read fetched, blank ones included
    std::string_view rest;         // what the read left of its last record, until the next read
};
ReadStatus read_list_with_status(int unit, std::initializer_list<ListItem> items, ReadExtent& extent);
// The same for one real item: the read of a daily series.
ReadStatus read_real_with_status(int unit, float& value, ReadExtent& extent);
// A run of records that each hold one plain number and nothing else (see
// plain_numbers.hpp), as many as are read ahead and fit `values`: the same
// values as one read_real_with_status each.  `first_record` receives the
// number of the run's first record.  Zero when the next record is of another
// shape or not read ahead yet: then read it with read_real_with_status.
std::size_t read_plain_reals(int unit, std::span<float> values, std::int64_t& first_record);
// Reads the rest of the unit's file and gives the number of records it held.
std::int64_t skip_remaining_records(int unit);
// Formatted read of a run of reals: the field list is used from its start for
// every record.  A run of zero values still reads one record.
void read_formatted_reals(int unit, const FieldList& list, std::span<float> values);

// Ends the run with `status` as reported by the read on `unit` (24, 39, 59,
// 64 with the unit's file name).
[[noreturn]] void fail_read(int unit, ReadStatus status);

// True when the two names denote one existing file.
bool same_existing_file(std::string_view first_name, std::string_view second_name);
// True when the two names denote one file, whether it exists yet or not:
// they resolve to the same full path, or name one existing file.
bool same_file(std::string_view first_name, std::string_view second_name);

}  // namespace wgn::io
