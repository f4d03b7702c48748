// The Windows layer under the system's own rules: how names resolve and which
// names are refused, and which report each of the system's failure codes
// gives.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "io/platform.hpp"

namespace {

namespace platform = wgn::io::platform;

TEST(WindowsNames, ResolvedAsTheSystemDoes) {
    struct Case {
        const char* name;
        const char* shown;
        int report;
    };
    // From the folder C:\windows\system32 of a system with drives C and Z only.
    const Case cases[] = {
        {"in.txt", "C:\\windows\\system32\\in.txt", 0},
        {"..\\a.txt", "C:\\windows\\a.txt", 0},
        {"sub/x.txt", "C:\\windows\\system32\\sub\\x.txt", 0},
        {"C:/data/../in.txt", "C:\\in.txt", 0},
        {"\\x.txt", "C:\\x.txt", 0},
        {"\\\\server\\share\\x.txt", "\\\\server\\share\\x.txt", 0},
        {"D:x.txt", "D:\\x.txt", 42},
        {"q:\\in.txt", "q:\\in.txt", 42},
        {"a<b.txt", "C:\\windows\\system32\\a<b.txt", 43},
        {"a>b|c", "C:\\windows\\system32\\a>b|c", 43},
        {"what?.txt", "C:\\windows\\system32\\what?.txt", 43},
        {"*.txt", "C:\\windows\\system32\\*.txt", 43},
        {"say\"x\".txt", "C:\\windows\\system32\\say\"x\".txt", 43},
        {"ab:c.txt", "C:\\windows\\system32\\ab:c.txt", 43},
        {"C:\\a:b", "C:\\a:b", 43},
    };
    ASSERT_NE(SetCurrentDirectoryW(L"C:\\windows\\system32"), 0);
    for (const Case& c : cases) {
        const platform::ResolvedName resolved = platform::resolve_file_name(c.name);
        EXPECT_EQ(resolved.shown, c.shown) << c.name;
        EXPECT_EQ(resolved.report, c.report) << c.name;
    }
}

TEST(WindowsNames, ResolvedNameOfMoreThan256CharactersIsRefused) {
    ASSERT_NE(SetCurrentDirectoryW(L"C:\\"), 0);
    // "C:\" and 253 characters: 256 in all; one more is too long.
    EXPECT_EQ(platform::resolve_file_name(std::string(253, 'n')).report, 0);
    EXPECT_EQ(platform::resolve_file_name(std::string(254, 'n')).report, 43);
}

TEST(WindowsNames, OneFileUnderTwoNames) {
    ASSERT_NE(SetCurrentDirectoryW(L"C:\\windows"), 0);
    const auto name = [](const char* text) { return platform::resolve_file_name(text); };
    EXPECT_TRUE(platform::same_existing_file(name("win.ini"), name("system32\\..\\WIN.INI")));
    EXPECT_FALSE(platform::same_existing_file(name("win.ini"), name("system.ini")));
    EXPECT_FALSE(platform::same_existing_file(name("win.ini"), name("no-such-file.txt")));
}

TEST(WindowsNames, OnePathWhateverTheLetterCase) {
    ASSERT_NE(SetCurrentDirectoryW(L"C:\\windows"), 0);
    const auto name = [](const char* text) { return platform::resolve_file_name(text); };
    EXPECT_TRUE(platform::same_path(name("MEAN_PCP.STA"), name("c:\\Windows\\mean_pcp.sta")));
    EXPECT_FALSE(platform::same_path(name("mean_pcp.sta"), name("totalpcp.sta")));
}

// What a name is: the system's devices and pipes are never files.
TEST(WindowsNames, KindOfFileByName) {
    ASSERT_NE(SetCurrentDirectoryW(L"C:\\windows"), 0);
    const std::pair<const char*, platform::FileKind> cases[] = {
        {"win.ini", platform::FileKind::regular},
        {"C:\\windows", platform::FileKind::folder},
        {"no-such-file.txt", platform::FileKind::missing},
        {"NUL", platform::FileKind::device},
        {"con", platform::FileKind::device},
        {"\\\\.\\NUL", platform::FileKind::device},
        {"\\\\.\\COM1", platform::FileKind::device},
        {"\\\\.\\pipe\\wgnrain", platform::FileKind::fifo},
    };
    for (const auto& [name, kind] : cases) {
        EXPECT_EQ(platform::file_kind(platform::resolve_file_name(name)), kind) << name;
    }
    EXPECT_FALSE(platform::is_link(platform::resolve_file_name("win.ini")));
}

// Names are UTF-8 inside and Unicode for the system, whatever the code pages.
TEST(WindowsNames, NamesBeyondAsciiAreUtf8Inside) {
    ASSERT_NE(SetCurrentDirectoryW(L"C:\\"), 0);
    const platform::ResolvedName folder = platform::resolve_file_name("données-Łódź");
    EXPECT_EQ(folder.shown, "C:\\données-Łódź");
    int error = 0;
    ASSERT_TRUE(platform::make_folder(folder, error)) << error;
    const DWORD attributes = GetFileAttributesW(L"C:\\donn\u00E9es-\u0141\u00F3d\u017A");
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    const std::vector<std::string> entries = platform::folder_entries(platform::resolve_file_name("C:\\"));
    EXPECT_NE(std::find(entries.begin(), entries.end(), "données-Łódź"), entries.end());
    RemoveDirectoryW(L"C:\\donn\u00E9es-\u0141\u00F3d\u017A");
    // A list in the ANSI code page (Western European here) becomes UTF-8.
    std::string text;
    ASSERT_TRUE(platform::system_text_as_utf8("caf\xE9", text));
    if (GetACP() == 1252) {
        EXPECT_EQ(text, "café");
    }
}

// NetCDF-C takes names of the ANSI code page: a name within it goes in that
// form; one beyond it as its short name, or not at all where it has none.
TEST(WindowsNames, NarrowNamesForLibrariesOfTheCodePage) {
    if (GetACP() != 1252) GTEST_SKIP() << "rows written for code page 1252";
    ASSERT_NE(SetCurrentDirectoryW(L"C:\\"), 0);
    EXPECT_EQ(platform::narrow_library_name(platform::resolve_file_name("grid.nc")),
              std::optional<std::string>("C:\\grid.nc"));
    EXPECT_EQ(platform::narrow_library_name(platform::resolve_file_name("caf\u00E9.nc")),
              std::optional<std::string>("C:\\caf\xE9.nc"));
    // Beyond the code page and not on disk: no short name either.
    EXPECT_EQ(platform::narrow_library_name(platform::resolve_file_name("\u6C34-missing.nc")), std::nullopt);
    // On disk, its short name where the volume keeps short names.
    const HANDLE file = CreateFileW(L"C:\\\u6C34.nc", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    const std::optional<std::string> narrow = platform::narrow_library_name(platform::resolve_file_name("\u6C34.nc"));
    if (narrow) {
        EXPECT_EQ(narrow->find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789~_.:\\"), std::string::npos)
            << *narrow;
    }
    DeleteFileW(L"C:\\\u6C34.nc");
}

TEST(WindowsFailures, EachSystemCodeGivesItsReport) {
    struct Case {
        DWORD code;
        int report;
    };
    const Case cases[] = {
        {ERROR_FILE_NOT_FOUND, 29}, {ERROR_PATH_NOT_FOUND, 29},      {ERROR_BAD_NETPATH, 29},
        {ERROR_BAD_NET_NAME, 29},   {ERROR_ACCESS_DENIED, 9},        {ERROR_INVALID_DRIVE, 42},
        {ERROR_INVALID_NAME, 43},   {ERROR_BAD_PATHNAME, 43},        {ERROR_FILENAME_EXCED_RANGE, 43},
        {ERROR_DIRECTORY, 43},      {ERROR_TOO_MANY_OPEN_FILES, 30}, {ERROR_SHARING_VIOLATION, 30},
        {ERROR_LOCK_VIOLATION, 30}, {ERROR_WRITE_PROTECT, 30},       {ERROR_NOT_READY, 30},
    };
    for (const Case& c : cases) EXPECT_EQ(platform::open_failure_report(static_cast<int>(c.code)), c.report) << c.code;
}

TEST(WindowsFailures, StatusIsC0000000PlusTheReportNumber) {
    EXPECT_EQ(platform::failure_status(29), 0xC000001DU);
    EXPECT_EQ(platform::failure_status(24), 0xC0000018U);
    EXPECT_EQ(platform::failure_status(64), 0xC0000040U);
}

TEST(WindowsFailures, ReasonIsTheSystemsMessageWithoutItsLineEnd) {
    const std::string text = platform::reason_text(ERROR_PATH_NOT_FOUND);
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.back(), '\n');
    EXPECT_NE(text.back(), '\r');
}

}  // namespace
