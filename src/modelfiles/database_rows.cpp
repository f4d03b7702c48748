#include "modelfiles/database_rows.hpp"

#include <memory>

namespace wgn::modelfiles {
namespace {

namespace platform = io::platform;

// A text as an SQL string literal: 'wgn', an apostrophe doubled.
std::string quoted_literal(std::string_view text) {
    std::string quoted = "'";
    for (const char c : text) quoted.append(c == '\'' ? "''" : std::string(1, c));
    return quoted + "'";
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

Result<ReadOnlyDatabase> ReadOnlyDatabase::open(const platform::ResolvedName& file) {
    // A writer's lock held for a moment is waited for; a longer one is reported.
    Result<database::Database> opened = database::Database::open(file.shown, database::Access::read_only, 5000);
    if (!opened) return Problem{file.shown, 0, "", "cannot be opened as a database: " + opened.problem().text};
    ReadOnlyDatabase database;
    database.db_ = std::make_unique<database::Database>(std::move(*opened));
    database.shown_ = file.shown;
    // Reading the schema tells a file that is no database (or a locked one).
    if (Result<std::vector<std::string>> tables = database.table_names(); !tables) return tables.problem();
    return database;
}

Result<std::vector<TextRow>> ReadOnlyDatabase::rows(const std::string& sql,
                                                    const std::vector<std::int64_t>& numbers) const {
    const auto failed = [this](const Problem& problem) {
        return Problem{shown_, 0, "", "cannot be read: " + problem.text};
    };
    Result<database::Statement> statement = db_->prepare(sql);
    if (!statement) return failed(statement.problem());
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (Done bound = statement->bind(static_cast<int>(i + 1), numbers[i]); !bound) return failed(bound.problem());
    }
    std::vector<TextRow> rows;
    const int columns = statement->column_count();
    for (;;) {
        const Result<bool> row = statement->step();
        if (!row) return failed(row.problem());
        if (!*row) break;
        TextRow& cells = rows.emplace_back();
        cells.reserve(static_cast<std::size_t>(columns));
        for (int c = 0; c < columns; ++c) cells.push_back(statement->cell(c));
    }
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

}  // namespace wgn::modelfiles
