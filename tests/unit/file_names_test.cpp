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
