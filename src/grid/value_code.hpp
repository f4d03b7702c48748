// How one variable of one file stores its values, and each stored value's
// text in the weather generator's unit: the stored number's exact decimal
// (a float's shortest float text, a double's shortest double text, an
// integer's digits), unpacked (x scale_factor + add_offset, the attributes'
// own shortest texts), then converted (grid_units.hpp), all in decimal digits.
//
//   float 1.3888889e-05, units "kg m-2 s-1"              -> "1.2000000096"
//   short 123, scale_factor 0.1f, add_offset 0, units "mm" -> "12.3"
//   float 273.65, units "K"                               -> "0.5"
//   short -3, scale_factor 2e-9, add_offset 5e-9, units "m" (precipitation)
//                                                         -> "0"  (-1e-9 m: within one step of 0)
//   _FillValue, missing_value, NaN, beyond valid_min/valid_max/valid_range
//   (all compared with the stored value)                  -> nothing: a missing day
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "grid/exact_decimal.hpp"
#include "grid/grid_units.hpp"
#include "netcdf/netcdf_file.hpp"
#include "problem/problem.hpp"

namespace wgn::grid {

struct ValueCode {
    bool stored_float = false;  // the values are floats (else doubles or integers, exact in a double)
    bool packed = false;
    Decimal scale{false, "1", 0};
    Decimal offset;
    std::vector<double> missing;  // stored values that mean no value
    std::optional<double> valid_min, valid_max;
    Conversion conversion;
    std::string units;  // as the file states them
    // Precipitation packed with an offset cannot hold 0 exactly: a value
    // below 0 by less than one packing step (|scale_factor|) is a dry day.
    bool dry_within_step = false;

    bool is_missing(double stored) const;
    // The value in the generator's unit; nothing for a missing one.
    std::optional<Decimal> value(double stored) const;
};

// The code of `variable` in `file`; refused when its units are not among
// those of `quantity` (the problem names the variable, the file and the
// units known).  No quantity: the values as stored, unpacked (a mask).
Result<ValueCode> value_code(const netcdf::File& file, const netcdf::Variable& variable,
                             std::optional<Quantity> quantity);

}  // namespace wgn::grid
