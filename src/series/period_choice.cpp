#include "series/period_choice.hpp"

#include <algorithm>

#include "readers/calendar_days.hpp"

namespace wgn::series {
namespace {

int present_in(const std::map<int, int>& present, int year) {
    const auto found = present.find(year);
    return found == present.end() ? 0 : found->second;
}

// The longest run of well-covered years within from ... to; of runs equally
// long, the last.
ChosenPeriod longest_run(const std::map<int, int>& present, int from, int to) {
    ChosenPeriod best;
    bool found = false;
    std::optional<int> run_first;
    for (int year = from; year <= to; ++year) {
        if (!well_covered(year, present_in(present, year))) {
            run_first.reset();
            continue;
        }
        if (!run_first) run_first = year;
        if (!found || year - *run_first >= best.last_year - best.first_year) {
            best = {*run_first, year};
            found = true;
        }
    }
    return best;
}

}  // namespace

bool well_covered(int year, int present_days) {
    const int days = readers::days_in_year(year);
    return (days - present_days) * 10 <= days;
}

ChosenPeriod choose_period(const std::map<int, int>& present, int record_first, int record_last,
                           std::optional<int> first_year, std::optional<int> last_year) {
    if (first_year && last_year) return {*first_year, *last_year};
    if (first_year) {
        const ChosenPeriod run = longest_run(present, std::max(*first_year, record_first), record_last);
        return run.last_year == 0 ? ChosenPeriod{} : ChosenPeriod{*first_year, run.last_year};
    }
    if (last_year) {
        const ChosenPeriod run = longest_run(present, record_first, std::min(*last_year, record_last));
        return run.first_year == 0 ? ChosenPeriod{} : ChosenPeriod{run.first_year, *last_year};
    }
    return longest_run(present, record_first, record_last);
}

}  // namespace wgn::series
