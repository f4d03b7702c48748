#pragma once

#include <cstdint>

namespace wgn {

// The console dialogue: banner, explanation, then the four questions.  Fills
// the two file names of `run_settings` and the two arguments; asks for the
// output name until it differs from the input name.
void ask_settings(std::int32_t& first_year, float& nodata_value);

}  // namespace wgn
