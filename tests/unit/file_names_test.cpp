#include <gtest/gtest.h>

#include <string>

#include "io/file_names.hpp"

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

}  // namespace
