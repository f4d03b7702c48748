#include "modelfiles/cli_columns.hpp"

#include <string>

#include "readers/number_text.hpp"
#include "weather/weather_record.hpp"

namespace wgn::modelfiles {
namespace {

// SWAT 2012's names of the 14 columns, in the order of weather::kColumns.
constexpr std::array<std::string_view, 14> kSwat2012Names = {"TMPMX",    "TMPMN",   "TMPSTDMX", "TMPSTDMN", "PCPMM",
                                                             "PCPSTD",   "PCPSKW",  "PR_W1",    "PR_W2",    "PCPD",
                                                             "RAINHHMX", "SOLARAV", "DEWPT",    "WNDAV"};

// A name's ASCII letters (in lower case) and digits: "PR_W(1)" -> "prw1".
std::string folded(std::string_view name) {
    std::string kept;
    for (const char c : name) {
        if (c >= 'A' && c <= 'Z') kept.push_back(static_cast<char>(c - 'A' + 'a'));
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) kept.push_back(c);
    }
    return kept;
}

std::optional<std::size_t> column_named(std::string_view name) {
    const std::string wanted = folded(name);
    for (std::size_t c = 0; c < 14; ++c) {
        if (wanted == folded(weather::kColumns[c]) || wanted == folded(kSwat2012Names[c])) return c;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::array<std::size_t, 14>> named_columns(const std::vector<std::string_view>& names) {
    if (names.size() < 14) return std::nullopt;
    std::array<std::size_t, 14> columns{};
    std::array<bool, 14> taken{};
    for (std::size_t f = 0; f < 14; ++f) {
        const std::optional<std::size_t> column = column_named(names[f]);
        if (!column || taken[*column]) return std::nullopt;
        taken[*column] = true;
        columns[f] = *column;
    }
    return columns;
}

bool is_month_line(const std::vector<std::string_view>& fields) {
    for (const std::string_view field : fields) {
        if (readers::is_number_text(field)) return true;
    }
    return false;
}

}  // namespace wgn::modelfiles
