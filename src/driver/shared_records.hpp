// The records that the stages of a run share.  Each is written by exactly one
// stage and lives for the whole run.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "io/wgnrain_facts.hpp"
#include "report/report_layout.hpp"

namespace wgn {

// Width of the two file-name fields of the dialogue.
inline constexpr std::size_t kFileNameLength = facts::kLongestSeriesName;

// The four answers of the dialogue.  Before the dialogue the names hold 255
// characters of code 0, the year 0 and the NoData value 0.0.
struct RunSettings {
    std::string input_file_name = std::string(kFileNameLength, '\0');
    std::string output_file_name = std::string(kFileNameLength, '\0');
    std::int32_t first_year = 0;
    float nodata_value = 0.0F;
};

struct SeriesCounts {
    std::int32_t record_count = 0;
    std::int32_t year_count = 0;  // record_count / 365, truncated
    std::int32_t leap_year_count = 0;
    std::int32_t nodata_count = 0;
};

// A year-by-month grid of reals, year index varying fastest: twelve columns
// of `years` values, January first.
class MonthlyGrid {
  public:
    void allocate(std::int32_t years);
    void release();
    std::int32_t years() const { return years_; }
    // year 1 ... years, month 1 ... 12
    float& at(std::int32_t year, int month) { return cells_[index(year, month)]; }
    float at(std::int32_t year, int month) const { return cells_[index(year, month)]; }

  private:
    std::size_t index(std::int32_t year, int month) const {
        return static_cast<std::size_t>(month - 1) * static_cast<std::size_t>(years_) +
               static_cast<std::size_t>(year - 1);
    }
    std::int32_t years_ = 0;
    std::vector<float> cells_;
};

// The fixed parameters of the twelve month analyses.
struct MonthEntry {
    int nominal_days;  // February always 28
    int unit;
    std::string_view connection_name;
};

inline constexpr std::array<MonthEntry, 12> kMonthTable = {{
    {31, 101, "jan.clm"},
    {28, 102, "feb.clm"},
    {31, 103, "mar.clm"},
    {30, 104, "apr.clm"},
    {31, 105, "may.clm"},
    {30, 106, "jun.clm"},
    {31, 107, "jul.clm"},
    {31, 108, "aug.clm"},
    {30, 109, "sep.clm"},
    {31, 110, "oct.clm"},
    {30, 111, "nov.clm"},
    {31, 112, "dec.clm"},
}};
static_assert(kMonthTable.front().unit == facts::kFirstMonthUnit && kMonthTable.back().unit == facts::kLastMonthUnit);

// The year-by-month tables, written into the working directory under these
// fixed names; no answer of the dialogue may name them.
inline constexpr std::string_view kMeanTableName = "mean_pcp.sta";
inline constexpr std::string_view kTotalTableName = "totalpcp.sta";

using report_layout::kMonthLabels;

extern RunSettings run_settings;
extern SeriesCounts series_counts;
// Daily values, index 0 is the first day of the series.
extern std::vector<float> DailySeries;
extern MonthlyGrid MonthlyMeanGrid;
extern MonthlyGrid MonthlyTotalGrid;

}  // namespace wgn
