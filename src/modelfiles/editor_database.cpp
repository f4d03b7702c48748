#include "modelfiles/editor_database.hpp"

#include <charconv>
#include <cstdint>

#include "database/database.hpp"
#include "io/platform.hpp"
#include "text/plain_text.hpp"

namespace wgn::modelfiles {
namespace {

using database::Access;
using database::Database;
using database::quoted_name;
using database::Statement;

// The longest table name taken: TABLE_mon_wgn_id stays a short identifier.
constexpr std::size_t kLongestTable = 60;

std::string columns_sql(const std::vector<std::string>& columns) {
    std::string sql;
    for (const std::string& column : columns) sql.append(sql.empty() ? "" : ", ").append(column);
    return sql;
}

// The number of a field's text: the double nearest the decimal.
Result<double> real_of(std::string_view field) {
    const std::string_view text = text::trimmed(field);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return problem_text("\"" + std::string(text) + "\" is not a number");
    return value;
}

Result<std::int64_t> whole_of(std::string_view field) {
    const std::string_view text = text::trimmed(field);
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return problem_text("\"" + std::string(text) + "\" is not a whole number");
    return value;
}

Done bind_real(Statement& insert, int parameter, std::string_view field) {
    const Result<double> value = real_of(field);
    if (!value) return value.problem();
    return insert.bind(parameter, *value);
}

Done insert_station(Statement& stations, Statement& months, const DatabaseStation& row) {
    const CliStation& station = row.station;
    Done done = stations.bind(1, std::int64_t{row.id});
    if (done) done = stations.bind(2, station.name);
    for (int f = 0; f < 3 && done; ++f) done = bind_real(stations, 3 + f, station.head[static_cast<std::size_t>(f)]);
    if (done) {
        const Result<std::int64_t> years = whole_of(station.head[3]);
        done = years ? stations.bind(6, *years) : Done(years.problem());
    }
    if (done) {
        const Result<bool> stepped = stations.step();
        done = stepped ? stations.reset() : Done(stepped.problem());
    }
    for (std::size_t m = 0; m < 12 && done; ++m) {
        const auto month = static_cast<std::int64_t>(m + 1);
        done = months.bind(1, std::int64_t{12} * (row.id - 1) + month);
        if (done) done = months.bind(2, std::int64_t{row.id});
        if (done) done = months.bind(3, month);
        for (std::size_t c = 0; c < 14 && done; ++c)
            done = bind_real(months, 4 + static_cast<int>(c), station.months[m][c]);
        if (done) {
            const Result<bool> stepped = months.step();
            done = stepped ? months.reset() : Done(stepped.problem());
        }
    }
    return done;
}

// Everything inside the transaction: the tables dropped, made and filled.
Done fill_tables(Database& db, std::string_view table, const std::vector<DatabaseStation>& stations) {
    const std::string monthly = std::string(table) + "_mon";
    Done done =
        db.execute("DROP TABLE IF EXISTS " + quoted_name(monthly) + "; DROP TABLE IF EXISTS " + quoted_name(table));
    for (const std::string& statement : editor_schema(table)) {
        if (done) done = db.execute(statement);
    }
    if (!done) return done;
    Result<Statement> insert_stations = db.prepare("INSERT INTO " + quoted_name(table) +
                                                   " (id, name, lat, lon, elev, rain_yrs) VALUES (?, ?, ?, ?, ?, ?)");
    if (!insert_stations) return insert_stations.problem();
    std::vector<std::string> columns = {"id", "wgn_id", "month"};
    std::string places = "?, ?, ?";
    for (const char* column : weather::kColumns) columns.emplace_back(column), places.append(", ?");
    Result<Statement> insert_months =
        db.prepare("INSERT INTO " + quoted_name(monthly) + " (" + columns_sql(columns) + ") VALUES (" + places + ")");
    if (!insert_months) return insert_months.problem();
    for (const DatabaseStation& station : stations) {
        if (Done inserted = insert_station(*insert_stations, *insert_months, station); !inserted) {
            return Problem{"", 0, "", "station " + station.station.name + ": " + inserted.problem().text};
        }
    }
    return {};
}

// The file opened, its tables filled in one transaction, and closed again
// (the connection ends here, before a new file that failed is removed).
Done fill_file(const std::string& file, Access access, std::string_view table,
               const std::vector<DatabaseStation>& stations, bool& busy) {
    Result<Database> db = Database::open(file, access);
    if (!db) return db.problem();
    Result<database::Transaction> writing = database::Transaction::begin(*db);
    Done done = writing ? fill_tables(*db, table, stations) : Done(writing.problem());
    if (done) done = writing->commit();
    busy = !done && db->busy();
    return done;
}

}  // namespace

std::string table_name_problem(std::string_view table) {
    const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (table.empty()) return "an empty table name";
    if (table.size() > kLongestTable) return "a table name of more than 60 characters";
    if (!letter(table.front())) return "a table name begins with a letter or '_'";
    for (const char c : table) {
        if (!letter(c) && !digit(c)) return "a table name holds only ASCII letters, digits and '_'";
    }
    if (text::lower_case(table.substr(0, 7)) == "sqlite_") return "a table name beginning with sqlite_ is SQLite's own";
    return {};
}

std::vector<std::string> editor_schema(std::string_view table) {
    const std::string monthly = std::string(table) + "_mon";
    std::vector<std::string> values;
    values.reserve(weather::kColumns.size());
    for (const char* column : weather::kColumns) values.push_back(quoted_name(column) + " REAL NOT NULL");
    return {
        "CREATE TABLE " + quoted_name(table) +
            " (\"id\" INTEGER NOT NULL PRIMARY KEY, \"name\" VARCHAR(255) NOT NULL, \"lat\" REAL NOT NULL, "
            "\"lon\" REAL NOT NULL, \"elev\" REAL NOT NULL, \"rain_yrs\" INTEGER NOT NULL)",
        "CREATE UNIQUE INDEX " + quoted_name(std::string(table) + "_name") + " ON " + quoted_name(table) +
            " (\"name\")",
        "CREATE TABLE " + quoted_name(monthly) +
            " (\"id\" INTEGER NOT NULL PRIMARY KEY, \"wgn_id\" INTEGER NOT NULL, \"month\" INTEGER NOT NULL, " +
            columns_sql(values) + ", FOREIGN KEY (\"wgn_id\") REFERENCES " + quoted_name(table) +
            " (\"id\") ON DELETE CASCADE)",
        "CREATE INDEX " + quoted_name(monthly + "_wgn_id") + " ON " + quoted_name(monthly) + " (\"wgn_id\")",
    };
}

Done write_editor_database(const io::platform::ResolvedName& file, std::string_view table,
                           const std::vector<DatabaseStation>& stations, bool& busy) {
    namespace platform = io::platform;
    busy = false;
    // An existing file is opened as it is; a missing one is created, and
    // removed again if the tables do not get into it.
    const platform::FileKind kind = platform::file_kind(file);
    if (kind != platform::FileKind::missing && kind != platform::FileKind::regular)
        return Problem{file.shown, 0, "", "not a file"};
    const bool created = kind == platform::FileKind::missing;
    Done done = fill_file(file.shown, created ? Access::create : Access::write, table, stations, busy);
    if (done) return done;
    if (created) {
        platform::remove_file(file);
        platform::remove_file(platform::resolve_file_name(file.shown + "-journal"));
    }
    return done.problem().in_file(file.shown);
}

}  // namespace wgn::modelfiles
