#include "modelfiles/model_fit.hpp"

#include <algorithm>
#include <vector>

#include "modelfiles/fixed_text.hpp"
#include "readers/number_text.hpp"
#include "text/plain_text.hpp"

namespace wgn::modelfiles {
namespace {

using weather::WeatherRecord;

constexpr const char* kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::string field_name(NumberField field) {
    if (field.decimals == 0 && !field.fortran) return "i" + std::to_string(field.width);
    if (field.widest) return "f" + std::to_string(field.width) + ".1";
    return "f" + std::to_string(field.width) + "." + std::to_string(field.decimals);
}

// A number of the record: what it is ("pcp_ave", "of Jul"), its text and field.
struct Placed {
    std::string name, month;
    const weather::DecimalText* text;
    NumberField field;
};

// Every number of a file with fixed fields, in the fields its writer uses.
std::vector<Placed> numbers_of(ModelFile file, const WeatherRecord& record) {
    const bool cli = file == kCliFile;
    const NumberField position = cli ? kCliNumber : kWgnPosition;
    std::vector<Placed> numbers = {{"lat", "", &record.latitude, position},
                                   {"lon", "", &record.longitude, position},
                                   {"elev", "", &record.elevation, position},
                                   {"rain_yrs", "", &record.rain_yrs, cli ? kCliYears : kWgnPosition}};
    for (std::size_t c = 0; c < weather::kColumns.size(); ++c) {
        for (std::size_t m = 0; m < 12; ++m) {
            numbers.push_back({weather::kColumns[c], std::string(" of ") + kMonths[m], &record.values[m][c],
                               cli ? kCliNumber : wgn_field(c)});
        }
    }
    return numbers;
}

// Why a number of the record does not fit its field in `file` (the first,
// and how many more); empty when all fit.
std::string unfit_numbers(ModelFile file, const WeatherRecord& record) {
    std::string first;
    int more = 0;
    for (const Placed& number : numbers_of(file, record)) {
        if (fits(*number.text, number.field)) continue;
        if (!first.empty()) {
            ++more;
            continue;
        }
        first = number.name + " " + number.text->text() + number.month + " is too wide for " + field_name(number.field);
    }
    if (more > 0) first.append(" (and " + std::to_string(more) + " more)");
    return first;
}

}  // namespace

NumberField wgn_field(std::size_t column) {
    return {6, column == weather::kPcpAve ? 1 : 2, true, true};
}

std::string field_text(const weather::DecimalText& value, NumberField field) {
    const auto width = static_cast<std::size_t>(field.width);
    if (field.widest) {
        // From the value's own decimals (or the field's fewest, if more)
        // down to one, the first layout that fits.
        const std::string_view plain = value.plain();
        const std::size_t point = plain.find('.');
        const int own = point == std::string_view::npos ? 0 : static_cast<int>(plain.size() - point - 1);
        for (int decimals = std::max(own, field.decimals); decimals >= 1; --decimals) {
            std::string shown = fortran_f(value, field.width, decimals);
            if (shown.find('*') == std::string::npos) return shown;
        }
        return std::string(width, '*');
    }
    if (field.fortran) return fortran_f(value, field.width, field.decimals);
    const std::string shown = fixed(value, field.decimals);
    if (shown.size() > width) return std::string(width, '*');
    return right(shown, width);
}

bool fits(const weather::DecimalText& value, NumberField field) {
    return field_text(value, field).find('*') == std::string::npos;
}

ModelFit model_fit(std::string_view station, const WeatherRecord& record) {
    ModelFit fit;
    fit.reason = record.incomplete_reason();
    if (!fit.reason.empty()) return fit;
    fit.in[kEditorTables] = true;
    const std::pair<ModelFile, std::string> checked[] = {{kCliFile, "weather-wgn.cli"},
                                                         {kWgnFile, std::string(station) + ".wgn"}};
    for (const auto& [file, name] : checked) {
        const std::string why = unfit_numbers(file, record);
        fit.in[file] = why.empty();
        if (!why.empty())
            fit.reason.append(fit.reason.empty() ? "" : "; ").append("not in ").append(name).append(": ").append(why);
    }
    return fit;
}

std::optional<weather::ModelNote> wgn_layout_note(const WeatherRecord& record) {
    if (!model_fit("", record).in[kWgnFile]) return std::nullopt;
    // SWAT 2012 replaces both where wet_wet <= wet_dry or wet_dry <= 0.
    const auto replaced = [](std::string_view wet_dry, std::string_view wet_wet) {
        const auto dry = readers::number_value(text::trimmed(wet_dry));
        const auto wet = readers::number_value(text::trimmed(wet_wet));
        return dry && wet && (*wet <= *dry || *dry <= 0);
    };
    std::vector<std::size_t> months;
    std::string first;
    for (std::size_t m = 0; m < 12; ++m) {
        const weather::DecimalText& dry = record.values[m][weather::kWetDry];
        const weather::DecimalText& wet = record.values[m][weather::kWetWet];
        const std::string dry_shown = field_text(dry, wgn_field(weather::kWetDry));
        const std::string wet_shown = field_text(wet, wgn_field(weather::kWetWet));
        if (replaced(dry.plain(), wet.plain()) || !replaced(dry_shown, wet_shown)) continue;
        months.push_back(m);
        if (first.empty()) {
            first = "wet_wet " + std::string(text::trimmed(wet_shown)) + " <= wet_dry " +
                    std::string(text::trimmed(dry_shown));
        }
    }
    if (months.empty()) return std::nullopt;
    std::string names;
    for (const std::size_t m : months) names.append(names.empty() ? "" : ", ").append(kMonths[m]);
    return weather::ModelNote{weather::NoteKind::change, "wet_dry, wet_wet: SWAT 2012 replaces both from pcp_days in " +
                                                             names + ", as the .wgn's 6 characters hold them (" +
                                                             first + ")"};
}

}  // namespace wgn::modelfiles
