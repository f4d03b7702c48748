#include "modelfiles/database_rows.hpp"

#include <sqlite3.h>

#include <charconv>

namespace wgn::modelfiles {
namespace {

namespace platform = io::platform;

sqlite3* db(void* handle) {
    return static_cast<sqlite3*>(handle);
}

struct Finalize {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};

// A text as an SQL string literal: 'wgn', an apostrophe doubled.
std::string quoted_literal(std::string_view text) {
    std::string quoted = "'";
    for (const char c : text) quoted.append(c == '\'' ? "''" : std::string(1, c));
    return quoted + "'";
}

// A REAL written with the fewest digits that read back as the same double,
// a whole one with ".0" as SQLite writes it ("10.0"); the readers write an
// exponent out as plain digits.
std::string real_text(double value) {
    char text[32];
    const auto [end, error] = std::to_chars(text, text + sizeof text, value);
    if (error != std::errc()) return {};
    std::string written(text, end);
    if (written.find_first_of(".eEn") == std::string::npos) written += ".0";
    return written;
}

}  // namespace

bool is_database_file(const platform::ResolvedName& file) {
    const platform::OpenResult opened = platform::open_for_reading(file);
    if (opened.handle == platform::kNoHandle) return false;
    char start[16];
    std::size_t got = 0;
    int error = 0;
    long some = 0;
    while (got < sizeof start &&
           (some = platform::read_some(opened.handle, start + got, sizeof start - got, error)) > 0)
        got += static_cast<std::size_t>(some);
    platform::close_handle(opened.handle);
    return got == sizeof start && std::string_view(start, sizeof start) == kDatabaseHeader;
}

void ReadOnlyDatabase::Close::operator()(void* handle) const {
    sqlite3_close(db(handle));
}

Result<ReadOnlyDatabase> ReadOnlyDatabase::open(const platform::ResolvedName& file) {
    sqlite3* handle = nullptr;
    const int opened =
        sqlite3_open_v2(file.shown.c_str(), &handle, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    ReadOnlyDatabase database;
    database.handle_.reset(handle);
    database.shown_ = file.shown;
    if (opened != SQLITE_OK) {
        return Problem{file.shown, 0, "",
                       std::string("cannot be opened as a database: ") +
                           (handle != nullptr ? sqlite3_errmsg(handle) : sqlite3_errstr(opened))};
    }
    // A writer's lock held for a moment is waited for; a longer one is reported.
    sqlite3_busy_timeout(handle, 5000);
    // Reading the schema tells a file that is no database (or a locked one).
    if (Result<std::vector<std::string>> tables = database.table_names(); !tables) return tables.problem();
    return database;
}

Result<std::vector<TextRow>> ReadOnlyDatabase::rows(const std::string& sql,
                                                    const std::vector<std::int64_t>& numbers) const {
    sqlite3_stmt* raw = nullptr;
    const auto failed = [this](std::string_view what) {
        return Problem{shown_, 0, "", std::string(what) + ": " + sqlite3_errmsg(db(handle_.get()))};
    };
    if (sqlite3_prepare_v2(db(handle_.get()), sql.c_str(), static_cast<int>(sql.size()), &raw, nullptr) != SQLITE_OK)
        return failed("cannot be read");
    const std::unique_ptr<sqlite3_stmt, Finalize> statement(raw);
    for (std::size_t i = 0; i < numbers.size(); ++i)
        sqlite3_bind_int64(raw, static_cast<int>(i + 1), static_cast<sqlite3_int64>(numbers[i]));
    std::vector<TextRow> rows;
    const int columns = sqlite3_column_count(raw);
    int step = 0;
    while ((step = sqlite3_step(raw)) == SQLITE_ROW) {
        TextRow& row = rows.emplace_back();
        row.reserve(static_cast<std::size_t>(columns));
        for (int c = 0; c < columns; ++c) {
            switch (sqlite3_column_type(raw, c)) {
                case SQLITE_NULL: row.emplace_back(); break;
                case SQLITE_FLOAT: row.emplace_back(real_text(sqlite3_column_double(raw, c))); break;
                default: {
                    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(raw, c));
                    row.emplace_back(text == nullptr
                                         ? std::string()
                                         : std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(raw, c))));
                }
            }
        }
    }
    if (step != SQLITE_DONE) return failed("cannot be read");
    return rows;
}

Result<std::vector<std::string>> ReadOnlyDatabase::table_names() const {
    Result<std::vector<TextRow>> found = rows("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name");
    if (!found) return found.problem();
    std::vector<std::string> names;
    for (const TextRow& row : *found) names.push_back(row[0].value_or(""));
    return names;
}

Result<std::vector<std::string>> ReadOnlyDatabase::columns_of(std::string_view table) const {
    Result<std::vector<TextRow>> found =
        rows("SELECT name FROM pragma_table_info(" + quoted_literal(table) + ") ORDER BY cid");
    if (!found) return found.problem();
    std::vector<std::string> names;
    for (const TextRow& row : *found) names.push_back(row[0].value_or(""));
    return names;
}

Result<bool> ReadOnlyDatabase::has_index_on(std::string_view table, std::string_view column) const {
    Result<std::vector<TextRow>> indexes = rows("SELECT name FROM pragma_index_list(" + quoted_literal(table) + ")");
    if (!indexes) return indexes.problem();
    for (const TextRow& index : *indexes) {
        Result<std::vector<TextRow>> first =
            rows("SELECT name FROM pragma_index_info(" + quoted_literal(index[0].value_or("")) + ") WHERE seqno = 0");
        if (!first) return first.problem();
        if (!first->empty() && (*first)[0][0] == std::string(column)) return true;
    }
    return false;
}

std::string quoted_identifier(std::string_view name) {
    std::string quoted = "\"";
    for (const char c : name) quoted.append(c == '"' ? "\"\"" : std::string(1, c));
    return quoted + "\"";
}

}  // namespace wgn::modelfiles
