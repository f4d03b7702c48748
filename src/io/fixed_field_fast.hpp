// The fast path of the Fw.d output field, for the values a report or month
// file mostly holds: integer arithmetic on the exact binary value, written
// straight into the field.  It gives up (returns false, writing nothing
// that counts) where the general field has more to decide: NaN and the
// infinities, numbers too wide for the field or for 64 bits, more than 9
// fraction digits.  Where it answers, it answers exactly as the general
// field does; exact halves go away from zero.
//
//   F12.2 of 0.125  -> "        0.13"     F12.2 of -0.004 -> "        0.00"
//   F12.2 of 2.675f -> "        2.67"     F10.2 of 1.0E9  -> false (asterisks)
#pragma once

namespace wgn::io {

// The field's `width` characters go to `field`, which must have room for 32
// (those after the field are scratch: they may be overwritten).
bool format_real_fast(float value, int width, int digits, char* field);

}  // namespace wgn::io
