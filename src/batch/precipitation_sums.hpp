// The six precipitation values of a month over any drawn set of years, from
// sums kept once per year and month.
//
// A resample of the intervals concatenates the drawn years' blocks of a
// month; each of the report's six values depends on that concatenation only
// through sums a block carries: its days, dry days, the sums of the value,
// its square and its cube, and its wet-after-dry and wet-after-wet pairs.
// A pair that crosses from one block to the next is never counted when
// every block has the month's nominal length; February's leap-year blocks
// of 29 days shift the skipped pairs, so a February block keeps its counts
// for each place the skipped pairs can have reached when it begins.
//
// The sums are taken in double precision where the report sums the days in
// single precision one by one: a value may differ from the report's in its
// last printed digit when that digit sits on a rounding boundary.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "batch/record_intervals.hpp"
#include "weather/gap_aware_precipitation.hpp"

namespace wgn::batch {

// A February block's pairs by the place the concatenation has reached since
// its last skipped pair when the block begins (0 to 27): the pairs counted
// within the block and the place at its last day; and its ends, for the
// pair into the next drawn block.
struct FebruaryPairs {
    std::array<std::uint8_t, 28> wet_after_dry{}, wet_after_wet{}, place_after{};
    bool first_positive = false, last_dry = false, last_positive = false;

    // `kind(i)` of the pair (i, i + 1) of a block of `length` days: 1 wet
    // after dry, 2 wet after wet, 0 neither.
    template <typename Kind>
    static FebruaryPairs of(std::size_t length, Kind kind);
    // The drawn years' pairs, {wet after dry, wet after wet}, the pair after
    // every 28th day of their concatenation skipped.
    static std::array<std::int32_t, 2> drawn(const std::vector<FebruaryPairs>& years_pairs,
                                             const std::vector<int>& years);
};

class PrecipitationSums {
  public:
    explicit PrecipitationSums(const MonthBlocks& rounded);

    // As precipitation_values(rounded, years), in a few numbers a year.
    std::array<std::array<double, 6>, 12> values(const std::vector<int>& years) const;

  private:
    // A year's twelve blocks, field by field (twelve months each, one field
    // after the other), so that adding up the drawn years adds whole rows:
    // the counts (days, dry days, wet-after-dry and wet-after-wet pairs) and
    // the power sums (of the values, their squares and their cubes).
    static constexpr std::size_t kDays = 0, kDry = 12, kWetAfterDry = 24, kWetAfterWet = 36;
    static constexpr std::size_t kSum = 0, kSquares = 12, kCubes = 24;
    struct Blocks {
        std::array<std::int32_t, 48> counts{};
        std::array<double, 36> powers{};
    };
    std::vector<Blocks> blocks_;
    std::vector<FebruaryPairs> february_;
};

// The same for a period with missing days: the gap-aware values
// (weather/gap_aware_precipitation.hpp) of any drawn set of years, from
// sums kept once per year and month.  A block also keeps its length (of
// which the drawn years' days a year are made), its valid days, the dry and
// wet ones among them followed by a valid day within the block, and its
// ends: whether its first day is valid, and its last day's kind, which the
// next drawn block's first day follows.
class GapAwareSums {
  public:
    explicit GapAwareSums(const weather::SeriesMonths& months);

    // As weather::gap_aware_month on each month, in double precision (NaN:
    // no value).
    std::array<std::array<double, 6>, 12> values(const std::vector<int>& years) const;

  private:
    static constexpr std::size_t kDays = 0, kValid = 12, kDry = 24, kWet = 36, kDryFollowed = 48, kWetFollowed = 60,
                                 kWetAfterDry = 72, kWetAfterWet = 84, kCounts = 96;
    static constexpr std::size_t kSum = 0, kSquares = 12, kCubes = 24, kPowers = 36;
    struct Blocks {
        std::array<std::int32_t, kCounts> counts{};
        std::array<double, kPowers> powers{};
    };
    // A block's ends: its first day valid; its last day missing (0), dry (1) or wet (2).
    struct Ends {
        std::array<bool, 12> first_valid{};
        std::array<std::uint8_t, 12> last_kind{};
    };
    std::vector<Blocks> blocks_;
    std::vector<FebruaryPairs> february_;  // of valid days only
    std::vector<Ends> ends_;
};

}  // namespace wgn::batch
