#include "database/database.hpp"

#include <sqlite3.h>

#include <charconv>
#include <climits>

namespace wgn::database {

Database::Connection::~Connection() {
    // A statement still open keeps the connection until it is finalized
    // (sqlite3_close_v2), rather than the close failing.
    sqlite3_close_v2(db);
}

void Statement::Finalize::operator()(sqlite3_stmt* statement) const {
    sqlite3_finalize(statement);
}

Result<Database> Database::open(const std::string& file, Access access, int busy_ms) {
    int flags = access == Access::read_only ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    if (access == Access::create) flags |= SQLITE_OPEN_CREATE;
    // One connection per thread that uses it; no URI file names: a name is a name.
    flags |= SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_EXRESCODE;
    Database db;
    const int code = sqlite3_open_v2(file.c_str(), &db.connection_->db, flags, nullptr);
    if (code != SQLITE_OK) {
        const char* reason = db.connection_->db != nullptr ? sqlite3_errmsg(db.connection_->db) : sqlite3_errstr(code);
        return Problem{file, 0, "", reason};
    }
    sqlite3_busy_timeout(db.connection_->db, busy_ms);
    return db;
}

Problem Database::Connection::problem(int code) {
    busy = (code & 0xFF) == SQLITE_BUSY || (code & 0xFF) == SQLITE_LOCKED;
    return problem_text(sqlite3_errmsg(db));
}

Done Database::execute(std::string_view sql) {
    const std::string text(sql);
    const int code = sqlite3_exec(connection_->db, text.c_str(), nullptr, nullptr, nullptr);
    if (code != SQLITE_OK) return connection_->problem(code);
    return {};
}

Result<Statement> Database::prepare(std::string_view sql) {
    if (sql.size() > static_cast<std::size_t>(INT_MAX)) return problem_text("a statement too long for SQLite");
    sqlite3_stmt* raw = nullptr;
    const int code = sqlite3_prepare_v2(connection_->db, sql.data(), static_cast<int>(sql.size()), &raw, nullptr);
    Statement statement(*connection_, raw);
    if (code != SQLITE_OK) return connection_->problem(code);
    return statement;
}

Result<bool> Database::has_table(std::string_view table) {
    Result<Statement> find = prepare("SELECT 1 FROM sqlite_master WHERE type IN ('table', 'view') AND name = ?");
    if (!find) return find.problem();
    if (Done bound = find->bind(1, table); !bound) return bound.problem();
    return find->step();
}

Result<Transaction> Transaction::begin(Database& db) {
    if (Done begun = db.execute("BEGIN IMMEDIATE"); !begun) return begun.problem();
    return Transaction(*db.connection_);
}

Transaction::~Transaction() {
    // A rollback that fails leaves SQLite to roll the file back from its
    // journal when it is next opened.
    if (connection_ != nullptr) sqlite3_exec(connection_->db, "ROLLBACK", nullptr, nullptr, nullptr);
}

Done Transaction::commit() {
    const int code = sqlite3_exec(connection_->db, "COMMIT", nullptr, nullptr, nullptr);
    if (code != SQLITE_OK) return connection_->problem(code);  // still open: the end rolls it back
    connection_ = nullptr;
    return {};
}

Done Statement::bound(int code) {
    if (code != SQLITE_OK) return connection_->problem(code);
    return {};
}

Done Statement::bind(int parameter, std::string_view text) {
    if (text.size() > static_cast<std::size_t>(INT_MAX)) return problem_text("a text too long for SQLite");
    return bound(
        sqlite3_bind_text(statement_.get(), parameter, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT));
}

Done Statement::bind(int parameter, double value) {
    return bound(sqlite3_bind_double(statement_.get(), parameter, value));
}

Done Statement::bind(int parameter, std::int64_t value) {
    return bound(sqlite3_bind_int64(statement_.get(), parameter, value));
}

Result<bool> Statement::step() {
    const int code = sqlite3_step(statement_.get());
    if (code == SQLITE_ROW) return true;
    if (code == SQLITE_DONE) return false;
    return connection_->problem(code);
}

Done Statement::reset() {
    // sqlite3_reset repeats the last step's failure, already reported.
    sqlite3_reset(statement_.get());
    return bound(sqlite3_clear_bindings(statement_.get()));
}

int Statement::column_count() const {
    return sqlite3_column_count(statement_.get());
}

std::string Statement::column_name(int column) const {
    const char* name = sqlite3_column_name(statement_.get(), column);
    return name != nullptr ? name : "";
}

std::optional<std::string> Statement::cell(int column) const {
    switch (sqlite3_column_type(statement_.get(), column)) {
        case SQLITE_NULL: return std::nullopt;
        case SQLITE_FLOAT: {
            // SQLite's own text keeps 15 significant digits; to_chars keeps
            // the double.
            char text[32];
            const auto [end, error] =
                std::to_chars(text, text + sizeof text, sqlite3_column_double(statement_.get(), column));
            if (error != std::errc()) return std::string();
            std::string written(text, end);
            if (written.find_first_of(".eEn") == std::string::npos) written += ".0";
            return written;
        }
        default: {
            const unsigned char* cell = sqlite3_column_text(statement_.get(), column);
            if (cell == nullptr) return std::string();
            return std::string(reinterpret_cast<const char*>(cell),
                               static_cast<std::size_t>(sqlite3_column_bytes(statement_.get(), column)));
        }
    }
}

Result<TableReader> TableReader::open(Database& db, std::string_view table) {
    const Result<bool> exists = db.has_table(table);
    if (!exists) return exists.problem();
    if (!*exists) return problem_text("no table " + std::string(table));
    Result<Statement> rows = db.prepare("SELECT * FROM " + quoted_name(table));
    if (!rows) return rows.problem();
    std::vector<std::string> columns;
    columns.reserve(static_cast<std::size_t>(rows->column_count()));
    for (int c = 0; c < rows->column_count(); ++c) columns.push_back(rows->column_name(c));
    return TableReader(std::move(*rows), std::move(columns));
}

Result<bool> TableReader::next(std::vector<std::string>& cells) {
    Result<bool> row = rows_.step();
    if (!row || !*row) return row;
    cells.clear();
    for (std::size_t c = 0; c < columns_.size(); ++c) cells.push_back(rows_.text(static_cast<int>(c)));
    return true;
}

std::string quoted_name(std::string_view name) {
    std::string quoted = "\"";
    for (const char c : name) {
        if (c == '"') quoted.push_back('"');
        quoted.push_back(c);
    }
    return quoted + "\"";
}

}  // namespace wgn::database
