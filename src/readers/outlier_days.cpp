#include "readers/outlier_days.hpp"

#include "readers/calendar_days.hpp"
#include "readers/number_text.hpp"
#include "readers/value_checks.hpp"
#include "text/plain_text.hpp"

namespace wgn::readers {
namespace {

// The variables in the order their first day comes.
std::vector<Variable> variables_in_order(const std::vector<OutlierDay>& days) {
    std::vector<Variable> order;
    for (const OutlierDay& day : days) {
        bool known = false;
        for (const Variable variable : order) known = known || variable == day.variable;
        if (!known) order.push_back(day.variable);
    }
    return order;
}

// "2001-02-08" as a day number; nothing for another text.
std::optional<std::int32_t> day_of_text(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    const auto year = whole_number(text.substr(0, 4)), month = whole_number(text.substr(5, 2)),
               day = whole_number(text.substr(8, 2));
    if (!year || !month || !day) return std::nullopt;
    const Date date{*year, *month, *day};
    if (!is_valid_date(date)) return std::nullopt;
    return day_number(date);
}

}  // namespace

std::string outlier_counts(const std::vector<OutlierDay>& days) {
    std::string text;
    for (const Variable variable : variables_in_order(days)) {
        long count = 0;
        for (const OutlierDay& day : days) count += day.variable == variable ? 1 : 0;
        text.append(text.empty() ? "" : "; ").append(name(variable)).append(" ").append(std::to_string(count));
    }
    return text;
}

std::string outlier_list(const std::vector<OutlierDay>& days) {
    std::string text;
    for (const Variable variable : variables_in_order(days)) {
        text.append(text.empty() ? "" : "; ").append(name(variable));
        bool first = true;
        for (const OutlierDay& day : days) {
            if (day.variable != variable) continue;
            const Date date = date_of(day.day);
            text.append(first ? " " : ", ").append(date_text(date.year, date.month, date.day)).append(" ");
            text.append(day.value);
            first = false;
        }
    }
    return text;
}

std::optional<std::vector<OutlierDay>> read_outlier_list(std::string_view text) {
    std::vector<OutlierDay> days;
    for (const std::string_view group : text::split(text, "; ")) {
        const std::size_t blank = group.find(' ');
        if (blank == std::string_view::npos) return std::nullopt;
        const std::optional<Variable> variable = variable_named(group.substr(0, blank));
        if (!variable) return std::nullopt;
        for (const std::string_view entry : text::split(group.substr(blank + 1), ", ")) {
            const std::size_t space = entry.find(' ');
            const std::optional<std::int32_t> day =
                space == std::string_view::npos ? std::nullopt : day_of_text(entry.substr(0, space));
            if (!day || !is_number_text(entry.substr(space + 1))) return std::nullopt;
            days.push_back({*variable, *day, std::string(entry.substr(space + 1))});
        }
    }
    return days;
}

}  // namespace wgn::readers
