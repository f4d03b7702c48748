#include "io/big_natural.hpp"

#include <algorithm>

namespace wgn::io {

BigNatural::BigNatural(std::uint64_t value) {
    limb_[0] = static_cast<std::uint32_t>(value);
    limb_[1] = static_cast<std::uint32_t>(value >> 32);
    used_ = limb_[1] != 0 ? 2 : (limb_[0] != 0 ? 1 : 0);
}

void BigNatural::multiply(std::uint32_t factor) {
    std::uint64_t carry = 0;
    for (int i = 0; i < used_; ++i) {
        const std::uint64_t product = std::uint64_t{limb_[i]} * factor + carry;
        limb_[i] = static_cast<std::uint32_t>(product);
        carry = product >> 32;
    }
    if (carry != 0 && used_ < kLimbs) limb_[used_++] = static_cast<std::uint32_t>(carry);
}

void BigNatural::multiply_by_power_of_ten(int power) {
    static constexpr std::uint32_t kSmall[9] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};
    for (int i = 0; i < power / 9; ++i) multiply(1000000000U);
    multiply(kSmall[power % 9]);
}

void BigNatural::shift_left(int bits) {
    if (used_ == 0 || bits <= 0) return;
    const int whole = bits / 32;
    const int part = bits % 32;
    const int top = std::min(kLimbs - 1, used_ - 1 + whole + 1);
    for (int i = top; i >= 0; --i) {
        const int source = i - whole;
        std::uint32_t value = 0;
        if (source >= 0 && source < used_) value = limb_[source] << part;
        if (part != 0 && source - 1 >= 0 && source - 1 < used_) value |= limb_[source - 1] >> (32 - part);
        limb_[i] = value;
    }
    used_ = top + 1;
    while (used_ > 0 && limb_[used_ - 1] == 0) --used_;
}

bool BigNatural::bit(int index) const {
    const int word = index / 32;
    return word < used_ && ((limb_[word] >> (index % 32)) & 1U) != 0;
}

bool BigNatural::any_bit_below(int index) const {
    const int word = std::min(index / 32, used_);
    for (int i = 0; i < word; ++i)
        if (limb_[i] != 0) return true;
    if (word < used_ && index % 32 != 0) return (limb_[word] & ((1U << (index % 32)) - 1U)) != 0;
    return false;
}

void BigNatural::shift_right_round_half_up(int bits) {
    if (bits <= 0 || used_ == 0) return;
    // The quotient is rounded up exactly when the highest dropped bit is set:
    // that bit alone is one half, so "at least one half" rounds up.
    const bool round_up = bit(bits - 1);
    const int whole = bits / 32;
    const int part = bits % 32;
    for (int i = 0; i < kLimbs; ++i) {
        const int source = i + whole;
        std::uint32_t value = 0;
        if (source < used_) value = limb_[source] >> part;
        if (part != 0 && source + 1 < used_) value |= limb_[source + 1] << (32 - part);
        limb_[i] = value;
    }
    while (used_ > 0 && limb_[used_ - 1] == 0) --used_;
    if (round_up) {
        for (int i = 0; i < kLimbs; ++i) {
            if (i == used_) ++used_;
            if (++limb_[i] != 0) break;
        }
    }
}

bool BigNatural::is_zero() const {
    return used_ == 0;
}

std::string BigNatural::decimal_digits() const {
    if (used_ == 0) return "0";
    BigNatural rest = *this;
    std::string reversed;
    while (rest.used_ != 0) {
        // Divide by 10^9 and emit the nine digits of the remainder.
        std::uint64_t remainder = 0;
        for (int i = rest.used_ - 1; i >= 0; --i) {
            const std::uint64_t current = (remainder << 32) | rest.limb_[i];
            rest.limb_[i] = static_cast<std::uint32_t>(current / 1000000000U);
            remainder = current % 1000000000U;
        }
        while (rest.used_ > 0 && rest.limb_[rest.used_ - 1] == 0) --rest.used_;
        for (int k = 0; k < 9 && (rest.used_ != 0 || remainder != 0); ++k) {
            reversed.push_back(static_cast<char>('0' + remainder % 10));
            remainder /= 10;
        }
    }
    return {reversed.rbegin(), reversed.rend()};
}

}  // namespace wgn::io
