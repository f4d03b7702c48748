// Stored values to exact decimals (value_code.hpp).
#include "grid/value_code.hpp"

#include <cmath>

namespace wgn::grid {
namespace {

// An attribute's first value as its exact decimal: a float attribute's
// shortest float text, a double's shortest double text, an integer's digits.
std::optional<Decimal> attribute_decimal(const netcdf::File& file, int variable, const char* name) {
    const auto numbers = file.number_attribute(variable, name);
    if (!numbers) return std::nullopt;
    return stored_decimal(numbers->values[0], numbers->type == netcdf::Type::float32);
}

// NetCDF's default fill value of a type: what a value never written reads as.
std::optional<double> default_fill(netcdf::Type type) {
    switch (type) {
        case netcdf::Type::int8: return -127;
        case netcdf::Type::uint8: return 255;
        case netcdf::Type::int16: return -32767;
        case netcdf::Type::uint16: return 65535;
        case netcdf::Type::int32: return -2147483647;
        case netcdf::Type::uint32: return 4294967295.0;
        case netcdf::Type::float32: return static_cast<double>(9.9692099683868690e+36F);
        case netcdf::Type::float64: return 9.9692099683868690e+36;
        default: return std::nullopt;
    }
}

}  // namespace

bool ValueCode::is_missing(double stored) const {
    if (std::isnan(stored)) return true;
    for (const double mark : missing) {
        if (stored == mark) return true;
    }
    if (valid_min && stored < *valid_min) return true;
    if (valid_max && stored > *valid_max) return true;
    return false;
}

std::optional<Decimal> ValueCode::value(double stored) const {
    if (is_missing(stored)) return std::nullopt;
    Decimal value = stored_decimal(stored, stored_float);
    if (packed) value = value * scale + offset;
    if (dry_within_step && value.negative) {
        Decimal step = scale;
        step.negative = false;
        Decimal magnitude = value;
        magnitude.negative = false;
        if (compare(magnitude, step) < 0) value = Decimal{};
    }
    // A factor of 1 and an offset of 0 (most units) change nothing.
    const Decimal& factor = conversion.factor;
    if (factor.negative || factor.digits != "1" || factor.exponent != 0) value = value * factor;
    return value + conversion.offset;
}

Result<ValueCode> value_code(const netcdf::File& file, const netcdf::Variable& variable,
                             std::optional<Quantity> quantity) {
    ValueCode code;
    code.stored_float = variable.type == netcdf::Type::float32;
    const auto units = file.text_attribute(variable.id, "units");
    code.units = units.value_or("");
    code.conversion = Conversion{*decimal("1"), Decimal{}, ""};
    if (quantity) {
        const auto converted = conversion(*quantity, code.units);
        if (!converted) {
            return Problem{
                file.path(), 0, "",
                "the units of " + variable.name + " (\"" + code.units + "\") are not one of " + known_units(*quantity)};
        }
        code.conversion = *converted;
    }
    const auto scale = attribute_decimal(file, variable.id, "scale_factor");
    const auto offset = attribute_decimal(file, variable.id, "add_offset");
    if (scale || offset) {
        code.packed = true;
        if (scale) code.scale = *scale;
        if (offset) code.offset = *offset;
        code.dry_within_step = quantity == Quantity::precipitation;
    }
    bool fill_stated = false;
    for (const char* name : {"_FillValue", "missing_value"}) {
        if (const auto marks = file.number_attribute(variable.id, name)) {
            for (const double mark : marks->values) code.missing.push_back(mark);
            fill_stated = fill_stated || std::string(name) == "_FillValue";
        }
    }
    if (!fill_stated) {
        if (const auto fill = default_fill(variable.type)) code.missing.push_back(*fill);
    }
    if (const auto range = file.number_attribute(variable.id, "valid_range"); range && range->values.size() >= 2) {
        code.valid_min = range->values[0];
        code.valid_max = range->values[1];
    }
    if (const auto low = file.number_attribute(variable.id, "valid_min")) code.valid_min = low->values[0];
    if (const auto high = file.number_attribute(variable.id, "valid_max")) code.valid_max = high->values[0];
    return code;
}

}  // namespace wgn::grid
