#include "batch/precipitation_sums.hpp"

#include <cmath>
#include <limits>

#include "batch/drawn_rows.hpp"
#include "stats/month_statistics.hpp"

namespace wgn::batch {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// The report's nominal month lengths: February is 28 days in every year.
constexpr int kNominalDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
constexpr std::size_t kFebruary = 1;

std::uint8_t pair_kind(float first, float second) {
    if (!is_positive(second)) return 0;
    if (is_dry(first)) return 1;
    return is_positive(first) ? 2 : 0;
}

}  // namespace

template <typename Kind>
FebruaryPairs FebruaryPairs::of(std::size_t length, Kind kind) {
    FebruaryPairs pairs;
    for (int start = 0; start < kNominalDays[kFebruary]; ++start) {
        int place = start;
        for (std::size_t i = 0; i + 1 < length; ++i) {
            if (++place == kNominalDays[kFebruary]) {
                place = 0;
                continue;
            }
            const std::uint8_t found = kind(i);
            pairs.wet_after_dry[start] += found == 1 ? 1 : 0;
            pairs.wet_after_wet[start] += found == 2 ? 1 : 0;
        }
        pairs.place_after[start] = static_cast<std::uint8_t>(place);
    }
    return pairs;
}

std::array<std::int32_t, 2> FebruaryPairs::drawn(const std::vector<FebruaryPairs>& years_pairs,
                                                 const std::vector<int>& years) {
    std::array<std::int32_t, 2> counted{};
    int place = 0;  // pairs since the last skipped one
    for (std::size_t i = 0; i < years.size(); ++i) {
        const FebruaryPairs& pairs = years_pairs[static_cast<std::size_t>(years[i])];
        counted[0] += pairs.wet_after_dry[place];
        counted[1] += pairs.wet_after_wet[place];
        place = pairs.place_after[place];
        if (i + 1 == years.size()) break;
        // The pair into the next block's first day.
        if (++place == kNominalDays[kFebruary]) {
            place = 0;
            continue;
        }
        if (years_pairs[static_cast<std::size_t>(years[i + 1])].first_positive) {
            counted[0] += pairs.last_dry ? 1 : 0;
            counted[1] += pairs.last_positive ? 1 : 0;
        }
    }
    return counted;
}

PrecipitationSums::PrecipitationSums(const MonthBlocks& rounded) : blocks_(rounded.size()), february_(rounded.size()) {
    for (std::size_t y = 0; y < rounded.size(); ++y) {
        for (std::size_t m = 0; m < 12; ++m) {
            const std::vector<float>& days = rounded[y][m];
            Blocks& block = blocks_[y];
            block.counts[kDays + m] = static_cast<std::int32_t>(days.size());
            for (std::size_t i = 0; i < days.size(); ++i) {
                const double x = days[i];
                block.counts[kDry + m] += is_dry(days[i]) ? 1 : 0;
                block.powers[kSum + m] += x;
                block.powers[kSquares + m] += x * x;
                block.powers[kCubes + m] += x * x * x;
                if (i + 1 == days.size()) continue;
                const std::uint8_t kind = pair_kind(days[i], days[i + 1]);
                block.counts[kWetAfterDry + m] += kind == 1 ? 1 : 0;
                block.counts[kWetAfterWet + m] += kind == 2 ? 1 : 0;
            }
            if (m != kFebruary || days.empty()) continue;
            FebruaryPairs& pairs = february_[y];
            pairs = FebruaryPairs::of(days.size(), [&](std::size_t i) { return pair_kind(days[i], days[i + 1]); });
            pairs.first_positive = is_positive(days.front());
            pairs.last_dry = is_dry(days.back());
            pairs.last_positive = is_positive(days.back());
        }
    }
}

std::array<std::array<double, 6>, 12> PrecipitationSums::values(const std::vector<int>& years) const {
    std::array<std::array<double, 6>, 12> values{};
    // 1. The drawn years' blocks added up, each place in the order drawn.
    const auto block_of = [&](int year) -> const Blocks& { return blocks_[static_cast<std::size_t>(year)]; };
    const auto plus = [](auto a, auto b) { return a + b; };
    Blocks drawn;
    combine_rows<16>(
        years, [&](int year) { return block_of(year).counts.data(); }, drawn.counts.size(), std::int32_t{0}, plus,
        drawn.counts.data());
    combine_rows<12>(
        years, [&](int year) { return block_of(year).powers.data(); }, drawn.powers.size(), 0.0, plus,
        drawn.powers.data());
    // 2. Each month's values from its sums.
    for (std::size_t m = 0; m < 12; ++m) {
        struct {
            std::int32_t days, dry, wet_after_dry, wet_after_wet;
            double sum, squares, cubes;
        } all{drawn.counts[kDays + m],        drawn.counts[kDry + m], drawn.counts[kWetAfterDry + m],
              drawn.counts[kWetAfterWet + m], drawn.powers[kSum + m], drawn.powers[kSquares + m],
              drawn.powers[kCubes + m]};
        if (all.days < 3) {
            values[m].fill(kNaN);
            continue;
        }
        const int days = kNominalDays[m];
        if (m == kFebruary) {
            const std::array<std::int32_t, 2> pairs = FebruaryPairs::drawn(february_, years);
            all.wet_after_dry = pairs[0];
            all.wet_after_wet = pairs[1];
        }
        // The report's quantities in single precision as it stores them.  A
        // quotient it forms in double precision and stores as single is the
        // single-precision quotient of the same operands (all exact in
        // single precision here), so the quotients are formed in float.
        const double n = all.days;
        const auto wet = static_cast<float>(all.days - all.dry);
        const auto years_in_month = static_cast<float>(all.days / days);  // NOLINT(bugprone-integer-division)
        const auto total = static_cast<float>(all.sum);
        const auto squares = static_cast<float>(all.squares);
        const auto mean = static_cast<double>(total / static_cast<float>(all.days));
        double numerator = n * static_cast<double>(squares) - static_cast<double>(total) * static_cast<double>(total);
        if (numerator < 0.0 && std::isfinite(numerator)) numerator = 0.0;
        const auto sd = static_cast<double>(static_cast<float>(std::sqrt(numerator / ((n - 1.0) * n))));
        // The sum of the cubed deviations from the stored mean, from the power sums.
        const auto cubes = static_cast<float>(all.cubes - 3.0 * mean * all.squares + 3.0 * mean * mean * all.sum -
                                              n * mean * mean * mean);
        const std::int64_t count = all.days;
        const auto pairs_product = static_cast<double>((count - 1) * (count - 2));
        values[m] = {
            total / years_in_month,
            sd,
            static_cast<float>((n * static_cast<double>(cubes)) / (((sd * sd) * sd) * pairs_product)),
            static_cast<float>(all.wet_after_dry) / static_cast<float>(all.dry),
            static_cast<float>(all.wet_after_wet) / wet,
            wet / years_in_month,
        };
    }
    return values;
}

}  // namespace wgn::batch

namespace wgn::batch {
namespace {

// The kind of a pair of valid days: 1 wet after dry, 2 wet after wet.
std::uint8_t valid_pair_kind(const weather::SeriesDay& first, const weather::SeriesDay& second) {
    if (!first || !second || *second <= 0) return 0;
    if (*first == 0) return 1;
    return *first > 0 ? 2 : 0;
}

}  // namespace

GapAwareSums::GapAwareSums(const weather::SeriesMonths& months)
    : blocks_(months.size()), february_(months.size()), ends_(months.size()) {
    for (std::size_t y = 0; y < months.size(); ++y) {
        for (std::size_t m = 0; m < 12; ++m) {
            const weather::SeriesMonth& month = months[y][m];
            const std::vector<weather::SeriesDay>& days = month.days;
            Blocks& block = blocks_[y];
            block.counts[kDays + m] = static_cast<std::int32_t>(days.size());
            for (std::size_t i = 0; i < days.size(); ++i) {
                if (i + 1 < days.size()) {
                    const std::uint8_t kind = valid_pair_kind(days[i], days[i + 1]);
                    block.counts[kWetAfterDry + m] += kind == 1 ? 1 : 0;
                    block.counts[kWetAfterWet + m] += kind == 2 ? 1 : 0;
                }
                if (!days[i]) continue;
                const double x = static_cast<double>(*days[i]) / 100.0;
                const bool followed = i + 1 < days.size() && days[i + 1].has_value();
                const bool dry = *days[i] == 0;
                block.counts[kValid + m] += 1;
                block.counts[(dry ? kDry : kWet) + m] += 1;
                block.counts[(dry ? kDryFollowed : kWetFollowed) + m] += followed ? 1 : 0;
                block.powers[kSum + m] += x;
                block.powers[kSquares + m] += x * x;
                block.powers[kCubes + m] += x * x * x;
            }
            if (days.empty()) continue;
            ends_[y].first_valid[m] = days.front().has_value();
            ends_[y].last_kind[m] = !days.back() ? 0 : *days.back() == 0 ? 1 : 2;
            if (m != kFebruary) continue;
            FebruaryPairs& pairs = february_[y];
            pairs =
                FebruaryPairs::of(days.size(), [&](std::size_t i) { return valid_pair_kind(days[i], days[i + 1]); });
            pairs.first_positive = days.front() && *days.front() > 0;
            pairs.last_dry = days.back() && *days.back() == 0;
            pairs.last_positive = days.back() && *days.back() > 0;
        }
    }
}

std::array<std::array<double, 6>, 12> GapAwareSums::values(const std::vector<int>& years) const {
    std::array<std::array<double, 6>, 12> values{};
    const auto block_of = [&](int year) -> const Blocks& { return blocks_[static_cast<std::size_t>(year)]; };
    const auto plus = [](auto a, auto b) { return a + b; };
    Blocks drawn;
    combine_rows<16>(
        years, [&](int year) { return block_of(year).counts.data(); }, drawn.counts.size(), std::int32_t{0}, plus,
        drawn.counts.data());
    combine_rows<12>(
        years, [&](int year) { return block_of(year).powers.data(); }, drawn.powers.size(), 0.0, plus,
        drawn.powers.data());
    const double drawn_years = static_cast<double>(years.size());
    for (std::size_t m = 0; m < 12; ++m) {
        const auto count = [&](std::size_t field) { return static_cast<double>(drawn.counts[field + m]); };
        const double n = count(kValid), total = count(kDays);
        if (n < weather::kFewestDays || years.empty()) {
            values[m].fill(kNaN);
            continue;
        }
        double wet_after_dry = count(kWetAfterDry), wet_after_wet = count(kWetAfterWet);
        if (m == kFebruary) {
            const std::array<std::int32_t, 2> pairs = FebruaryPairs::drawn(february_, years);
            wet_after_dry = pairs[0];
            wet_after_wet = pairs[1];
        }
        const double sum = drawn.powers[kSum + m], squares = drawn.powers[kSquares + m];
        const double cubes = drawn.powers[kCubes + m];
        const double per_year = total / drawn_years;
        const double variance = std::max(0.0, n * squares - sum * sum);  // n (n - 1) times the sample variance
        const double centred = n * n * cubes - 3.0 * n * sum * squares + 2.0 * sum * sum * sum;
        // A block's last day is followed by the next drawn block's first;
        // the last drawn block's, by nothing missing.
        double dry_followed = count(kDryFollowed), wet_followed = count(kWetFollowed);
        for (std::size_t i = 0; i < years.size(); ++i) {
            const std::uint8_t kind = ends_[static_cast<std::size_t>(years[i])].last_kind[m];
            const bool followed = i + 1 == years.size() || ends_[static_cast<std::size_t>(years[i + 1])].first_valid[m];
            if (!followed) continue;
            dry_followed += kind == 1 ? 1 : 0;
            wet_followed += kind == 2 ? 1 : 0;
        }
        values[m] = {
            sum / n * per_year,
            std::sqrt(variance / (n * (n - 1.0))),
            variance > 0.0 ? centred * std::sqrt(n * (n - 1.0)) / ((n - 2.0) * std::pow(variance, 1.5)) : kNaN,
            dry_followed > 0.0 ? wet_after_dry / dry_followed : kNaN,
            wet_followed > 0.0 ? wet_after_wet / wet_followed : kNaN,
            count(kWet) / n * per_year,
        };
    }
    return values;
}

}  // namespace wgn::batch
