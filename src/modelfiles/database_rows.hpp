// The few things the weather-generator tables need of an SQLite database,
// opened read-only: whether a file is one, its tables, and the rows of a
// query with every cell as text.
//
//   is_database_file(file)  -> true when the file begins "SQLite format 3\0"
//   db.rows("SELECT id, lat FROM wgn")  -> {{"1", "40.5853"}, {"2", "-33.9"}}
//
// A cell's text as database::Statement::cell gives it: a REAL's shortest
// text that reads back as the same double ("5.32"; 0.30000000000000004
// stays so; a whole one "10.0"); a NULL is nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "database/database.hpp"
#include "io/platform.hpp"
#include "problem/problem.hpp"

namespace wgn::modelfiles {

using TextCell = std::optional<std::string>;
using TextRow = std::vector<TextCell>;

// The first 16 bytes of every SQLite 3 database.
inline constexpr std::string_view kDatabaseHeader{"SQLite format 3\0", 16};

bool is_database_file(const io::platform::ResolvedName& file);

class ReadOnlyDatabase {
  public:
    // A problem when the file cannot be opened, is not a database, or another
    // program holds it locked.
    static Result<ReadOnlyDatabase> open(const io::platform::ResolvedName& file);

    // The names of its tables, in the order of their names.
    Result<std::vector<std::string>> table_names() const;
    // The table's columns, in their order; nothing for no such table.
    Result<std::vector<std::string>> columns_of(std::string_view table) const;
    // Whether an index of the table begins with the column.
    Result<bool> has_index_on(std::string_view table, std::string_view column) const;
    // The rows of a query, each `?` of it bound in turn to `numbers`.
    Result<std::vector<TextRow>> rows(const std::string& sql, const std::vector<std::int64_t>& numbers = {}) const;

    const std::string& shown() const { return shown_; }

  private:
    std::unique_ptr<database::Database> db_;
    std::string shown_;
};

}  // namespace wgn::modelfiles
