// The rows of a resample's drawn years added up (or their largest taken):
// each place of the row combined over the drawn years in the order drawn,
// a block of places at a time, their running values held in registers.
// Adding whole rows into memory year after year would wait on each place's
// store before its next addition; a block gives the same values from the
// same operations in the same order.
//
//   years {1, 0}, rows {1, 2, 3, 4} and {10, 20, 30, 40}, summed from 0
//     -> {11, 22, 33, 44}   (each place 0 + row 1 + row 0)
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <vector>

namespace wgn::batch {

// Places [at, at + Size) of `out`: `start` combined `with` each drawn year's
// row (`row_of(year)`, a pointer to its first place) at that place.
template <std::size_t Size, typename T, typename RowOf, typename Combine>
void combine_block(const std::vector<int>& years, RowOf row_of, std::size_t at, T start, Combine with, T* out) {
    std::array<T, Size> places;
    places.fill(start);
    for (const int year : years) {
        const T* const row = row_of(year) + at;
        for (std::size_t k = 0; k < Size; ++k) places[k] = with(places[k], row[k]);
    }
    std::copy(places.begin(), places.end(), out + at);
}

// All `width` places of `out` (a multiple of 4): blocks of `Block` (eight
// doubles fill eight registers of two; sixteen 32-bit counts, four), then
// of four.
template <std::size_t Block = 8, typename T, typename RowOf, typename Combine>
void combine_rows(const std::vector<int>& years, RowOf row_of, std::size_t width, T start, Combine with, T* out) {
    std::size_t at = 0;
    for (; at + Block <= width; at += Block) combine_block<Block>(years, row_of, at, start, with, out);
    for (; at < width; at += 4) combine_block<4>(years, row_of, at, start, with, out);
}

}  // namespace wgn::batch
