#include "weather/model_notes.hpp"

#include <array>
#include <cmath>
#include <cstdio>
#include <optional>

#include "readers/number_text.hpp"

namespace wgn::weather {
namespace {

constexpr const char* kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
// The days the model gives each month: those of a leap year.
constexpr int kDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
// A recomputed pcp_days further than this from the table's (relative) changes
// the wet days materially.
constexpr double kPcpDaysLimit = 0.10;
// Table values are decimals, exact on the limit where binary arithmetic may
// land a hair beyond it: that far beyond still counts as on it.
constexpr double kLimitSlack = 1e-9;

std::optional<double> number(const std::string& text) {
    return text.empty() ? std::nullopt : readers::number_value(text);
}

// A month's values as their texts ("" for no value), for the notes to quote.
std::array<std::string, 14> month_texts(const std::array<DecimalText, 14>& values) {
    std::array<std::string, 14> texts;
    for (std::size_t c = 0; c < values.size(); ++c) texts[c] = values[c].text();
    return texts;
}

std::string fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// The months of a finding and the one where it matters most (the highest
// score), with that month's details.
struct Finding {
    std::vector<std::size_t> months;
    std::size_t worst = 0;
    double score = 0;
    std::string details;

    void add(std::size_t month, double month_score, const std::string& month_details) {
        if (months.empty() || month_score > score) {
            worst = month;
            score = month_score;
            details = month_details;
        }
        months.push_back(month);
    }
    bool several() const { return months.size() > 1; }
    // "in Jul", "in 3 months (Jan, Feb, Mar)", "in every month".
    std::string months_text() const {
        if (months.size() == 1) return std::string("in ") + kMonths[months[0]];
        if (months.size() == 12) return "in every month";
        std::string text = "in " + std::to_string(months.size()) + " months (";
        for (std::size_t i = 0; i < months.size(); ++i) text.append(i == 0 ? "" : ", ").append(kMonths[months[i]]);
        return text + ")";
    }
    // " (details)" for one month, ", `most` in Jul (details)" for several.
    std::string worst_text(const std::string& most) const {
        if (!several()) return " (" + details + ")";
        return ", " + most + " in " + kMonths[worst] + " (" + details + ")";
    }
};

}  // namespace

std::vector<ModelNote> model_notes(const WeatherRecord& record) {
    return model_notes(record, MonthTexts{});
}

std::vector<ModelNote> model_notes(const WeatherRecord& record, const MonthTexts& largest_daily) {
    return model_notes(record, largest_daily, {});
}

std::vector<ModelNote> model_notes(const WeatherRecord& record, const MonthTexts& largest_daily,
                                   const std::array<bool, 12>& rainless) {
    Finding rebuilt, fewer_days, more_days, skew, min_above_max, hhr_zero, hhr_above;
    Finding sd_zero[3];
    constexpr Column kDeviations[3] = {kTmpMaxSd, kTmpMinSd, kPcpSd};
    bool all_dew_fractions = true;
    const std::array<bool, 12> dew_filled = filled_months(record, kDewAve);
    Finding dew_measured;
    for (std::size_t m = 0; m < 12; ++m) {
        const std::array<std::string, 14> v = month_texts(record.values[m]);
        const auto wet_dry = number(v[kWetDry]), wet_wet = number(v[kWetWet]), days = number(v[kPcpDays]);
        if (wet_dry && wet_wet && (*wet_dry <= 0 || *wet_wet <= *wet_dry)) {
            // The model keeps pcp_days (at least 0.1) and makes both from it.
            std::string details =
                *wet_dry <= 0 ? "wet_dry " + v[kWetDry] : "wet_wet " + v[kWetWet] + " <= wet_dry " + v[kWetDry];
            double change = 0;
            if (days) {
                const double new_wet_dry = 0.75 * std::fmax(*days, 0.1) / kDays[m], new_wet_wet = 0.25 + new_wet_dry;
                details += ", it uses " + fixed(new_wet_dry, 4) + " and " + fixed(new_wet_wet, 4);
                change = std::fabs(new_wet_dry - *wet_dry) + std::fabs(new_wet_wet - *wet_wet);
            }
            rebuilt.add(m, change, details);
        } else if (wet_dry && wet_wet && days && *days > 0) {
            // The model's pcp_days from the two probabilities; the wet-day
            // amount pcp_ave / pcp_days changes by the inverse factor.
            const double recomputed = kDays[m] * *wet_dry / (1.0 - *wet_wet + *wet_dry);
            const double ratio = recomputed / *days;
            const std::string details = fixed(recomputed, 2) + " for " + v[kPcpDays];
            if (ratio < 1.0 - kPcpDaysLimit - kLimitSlack) fewer_days.add(m, 1.0 / ratio, details);
            if (ratio > 1.0 + kPcpDaysLimit + kLimitSlack) more_days.add(m, ratio, details);
        }
        if (const auto value = number(v[kPcpSkew]); value && *value < 0.2) skew.add(m, 0.2 - *value, v[kPcpSkew]);
        const auto tmax = number(v[kTmpMaxAve]), tmin = number(v[kTmpMinAve]);
        if (tmax && tmin && *tmin > *tmax)
            min_above_max.add(m, *tmin - *tmax, v[kTmpMinAve] + " above " + v[kTmpMaxAve]);
        for (std::size_t d = 0; d < 3; ++d) {
            if (kDeviations[d] == kPcpSd && rainless[m]) continue;
            if (const auto value = number(v[kDeviations[d]]); value && *value == 0) sd_zero[d].add(m, 0, "");
        }
        if (const auto hhr = number(v[kPcpHhr])) {
            if (*hhr == 0) {
                if (!rainless[m]) hhr_zero.add(m, 0, "");
            } else if (const auto largest = number(largest_daily[m]); largest && *hhr > *largest) {
                hhr_above.add(m, *largest > 0 ? *hhr / *largest : *hhr, v[kPcpHhr] + " above " + largest_daily[m]);
            }
        }
        const auto dew = number(v[kDewAve]);
        all_dew_fractions = all_dew_fractions && dew && *dew >= 0 && *dew <= 1;
        if (!dew_filled[m]) dew_measured.add(m, 0, "");
    }

    std::vector<ModelNote> notes;
    const auto add = [&](NoteKind kind, std::string text) { notes.push_back({kind, std::move(text)}); };
    if (!rebuilt.months.empty()) {
        add(NoteKind::change, "wet_dry, wet_wet: the model replaces both from pcp_days " + rebuilt.months_text() +
                                  rebuilt.worst_text("most"));
    }
    for (const bool fewer : {true, false}) {
        const Finding& f = fewer ? fewer_days : more_days;
        if (f.months.empty()) continue;
        const double ratio = fewer ? 1.0 / f.score : f.score;
        add(NoteKind::change,
            std::string("pcp_days: the model makes ") + (fewer ? "fewer" : "more") + " wet days " + f.months_text() +
                ", " + (f.several() ? fewer ? "down to " : "up to " : "") + fixed(ratio, 2) + " of the table's" +
                (f.several() ? std::string(" in ") + kMonths[f.worst] : "") + " (" + f.details +
                "): each wet day about " + fixed(1.0 / ratio, 2) + (fewer ? " times wetter" : " times as wet"));
    }
    if (!skew.months.empty()) {
        add(NoteKind::change, "pcp_skew: the model raises it to 0.2 " + skew.months_text() + skew.worst_text("lowest"));
    }
    if (all_dew_fractions && !dew_measured.months.empty()) {
        add(NoteKind::note, "dew_ave: all twelve between 0 and 1, measured " + dew_measured.months_text() +
                                ": the model reads them as humidity fractions, not as dew points");
    }
    if (!min_above_max.months.empty()) {
        add(NoteKind::note,
            "tmp_min_ave above tmp_max_ave " + min_above_max.months_text() + min_above_max.worst_text("most"));
    }
    constexpr const char* kVarying[3] = {"the daily maximum temperature", "the daily minimum temperature",
                                         "the wet-day amounts"};
    for (std::size_t d = 0; d < 3; ++d) {
        if (sd_zero[d].months.empty()) continue;
        add(NoteKind::note, std::string(kColumns[kDeviations[d]]) + " 0 " + sd_zero[d].months_text() +
                                ": the model will not vary " + kVarying[d]);
    }
    if (!hhr_zero.months.empty()) {
        add(NoteKind::note, "pcp_hhr 0 " + hhr_zero.months_text() + ": the model finds no rain intensity");
    }
    if (!hhr_above.months.empty()) {
        add(NoteKind::note,
            "pcp_hhr above the month's largest daily value " + hhr_above.months_text() + hhr_above.worst_text("most"));
    }
    return notes;
}

std::size_t count_of(const std::vector<ModelNote>& notes, NoteKind kind) {
    std::size_t count = 0;
    for (const ModelNote& note : notes) count += note.kind == kind ? 1 : 0;
    return count;
}

ModelNote recomputed_pcp_days() {
    return {NoteKind::information,
            "The model always recomputes pcp_days from wet_dry and wet_wet (days x wet_dry / (1 - wet_wet + "
            "wet_dry), the days of a leap year) and takes pcp_ave / pcp_days as the mean wet-day amount. A "
            "station's notes name only months where its pcp_days differs from the table's by more than 10 %."};
}

}  // namespace wgn::weather
