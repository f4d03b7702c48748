// The SQLite layer: a table read back by name as text cells, a file opened
// read-only that refuses writes, a missing file opened only when asked to
// create it, a transaction rolled back unless committed, and a file another
// connection holds told apart as busy.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "database/database.hpp"
#include "scratch_file.hpp"

namespace wgn {
namespace {

using database::Access;
using database::Database;
using database::TableReader;
using database::Transaction;

std::vector<std::vector<std::string>> rows_of(Database& db, std::string_view table) {
    Result<TableReader> reader = TableReader::open(db, table);
    EXPECT_TRUE(reader.ok()) << (reader ? "" : reader.problem().text);
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> cells;
    while (reader) {
        const Result<bool> row = reader->next(cells);
        if (!row || !*row) break;
        rows.push_back(cells);
    }
    return rows;
}

TEST(Database, ReadsATableByNameAsTextCells) {
    Result<Database> db = Database::open(":memory:", Access::create);
    ASSERT_TRUE(db.ok());
    ASSERT_TRUE(
        db->execute("CREATE TABLE \"a b\" (id INTEGER, name TEXT, lat REAL, note TEXT);"
                    "INSERT INTO \"a b\" VALUES (1, 'Zürich', 47.3769, NULL), (2, 'x\"y', -0.5, '')"));
    Result<TableReader> reader = TableReader::open(*db, "a b");
    ASSERT_TRUE(reader.ok());
    EXPECT_EQ(reader->columns(), (std::vector<std::string>{"id", "name", "lat", "note"}));
    EXPECT_EQ(rows_of(*db, "a b"),
              (std::vector<std::vector<std::string>>{{"1", "Zürich", "47.3769", ""}, {"2", "x\"y", "-0.5", ""}}));
    const Result<TableReader> missing = TableReader::open(*db, "wgn");
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.problem().text, "no table wgn");
}

TEST(Database, ReadOnlyRefusesWritesAndAMissingFile) {
    const ScratchFile scratch("read_only");
    const std::string& file = scratch.name;
    EXPECT_FALSE(Database::open(file, Access::read_only).ok());
    EXPECT_FALSE(Database::open(file, Access::write).ok());
    ASSERT_TRUE(Database::open(file, Access::create)->execute("CREATE TABLE t (x)"));
    Result<Database> db = Database::open(file, Access::read_only);
    ASSERT_TRUE(db.ok());
    const Done written = db->execute("INSERT INTO t VALUES (1)");
    ASSERT_FALSE(written.ok());
    EXPECT_EQ(written.problem().text, "attempt to write a readonly database");
}

TEST(Database, WhatATransactionDoesNotCommitIsRolledBack) {
    const ScratchFile scratch("transaction");
    const std::string& file = scratch.name;
    Result<Database> db = Database::open(file, Access::create);
    ASSERT_TRUE(db.ok());
    ASSERT_TRUE(db->execute("CREATE TABLE t (x)"));
    {
        Result<Transaction> left = Transaction::begin(*db);
        ASSERT_TRUE(left.ok());
        ASSERT_TRUE(db->execute("INSERT INTO t VALUES (1)"));
    }
    Result<Transaction> kept = Transaction::begin(*db);
    ASSERT_TRUE(kept.ok());
    ASSERT_TRUE(db->execute("INSERT INTO t VALUES (2)"));
    ASSERT_TRUE(kept->commit());
    EXPECT_EQ(rows_of(*db, "t"), (std::vector<std::vector<std::string>>{{"2"}}));
}

TEST(Database, AFileHeldByAnotherConnectionIsBusy) {
    const ScratchFile scratch("busy");
    const std::string& file = scratch.name;
    Result<Database> holder = Database::open(file, Access::create);
    ASSERT_TRUE(holder.ok());
    ASSERT_TRUE(holder->execute("CREATE TABLE t (x)"));
    Result<Transaction> held = Transaction::begin(*holder);
    ASSERT_TRUE(held.ok());
    Result<Database> other = Database::open(file, Access::write, 0);
    ASSERT_TRUE(other.ok());
    const Result<Transaction> refused = Transaction::begin(*other);
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.problem().text, "database is locked");
    EXPECT_TRUE(other->busy());
    const Done broken = other->execute("CREATE TABLE t (y)");  // a fault of its own, not a lock
    EXPECT_FALSE(broken.ok());
    EXPECT_FALSE(other->busy());
}

}  // namespace
}  // namespace wgn
