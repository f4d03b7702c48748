#include "check/daily_generator.hpp"

#include <algorithm>
#include <cmath>

#include "check/exact_math.hpp"
#include "check/half_hour_rain.hpp"
#include "check/triangular_draw.hpp"

namespace wgn::check {
namespace {

// Richardson's matrices (rows: maximum temperature, minimum temperature, radiation).
constexpr std::array<std::array<double, 3>, 3> kA = {
    {{0.567, 0.086, -0.002}, {0.253, 0.504, -0.050}, {-0.006, -0.039, 0.244}}};
constexpr std::array<std::array<double, 3>, 3> kB = {{{0.781, 0.0, 0.0}, {0.328, 0.637, 0.0}, {0.238, -0.341, 0.873}}};

}  // namespace

double clear_sky_radiation(double latitude, int day_of_year) {
    const double lat = latitude / 57.296;
    const double declination = std::asin(0.4 * std::sin((day_of_year - 82.0) / 58.09));
    const double ys = std::sin(lat) * std::sin(declination), yc = std::cos(lat) * std::cos(declination);
    const double ch = yc != 0.0 ? -ys / yc : (ys > 0.0 ? -2.0 : 2.0);
    const double h = ch >= 1.0 ? 0.0 : (ch <= -1.0 ? 3.1416 : std::acos(ch));
    const double distance = 1.0 + 0.033 * std::cos(day_of_year / 58.09);
    return 30.0 * distance * (h * ys + yc * std::sin(h));
}

DailyGenerator::DailyGenerator(Model model, const StationParameters& station, RandomNumbers& numbers,
                               RandomNumbers& half_hour_numbers)
    : model_(model), station_(station), numbers_(numbers), half_hour_numbers_(half_hour_numbers) {}

bool DailyGenerator::occurrence(const MonthParameters& month) {
    const bool conditioning = model_ == Model::swat2012 ? yesterday_wet_ : before_yesterday_wet_;
    return numbers_.uniform() <= (conditioning ? month.wet_wet : month.wet_dry);
}

double DailyGenerator::amount(const MonthParameters& month) {
    const double x = skewed_normal(numbers_.normal(), month.skew);
    return std::max((x * month.pcp_sd + month.wet_day_mean) * month.amount_factor, 0.1);
}

void DailyGenerator::residuals() {
    std::array<double, 3> e{};
    for (double& draw : e) draw = numbers_.normal();
    std::array<double, 3> next{};
    for (std::size_t i = 0; i < 3; ++i) {
        double value = 0.0;
        for (std::size_t j = 0; j < 3; ++j) value += kB[i][j] * e[j] + kA[i][j] * residual_[j];
        if (model_ == Model::swatplus) value = std::clamp(value, -1.0, 1.0);
        next[i] = value;
    }
    residual_ = next;
}

double DailyGenerator::radiation(const MonthParameters& month, bool wet, int day_of_year) const {
    if (model_ == Model::swatplus) return month.slr;
    const double largest = clear_sky_radiation(station_.latitude, day_of_year);
    double mean = month.slr / (1.0 - 0.5 * month.wet_fraction);
    if (wet) mean *= 0.5;
    const double value = mean + residual_[2] * (largest - mean) / 4.0;
    return value <= 0.0 ? 0.05 * largest : value;
}

double DailyGenerator::humidity(const MonthParameters& month, bool wet) {
    const double wet_part = 0.9 * month.wet_fraction;
    double mean = (month.humidity - wet_part) / (1.0 - wet_part);
    if (mean < 0.05) mean = 0.5 * month.humidity;
    if (wet) mean = 0.1 * mean + 0.9;
    const double high = mean + (1.0 - mean) * natural_exp(mean - 1.0);
    const double low = mean * (1.0 - natural_exp(-mean));
    return scaled_triangular(low, mean, high, numbers_.uniform());
}

Day DailyGenerator::next(std::size_t month_index, int day_of_year) {
    const MonthParameters& month = station_.months[month_index];
    Day day;
    const bool wet = occurrence(month);
    if (wet) {
        day.pcp = amount(month);
        day.half_hour = half_hour_rain(month.half_hour_share, day.pcp, half_hour_numbers_.uniform());
    }
    before_yesterday_wet_ = yesterday_wet_;
    yesterday_wet_ = day.pcp >= 0.1;

    residuals();
    const double amp = (month.tmax - month.tmin) / 2.0;
    double mean_max = month.tmax + amp * month.wet_fraction;
    if (wet) mean_max -= amp;
    day.tmax = mean_max + month.tmax_sd * residual_[0];
    day.tmin = month.tmin + month.tmin_sd * residual_[1];
    if (day.tmin > day.tmax) day.tmin = day.tmax - 0.2 * std::fabs(day.tmax);
    day.slr = radiation(month, wet, day_of_year);
    day.humidity = humidity(month, wet);
    day.wind = month.wind * power(-natural_log(numbers_.uniform()), 0.3);
    return day;
}

}  // namespace wgn::check
