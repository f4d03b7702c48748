#include "check/model_parameters.hpp"

#include <algorithm>

#include "check/exact_math.hpp"
#include "check/half_hour_rain.hpp"

namespace wgn::check {
namespace {

using weather::Column;

constexpr std::array<const char*, 12> kMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// The saturation vapour pressure's relation the models use (kPa).
double saturation_pressure(double celsius) {
    return natural_exp((16.78 * celsius - 116.9) / (celsius + 237.3));
}

// The amount factor: 1,000 draws of the month's amount, each at least 0.01 mm, to have the wet-day mean.
double amount_factor(const MonthParameters& month, RandomNumbers& numbers) {
    double sum = 0.0;
    for (int i = 0; i < 1000; ++i) {
        const double amount = skewed_normal(numbers.normal(), month.skew) * month.pcp_sd + month.wet_day_mean;
        sum += std::max(amount, 0.01);
    }
    return sum > 0.0 ? 1000.0 * month.wet_day_mean / sum : 1.0;
}

}  // namespace

double skewed_normal(double z, double skew) {
    const double sixth = skew / 6.0;
    const double inner = (z - sixth) * sixth + 1.0;
    return (inner * inner * inner - 1.0) * 2.0 / skew;
}

std::optional<std::array<double, 12>> model_humidity(const TableStation& station) {
    std::array<double, 12> dew{}, humidity{};
    bool fractions = true;
    for (std::size_t m = 0; m < 12; ++m) {
        const auto value = value_of(station, m, weather::kDewAve);
        if (!value) return std::nullopt;
        dew[m] = *value;
        fractions = fractions && *value >= 0.0 && *value <= 1.0;
    }
    for (std::size_t m = 0; m < 12; ++m) {
        if (fractions) {
            humidity[m] = dew[m];
            continue;
        }
        const auto high = value_of(station, m, weather::kTmpMaxAve), low = value_of(station, m, weather::kTmpMinAve);
        if (!high || !low) return std::nullopt;
        humidity[m] = saturation_pressure(dew[m]) / saturation_pressure((*high + *low) / 2.0);
    }
    return humidity;
}

std::optional<StationParameters> model_parameters(const TableStation& station, RandomNumbers& numbers,
                                                  std::string& lacking) {
    StationParameters parameters;
    parameters.latitude = number_of(station.station.latitude).value_or(0.0);
    parameters.rain_yrs = model_rain_yrs(number_of(station.station.rain_yrs));
    std::array<std::array<double, 14>, 12> v{};
    for (std::size_t m = 0; m < 12; ++m) {
        for (std::size_t c = 0; c < 14; ++c) {
            const auto value = value_of(station, m, static_cast<Column>(c));
            if (!value) {
                lacking = std::string("no ") + weather::kColumns[c] + " in " + kMonthNames[m];
                return std::nullopt;
            }
            v[m][c] = *value;
        }
    }
    const std::optional<std::array<double, 12>> humidity = model_humidity(station);
    if (!humidity) {
        lacking = "no humidity";
        return std::nullopt;
    }
    for (std::size_t m = 0; m < 12; ++m) {
        MonthParameters& month = parameters.months[m];
        const double days = kModelMonthDays[m];
        month.wet_dry = v[m][weather::kWetDry];
        month.wet_wet = v[m][weather::kWetWet];
        double wet_days = v[m][weather::kPcpDays];
        if (month.wet_wet <= month.wet_dry || month.wet_dry <= 0.0) {
            wet_days = std::max(wet_days, 0.1);
            month.wet_dry = 0.75 * wet_days / days;
            month.wet_wet = 0.25 + month.wet_dry;
        } else {
            wet_days = days * month.wet_dry / (1.0 - month.wet_wet + month.wet_dry);
        }
        month.wet_fraction = wet_days / days;
        month.wet_day_mean = v[m][weather::kPcpAve] / wet_days;
        month.pcp_sd = v[m][weather::kPcpSd];
        month.skew = std::max(v[m][weather::kPcpSkew], 0.2);
        month.amount_factor = amount_factor(month, numbers);
        month.tmax = v[m][weather::kTmpMaxAve];
        month.tmin = v[m][weather::kTmpMinAve];
        month.tmax_sd = v[m][weather::kTmpMaxSd];
        month.tmin_sd = v[m][weather::kTmpMinSd];
        month.slr = v[m][weather::kSlrAve];
        month.humidity = (*humidity)[m];
        month.wind = v[m][weather::kWndAve];
        // pcp_hhr averaged with the months either side, December's and January's neighbours each other.
        const double hhr =
            (v[(m + 11) % 12][weather::kPcpHhr] + v[m][weather::kPcpHhr] + v[(m + 1) % 12][weather::kPcpHhr]) / 3.0;
        month.half_hour_share = half_hour_share(hhr, wet_days, month.wet_day_mean, parameters.rain_yrs);
    }
    return parameters;
}

}  // namespace wgn::check
