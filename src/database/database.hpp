// An SQLite database file, the only place the programs use SQLite: open a
// file, run statements in a transaction, bind text, real and whole-number
// values, and read the rows of a table by name as text cells.
//
//   Result<Database> db = Database::open("/d/wgn.sqlite", Access::write);
//   Result<Transaction> writing = Transaction::begin(*db);  // busy: "database is locked"
//   Result<Statement> insert = db->prepare("INSERT INTO t VALUES (?, ?)");
//   insert->bind(1, std::int64_t{1}); insert->bind(2, 40.5853); insert->step();
//   writing->commit();                     // not committed: rolled back at its end
//
//   Result<TableReader> rows = TableReader::open(db, "wgn_cfsr_world");
//   rows->columns()                                 -> {"id", "name", "lat", ...}
//   std::vector<std::string> cells; rows->next(cells) -> true, {"1", "a", "40.5853", ...}
//
// A REAL cell is the shortest text that reads back as the same double, so
// the decimal it was stored from wherever a double holds that decimal.
//
// A problem's text is SQLite's own reason ("database is locked", "file is
// not a database"); `busy` says that another program holds the file.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "problem/problem.hpp"

struct sqlite3;
struct sqlite3_stmt;

namespace wgn::database {

enum class Access {
    read_only,  // an existing file, never changed
    write,      // an existing file, read and written
    create,     // as write; a missing file is created
};

class Statement;

class Database {
  public:
    // The file, opened; waits up to `busy_ms` for another program's lock
    // before a statement gives up as busy.
    static Result<Database> open(const std::string& file, Access access, int busy_ms = 1000);

    // Runs statements that return no rows (";"-separated).
    Done execute(std::string_view sql);
    Result<Statement> prepare(std::string_view sql);
    // Whether the last problem of this connection (or of its statements) was
    // a lock that another connection holds.
    bool busy() const { return connection_->busy; }
    // Whether a table (or view) of that name exists.
    Result<bool> has_table(std::string_view table);

    // The connection and what its last problem was; it keeps its place
    // when the Database moves, so that its statements can find it.
    struct Connection {
        Connection() = default;
        Connection(const Connection&) = delete;
        Connection& operator=(const Connection&) = delete;
        ~Connection();
        sqlite3* db = nullptr;
        bool busy = false;
        Problem problem(int code);
    };

  private:
    friend class Transaction;
    Database() : connection_(std::make_unique<Connection>()) {}
    std::unique_ptr<Connection> connection_;
};

// A write transaction: BEGIN IMMEDIATE takes the file's write lock at once
// (busy when another program holds it), and what is not committed is rolled
// back when the Transaction ends.
class Transaction {
  public:
    static Result<Transaction> begin(Database& db);
    Transaction(Transaction&& other) noexcept : connection_(std::exchange(other.connection_, nullptr)) {}
    Transaction& operator=(Transaction&&) = delete;
    ~Transaction();
    Done commit();

  private:
    explicit Transaction(Database::Connection& connection) : connection_(&connection) {}
    Database::Connection* connection_;  // nullptr once committed or rolled back
};

class Statement {
  public:
    // Parameters count from 1, as in SQL.
    Done bind(int parameter, std::string_view text);
    Done bind(int parameter, double value);
    Done bind(int parameter, std::int64_t value);
    // The next row: true when there is one, false when the statement is done.
    Result<bool> step();
    // Ready to run again with new values.
    Done reset();
    int column_count() const;
    std::string column_name(int column) const;
    // A cell of the current row as text: an INTEGER's digits, a REAL's
    // shortest text that reads back as the same double ("5.32", not
    // 5.32000000000000028...; a whole one "10.0"), a TEXT as stored;
    // NULL: nothing.
    std::optional<std::string> cell(int column) const;
    // The same, NULL as an empty text.
    std::string text(int column) const { return cell(column).value_or(""); }

  private:
    friend class Database;
    struct Finalize {
        void operator()(sqlite3_stmt* statement) const;
    };
    Statement(Database::Connection& connection, sqlite3_stmt* statement)
        : connection_(&connection), statement_(statement) {}
    Done bound(int code);
    Database::Connection* connection_;
    std::unique_ptr<sqlite3_stmt, Finalize> statement_;
};

// The rows of one table, as SQLite stores them, each as text cells.
class TableReader {
  public:
    static Result<TableReader> open(Database& db, std::string_view table);
    const std::vector<std::string>& columns() const { return columns_; }
    // The next row's cells, one per column; false after the last row.
    Result<bool> next(std::vector<std::string>& cells);

  private:
    TableReader(Statement rows, std::vector<std::string> columns)
        : rows_(std::move(rows)), columns_(std::move(columns)) {}
    Statement rows_;
    std::vector<std::string> columns_;
};

// `name` as an SQL identifier in double quotes ("a""b" for a"b).
std::string quoted_name(std::string_view name);

}  // namespace wgn::database
