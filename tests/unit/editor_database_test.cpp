// The Editor's tables written through the SQLite layer: table names the
// Editor's import can take, and a write that fails part-way leaving the file
// as it was (a new file gone).  tests/e2e/sqlite_tables.py reads the tables
// of a batch back as the Editor does.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "io/platform.hpp"
#include "modelfiles/editor_database.hpp"
#include "scratch_file.hpp"

namespace wgn {
namespace {

std::string bytes_of(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

modelfiles::DatabaseStation station(int id, std::string name, std::string value) {
    modelfiles::CliStation cli;
    cli.name = std::move(name);
    cli.head = {"    40.58530", "  -105.08440", "  1559.20000", "      30"};
    for (auto& month : cli.months) month.fill(value);
    return {id, cli};
}

TEST(EditorDatabase, TakesTableNamesTheImportCanUse) {
    const struct {
        std::string name;
        bool taken;
    } cases[] = {
        {"wgnrain", true},
        {"wgn_cfsr_world", true},
        {"_x1", true},
        {"", false},
        {"1wgn", false},
        {"my table", false},
        {"wgn-1", false},
        {"Zürich", false},
        {"sqlite_x", false},
        {"SQLITE_x", false},
        {std::string(60, 'a'), true},
        {std::string(61, 'a'), false},
    };
    for (const auto& c : cases) EXPECT_EQ(modelfiles::table_name_problem(c.name).empty(), c.taken) << c.name;
}

TEST(EditorDatabase, AFailedWriteLeavesTheFileAsItWas) {
    const ScratchFile scratch("failed");
    const std::string& file = scratch.name;
    const io::platform::ResolvedName name = io::platform::resolve_file_name(file);
    bool busy = false;
    // A new file: not left behind.
    const Done refused =
        modelfiles::write_editor_database(name, "t", {station(1, "a", "1.5"), station(2, "b", "x")}, busy);
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.problem().message(), file + ": station b: \"x\" is not a number");
    EXPECT_EQ(io::platform::file_kind(name), io::platform::FileKind::missing);
    // An existing file: byte for byte as it was, also where the same name
    // twice breaks the unique index half-way.
    ASSERT_TRUE(modelfiles::write_editor_database(name, "t", {station(1, "a", "1.5")}, busy));
    const std::string before = bytes_of(file);
    for (const auto& stations : {std::vector{station(1, "a", "2"), station(2, "b", "1e")},
                                 std::vector{station(1, "a", "2"), station(2, "a", "2")}}) {
        EXPECT_FALSE(modelfiles::write_editor_database(name, "t", stations, busy).ok());
        EXPECT_EQ(bytes_of(file), before);
    }
}

}  // namespace
}  // namespace wgn
