#include "weather/gap_aware_precipitation.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "io/decimal_text.hpp"
#include "readers/calendar_days.hpp"
#include "readers/daily_number.hpp"
#include "weather/exact_decimal.hpp"

namespace wgn::weather {
namespace {

__extension__ typedef unsigned __int128 Unsigned128;

// wgnrain's nominal month lengths: February is 28 days in every year.
constexpr int kNominalDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
constexpr const char* kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
// The parameters' columns, in the report's order.
enum Parameter : std::size_t { kMm, kStd, kSkw, kWetAfterDry, kWetAfterWet, kWetDays };

// An unsigned integer of up to 512 bits, for the exact comparisons of the
// skew, whose squares and cubes of sums outgrow 128 bits.
class Wide {
  public:
    explicit Wide(Unsigned128 value = 0) {
        for (std::size_t i = 0; i < 4; ++i) limbs_[i] = static_cast<std::uint32_t>(value >> (32 * i));
    }
    // The product; the operands of this file keep it far within 512 bits.
    Wide operator*(const Wide& other) const {
        Wide product;
        for (std::size_t i = 0; i < kLimbs; ++i) {
            if (limbs_[i] == 0) continue;
            std::uint64_t carry = 0;
            for (std::size_t j = 0; i + j < kLimbs; ++j) {
                const std::uint64_t sum =
                    static_cast<std::uint64_t>(limbs_[i]) * other.limbs_[j] + product.limbs_[i + j] + carry;
                product.limbs_[i + j] = static_cast<std::uint32_t>(sum);
                carry = sum >> 32;
            }
        }
        return product;
    }
    friend bool operator<=(const Wide& a, const Wide& b) {
        for (std::size_t i = kLimbs; i-- > 0;) {
            if (a.limbs_[i] != b.limbs_[i]) return a.limbs_[i] < b.limbs_[i];
        }
        return true;
    }

  private:
    static constexpr std::size_t kLimbs = 16;
    std::array<std::uint32_t, kLimbs> limbs_{};
};

// The exact sums of a month over the drawn years.
struct MonthSums {
    long valid = 0, total = 0, dry = 0, wet = 0;
    long wet_after_dry = 0, wet_after_wet = 0;
    long dry_followed = 0, wet_followed = 0;  // dry (wet) days followed by a valid day
    Int128 sum = 0, squares = 0, cubes = 0;   // of the valid days, in hundredths
    std::int64_t largest = 0;                 // the largest magnitude of a valid day
};

// 1. The month's days of the drawn years one block after the other, as
//    wgnrain's month file holds them; a pair is looked at unless its first
//    value is a multiple of the month's nominal length into the file.
MonthSums month_sums(const SeriesMonths& months, const std::vector<int>& years, std::size_t month) {
    MonthSums s;
    const long nominal = kNominalDays[month];
    long place = 0;  // the position of the day in the concatenation, from 1
    SeriesDay before;
    const auto follow = [&s](const SeriesDay& day) {
        if (!day) return;
        s.dry_followed += *day == 0 ? 1 : 0;
        s.wet_followed += *day != 0 ? 1 : 0;
    };
    for (const int year : years) {
        for (const SeriesDay& day : months[static_cast<std::size_t>(year)][month].days) {
            ++place;
            ++s.total;
            if (place > 1 && (place - 1) % nominal != 0 && before && day && *day > 0) {
                s.wet_after_dry += *before == 0 ? 1 : 0;
                s.wet_after_wet += *before > 0 ? 1 : 0;
            }
            // The day before is followed by this one: by a valid day, or not.
            if (day) follow(before);
            before = day;
            if (!day) continue;
            const std::int64_t x = *day;
            ++s.valid;
            s.sum += x;
            s.squares += static_cast<Int128>(x) * x;
            s.cubes += static_cast<Int128>(x) * x * x;
            s.largest = std::max(s.largest, x < 0 ? -x : x);
            (x == 0 ? s.dry : s.wet) += 1;
        }
    }
    // The last day is followed by nothing missing, as wgnrain counts it.
    follow(before);
    return s;
}

// sqrt(numerator / denominator) rounded half away from zero to a whole
// number: the largest r with r == 0 or (2r - 1)^2 denominator <= 4 numerator.
template <typename Fits>
long long rounded_root_of(double estimate, Fits fits) {
    auto r = static_cast<long long>(std::floor(estimate + 0.5));
    if (r < 0) r = 0;
    while (r > 0 && !fits(r)) --r;
    while (fits(r + 1)) ++r;
    return r;
}

// The skew n / ((n - 1)(n - 2)) sum (x - mean)^3 / sd^3 of the valid days,
// to four decimals.  With C = n^2 S3 - 3 n S1 S2 + 2 S1^3 and
// V = n S2 - S1^2, it is C sqrt(n (n - 1)) / ((n - 2) V^(3/2)), so that
// 10^4 |skew| rounds to the largest r with
//   (2r - 1)^2 (n - 2)^2 V^3 <= 4 10^8 C^2 n (n - 1),
// all whole numbers.  Values beyond 20,000 mm (never a day's rain; a plain
// series may hold anything) would outgrow the exact sums: in double.
std::string skew_text(const MonthSums& s) {
    const Int128 n = s.valid;
    const Int128 variance = n * s.squares - s.sum * s.sum;  // n (n - 1) times the sample variance
    if (variance <= 0 || n < 3) return {};
    if (s.largest > 2000000 || n > 400000) {
        const double dn = static_cast<double>(n), mean = static_cast<double>(s.sum) / dn;
        const double centred = static_cast<double>(s.cubes) - 3 * mean * static_cast<double>(s.squares) +
                               2 * mean * mean * static_cast<double>(s.sum);
        const double sd = std::sqrt(static_cast<double>(variance) / (dn * (dn - 1)));
        const double skew = dn / ((dn - 1) * (dn - 2)) * centred / (sd * sd * sd);
        if (!std::isfinite(skew)) return {};
        char text[64];
        std::snprintf(text, sizeof text, "%.4f", skew);
        return text;
    }
    const Int128 c = n * n * s.cubes - 3 * n * s.sum * s.squares + 2 * s.sum * s.sum * s.sum;
    const auto magnitude = static_cast<Unsigned128>(c < 0 ? -c : c);
    const Wide left =
        Wide(magnitude) * Wide(magnitude) * Wide(static_cast<Unsigned128>(n * (n - 1))) * Wide(400000000U);
    const auto v = static_cast<Unsigned128>(variance);
    const Wide right = Wide(v) * Wide(v) * Wide(v) * Wide(static_cast<Unsigned128>((n - 2) * (n - 2)));
    const double dn = static_cast<double>(n);
    const double estimate = 1e4 * static_cast<double>(magnitude) * std::sqrt(dn * (dn - 1)) /
                            ((dn - 2) * std::pow(static_cast<double>(variance), 1.5));
    const long long r = rounded_root_of(estimate, [&](long long candidate) {
        const auto odd = static_cast<Unsigned128>(2 * candidate - 1);
        return candidate == 0 || Wide(odd * odd) * right <= left;
    });
    return rounded_text(c < 0 ? -static_cast<Int128>(r) : static_cast<Int128>(r), 10000, 4);
}

// 2. The six values from the sums; `years` the drawn years' count.
std::array<std::string, 6> values_of(const MonthSums& s, long years) {
    std::array<std::string, 6> values;
    if (s.valid < kFewestDays || years <= 0) return values;
    const Int128 n = s.valid;
    // Per valid day, times the month's days in the drawn years, per year.
    values[kMm] = rounded_text(s.sum * s.total, 100 * n * years, 2);
    values[kWetDays] = rounded_text(static_cast<Int128>(s.wet) * s.total, n * years, 2);
    // sd in 10^-4 mm = sqrt(10^4 V / (n (n - 1))) in hundredths.
    const Int128 variance = n * s.squares - s.sum * s.sum;
    const Int128 numerator = 10000 * std::max<Int128>(variance, 0), denominator = n * (n - 1);
    const long long sd = rounded_root_of(std::sqrt(static_cast<double>(numerator) / static_cast<double>(denominator)),
                                         [&](long long candidate) {
                                             const Int128 odd = 2 * static_cast<Int128>(candidate) - 1;
                                             return candidate == 0 || odd * odd * denominator <= 4 * numerator;
                                         });
    values[kStd] = rounded_text(sd, 10000, 4);
    values[kSkw] = skew_text(s);
    if (s.dry_followed > 0) values[kWetAfterDry] = rounded_text(s.wet_after_dry, s.dry_followed, 4);
    if (s.wet_followed > 0) values[kWetAfterWet] = rounded_text(s.wet_after_wet, s.wet_followed, 4);
    return values;
}

// A day's value as the month file holds it, in hundredths: a plain decimal
// of at most two decimals below 100,000 is its own digits (its float prints
// back as written); anything else goes through the float, as wgnrain reads it.
SeriesDay hundredths_of(const readers::DailyValue& value) {
    if (value.text.empty()) return std::nullopt;
    double number = 0.0;
    if (!readers::number_of(value, number)) return std::nullopt;
    if (value.decimals >= 0 && value.decimals <= 2 && std::fabs(number) < 1e5)
        return static_cast<std::int64_t>(std::llround(number * 100.0));
    float single = 0.0F;
    if (!io::parse_real(value.text, single) || !std::isfinite(single)) return std::nullopt;
    const double scaled = std::nearbyint(static_cast<double>(report_hundredths(single)) * 100.0);
    if (!(std::fabs(scaled) < 9e18)) return std::nullopt;
    return static_cast<std::int64_t>(scaled);
}

}  // namespace

float report_hundredths(float value) {
    if (value == 0.0F && !std::signbit(value)) return 0.0F;  // the dry days, most of them
    // 1. The float times 100 is exact in double (24 + 7 significant bits), so
    //    rounding it to a whole number in the default mode (ties to even) gives
    //    the hundredths "%.2f" prints, on the float's exact value.
    // 2. Those hundredths divided by 100 in double are the decimal's correctly
    //    rounded double; turning that into a float rounds it a second time, which
    //    can differ from strtof's single rounding only when the double lies
    //    exactly halfway between two floats.  That case, and values too large
    //    for a whole number of hundredths, take the text route.
    const double scaled = static_cast<double>(value) * 100.0;
    if (std::fabs(scaled) < 1e15) {
        const double whole = std::nearbyint(scaled);
        const double exact = whole / 100.0;
        const float near = static_cast<float>(exact);
        const double other = static_cast<double>(std::nextafter(near, exact > static_cast<double>(near)
                                                                          ? std::numeric_limits<float>::infinity()
                                                                          : -std::numeric_limits<float>::infinity()));
        if (exact == static_cast<double>(near) || exact != (static_cast<double>(near) + other) / 2.0) return near;
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", static_cast<double>(value));
    return std::strtof(text, nullptr);
}

SeriesMonths series_months(int first_year, int last_year, const std::vector<readers::DailyValue>& days) {
    SeriesMonths months(static_cast<std::size_t>(std::max(0, last_year - first_year + 1)));
    auto next = days.begin();
    std::int32_t day = readers::day_number({first_year, 1, 1});
    for (std::size_t y = 0; y < months.size(); ++y) {
        for (int m = 1; m <= 12; ++m) {
            SeriesMonth& month = months[y][static_cast<std::size_t>(m - 1)];
            const int length = readers::days_in_month(first_year + static_cast<int>(y), m);
            month.days.reserve(static_cast<std::size_t>(length));
            for (int d = 0; d < length; ++d, ++day) {
                while (next != days.end() && next->day < day) ++next;
                month.days.push_back(next != days.end() && next->day == day ? hundredths_of(*next) : std::nullopt);
            }
        }
    }
    return months;
}

long missing_days(const SeriesMonths& months) {
    long missing = 0;
    for (const auto& year : months) {
        for (const SeriesMonth& month : year)
            missing += std::count_if(month.days.begin(), month.days.end(), [](const SeriesDay& day) { return !day; });
    }
    return missing;
}

bool has_missing_days(int first_year, int last_year, const std::vector<readers::DailyValue>& days) {
    const std::int32_t first = readers::day_number({first_year, 1, 1}), last = readers::day_number({last_year, 12, 31});
    long valid = 0;
    for (const readers::DailyValue& day : days)
        valid += day.day >= first && day.day <= last && !day.text.empty() ? 1 : 0;
    return valid != static_cast<long>(last) - first + 1;
}

PrecipitationValues gap_aware_values(const SeriesMonths& months) {
    PrecipitationValues result;
    std::vector<int> years(months.size());
    for (std::size_t y = 0; y < years.size(); ++y) years[y] = static_cast<int>(y);
    for (std::size_t m = 0; m < 12; ++m) {
        const MonthSums s = month_sums(months, years, m);
        result.values[m] = values_of(s, static_cast<long>(years.size()));
        result.wet_days[m] = s.wet;
        result.dry_days[m] = s.dry;
        result.missing_in_month[m] = s.total - s.valid;
        result.missing_days += s.total - s.valid;
    }
    return result;
}

std::array<std::string, 6> gap_aware_month(const SeriesMonths& months, const std::vector<int>& years,
                                           std::size_t month) {
    return values_of(month_sums(months, years, month), static_cast<long>(years.size()));
}

bool ModelMonths::any() const {
    return std::find(rainless.begin(), rainless.end(), true) != rainless.end() ||
           std::find(always_wet.begin(), always_wet.end(), true) != always_wet.end();
}

ModelMonths months_for_model(const std::array<std::array<std::string, 6>, 12>& values,
                             const PrecipitationValues* counted) {
    ModelMonths months;
    for (std::size_t m = 0; m < 12; ++m) {
        if (counted != nullptr) {
            const long valid = counted->wet_days[m] + counted->dry_days[m];
            months.rainless[m] = valid >= kFewestDays && counted->wet_days[m] == 0;
            months.always_wet[m] = valid >= kFewestDays && counted->dry_days[m] == 0;
        } else {
            // The report's NaN: 0 / 0 where no day of the kind divides.
            months.rainless[m] = values[m][kWetAfterWet].empty() && values[m][kMm] == "0.00";
            months.always_wet[m] = values[m][kWetAfterDry].empty() && !values[m][kWetAfterWet].empty();
        }
    }
    return months;
}

void write_for_model(std::array<std::array<std::string, 6>, 12>& values, const ModelMonths& months) {
    for (std::size_t m = 0; m < 12; ++m) {
        std::array<std::string, 6>& month = values[m];
        if (months.rainless[m]) month = {"0.00", "0.0000", "0.2000", "0.00001", "0.00002", "0.00"};
        if (months.always_wet[m]) {
            month[kWetAfterDry] = "0.99999";
            month[kWetAfterWet] = "1.0000";
            if (month[kSkw].empty()) month[kSkw] = "0.2000";
        }
    }
}

std::vector<ModelNote> model_months_notes(const ModelMonths& months) {
    std::vector<ModelNote> notes;
    const auto named = [](const std::array<bool, 12>& which) {
        std::vector<std::size_t> list;
        for (std::size_t m = 0; m < 12; ++m) {
            if (which[m]) list.push_back(m);
        }
        if (list.empty()) return std::string();
        if (list.size() == 1) return std::string("in ") + kMonths[list[0]];
        std::string text = "in " + std::to_string(list.size()) + " months (";
        for (std::size_t i = 0; i < list.size(); ++i) text.append(i == 0 ? "" : ", ").append(kMonths[list[i]]);
        return text + ")";
    };
    if (const std::string in = named(months.rainless); !in.empty()) {
        notes.push_back({NoteKind::note, "pcp: no wet day in the record " + in +
                                             ": written as wet_dry 0.00001, wet_wet 0.00002, pcp_skew 0.2000, for "
                                             "which both models generate no rain"});
    }
    if (const std::string in = named(months.always_wet); !in.empty()) {
        notes.push_back({NoteKind::note, "pcp: rain on every day of the record " + in +
                                             ": written as wet_dry 0.99999, wet_wet 1.0000, for which both models "
                                             "generate rain every day"});
    }
    return notes;
}

}  // namespace wgn::weather
