#include "weather/record_notes.hpp"

namespace wgn::weather {

using readers::Unit;
using readers::Variable;

std::string unit_note(Variable variable, Unit unit, bool stated, long clipped) {
    if (variable == Variable::rh) {
        std::string note =
            "rh " + std::string(readers::unit_name(unit)) + (stated ? " (stated" : " (told by the values");
        if (clipped > 0) {
            note += "; " + std::to_string(clipped) + " above " +
                    (unit == Unit::kPercent ? "100 taken as 100" : "1 taken as 1");
        }
        return note + ")";
    }
    // Temperatures share one unit: named once, by tmax.
    if (readers::scale_of(unit).identity() || variable == Variable::tmin || variable == Variable::dew) return {};
    return (variable == Variable::tmax ? std::string(readers::name(readers::FileKind::tmp))
                                       : std::string(readers::name(variable))) +
           " " + std::string(readers::unit_name(unit));
}

std::string filled_name(std::string_view column, const std::vector<int>& months) {
    if (months.size() == 12) return std::string(column);
    std::string text(column);
    text.push_back('(');
    for (std::size_t i = 0; i < months.size(); ++i) text.append(i == 0 ? "" : ",").append(std::to_string(months[i]));
    return text + ")";
}

}  // namespace wgn::weather
