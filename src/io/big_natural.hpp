// A small unsigned integer of fixed capacity, just large enough to hold the
// exact value of any single-precision number scaled by up to 10^40.
//
// The real-number fields need the exact decimal value of a float: a float is
// m * 2^e with a 24-bit m and -149 <= e <= 104, so m * 2^e * 10^d needs at
// most 24 + 104 + 133 = 261 bits for d <= 40.  Twelve 32-bit limbs leave room.
#pragma once

#include <cstdint>
#include <string>

namespace wgn::io {

class BigNatural {
  public:
    static constexpr int kLimbs = 12;

    explicit BigNatural(std::uint64_t value = 0);

    // this = this * factor
    void multiply(std::uint32_t factor);
    // this = this * 10^power
    void multiply_by_power_of_ten(int power);
    // this = this * 2^bits
    void shift_left(int bits);
    // Divides by 2^bits, rounding the quotient to nearest with an exact half
    // rounded up (away from zero for a magnitude).
    void shift_right_round_half_up(int bits);

    bool is_zero() const;
    // Decimal digits without leading zeros; "0" for zero.
    std::string decimal_digits() const;

  private:
    bool bit(int index) const;
    bool any_bit_below(int index) const;

    std::uint32_t limb_[kLimbs] = {};
    int used_ = 0;  // limbs in use; limbs from used_ upwards are zero
};

}  // namespace wgn::io
