// The name the batch's own lines on standard error begin with: wgnrain-batch,
// or the program whose stations it runs (wgnrain-grid runs a grid's cells).
//
//   program_name()                  -> "wgnrain-batch"
//   set_program_name("wgnrain-grid"); program_name() -> "wgnrain-grid"
#pragma once

#include <string_view>

namespace wgn::batch {

std::string_view program_name();
// Called once, before any station runs.
void set_program_name(std::string_view name);

}  // namespace wgn::batch
