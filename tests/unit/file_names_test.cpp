#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "io/file_lines.hpp"
#include "io/file_names.hpp"
#include "io/platform.hpp"
#include "io/whole_files.hpp"

namespace {

TEST(FileNames, TrimmedAndResolvedByTextAlone) {
    struct Case {
        const char* name;
        const char* directory;
        const char* expected;
    };
    const Case cases[] = {
        {"x.txt", "/home/me", "/home/me/x.txt"},
        {"./data//../in.txt", "/w", "/w/in.txt"},
        {"/tmp/a/./b", "/w", "/tmp/a/b"},
        {"../../../../x", "/a/b", "/x"},
        {"sub/", "/w", "/w/sub/"},
        {".", "/w", "/w"},
        {"/", "/w", "/"},
    };
    for (const Case& c : cases) EXPECT_EQ(wgn::io::full_path(c.name, c.directory), c.expected) << c.name;
}

TEST(FileNames, BlanksAndUnfilledPaddingAreNotPartOfTheName) {
    EXPECT_EQ(wgn::io::trimmed_file_name("  in.txt   "), "in.txt");
    EXPECT_EQ(wgn::io::trimmed_file_name(std::string(255, '\0')), "");
    EXPECT_EQ(wgn::io::trimmed_file_name(std::string(300, 'a')).size(), 256U);
    EXPECT_EQ(wgn::io::trimmed_file_name("'a b'"), "'a b'");
}

TEST(FileNames, EveryRefusalSaysWhy) {
    namespace platform = wgn::io::platform;
    struct Case {
        platform::ResolvedName name;
        std::string why;
    };
    const Case cases[] = {
        {{"Q:\\out", "Q:\\out", 42, 0}, "no such drive"},
        {{std::string(257, 'a'), "", 43, 0}, "the name is too long"},
        {{"C:\\a<b", "", 43, 0}, "a name that holds a character no file name may hold"},
        {{"x", "", 43, platform::kNameTooLong}, platform::reason_text(platform::kNameTooLong)},
    };
    for (const Case& c : cases) EXPECT_EQ(wgn::io::name_refusal(c.name), c.why) << c.name.shown;
}

}  // namespace

// A file is read whole into its place whatever its size against the reads
// that fill it: exactly the file's size, a byte more or less than a read's
// step, and a file that reports no size (read on until its end).
TEST(WholeFiles, ReadWholeAtEverySize) {
    const std::string name = ::testing::TempDir() + "unit-test-whole-file-" +
                             std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + ".txt";
    for (const std::size_t size : {0UL, 1UL, 4095UL, 4096UL, 4097UL, 65535UL, 65536UL, 65537UL, 200001UL}) {
        std::string written(size, '\0');
        for (std::size_t i = 0; i < size; ++i) written[i] = static_cast<char>('a' + i % 23);
        {
            std::FILE* file = std::fopen(name.c_str(), "wb");
            ASSERT_NE(file, nullptr);
            ASSERT_EQ(std::fwrite(written.data(), 1, size, file), size);
            std::fclose(file);
        }
        std::string read = "left over";
        int error = 0;
        ASSERT_TRUE(wgn::io::read_whole_file(wgn::io::platform::resolve_file_name(name), read, error)) << size;
        EXPECT_EQ(read, written) << size;
    }
    std::remove(name.c_str());
    // Linux's /proc files tell a size of 0 and hold more.
    if (std::filesystem::exists("/proc/self/status")) {
        std::string status;
        int error = 0;
        ASSERT_TRUE(wgn::io::read_whole_file(wgn::io::platform::resolve_file_name("/proc/self/status"), status, error));
        EXPECT_NE(status.find("Name:"), std::string::npos);
    }
}

TEST(WholeFiles, LinesAWindowAtATime) {
    // Every line as the text has it, whatever the window (0 taken as 1) and
    // wherever its edges fall: in a line, at its LF, between a CR and its
    // LF, in a line longer than the window.
    const std::string name = ::testing::TempDir() + "unit-test-file-lines-" +
                             std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + ".txt";
    const std::string texts[] = {
        "",
        "a",
        "a\n",
        "a\r\nb\n\nc",
        "\n\n",
        "2001-01-01,1.5\r\n2001-01-02,\r\n2001-01-03,0\r\n",
        std::string(100, 'x') + "\n" + std::string(7, 'y') + "\nz",
    };
    for (const std::string& text : texts) {
        std::vector<std::string> expected;
        for (std::size_t at = 0; at < text.size();) {
            const std::size_t end = std::min(text.find('\n', at), text.size());
            expected.push_back(text.substr(at, end - at));
            at = end + 1;
        }
        {
            std::FILE* file = std::fopen(name.c_str(), "wb");
            ASSERT_NE(file, nullptr);
            ASSERT_EQ(std::fwrite(text.data(), 1, text.size(), file), text.size());
            std::fclose(file);
        }
        for (const std::size_t window : {0UL, 1UL, 2UL, 3UL, 7UL, 16UL, 65536UL}) {
            wgn::io::FileLines lines(window);
            int error = 0;
            ASSERT_TRUE(lines.open(wgn::io::platform::resolve_file_name(name), error));
            std::vector<std::string> read;
            for (std::string_view line; lines.next(line);) read.emplace_back(line);
            EXPECT_EQ(read, expected) << "window " << window << ", text " << text.substr(0, 20);
            EXPECT_EQ(lines.error(), 0);
        }
    }
    std::remove(name.c_str());
}
