#include "check/generated_statistics.hpp"

#include <algorithm>
#include <cmath>
#include <optional>

#include "check/number_text.hpp"
#include "text/csv_writing.hpp"

namespace wgn::check {
namespace {

constexpr std::array<int, 12> kCommonYear = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
// Mixed into the generator's seed for the stream of the half-hour rain.
constexpr std::uint64_t kHalfHourStream = 0xA0761D6478BD642FULL;

}  // namespace

void Moments::add(double x) {
    n += 1.0;
    sum += x;
    squares += x * x;
    cubes += x * x * x;
}

double Moments::mean() const {
    return n > 0.0 ? sum / n : 0.0;
}

double Moments::deviation() const {
    if (n < 2.0) return 0.0;
    const double m = mean();
    const double spread = squares - n * m * m;
    return spread > 0.0 ? std::sqrt(spread / (n - 1.0)) : 0.0;
}

double Moments::skew() const {
    const double sd = deviation();
    if (n < 3.0 || sd == 0.0) return 0.0;
    const double m = mean();
    const double third = cubes - 3.0 * m * squares + 3.0 * m * m * sum - n * m * m * m;
    return n / ((n - 1.0) * (n - 2.0)) * third / (sd * sd * sd);
}

std::uint64_t station_seed(std::uint64_t seed, std::size_t index) {
    std::uint64_t state = seed ^ (0xD1B54A32D192ED03ULL * (static_cast<std::uint64_t>(index) + 1));
    return splitmix64(state);
}

GeneratedStatistics generate(Model model, const StationParameters& station, int years, std::uint64_t seed) {
    RandomNumbers numbers(seed), half_hour_numbers(seed ^ kHalfHourStream);
    DailyGenerator generator(model, station, numbers, half_hour_numbers);
    GeneratedStatistics statistics;
    statistics.years = years;
    statistics.run_years =
        static_cast<int>(std::clamp(std::nearbyint(station.rain_yrs), 1.0, std::max(1.0, double(years))));
    std::array<double, 12> largest_of_run{};
    std::optional<bool> yesterday_wet;
    for (int year = 0; year < years; ++year) {
        const bool leap = year % 4 == 3;
        int day_of_year = 0;
        for (std::size_t m = 0; m < 12; ++m) {
            MonthTally& tally = statistics.months[m];
            const int days = kCommonYear[m] + (leap && m == 1 ? 1 : 0);
            for (int d = 0; d < days; ++d) {
                const Day day = generator.next(m, ++day_of_year);
                const bool wet = day.pcp >= 0.1;
                tally.pcp.add(day.pcp);
                tally.total += day.pcp;
                tally.tmax.add(day.tmax);
                tally.tmin.add(day.tmin);
                tally.slr.add(day.slr);
                tally.humidity.add(day.humidity);
                tally.wind.add(day.wind);
                if (wet) tally.wet_days += 1.0;
                largest_of_run[m] = std::max(largest_of_run[m], day.half_hour);
                if (yesterday_wet) {
                    (*yesterday_wet ? tally.after_wet : tally.after_dry) += 1.0;
                    if (wet) (*yesterday_wet ? tally.wet_after_wet : tally.wet_after_dry) += 1.0;
                }
                yesterday_wet = wet;
            }
        }
        if ((year + 1) % statistics.run_years == 0) {
            for (std::size_t m = 0; m < 12; ++m) {
                statistics.months[m].half_hour_largest += largest_of_run[m];
                statistics.months[m].half_hour_runs += 1.0;
            }
            largest_of_run = {};
        }
    }
    return statistics;
}

std::vector<GeneratedRow> generated_rows(const TableStation& station, const GeneratedStatistics& statistics) {
    std::vector<GeneratedRow> rows;
    const std::optional<std::array<double, 12>> humidity = model_humidity(station);
    const double years = statistics.years > 0 ? statistics.years : 1;
    for (std::size_t m = 0; m < 12; ++m) {
        const MonthTally& t = statistics.months[m];
        const auto add = [&](weather::Column column, double generated) {
            rows.push_back({weather::kColumns[column], station.station.values[m][column].text(), generated,
                            static_cast<int>(m + 1)});
        };
        add(weather::kTmpMaxAve, t.tmax.mean());
        add(weather::kTmpMinAve, t.tmin.mean());
        add(weather::kTmpMaxSd, t.tmax.deviation());
        add(weather::kTmpMinSd, t.tmin.deviation());
        add(weather::kPcpAve, t.total / years);
        add(weather::kPcpSd, t.pcp.deviation());
        add(weather::kPcpSkew, t.pcp.skew());
        add(weather::kWetDry, t.after_dry > 0.0 ? t.wet_after_dry / t.after_dry : 0.0);
        add(weather::kWetWet, t.after_wet > 0.0 ? t.wet_after_wet / t.after_wet : 0.0);
        add(weather::kPcpDays, t.wet_days / years);
        add(weather::kPcpHhr, t.half_hour_runs > 0.0 ? t.half_hour_largest / t.half_hour_runs : 0.0);
        add(weather::kSlrAve, t.slr.mean());
        rows.push_back({"slr_sd", "", t.slr.deviation(), static_cast<int>(m + 1)});
        rows.push_back({"rh", humidity ? fixed((*humidity)[m], 4) : "", t.humidity.mean(), static_cast<int>(m + 1)});
        add(weather::kWndAve, t.wind.mean());
    }
    return rows;
}

std::string generated_csv_header() {
    return text::csv_line({"station", "month", "variable", "table", "generated", "ratio"});
}

std::string generated_csv_rows(std::string_view station, const std::vector<GeneratedRow>& rows) {
    std::string csv;
    for (const GeneratedRow& row : rows) {
        const std::optional<double> table = number_of(row.table);
        const std::string ratio = table && *table != 0.0 ? fixed(row.generated / *table, 4) : "";
        csv.append(text::csv_line({std::string(station), std::to_string(row.month), row.variable, row.table,
                                   fixed(row.generated, 4), ratio}));
    }
    return csv;
}

}  // namespace wgn::check
