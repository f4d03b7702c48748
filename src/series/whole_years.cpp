#include "series/whole_years.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>

#include "io/decimal_text.hpp"
#include "io/wgnrain_facts.hpp"
#include "problem/problem.hpp"
#include "readers/calendar_days.hpp"
#include "readers/daily_number.hpp"
#include "readers/number_text.hpp"
#include "readers/value_checks.hpp"
#include "series/period_choice.hpp"
#include "series/wet_day_threshold.hpp"

namespace wgn::series {
namespace {

using readers::DailyValue;
using readers::Date;

std::string date_text(std::int32_t day) {
    const Date date = readers::date_of(day);
    return readers::date_text(date.year, date.month, date.day);
}

// Whether the days rise, each given once.
bool rising(const std::vector<DailyValue>& values) {
    for (std::size_t i = 1; i < values.size(); ++i) {
        if (values[i - 1].day >= values[i].day) return false;
    }
    return true;
}

// Whether `text`, written for `value` (its own text when `as_read`), may
// equal the NoData value `nodata` read in single precision, as
// io::parse_real reads both: a plain decimal as read whose number lies
// further from a finite NoData value than a millionth of it (single
// precision holds 2^-24 of it) cannot; any other text is read as wgnrain
// reads it.
bool may_be_nodata(const DailyValue& value, std::string_view text, bool as_read, float nodata) {
    if (std::isfinite(nodata) && value.decimals >= 0 && as_read) {
        const double margin = 1e-6 * std::max(1.0, std::fabs(static_cast<double>(nodata)));
        if (std::fabs(value.number - static_cast<double>(nodata)) > margin) return false;
    }
    float number = 0.0F;
    return io::parse_real(text, number) && facts::is_nodata(number, nodata);
}

// "1994 2003"
std::string years_text(const std::vector<int>& years) {
    std::string text;
    for (const int year : years) {
        if (!text.empty()) text.push_back(' ');
        text.append(std::to_string(year));
    }
    return text;
}

}  // namespace

// Days in order; a day given twice keeps its first value when both say the
// same (as numbers, or both missing), and is refused otherwise.
Done merge_days(std::vector<DailyValue>& values) {
    // Files almost always give their days rising, each once: one pass tells,
    // and such days are neither sorted again nor moved.
    if (rising(values)) return {};
    const auto earlier = [](const DailyValue& a, const DailyValue& b) { return a.day < b.day; };
    if (!std::is_sorted(values.begin(), values.end(), earlier)) std::stable_sort(values.begin(), values.end(), earlier);
    std::size_t kept = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (kept > 0 && values[kept - 1].day == values[i].day) {
            const DailyValue& first = values[kept - 1];
            const DailyValue& again = values[i];
            const bool same = first.text.empty()
                                  ? again.text.empty()
                                  : !again.text.empty() && readers::number_of(first) == readers::number_of(again);
            if (!same) {
                const auto shown = [](const DailyValue& v) { return v.text.empty() ? std::string("missing") : v.text; };
                return Problem{"", again.line, "",
                               date_text(again.day) + " again, with " + shown(again) + " where line " +
                                   std::to_string(first.line) + " gave " + shown(first)};
            }
            continue;
        }
        if (kept != i) values[kept] = std::move(values[i]);
        ++kept;
    }
    values.resize(kept);
    return {};
}

namespace {

// Steps 2 to 4 of make_whole_years, on days that rise, each given once.
Result<WholeYearSeries> whole_years_of(const std::vector<DailyValue>& values, const SeriesOptions& options) {
    // 2. The values present in each calendar year of the record (the days
    //    rise: a year's are together).
    std::map<int, int> present;
    int year = readers::date_of(values.front().day).year, count = 0;  // the year being counted
    std::int32_t next_year_day = readers::day_number(Date{year + 1, 1, 1});
    for (const DailyValue& value : values) {
        if (value.day >= next_year_day) {
            present[year] = count;
            year = readers::date_of(value.day).year;
            count = 0;
            next_year_day = readers::day_number(Date{year + 1, 1, 1});
        }
        count += value.text.empty() ? 0 : 1;
    }
    present[year] = count;
    const int record_first = readers::date_of(values.front().day).year;
    const int record_last = readers::date_of(values.back().day).year;

    // 3. The period: the list's bounds, else the longest run of well-covered years.
    const ChosenPeriod chosen =
        choose_period(present, record_first, record_last, options.first_year, options.last_year);
    const int first = chosen.first_year, last = chosen.last_year;
    if (first == 0) {
        long days = 0, found = 0;
        for (int year = record_first; year <= record_last; ++year) days += readers::days_in_year(year);
        for (const auto& [year, count] : present) found += count;
        const std::string side = options.first_year  ? " from " + std::to_string(*options.first_year) + " on"
                                 : options.last_year ? " up to " + std::to_string(*options.last_year)
                                                     : std::string();
        return problem_text("no calendar year" + side + " with at most 10 % of its days missing (values from " +
                            date_text(values.front().day) + " to " + date_text(values.back().day) + ": " +
                            std::to_string(found) + " of " + std::to_string(days) + " days of " +
                            std::to_string(record_first) + "-" + std::to_string(record_last) + ")");
    }
    if (first > last || !readers::is_valid_date(Date{first, 1, 1}) || !readers::is_valid_date(Date{last, 12, 31}))
        return problem_text("no period from " + std::to_string(first) + " to " + std::to_string(last));

    // 4. Every day of the period, in order: its value or the NoData value.
    // wgnrain reads the NoData value and each value as single-precision
    // numbers straight from their texts, and takes a value equal to NoData as
    // missing: the same reading and comparison decide it here.
    float nodata_single = 0.0F;
    const bool nodata = io::parse_real(options.nodata, nodata_single);
    WholeYearSeries series;
    series.coverage = period_coverage(present, first, last);
    Coverage& coverage = series.coverage;
    const std::int32_t first_day = readers::day_number(Date{first, 1, 1});
    const std::int32_t last_day = readers::day_number(Date{last, 12, 31});
    auto next = std::lower_bound(values.begin(), values.end(), first_day,
                                 [](const DailyValue& v, std::int32_t day) { return v.day < day; });
    // The text is written in place, in room for the longest it can be:
    // every day's NoData value and line end, and the period's values.
    constexpr std::string_view line_end = "\r\n";
    std::size_t room = static_cast<std::size_t>(last_day - first_day + 1) * (options.nodata.size() + line_end.size());
    for (auto it = next; it != values.end() && it->day <= last_day; ++it) room += it->text.size();
    series.text.resize(room);
    std::size_t used = 0;
    const auto write = [&](std::string_view piece) {
        std::memcpy(series.text.data() + used, piece.data(), piece.size());
        used += piece.size();
    };
    std::array<int, 12> months{};
    Date date{first, 1, 1};
    for (std::int32_t day = first_day; day <= last_day; ++day) {
        const DailyValue* value = next != values.end() && next->day == day ? &*next++ : nullptr;
        if (value != nullptr && !value->text.empty()) {
            // Drizzle below the wet-day threshold is written as a dry day.
            const bool dry = !options.pcp_threshold.empty() && is_drizzle(value->text, options.pcp_threshold);
            const std::string_view written = dry ? std::string_view("0") : std::string_view(value->text);
            if (nodata && may_be_nodata(*value, written, !dry, nodata_single)) {
                return Problem{"", value->line, "",
                               "the value " + value->text +
                                   (dry ? " (written as 0, below the wet-day threshold)" : "") + " of " +
                                   date_text(day) + " equals the NoData value " + options.nodata + "; choose another " +
                                   (options.settings == readers::Settings::station_list
                                        ? std::string("nodata for this station")
                                        : readers::setting_name(options.settings, "nodata"))};
            }
            write(written);
            if (dry) ++coverage.below_threshold;
            if (value->trace) ++coverage.trace_values;
        } else {
            write(options.nodata);
            ++months[static_cast<std::size_t>(date.month - 1)];
            ++coverage.missing_days;
            if (value != nullptr && value->flagged) ++coverage.flagged_values;
        }
        write(line_end);
        ++coverage.days;
        if (date.month == 12 && date.day == 31) {
            coverage.missing.push_back(months);
            int missing = 0;
            for (const int m : months) missing += m;
            if (missing * 10 > readers::days_in_year(date.year)) coverage.incomplete_years.push_back(date.year);
            months = {};
        }
        date = readers::day_after(date);
    }
    series.text.resize(used);
    return series;
}

}  // namespace

Coverage period_coverage(const std::map<int, int>& present, int first, int last) {
    Coverage coverage;
    coverage.first_year = first;
    coverage.last_year = last;
    for (const auto& [year, count] : present) {
        if ((year < first || year > last) && well_covered(year, count)) coverage.outside_years.push_back(year);
    }
    return coverage;
}

Result<WholeYearSeries> make_whole_years(const std::vector<DailyValue>& values, const SeriesOptions& options) {
    // 1. The days in order, each once: a copy only when they are not.
    if (values.empty()) return problem_text("no daily values");
    if (rising(values)) return whole_years_of(values, options);
    std::vector<DailyValue> merged = values;
    if (Done done = merge_days(merged); !done) return done.problem();
    return whole_years_of(merged, options);
}

std::string period_text(const Coverage& coverage) {
    return std::to_string(coverage.first_year) + "-" + std::to_string(coverage.last_year);
}

std::string missing_percent_text(const Coverage& coverage) {
    if (coverage.days == 0) return "0.0";
    // Tenths of a percent, rounded half up in whole numbers.
    const long long tenths = (static_cast<long long>(coverage.missing_days) * 2000 + coverage.days) /
                             (2 * static_cast<long long>(coverage.days));
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

std::string incomplete_years_text(const Coverage& coverage) {
    return years_text(coverage.incomplete_years);
}

std::string outside_years_text(const Coverage& coverage) {
    return years_text(coverage.outside_years);
}

std::string coverage_table(const Coverage& coverage) {
    std::string table = "year,jan,feb,mar,apr,may,jun,jul,aug,sep,oct,nov,dec,total\r\n";
    for (std::size_t y = 0; y < coverage.missing.size(); ++y) {
        table.append(std::to_string(coverage.first_year + static_cast<int>(y)));
        int total = 0;
        for (const int missing : coverage.missing[y]) {
            table.append(",").append(std::to_string(missing));
            total += missing;
        }
        table.append(",").append(std::to_string(total)).append("\r\n");
    }
    return table;
}

std::string coverage_line(const Coverage& coverage, std::string_view pcp_threshold) {
    std::string line = period_text(coverage) + ": " + std::to_string(coverage.days) + " days, " +
                       std::to_string(coverage.missing_days) + " missing (" + missing_percent_text(coverage) + " %), " +
                       std::to_string(coverage.flagged_values) + " flagged";
    if (!pcp_threshold.empty()) {
        line.append(", ").append(std::to_string(coverage.below_threshold)).append(" below ");
        line.append(pcp_threshold).append(" mm written as 0");
    }
    if (!coverage.incomplete_years.empty()) {
        line.append("; years over 10 % missing: ").append(incomplete_years_text(coverage));
    }
    if (!coverage.outside_years.empty()) {
        line.append("; well-covered years outside the period: ").append(outside_years_text(coverage));
    }
    return line;
}

}  // namespace wgn::series
