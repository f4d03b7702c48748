#include "check/audit.hpp"

#include <algorithm>
#include <cmath>
#include <optional>

#include "check/number_text.hpp"
#include "text/csv_writing.hpp"

namespace wgn::check {
namespace {

using weather::Column;

constexpr std::array<const char*, 12> kMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// The values no climate has, in the generator's units.
struct Bounds {
    Column column;
    double low, high;
};
constexpr std::array<Bounds, 13> kBounds = {{
    {weather::kTmpMaxAve, -90.0, 60.0},
    {weather::kTmpMinAve, -90.0, 60.0},
    {weather::kTmpMaxSd, 0.0, 30.0},
    {weather::kTmpMinSd, 0.0, 30.0},
    {weather::kPcpAve, 0.0, 10000.0},
    {weather::kPcpSd, 0.0, 2000.0},
    {weather::kWetDry, 0.0, 1.0},
    {weather::kWetWet, 0.0, 1.0},
    {weather::kPcpDays, 0.0, 31.0},
    {weather::kPcpHhr, 0.0, 2000.0},
    {weather::kSlrAve, 0.0, 50.0},
    {weather::kDewAve, -90.0, 60.0},
    {weather::kWndAve, 0.0, 75.0},
}};

// Findings of this size or beyond: a monthly mean temperature above 50 °C,
// a mean radiation above the top of the atmosphere's largest (about 45
// MJ/m²/day), a year's precipitation below 100 with no half-hour rain of 5.
constexpr double kHottestMonth = 50.0;
constexpr double kLargestRadiation = 45.0;
constexpr double kDriestYearInches = 100.0, kLargestHhrInches = 5.0;
// A recomputed pcp_days within 10 % of the table's is the table's own rounding and sampling.
constexpr double kPcpDaysTolerance = 0.10;
constexpr double kDewPointStep = 3.0;

class Auditor {
  public:
    explicit Auditor(const TableStation& station) : station_(station) {}

    std::vector<AuditRow> run() {
        position();
        units();
        humidity();
        for (std::size_t m = 0; m < 12; ++m) month(m);
        return std::move(rows_);
    }

  private:
    std::optional<double> at(std::size_t m, Column c) const { return value_of(station_, m, c); }
    const std::string& text(std::size_t m, Column c) const { return station_.station.values[m][c].text(); }

    void add(std::size_t month, const char* variable, Finding finding, std::string value, std::string detail) {
        rows_.push_back(
            {station_.station.name, static_cast<int>(month), variable, finding, std::move(value), std::move(detail)});
    }

    void position() {
        const weather::ReferenceStation& s = station_.station;
        struct Place {
            const char* name;
            const std::string* value;
            double low, high;
        };
        for (const Place& place : {Place{"lat", &s.latitude, -90.0, 90.0}, Place{"lon", &s.longitude, -180.0, 180.0},
                                   Place{"elev", &s.elevation, -450.0, 9000.0}}) {
            const std::optional<double> value = number_of(*place.value);
            if (!value || *value < place.low || *value > place.high) {
                add(0, place.name, Finding::position_out_of_range, *place.value,
                    std::string(place.name) + " must be a number within " + fixed(place.low, 0) + " ... " +
                        fixed(place.high, 0));
            }
        }
        const std::optional<double> years = number_of(s.rain_yrs);
        if (!years || *years < 1.0) {
            add(0, "rain_yrs", Finding::rain_yrs_default, s.rain_yrs,
                "rain_yrs below 1: the model takes 10 years for the half-hour rain");
        }
    }

    // The largest value of a column over the months that have one.
    std::optional<double> largest(Column c) const {
        std::optional<double> most;
        for (std::size_t m = 0; m < 12; ++m) {
            if (const auto v = at(m, c); v && (!most || *v > *most)) most = v;
        }
        return most;
    }

    void units() {
        if (const auto hottest = largest(weather::kTmpMaxAve); hottest && *hottest > kHottestMonth) {
            add(0, "tmp_max_ave", Finding::likely_fahrenheit, fixed(*hottest, 2),
                "a monthly mean maximum of " + fixed(*hottest, 2) + " °C: " + fixed((*hottest - 32.0) * 5.0 / 9.0, 2) +
                    " °C if the table is in °F");
        }
        if (const auto brightest = largest(weather::kSlrAve); brightest && *brightest > kLargestRadiation) {
            add(0, "slr_ave", Finding::likely_watts, fixed(*brightest, 2),
                "above the top of the atmosphere's radiation: " + fixed(*brightest * 0.0864, 2) +
                    " MJ/m²/day if the table is in W/m² (a day's mean)");
        }
        double year = 0.0;
        for (std::size_t m = 0; m < 12; ++m) {
            const auto total = at(m, weather::kPcpAve);
            if (!total) return;
            year += *total;
        }
        const auto hhr = largest(weather::kPcpHhr);
        if (year > 0.0 && year < kDriestYearInches && hhr && *hhr < kLargestHhrInches) {
            add(0, "pcp_ave", Finding::likely_inches, fixed(year, 2),
                "a year of " + fixed(year, 2) + " mm with no half-hour rain of 5 mm: " + fixed(year * 25.4, 1) +
                    " mm if the table is in inches");
        }
    }

    // A month of dew_ave in [0, 1] is a humidity fraction among dew points when
    // both months beside it lie at least 3 away (a dew point of 0.5 °C in a
    // winter of dew points near 0 is a dew point).
    void humidity() {
        std::array<double, 12> dew{};
        for (std::size_t m = 0; m < 12; ++m) {
            const auto value = at(m, weather::kDewAve);
            if (!value) return;
            dew[m] = *value;
        }
        std::string fractions;
        int count = 0, alone = 0;
        for (std::size_t m = 0; m < 12; ++m) {
            if (dew[m] < 0.0 || dew[m] > 1.0) continue;
            ++count;
            const double before = dew[(m + 11) % 12], after = dew[(m + 1) % 12];
            if (std::fabs(before - dew[m]) >= kDewPointStep && std::fabs(after - dew[m]) >= kDewPointStep) {
                ++alone;
                fractions.append(fractions.empty() ? "" : " ").append(kMonthNames[m]);
            }
        }
        if (count == 12) {
            add(0, "dew_ave", Finding::humidity_fraction, "",
                "all twelve between 0 and 1: the model reads them as humidity fractions, not as dew points");
        } else if (alone > 0) {
            add(0, "dew_ave", Finding::humidity_mixed, "",
                std::to_string(alone) + " months between 0 and 1 far from the months beside them (" + fractions +
                    "): humidity among dew points? the model reads all twelve as dew points (°C)");
        }
    }

    void month(std::size_t m) {
        for (std::size_t c = 0; c < 14; ++c) {
            if (station_.station.values[m][c].empty()) {
                add(m + 1, weather::kColumns[c], Finding::missing_value, "",
                    "no value: the model cannot read the table");
            }
        }
        for (const Bounds& bounds : kBounds) {
            const auto value = at(m, bounds.column);
            const double high = bounds.column == weather::kPcpDays ? kModelMonthDays[m] : bounds.high;
            if (value && (*value < bounds.low || *value > high)) {
                add(m + 1, weather::kColumns[bounds.column], Finding::out_of_bounds, text(m, bounds.column),
                    "outside " + fixed(bounds.low, 0) + " ... " + fixed(high, 0));
            }
        }
        precipitation(m);
        temperature(m);
    }

    void precipitation(std::size_t m) {
        const auto total = at(m, weather::kPcpAve), sd = at(m, weather::kPcpSd);
        if (total && sd && *total > 0.0 && *sd > *total) {
            add(m + 1, "pcp_ave", Finding::daily_mean_pcp, text(m, weather::kPcpAve),
                "pcp_sd " + text(m, weather::kPcpSd) +
                    " above it: a daily mean, not the monthly total the model reads?");
        }
        const auto wet_dry = at(m, weather::kWetDry), wet_wet = at(m, weather::kWetWet);
        const auto days_listed = at(m, weather::kPcpDays);
        const double days = kModelMonthDays[m];
        if (wet_dry && wet_wet && (*wet_wet <= *wet_dry || *wet_dry <= 0.0)) {
            std::string detail = "wet_wet " + text(m, weather::kWetWet) + ", wet_dry " + text(m, weather::kWetDry) +
                                 ": the model replaces both from pcp_days";
            if (days_listed) {
                const double replaced = 0.75 * std::max(*days_listed, 0.1) / days;
                detail += " (wet_dry " + fixed(replaced, 4) + ", wet_wet " + fixed(0.25 + replaced, 4) + ")";
            }
            add(m + 1, "wet_dry", Finding::probabilities_replaced, text(m, weather::kWetDry), detail);
        } else if (wet_dry && wet_wet && days_listed) {
            const double recomputed = days * *wet_dry / (1.0 - *wet_wet + *wet_dry);
            const double ratio = *days_listed > 0.0 ? recomputed / *days_listed : 0.0;
            if (*days_listed <= 0.0 || ratio < 1.0 - kPcpDaysTolerance || ratio > 1.0 + kPcpDaysTolerance) {
                std::string detail =
                    "the model makes " + fixed(recomputed, 2) + " wet days for " + text(m, weather::kPcpDays);
                if (*days_listed > 0.0) {
                    detail += " (" + fixed(ratio, 2) + " of the table's): each wet day " + fixed(1.0 / ratio, 2) +
                              " times " + (ratio < 1.0 ? "wetter" : "as wet");
                }
                add(m + 1, "pcp_days", Finding::pcp_days_recomputed, text(m, weather::kPcpDays), detail);
            }
        }
        if (const auto skew = at(m, weather::kPcpSkew); skew && *skew < 0.2) {
            add(m + 1, "pcp_skew", Finding::skew_raised, text(m, weather::kPcpSkew), "the model raises it to 0.2");
        }
    }

    void temperature(std::size_t m) {
        const auto high = at(m, weather::kTmpMaxAve), low = at(m, weather::kTmpMinAve);
        if (high && low && *low > *high) {
            add(m + 1, "tmp_min_ave", Finding::tmin_above_tmax, text(m, weather::kTmpMinAve),
                "above tmp_max_ave " + text(m, weather::kTmpMaxAve));
        }
        for (const Column c : {weather::kTmpMaxSd, weather::kTmpMinSd, weather::kPcpSd}) {
            const auto sd = at(m, c);
            const bool rain = c != weather::kPcpSd || at(m, weather::kPcpAve).value_or(0.0) > 0.0;
            if (sd && *sd == 0.0 && rain) {
                add(m + 1, weather::kColumns[c], Finding::zero_deviation, text(m, c),
                    "a deviation of 0: the model's daily values of the month will not vary");
            }
        }
    }

    const TableStation& station_;
    std::vector<AuditRow> rows_;
};

}  // namespace

std::vector<AuditRow> audit_station(const TableStation& station) {
    return Auditor(station).run();
}

std::string audit_csv(const std::vector<AuditRow>& rows) {
    std::string csv = text::csv_line({"station", "month", "variable", "finding", "kind", "value", "detail"});
    for (const AuditRow& row : rows) {
        csv.append(text::csv_line({row.station, row.month == 0 ? "" : std::to_string(row.month), row.variable,
                                   std::string(name(row.finding)), std::string(name(kind_of(row.finding))), row.value,
                                   row.detail}));
    }
    return csv;
}

}  // namespace wgn::check
