#include "io/units.hpp"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>

#include "io/failure.hpp"
#include "io/field_format.hpp"
#include "io/field_reader.hpp"
#include "io/file_names.hpp"
#include "io/fixed_field_fast.hpp"
#include "io/plain_numbers.hpp"
#include "io/platform.hpp"
#include "io/record_reader.hpp"

namespace wgn::io {
namespace {

// Scratch output is collected up to this size before it is written.
constexpr std::size_t kScratchBuffer = std::size_t{64} * 1024;
// Room beyond it for the record that crosses it, and the fast field's scratch.
constexpr std::size_t kScratchSlack = 256;

struct Unit {
    int number = 0;
    platform::Handle handle = platform::kNoHandle;
    std::string path;  // shown in failure reports
    bool console = false;
    bool scratch = false;
    bool read_only = false;
    // The next write first cuts the file at its position: set on connect,
    // on rewind and after a read.
    bool replace_pending = false;
    RecordReader reader;
    std::string output;             // written bytes not yet passed to the file
    int read_error = 0;             // the platform's reason of the last failed read
    std::int64_t records_read = 0;  // since the connection or the last rewind
};

std::map<int, Unit>& table() {
    static std::map<int, Unit> units;
    return units;
}

// The unit used last: consecutive records mostly go to the same unit.
Unit* last_unit = nullptr;

Unit& console_unit(int number) {
    Unit& unit = table()[number];
    unit.number = number;
    unit.console = true;
    if (number == kConsoleInput) {
        unit.handle = platform::standard_input();
        unit.path = "CONIN$";
        unit.reader.attach(unit.handle, true);
    } else {
        unit.handle = platform::standard_output();
        unit.path = "CONOUT$";
    }
    return unit;
}

// The unit, connecting the console units at their first use.  Other units
// must have been connected by the program.
Unit& find_unit(int number);

Unit& unit_for(int number) {
    if (last_unit != nullptr && last_unit->number == number) return *last_unit;
    return find_unit(number);
}

Unit& find_unit(int number) {
    auto found = table().find(number);
    if (found != table().end()) return *(last_unit = &found->second);
    if (number == kConsoleInput || number == kConsoleOutput) return console_unit(number);
    std::abort();  // the program uses every unit only after connecting it
}

void write_out(Unit& unit);

void flush(Unit& unit) {
    if (!unit.output.empty()) write_out(unit);
}

void write_out(Unit& unit) {
    int error = 0;
    const bool written = unit.console
                             ? platform::write_console_text(unit.handle, unit.output.data(), unit.output.size(), error)
                             : platform::write_all(unit.handle, unit.output.data(), unit.output.size(), error);
    if (!written) {
        unit.output.clear();
        fail(kWriteError, unit.number, unit.path, error);
    }
    unit.output.clear();
}

// The unit's output buffer, ready for the next record's bytes: a read-only
// file refuses, and the first write after a connect, a rewind or a read cuts
// the file at its position.
std::string& begin_record(Unit& unit) {
    if (unit.read_only) fail(kReadOnlyWrite, unit.number, unit.path);
    if (unit.replace_pending && !unit.console) {
        // Continue from where reading stopped, and drop what followed.
        const std::int64_t position =
            platform::current_offset(unit.handle) - static_cast<std::int64_t>(unit.reader.unread_bytes());
        int error = 0;
        if (position >= 0 && !platform::seek_to(unit.handle, position, error))
            fail(kWriteError, unit.number, unit.path, error);
        unit.reader.reset();
        if (position >= 0) platform::truncate_regular_file(unit.handle, position);
        unit.replace_pending = false;
    }
    return unit.output;
}

// A completed record goes to the file at once; scratch output waits in the
// buffer until it is large.
void end_record(Unit& unit) {
    if (!unit.scratch || unit.output.size() >= kScratchBuffer) flush(unit);
}

// Before a read: what was written goes out first, and the next write will
// replace everything from where the reading stopped.
void begin_reading(Unit& unit) {
    flush(unit);
    unit.replace_pending = true;
}

// Adapts a unit to the list reader; a record fetched already (and declined
// by a fast path) is handed out first.
class UnitRecords final : public RecordSource {
  public:
    explicit UnitRecords(Unit& unit) : unit_(unit) {}
    UnitRecords(Unit& unit, std::string_view fetched) : unit_(unit), fetched_(fetched), has_fetched_(true) {}
    ReadStatus next_record(std::string_view& record) override {
        if (has_fetched_) {
            has_fetched_ = false;
            record = fetched_;
            return ReadStatus::ok;
        }
        return next(unit_, record);
    }

    static ReadStatus next(Unit& unit, std::string_view& record) {
        begin_reading(unit);
        const ReadStatus status = unit.reader.next(record, unit.read_error);
        if (status == ReadStatus::ok) ++unit.records_read;
        return status;
    }

  private:
    Unit& unit_;
    std::string_view fetched_;
    bool has_fetched_ = false;
};

// The name a connection of `name` uses, resolved by the system's rules.  An
// empty name resolves to nothing and is refused as a name.
platform::ResolvedName resolved_name(std::string_view name) {
    const std::string trimmed = trimmed_file_name(name);
    if (trimmed.empty()) {
        platform::ResolvedName nothing;
        nothing.report = kFileNameError;
        return nothing;
    }
    return platform::resolve_file_name(trimmed);
}

std::string upper_trimmed(std::string_view text) {
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    std::string result;
    for (const char c : text) result.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
    return result;
}

}  // namespace

bool same_existing_file(std::string_view first_name, std::string_view second_name) {
    const platform::ResolvedName first = resolved_name(first_name);
    const platform::ResolvedName second = resolved_name(second_name);
    return first.report == 0 && second.report == 0 && platform::same_existing_file(first, second);
}

bool same_file(std::string_view first_name, std::string_view second_name) {
    const platform::ResolvedName first = resolved_name(first_name);
    const platform::ResolvedName second = resolved_name(second_name);
    if (first.report != 0 || second.report != 0) return false;
    return platform::same_path(first, second) || platform::same_existing_file(first, second);
}

void fail_name_too_long(int unit, std::string_view name) {
    fail(kFileNameError, unit, platform::resolve_file_name(name).shown);
}

void connect(int number, std::string_view name, std::string_view status) {
    Unit unit;
    unit.number = number;
    const std::string kind = upper_trimmed(status);
    platform::OpenResult opened;
    if (kind == "SCRATCH") {
        unit.scratch = true;
        opened = platform::create_scratch(unit.path);
    } else if (kind == "UNKNOWN") {
        const platform::ResolvedName resolved = resolved_name(name);
        unit.path = resolved.shown;
        if (resolved.report != 0) fail(resolved.report, number, unit.path, resolved.error);
        opened = platform::open_for_update(resolved);
    } else {
        std::abort();  // the program connects with these two statuses only
    }
    if (opened.handle == platform::kNoHandle)
        fail(platform::open_failure_report(opened.error), number, unit.path, opened.error);
    unit.handle = opened.handle;
    unit.read_only = opened.read_only;
    unit.replace_pending = !unit.scratch;  // a new scratch file has nothing to replace
    // A scratch file's buffer fills up to its limit and one more record
    // (write_formatted_reals keeps to that): it never grows, and stays below
    // the size the allocator would map and unmap for each file.
    if (unit.scratch) unit.output.reserve(kScratchBuffer + kScratchSlack);
    last_unit = nullptr;
    auto placed = table().insert_or_assign(number, std::move(unit)).first;
    placed->second.reader.attach(placed->second.handle, false);
}

void close_unit(int number) {
    auto found = table().find(number);
    if (found == table().end() || found->second.console) return;
    Unit& unit = found->second;
    if (!unit.scratch) flush(unit);  // a scratch file is deleted anyway
    platform::close_handle(unit.handle);
    last_unit = nullptr;
    table().erase(found);
}

void close_all_units() {
    while (true) {
        auto found = table().begin();
        while (found != table().end() && found->second.console) ++found;
        if (found == table().end()) return;
        Unit& unit = found->second;
        // Records of "UNKNOWN" files are written as they are completed, so a
        // close at the end of a failed run has nothing left to write.
        unit.output.clear();
        platform::close_handle(unit.handle);
        last_unit = nullptr;
        table().erase(found);
    }
}

void rewind_unit(int number) {
    auto found = table().find(number);
    if (found == table().end() || found->second.console) return;
    Unit& unit = found->second;
    flush(unit);
    int error = 0;
    if (!platform::seek_to(unit.handle, 0, error)) fail(kRewindError, number, unit.path, error);
    unit.reader.reset();
    unit.replace_pending = true;
    unit.records_read = 0;
}

void write_list_record(int number, std::string_view text) {
    // A list record holds 80 characters at most, its leading blank included;
    // a longer text goes on at the start of the next record.
    constexpr std::size_t kRecordLimit = 80;
    Unit& unit = unit_for(number);
    std::string& bytes = begin_record(unit);
    bytes.push_back(' ');
    std::size_t room = kRecordLimit - 1;
    do {
        const std::string_view piece = text.substr(0, room);
        bytes.append(piece);
        bytes.append("\r\n");
        text.remove_prefix(piece.size());
        room = kRecordLimit;
    } while (!text.empty());
    end_record(unit);
}

void write_formatted(int number, const FieldList& list, std::initializer_list<FieldItem> items, Advance advance) {
    Unit& unit = unit_for(number);
    std::string& bytes = begin_record(unit);
    append_fields(bytes, list, items);
    if (advance == Advance::yes) bytes.append("\r\n");
    end_record(unit);
}

void write_formatted_reals(int number, const FieldList& list, std::span<const float> values) {
    Unit& unit = unit_for(number);
    const auto& fields = list.fields();
    if (unit.scratch && fields.size() == 1 && fields[0].kind == 'F' && fields[0].width <= 30) {
        // One real field a record into a private file: the records are built
        // in place in the unit's buffer, a block at a time.
        const auto width = static_cast<std::size_t>(fields[0].width);
        const std::size_t record_size = width + 2;
        std::string& bytes = begin_record(unit);
        while (!values.empty()) {
            // Records up to the one that reaches the buffer's limit.
            const std::size_t room = bytes.size() < kScratchBuffer ? kScratchBuffer - bytes.size() : 0;
            const std::size_t count = std::min(values.size(), room / record_size + 1);
            std::size_t at = bytes.size();
            bytes.resize(at + count * record_size + 32);  // the fast field's scratch room
            for (const float value : values.first(count)) {
                char* const record = bytes.data() + at;
                if (!format_real_fast(value, fields[0].width, fields[0].digits, record)) {
                    std::string field;
                    append_real_field_general(field, value, fields[0].width, fields[0].digits);
                    std::memcpy(record, field.data(), width);
                }
                record[width] = '\r';
                record[width + 1] = '\n';
                at += record_size;
            }
            bytes.resize(at);
            values = values.subspan(count);
            end_record(unit);
        }
        return;
    }
    std::size_t next_value = 0;
    while (next_value < values.size()) {
        std::string& bytes = begin_record(unit);
        for (const FieldCode& code : fields) {
            if (next_value == values.size()) break;
            if (code.kind != 'F') std::abort();  // a list of real fields only
            append_real_field(bytes, values[next_value++], code.width, code.digits);
        }
        bytes.append("\r\n");
        end_record(unit);
    }
}

void fail_read(int number, ReadStatus status) {
    Unit& unit = unit_for(number);
    switch (status) {
        case ReadStatus::end_of_input: fail(kEndOfFile, number, unit.path);
        case ReadStatus::conversion_error: fail(kConversionError, number, unit.path);
        case ReadStatus::syntax_error: fail(kListSyntaxError, number, unit.path);
        case ReadStatus::read_error:
        case ReadStatus::ok: break;
    }
    fail(kReadError, number, unit.path, unit.read_error);
}

ReadStatus read_real_with_status(int number, float& value, ReadExtent& extent) {
    Unit& unit = unit_for(number);
    const std::int64_t first = unit.records_read;
    extent.rest = {};
    // The usual record of a series holds one number and nothing else; any
    // other record is read from its start by the general reader.
    std::string_view record;
    ReadStatus status = UnitRecords::next(unit, record);
    if (status == ReadStatus::ok) {
        if (read_lone_real(record, value)) {
            extent.rest = record.substr(record.size());
        } else {
            UnitRecords records(unit, record);
            const ListItem items[] = {&value};
            status = read_list(records, items, &extent.rest);
        }
    }
    if (status == ReadStatus::read_error) fail_read(number, status);
    extent.last_record = unit.records_read;
    extent.records = unit.records_read - first;
    return status;
}

std::size_t read_plain_reals(int number, std::span<float> values, std::int64_t& first_record) {
    Unit& unit = unit_for(number);
    first_record = unit.records_read + 1;
    if (unit.console) return 0;  // a console record may be the end of input
    begin_reading(unit);
    std::size_t used = 0;
    const std::size_t count = scan_lone_real_records(unit.reader.ahead(), values, used);
    unit.reader.consume(used);
    unit.records_read += static_cast<std::int64_t>(count);
    return count;
}

ReadStatus read_list_with_status(int number, std::initializer_list<ListItem> items, ReadExtent& extent) {
    if (items.size() == 1) {
        if (float* const* real = std::get_if<float*>(items.begin()))
            return read_real_with_status(number, **real, extent);
    }
    Unit& unit = unit_for(number);
    const std::int64_t first = unit.records_read;
    extent.rest = {};
    UnitRecords records(unit);
    const ReadStatus status = read_list(records, std::span<const ListItem>(items.begin(), items.size()), &extent.rest);
    if (status == ReadStatus::read_error) fail_read(number, status);
    extent.last_record = unit.records_read;
    extent.records = unit.records_read - first;
    return status;
}

ReadStatus read_list_with_status(int number, std::initializer_list<ListItem> items) {
    ReadExtent ignored;
    return read_list_with_status(number, items, ignored);
}

std::int64_t skip_remaining_records(int number) {
    Unit& unit = unit_for(number);
    std::string_view record;
    std::int64_t count = 0;
    for (;;) {
        const ReadStatus status = UnitRecords::next(unit, record);
        if (status == ReadStatus::end_of_input) return count;
        if (status != ReadStatus::ok) fail_read(number, status);
        ++count;
    }
}

void read_list(int number, std::initializer_list<ListItem> items) {
    const ReadStatus status = read_list_with_status(number, items);
    if (status != ReadStatus::ok) fail_read(number, status);
}

void read_formatted_reals(int number, const FieldList& list, std::span<float> values) {
    Unit& unit = unit_for(number);
    const auto& fields = list.fields();
    std::string_view record;
    if (fields.size() == 1 && !values.empty()) {
        // One field a record, such as a month file's F12.2: a record of just
        // the field's width takes the fast path of a plain field.
        // Runs of them straight from the bytes read ahead; any other record,
        // or the one that needs the next block, one at a time.
        const int width = fields[0].width;
        const int digits = fields[0].digits;
        while (!values.empty()) {
            begin_reading(unit);
            std::size_t used = 0;
            if (!unit.console) {
                const std::size_t count = scan_plain_fixed_records(unit.reader.ahead(), width, digits, values, used);
                unit.reader.consume(used);
                unit.records_read += static_cast<std::int64_t>(count);
                values = values.subspan(count);
                if (values.empty()) break;
            }
            const ReadStatus status = UnitRecords::next(unit, record);
            if (status != ReadStatus::ok) fail_read(number, status);
            const ReadStatus field_status = read_real_field(record, 0, width, digits, values.front());
            if (field_status != ReadStatus::ok) fail_read(number, field_status);
            values = values.subspan(1);
        }
        return;
    }
    std::size_t next_value = 0;
    do {
        // Each record takes the field list from its start.
        const ReadStatus status = UnitRecords::next(unit, record);
        if (status != ReadStatus::ok) fail_read(number, status);
        std::size_t column = 0;
        for (const FieldCode& code : fields) {
            if (next_value == values.size()) break;
            const ReadStatus field_status =
                read_real_field(record, column, code.width, code.digits, values[next_value++]);
            if (field_status != ReadStatus::ok) fail_read(number, field_status);
            column += static_cast<std::size_t>(code.width);
        }
    } while (next_value < values.size());
}

}  // namespace wgn::io
