// A scratch file of a unit test, in the test's temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>

namespace wgn {

// A file of this run's own (tests of other builds may share the folder; not
// named wgnrain-, the programs' own scratch names that the end-to-end tests
// running beside look for as litter), removed when the test ends, also when an assertion ends it early.  It is
// declared before the connections to it, so that they are closed first:
// Windows does not remove a file that is still open.
struct ScratchFile {
    explicit ScratchFile(std::string_view stem) {
        static const std::string run = std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
        name = ::testing::TempDir() + "unit-test-" + std::string(stem) + "-" + run + ".sqlite";
        std::remove(name.c_str());
    }
    ~ScratchFile() {
        std::remove(name.c_str());
        std::remove((name + "-journal").c_str());
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
    std::string name;
};

}  // namespace wgn
