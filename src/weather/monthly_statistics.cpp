#include "weather/monthly_statistics.hpp"

#include <algorithm>
#include <cmath>

#include "readers/calendar_days.hpp"
#include "weather/exact_decimal.hpp"

namespace wgn::weather {
namespace {

struct Sums {
    std::int64_t count = 0;
    Int128 sum = 0;      // billionths
    Int128 squares = 0;  // billionths squared
};

// The month of a day, asked of many days: the bounds of the month last
// found are kept, so that days in order (as a record's are) need the
// calendar only once a month.
class MonthOfDay {
  public:
    // The month's index, 0 for January.
    std::size_t operator()(std::int32_t day) {
        if (day < first_ || day >= end_) {
            const readers::Date date = readers::date_of(day);
            month_ = static_cast<std::size_t>(date.month - 1);
            first_ = day - (date.day - 1);
            end_ = first_ + readers::days_in_month(date.year, date.month);
        }
        return month_;
    }

  private:
    std::int32_t first_ = 1, end_ = 0;  // the month's first day, and the next month's
    std::size_t month_ = 0;
};

// The sums of each month, of the values divided by `unit` (which divides
// each of them).
std::array<Sums, 12> month_sums(const std::vector<DayValue>& days, std::int64_t unit = 1) {
    std::array<Sums, 12> sums{};
    MonthOfDay month_of_day;
    for (const DayValue& day : days) {
        Sums& month = sums[month_of_day(day.day)];
        const std::int64_t value = day.value / unit;
        ++month.count;
        month.sum += value;
        month.squares += static_cast<Int128>(value) * value;
    }
    return sums;
}

// The largest r with r == 0 or (2r - 1)^2 * denominator <= 4 * numerator:
// sqrt(numerator / denominator) rounded half away from zero to a whole number.
Int128 rounded_root(Int128 numerator, Int128 denominator) {
    if (numerator <= 0) return 0;
    const auto fits = [&](Int128 r) { return r == 0 || (2 * r - 1) * (2 * r - 1) * denominator <= 4 * numerator; };
    Int128 r = static_cast<Int128>(
        std::floor(std::sqrt(static_cast<double>(numerator) / static_cast<double>(denominator)) + 0.5));
    while (r > 0 && !fits(r)) --r;
    while (fits(r + 1)) ++r;
    return r;
}

}  // namespace

int month_of(std::int32_t day) {
    return readers::date_of(day).month;
}

MonthTexts monthly_means(const std::vector<DayValue>& days, const readers::Scale& scale) {
    MonthTexts texts;
    const std::array<Sums, 12> sums = month_sums(days);
    for (std::size_t m = 0; m < 12; ++m) {
        if (sums[m].count < kFewestDays) continue;
        // mean = (sum + count offset) numerator / (count 10^9 denominator)
        const Int128 shifted = sums[m].sum + static_cast<Int128>(sums[m].count) * scale.offset;
        texts[m] = rounded_text(shifted * scale.numerator,
                                static_cast<Int128>(sums[m].count) * kBillion * scale.denominator, 2);
    }
    return texts;
}

MonthTexts monthly_deviations(const std::vector<DayValue>& days, const readers::Scale& scale) {
    // 1. The values in the coarsest unit that holds them all exactly (values
    //    written with two decimals: hundredths), so that the sums of squares
    //    and the factors of the unit stay far within 128 bits.
    //    The largest power of ten up to 10^7 that divides every value: one
    //    pass, each value lowering it where it must.
    constexpr std::int64_t kPowers[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000};
    int shift = 7;
    for (const DayValue& day : days) {
        while (shift > 0 && day.value % kPowers[shift] != 0) --shift;
    }
    const std::int64_t unit = kPowers[shift];
    Int128 scale_of_squares = 100000000000000LL;  // (10^9)^2 / 10^4: billionths squared to hundredths squared
    for (int i = 0; i < 2 * shift; ++i) scale_of_squares /= 10;

    MonthTexts texts;
    const std::array<Sums, 12> sums = month_sums(days, unit);
    for (std::size_t m = 0; m < 12; ++m) {
        const Sums& s = sums[m];
        if (s.count < kFewestDays) continue;
        // 2. variance = (n squares - sum^2) / (n (n - 1)); sd in hundredths =
        //    sqrt(variance 10^4 f^2) in the values' unit, f the unit's factor.
        Int128 numerator = (s.count * s.squares - s.sum * s.sum);
        Int128 denominator = static_cast<Int128>(s.count) * (s.count - 1) * scale_of_squares;
        // 3. Values of nine decimals in a unit with a large factor could
        //    overflow: such a variance gives up its last digits, far below
        //    the hundredths shown.
        const Int128 factor = static_cast<Int128>(scale.numerator) * scale.numerator;
        const Int128 limit = static_cast<Int128>(1) << 120;
        while (numerator > limit / (4 * factor) || denominator > limit / (4 * factor)) {
            numerator /= 100;
            denominator = denominator / 100 > 0 ? denominator / 100 : 1;
        }
        numerator *= factor;
        denominator *= static_cast<Int128>(scale.denominator) * scale.denominator;
        texts[m] = hundredths_text(rounded_root(numerator, denominator));
    }
    return texts;
}

MonthTexts monthly_largest(const std::vector<DayValue>& days, double factor) {
    std::array<std::int64_t, 12> largest{};
    std::array<bool, 12> seen{};
    MonthOfDay month_of_day;
    for (const DayValue& day : days) {
        const std::size_t m = month_of_day(day.day);
        if (!seen[m] || day.value > largest[m]) largest[m] = day.value;
        seen[m] = true;
    }
    MonthTexts texts;
    for (std::size_t m = 0; m < 12; ++m) {
        if (!seen[m]) continue;
        texts[m] = factor == 1.0 ? rounded_text(largest[m], kBillion, 2)
                                 : two_decimals(static_cast<double>(largest[m]) / kBillion * factor);
    }
    return texts;
}

MonthTexts monthly_means(const std::vector<DayReal>& days) {
    std::array<double, 12> sum{};
    std::array<int, 12> count{};
    MonthOfDay month_of_day;
    for (const DayReal& day : days) {
        const std::size_t m = month_of_day(day.day);
        sum[m] += day.value;
        ++count[m];
    }
    MonthTexts texts;
    for (std::size_t m = 0; m < 12; ++m) {
        if (count[m] >= kFewestDays) texts[m] = two_decimals(sum[m] / count[m]);
    }
    return texts;
}

}  // namespace wgn::weather
