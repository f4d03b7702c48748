// Records through real units, on private scratch files: what reaches the file
// and what a rewind replaces.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "io/units.hpp"

namespace {

using wgn::io::TextItem;

constexpr int kUnit = 300;

// Every record of the unit from its start, as texts of 100 characters.
std::vector<std::string> records_of(int unit) {
    wgn::io::rewind_unit(unit);
    std::vector<std::string> records;
    for (;;) {
        std::string record;
        const auto status = wgn::io::read_list_with_status(unit, {TextItem{&record, 100}});
        if (status != wgn::io::ReadStatus::ok) break;
        records.push_back(record.substr(0, record.find_last_not_of(' ') + 1));
    }
    return records;
}

class ScratchUnit : public ::testing::Test {
  protected:
    void SetUp() override { wgn::io::connect(kUnit, "labels-only.clm", "SCRATCH"); }
    void TearDown() override { wgn::io::close_unit(kUnit); }
};

TEST_F(ScratchUnit, LongListRecordGoesOnInTheNextRecord) {
    const std::string text(100, 'x');
    wgn::io::write_list_record(kUnit, text);
    // The first record holds the blank and 79 characters, the next the rest.
    const auto records = records_of(kUnit);
    ASSERT_EQ(records.size(), 2U);
    EXPECT_EQ(records[0], std::string(79, 'x'));
    EXPECT_EQ(records[1], std::string(21, 'x'));
}

TEST_F(ScratchUnit, WriteAfterRewindReplacesEverythingFromThere) {
    static const wgn::io::FieldList i8("(I8)");
    for (std::int32_t k = 1; k <= 3; ++k) wgn::io::write_formatted(kUnit, i8, {k});
    wgn::io::rewind_unit(kUnit);
    std::string first;
    ASSERT_EQ(wgn::io::read_list_with_status(kUnit, {TextItem{&first, 8}}), wgn::io::ReadStatus::ok);
    EXPECT_EQ(first, "1       ");
    wgn::io::write_formatted(kUnit, i8, {std::int32_t{9}});  // after the first record: 2 and 3 are gone
    EXPECT_EQ(records_of(kUnit), (std::vector<std::string>{"1", "9"}));
}

TEST_F(ScratchUnit, WriteRightAfterRewindReplacesEverything) {
    static const wgn::io::FieldList i8("(I8)");
    for (std::int32_t k = 1; k <= 3; ++k) wgn::io::write_formatted(kUnit, i8, {k});
    wgn::io::rewind_unit(kUnit);
    wgn::io::write_formatted(kUnit, i8, {std::int32_t{9}});
    EXPECT_EQ(records_of(kUnit), (std::vector<std::string>{"9"}));
}

TEST_F(ScratchUnit, FormattedRunOfRealsTakesOneValuePerRecord) {
    static const wgn::io::FieldList f12_2("(F12.2)");
    for (const float value : {0.004F, 0.006F, 2.675F, -0.004F}) wgn::io::write_formatted(kUnit, f12_2, {value});
    wgn::io::rewind_unit(kUnit);
    std::vector<float> values(4);
    wgn::io::read_formatted_reals(kUnit, f12_2, values);
    EXPECT_EQ(values, (std::vector<float>{0.0F, 0.01F, 2.67F, 0.0F}));
}

// The run closes and rewinds units it may never have connected: neither may
// fail, nor touch a unit that is connected, nor create a file.
TEST(Units, ClosingOrRewindingAnUnconnectedUnitDoesNothing) {
    static const wgn::io::FieldList i8("(I8)");
    const auto files_here = [] {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(".")) names.push_back(entry.path().string());
        std::sort(names.begin(), names.end());
        return names;
    };
    wgn::io::connect(kUnit, "unconnected-neighbour.clm", "SCRATCH");
    wgn::io::write_formatted(kUnit, i8, {std::int32_t{1}});
    wgn::io::write_formatted(kUnit, i8, {std::int32_t{2}});
    const std::vector<std::string> before = files_here();
    for (const int unit : {777, 778}) {
        wgn::io::close_unit(unit);
        wgn::io::rewind_unit(unit);
        wgn::io::close_unit(unit);  // twice over is as harmless
    }
    EXPECT_EQ(files_here(), before);
    // The connected unit goes on where it was: nothing was rewound or cut.
    wgn::io::write_formatted(kUnit, i8, {std::int32_t{3}});
    EXPECT_EQ(records_of(kUnit), (std::vector<std::string>{"1", "2", "3"}));
    wgn::io::close_unit(kUnit);
    // A unit closed once is unconnected again: closing and rewinding it does nothing.
    wgn::io::close_unit(kUnit);
    wgn::io::rewind_unit(kUnit);
    EXPECT_EQ(files_here(), before);
}

}  // namespace
