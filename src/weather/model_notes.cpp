#include "weather/model_notes.hpp"

#include <cmath>
#include <cstdio>
#include <optional>

#include "readers/number_text.hpp"

namespace wgn::weather {
namespace {

constexpr const char* kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
// The days the model gives each month.
constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

std::optional<double> number(const std::string& text) {
    return text.empty() ? std::nullopt : readers::number_value(text);
}

}  // namespace

std::vector<std::string> model_notes(const WeatherRecord& record) {
    return model_notes(record, MonthTexts{});
}

std::vector<std::string> model_notes(const WeatherRecord& record, const MonthTexts& largest_daily) {
    std::vector<std::string> notes;
    const auto note = [&](std::size_t m, const std::string& text) {
        notes.push_back(std::string(kMonths[m]) + ": " + text);
    };
    bool all_dew_fractions = true;
    for (std::size_t m = 0; m < 12; ++m) {
        const auto& v = record.values[m];
        const auto wet_dry = number(v[kWetDry]), wet_wet = number(v[kWetWet]), days = number(v[kPcpDays]);
        if (wet_dry && wet_wet) {
            if (*wet_dry == 0) {
                note(m, "wet_dry 0: the model replaces wet_dry and wet_wet from pcp_days");
            } else if (*wet_wet <= *wet_dry) {
                note(m,
                     "wet_wet " + v[kWetWet] + " <= wet_dry " + v[kWetDry] + ": the model replaces both from pcp_days");
            } else if (days) {
                const double recomputed = kDays[m] * *wet_dry / (1.0 - *wet_wet + *wet_dry);
                if (std::fabs(recomputed - *days) > 0.5) {
                    char text[160];
                    std::snprintf(text, sizeof text,
                                  "pcp_days %s, but the model recomputes %.2f from wet_dry and wet_wet",
                                  v[kPcpDays].c_str(), recomputed);
                    note(m, text);
                }
            }
        }
        if (const auto skew = number(v[kPcpSkew]); skew && *skew < 0.2) {
            note(m, "pcp_skew " + v[kPcpSkew] + " below 0.2: the model raises it to 0.2");
        }
        const auto tmax = number(v[kTmpMaxAve]), tmin = number(v[kTmpMinAve]);
        if (tmax && tmin && *tmin > *tmax) {
            note(m, "tmp_min_ave " + v[kTmpMinAve] + " above tmp_max_ave " + v[kTmpMaxAve]);
        }
        for (const Column sd : {kTmpMaxSd, kTmpMinSd, kPcpSd}) {
            if (const auto value = number(v[sd]); value && *value == 0) {
                note(m, std::string(kColumns[sd]) + " 0: the model's daily values of the month will not vary");
            }
        }
        if (const auto hhr = number(v[kPcpHhr])) {
            if (*hhr == 0) {
                note(m, "pcp_hhr 0: the model finds no rain intensity");
            } else if (const auto largest = number(largest_daily[m]); largest && *hhr > *largest) {
                note(m, "pcp_hhr " + v[kPcpHhr] + " above the month's largest daily value " + largest_daily[m]);
            }
        }
        const auto dew = number(v[kDewAve]);
        all_dew_fractions = all_dew_fractions && dew && *dew >= 0 && *dew <= 1;
    }
    if (all_dew_fractions)
        notes.push_back("dew_ave: all twelve between 0 and 1: the model would read them as humidity fractions");
    return notes;
}

}  // namespace wgn::weather
