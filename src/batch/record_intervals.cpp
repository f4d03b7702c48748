#include "batch/record_intervals.hpp"

#include "batch/precipitation_sums.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <memory>
#include <optional>

#include "batch/drawn_rows.hpp"
#include "check/random_numbers.hpp"
#include "readers/calendar_days.hpp"
#include "readers/daily_number.hpp"
#include "readers/measure_units.hpp"
#include "readers/number_text.hpp"
#include "stats/analyse_month.hpp"

namespace wgn::batch {
namespace {

using readers::Variable;
using weather::Column;

constexpr std::uint64_t kSeed = 20240601;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// The report's nominal month lengths: February is 28 days in every year.
constexpr int kNominalDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
constexpr Column kPrecipitationColumns[6] = {weather::kPcpAve, weather::kPcpSd,  weather::kPcpSkew,
                                             weather::kWetDry, weather::kWetWet, weather::kPcpDays};

std::optional<double> number_of(const std::string& text) {
    if (text.empty()) return std::nullopt;
    // A plain decimal the quick way; from_chars rounds as strtod does, and
    // what it does not take whole (a sign, spaces, hex) goes to strtod.
    double quick = 0.0;
    const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), quick);
    if (error == std::errc{} && stop == text.data() + text.size())
        return std::isfinite(quick) ? std::optional<double>(quick) : std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

}  // namespace

namespace {

// The decimals of a value's text: "64.17" -> 2.
int decimals_of(const std::string& text) {
    const std::size_t point = text.find('.');
    return point == std::string::npos ? 0 : static_cast<int>(text.size() - point - 1);
}

std::string bound_text(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    std::string shown(text);
    if (shown.find_first_not_of("-0.") == std::string::npos && shown.front() == '-') shown.erase(0, 1);
    return shown;
}

// Per year of the period, by month: the count, sum and sum of squares of a
// variable's daily values in the generator's unit, and the largest; each a
// row of twelve, so that adding up the drawn years adds whole rows.
struct MonthSums {
    std::array<long, 12> count{};
    std::array<double, 12> sum{}, squares{};
    std::array<double, 12> largest = lowest_months();

    static std::array<double, 12> lowest_months() {
        std::array<double, 12> lowest{};
        lowest.fill(-std::numeric_limits<double>::infinity());
        return lowest;
    }
};
using YearSums = std::vector<MonthSums>;

YearSums year_sums(const weather::WeatherInputs& inputs, Variable variable, double factor = 1.0) {
    YearSums sums(static_cast<std::size_t>(inputs.last_year - inputs.first_year + 1));
    const auto found = inputs.variables.find(variable);
    if (found == inputs.variables.end()) return sums;
    const auto unit = inputs.units.find(variable);
    const readers::Scale scale = unit == inputs.units.end() ? readers::Scale{} : readers::scale_of(unit->second);
    // The period's days by day number: the index of their year and month.
    const std::int32_t first_day = readers::day_number({inputs.first_year, 1, 1});
    std::vector<std::uint16_t> month_of;
    for (int y = inputs.first_year; y <= inputs.last_year; ++y) {
        for (int m = 1; m <= 12; ++m)
            month_of.insert(month_of.end(), static_cast<std::size_t>(readers::days_in_month(y, m)),
                            static_cast<std::uint16_t>((y - inputs.first_year) * 12 + m - 1));
    }
    // A month's running sums are kept at hand while its days come one after
    // the other (they are in day order), and stored when another month's
    // day comes: the same additions in the same order, without a trip
    // through memory for each.
    struct Running {
        long count = 0;
        double sum = 0.0, squares = 0.0, largest = 0.0;
    } running;
    std::size_t held = month_of.size();  // the month index held; none yet
    const auto store = [&] {
        if (held == month_of.size()) return;
        MonthSums& year = sums[held / 12U];
        const std::size_t m = held % 12U;
        year.count[m] = running.count;
        year.sum[m] = running.sum;
        year.squares[m] = running.squares;
        year.largest[m] = running.largest;
    };
    for (const readers::DailyValue& day : found->second) {
        const std::int64_t at = static_cast<std::int64_t>(day.day) - first_day;
        if (at < 0 || at >= static_cast<std::int64_t>(month_of.size())) continue;
        double read = 0.0;
        if (!readers::number_of(day, read)) continue;
        const double value = readers::model_scaled(read, scale) * factor;
        const std::uint16_t index = month_of[static_cast<std::size_t>(at)];
        if (index != held) {
            store();
            held = index;
            const MonthSums& year = sums[index / 12U];
            const std::size_t m = index % 12U;
            running = {year.count[m], year.sum[m], year.squares[m], year.largest[m]};
        }
        ++running.count;
        running.sum += value;
        running.squares += value * value;
        running.largest = std::max(running.largest, value);
    }
    store();
    return sums;
}

// The sums of the resampled columns as one row a year: each field (a
// column's counts of days, sums, sums of squares) its twelve months side by
// side, fields one after the other.  A resample adds up the rows of its
// drawn years in one loop over the whole row: the same additions in the
// same order as field by field (counts of days are whole numbers, exact as
// doubles).  The largest values have rows of their own, whose drawn years
// give the largest of each place.
class SumRows {
  public:
    explicit SumRows(std::size_t years) : years_(years) {}
    // A new field from value(y, m) for every year and month; its index.
    template <typename Value>
    std::size_t add(Value value) {
        return add_to(sums_, value);
    }
    template <typename Value>
    std::size_t add_largest(Value value) {
        return add_to(largest_, value);
    }
    // The fields packed into their rows, once every field is added.
    void pack() {
        pack_rows(sums_, sum_rows_);
        pack_rows(largest_, largest_rows_);
    }
    // The drawn years' rows added up into `total`, and their largest values
    // into `top` (drawn_rows.hpp).
    void draw(const std::vector<int>& years, std::vector<double>& total, std::vector<double>& top) const {
        const std::size_t width = sums_.size() * 12, largest_width = largest_.size() * 12;
        total.resize(width);
        top.resize(largest_width);
        combine_rows(
            years, [&](int year) { return sum_rows_.data() + static_cast<std::size_t>(year) * width; }, width, 0.0,
            [](double a, double b) { return a + b; }, total.data());
        combine_rows(
            years, [&](int year) { return largest_rows_.data() + static_cast<std::size_t>(year) * largest_width; },
            largest_width, -std::numeric_limits<double>::infinity(), [](double a, double b) { return std::max(a, b); },
            top.data());
    }

  private:
    using Field = std::vector<std::array<double, 12>>;  // by year
    template <typename Value>
    std::size_t add_to(std::vector<Field>& fields, Value value) {
        Field field(years_);
        for (std::size_t y = 0; y < years_; ++y) {
            for (std::size_t m = 0; m < 12; ++m) field[y][m] = value(y, m);
        }
        fields.push_back(std::move(field));
        return fields.size() - 1;
    }
    void pack_rows(const std::vector<Field>& fields, std::vector<double>& rows) const {
        const std::size_t width = fields.size() * 12;
        rows.assign(years_ * width, 0.0);
        for (std::size_t f = 0; f < fields.size(); ++f) {
            for (std::size_t y = 0; y < years_; ++y)
                std::copy(fields[f][y].begin(), fields[f][y].end(),
                          rows.begin() + static_cast<std::ptrdiff_t>(y * width + f * 12));
        }
    }
    std::size_t years_;
    std::vector<Field> sums_, largest_;
    std::vector<double> sum_rows_, largest_rows_;
};

// A column's value in a month from the drawn years' count of days, sum, sum
// of squares and largest value; NaN when there is none.
double column_value(Column column, double count, double sum, double squares, double largest) {
    if (column == weather::kPcpHhr) return count > 0 ? largest : kNaN;
    if (count < weather::kFewestDays) return kNaN;
    const double n = count;
    if (column == weather::kTmpMaxSd || column == weather::kTmpMinSd)
        return std::sqrt(std::max(0.0, (squares - sum * sum / n) / (n - 1.0)));
    return sum / n;
}

// The deviation column a temperature's sums give besides its mean.
std::optional<Column> deviation_of(Column column) {
    if (column == weather::kTmpMaxAve) return weather::kTmpMaxSd;
    if (column == weather::kTmpMinAve) return weather::kTmpMinSd;
    return std::nullopt;
}

// The k-th smallest of the first `size` of `values` (0: the smallest).
double kth_smallest(double* values, std::size_t k, std::size_t size) {
    std::nth_element(values, values + k, values + size);
    return values[k];
}

}  // namespace

// 1. The finite values, copied.
// 2. A sample of 64 of them spread over the resamples, which come in random
//    order: its 8th smallest lies near the 12th percentile and its 8th
//    largest near the 88th, and below the 5th (or above the 95th) in
//    about one value of a hundred.
// 3. One pass copies every value at or below the first into `low` and every
//    value at or above the second into `high`, without a branch: a
//    selection over the whole thousand mispredicts half its comparisons.
// 4. When at least k + 1 values are at or below the first, the k-th
//    smallest of all is the k-th smallest of those (about 120 of 1,000);
//    alike from the top.  A sample that missed (rarely) takes the whole.
std::optional<std::pair<double, double>> resampled_interval(const double* resampled, std::size_t count) {
    constexpr std::size_t kSample = 64;
    // Room for the finite values and the two sets near the bounds, each
    // written before it is read: no zeros first.
    const auto room = std::make_unique_for_overwrite<double[]>(3 * count);
    double* const values = room.get();
    std::size_t n = 0;
    for (std::size_t r = 0; r < count; ++r) {
        values[n] = resampled[r];
        n += std::isfinite(resampled[r]) ? 1 : 0;
    }
    if (n * 10 < count * 9 || n == 0) return std::nullopt;
    const std::size_t last = n - 1;
    const std::size_t k_low = last * 5 / 100, k_high = last * 95 / 100;
    if (n < 4 * kSample) {
        const double low_bound = kth_smallest(values, k_low, n);
        return std::pair{low_bound, kth_smallest(values, k_high, n)};
    }
    std::array<double, kSample> sample{};
    for (std::size_t i = 0; i < kSample; ++i) sample[i] = values[i * (n / kSample)];
    // The two places alone, not the whole sample sorted: half the comparisons.
    std::nth_element(sample.begin(), sample.begin() + 7, sample.end());
    const double below = sample[7];
    std::nth_element(sample.begin() + 8, sample.end() - 8, sample.end());
    const double above = sample[kSample - 8];
    double* const low = values + count;
    double* const high = low + count;
    std::size_t lows = 0, highs = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double x = values[i];
        low[lows] = x;
        lows += x <= below ? 1 : 0;
        high[highs] = x;
        highs += x >= above ? 1 : 0;
    }
    const std::size_t from_top = last - k_high;  // the high one is the from_top-th largest
    const double low_bound = lows > k_low ? kth_smallest(low, k_low, lows) : kth_smallest(values, k_low, n);
    const double high_bound =
        highs > from_top ? kth_smallest(high, highs - 1 - from_top, highs) : kth_smallest(values, k_high, n);
    return std::pair{low_bound, high_bound};
}

MonthBlocks precipitation_blocks(const weather::WeatherInputs& inputs) {
    const int first = inputs.first_year, last = inputs.last_year;
    MonthBlocks blocks(static_cast<std::size_t>(std::max(0, last - first + 1)));
    if (blocks.empty()) return blocks;
    std::vector<std::optional<float>> days(
        static_cast<std::size_t>(readers::day_number({last, 12, 31}) - readers::day_number({first, 1, 1}) + 1));
    const std::int32_t first_day = readers::day_number({first, 1, 1});
    float sum = 0.0F;
    long valid = 0;
    if (const auto pcp = inputs.variables.find(Variable::pcp); pcp != inputs.variables.end()) {
        for (const readers::DailyValue& day : pcp->second) {
            double value = 0.0;
            const std::int32_t at = day.day - first_day;
            if (!readers::number_of(day, value) || at < 0 || at >= static_cast<std::int32_t>(days.size())) continue;
            days[static_cast<std::size_t>(at)] = static_cast<float>(value);
        }
    }
    for (const auto& day : days) {
        if (day) sum += *day, ++valid;
    }
    const float mean = valid > 0 ? static_cast<float>(static_cast<double>(sum) / static_cast<double>(valid)) : 0.0F;
    // The days month by month, in their order.
    std::size_t at = 0;
    for (int y = first; y <= last; ++y) {
        for (int m = 1; m <= 12; ++m) {
            std::vector<float>& block = blocks[static_cast<std::size_t>(y - first)][static_cast<std::size_t>(m - 1)];
            block.resize(static_cast<std::size_t>(readers::days_in_month(y, m)));
            for (float& day : block) day = report_hundredths(days[at++].value_or(mean));
        }
    }
    return blocks;
}

std::array<std::array<double, 6>, 12> precipitation_values(const MonthBlocks& rounded, const std::vector<int>& years) {
    std::array<std::array<double, 6>, 12> values{};
    std::vector<float> month_values;
    MonthStatistics table;
    for (std::size_t m = 0; m < 12; ++m) {
        month_values.clear();
        for (const int y : years) {
            const std::vector<float>& block = rounded[static_cast<std::size_t>(y)][m];
            month_values.insert(month_values.end(), block.begin(), block.end());
        }
        if (month_values.size() < 3) {
            values[m].fill(kNaN);
            continue;
        }
        const int month = static_cast<int>(m) + 1;
        analyse_month_values(month_values, kNominalDays[m], month, table);
        values[m] = {table.PCP_MM[month], table.PCPSTD[month], table.PCPSKW[month],
                     table.PR_W1[month],  table.PR_W2[month],  table.PCPD[month]};
    }
    return values;
}

RecordIntervals record_intervals(const weather::WeatherInputs& inputs, const weather::WeatherRecord& record) {
    RecordIntervals intervals;
    const int count = inputs.last_year - inputs.first_year + 1;
    if (count <= 0) return intervals;
    intervals.years = count;
    // The six precipitation values as the record has them: wgnrain's, or
    // with missing days in the period the gap-aware ones.
    std::optional<PrecipitationSums> report_sums;
    std::optional<GapAwareSums> gap_aware_sums;
    if (const auto pcp = inputs.variables.find(Variable::pcp);
        pcp != inputs.variables.end() && weather::has_missing_days(inputs.first_year, inputs.last_year, pcp->second)) {
        gap_aware_sums.emplace(weather::series_months(inputs.first_year, inputs.last_year, pcp->second));
    }
    if (!gap_aware_sums) report_sums.emplace(precipitation_blocks(inputs));
    const bool measured_hhr = inputs.variables.count(Variable::hhr) != 0 && !record.hhr_estimated;
    // 1. The months of each column that get an interval: those with a value
    //    that the record's own days give.
    std::array<std::array<bool, 12>, 14> wanted{};
    for (std::size_t c = 0; c < 14; ++c) {
        const Column column = static_cast<Column>(c);
        const std::array<bool, 12> filled = weather::filled_months(record, column);
        const bool from_humidity = column == weather::kDewAve && inputs.variables.count(Variable::dew) == 0;
        for (std::size_t m = 0; m < 12; ++m)
            wanted[c][m] = !record.values[m][c].text().empty() && !filled[m] && !from_humidity;
    }
    const auto any_month = [&](Column column) {
        return std::find(wanted[column].begin(), wanted[column].end(), true) != wanted[column].end();
    };
    // 2. The sums of the days of each column resampled from them, by year
    //    and month; a column that gets no interval is not resampled.
    //    A variable with a value on every day of the period counts the
    //    days of the drawn years, added up once for all such variables.
    std::vector<std::array<long, 12>> month_days(static_cast<std::size_t>(count));
    for (int y = 0; y < count; ++y) {
        for (int m = 0; m < 12; ++m)
            month_days[static_cast<std::size_t>(y)][static_cast<std::size_t>(m)] =
                readers::days_in_month(inputs.first_year + y, m + 1);
    }
    //    The fields of a column: where its counts, sums, sums of squares
    //    and largest values stand in the rows (kNone: not resampled).
    constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();
    struct Fields {
        Column column;
        std::size_t count, sum, squares, largest;
    };
    std::vector<Fields> columns;
    SumRows rows(static_cast<std::size_t>(count));
    const std::size_t days_field =
        rows.add([&](std::size_t y, std::size_t m) { return static_cast<double>(month_days[y][m]); });
    const auto add_sums = [&](Column column, Variable variable, double factor = 1.0) {
        const std::optional<Column> deviation = deviation_of(column);
        if (!any_month(column) && !(deviation && any_month(*deviation))) return;
        const YearSums sums = year_sums(inputs, variable, factor);
        bool every_day = true;
        for (std::size_t y = 0; y < sums.size(); ++y) every_day &= sums[y].count == month_days[y];
        const bool largest = column == weather::kPcpHhr;
        Fields fields{column, days_field, kNone, kNone, kNone};
        if (!every_day)
            fields.count =
                rows.add([&](std::size_t y, std::size_t m) { return static_cast<double>(sums[y].count[m]); });
        if (!largest) fields.sum = rows.add([&](std::size_t y, std::size_t m) { return sums[y].sum[m]; });
        if (deviation) fields.squares = rows.add([&](std::size_t y, std::size_t m) { return sums[y].squares[m]; });
        if (largest)
            fields.largest = rows.add_largest([&](std::size_t y, std::size_t m) { return sums[y].largest[m]; });
        columns.push_back(fields);
    };
    add_sums(weather::kTmpMaxAve, Variable::tmax);
    add_sums(weather::kTmpMinAve, Variable::tmin);
    add_sums(weather::kSlrAve, Variable::slr);
    add_sums(weather::kWndAve, Variable::wnd);
    add_sums(weather::kDewAve, Variable::dew);
    if (measured_hhr) {
        add_sums(weather::kPcpHhr, Variable::hhr);
    } else {
        add_sums(weather::kPcpHhr, Variable::pcp, std::pow(30.0 / 1440.0, 0.25));
    }
    rows.pack();
    // 3. The value of each resample, by month and column: a value's 1,000
    //    resamples side by side for its interval.  Every place read below
    //    is written here first: no zeros first.
    const auto resampled = std::make_unique_for_overwrite<double[]>(std::size_t{12} * 14 * kResamples);
    const auto at = [&resampled](std::size_t m, std::size_t c, int r) -> double& {
        return resampled[(m * 14 + c) * kResamples + static_cast<std::size_t>(r)];
    };
    check::RandomNumbers numbers(kSeed);
    std::vector<int> years(static_cast<std::size_t>(count));
    std::vector<double> total, top;
    for (int r = 0; r < kResamples; ++r) {
        for (int& y : years) y = static_cast<int>(numbers.next() % static_cast<std::uint64_t>(count));
        const auto pcp = gap_aware_sums ? gap_aware_sums->values(years) : report_sums->values(years);
        for (std::size_t m = 0; m < 12; ++m) {
            for (std::size_t p = 0; p < 6; ++p) at(m, kPrecipitationColumns[p], r) = pcp[m][p];
        }
        rows.draw(years, total, top);
        for (const Fields& fields : columns) {
            const std::optional<Column> deviation = deviation_of(fields.column);
            const auto field = [](const std::vector<double>& row, std::size_t f, std::size_t m) {
                return f == kNone ? 0.0 : row[f * 12 + m];
            };
            for (std::size_t m = 0; m < 12; ++m) {
                const double days = field(total, fields.count, m), sum = field(total, fields.sum, m);
                const double squares = field(total, fields.squares, m);
                const double largest =
                    fields.largest == kNone ? -std::numeric_limits<double>::infinity() : top[fields.largest * 12 + m];
                at(m, fields.column, r) = column_value(fields.column, days, sum, squares, largest);
                if (deviation) at(m, *deviation, r) = column_value(*deviation, days, sum, squares, largest);
            }
        }
    }
    // 4. The intervals, with the decimals of their values.
    for (std::size_t c = 0; c < 14; ++c) {
        for (std::size_t m = 0; m < 12; ++m) {
            const std::string& value = record.values[m][c].text();
            if (!wanted[c][m]) continue;
            const auto bounds = resampled_interval(&resampled[(m * 14 + c) * kResamples], kResamples);
            if (!bounds) continue;
            intervals.low[m][c] = bound_text(bounds->first, decimals_of(value));
            intervals.high[m][c] = bound_text(bounds->second, decimals_of(value));
        }
    }
    return intervals;
}

std::string interval_notes(const RecordIntervals& intervals, const weather::WeatherRecord& record) {
    std::string notes;
    if (intervals.years > 0 && intervals.years < kFewestYears)
        notes = std::to_string(intervals.years) + " years (fewer than " + std::to_string(kFewestYears) + ")";
    std::string wide;
    for (std::size_t c = 0; c < 14; ++c) {
        std::string months;
        for (std::size_t m = 0; m < 12; ++m) {
            const auto value = number_of(record.values[m][c].text());
            const auto low = number_of(intervals.low[m][c]), high = number_of(intervals.high[m][c]);
            if (!value || !low || !high || *high - *low <= std::fabs(*value)) continue;
            months.append(months.empty() ? "" : ",").append(std::to_string(m + 1));
        }
        if (!months.empty())
            wide.append(wide.empty() ? "" : ", ").append(weather::kColumns[c]).append("(" + months + ")");
    }
    if (!wide.empty()) notes.append(notes.empty() ? "" : "; ").append("interval wider than the value: " + wide);
    return notes;
}

}  // namespace wgn::batch
