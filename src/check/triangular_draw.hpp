// The models' triangular draw: a value of the triangular distribution on
// [low, high] with its mode at `mode`, from a uniform number, scaled by
// mode / ((low + mode + high) / 3) so that the draws' mean is the mode, and
// kept within (0, 1): a draw of 1 or more is taken as 0.99, of 0 or less as
// 0.001.  A day's humidity and the share of its rain that falls in its
// largest half hour are drawn so.
//
//   scaled_triangular(0.2, 0.5, 0.8, 0.5) -> 0.5
//   scaled_triangular(0.0, 0.9, 1.0, 0.99) -> 0.99 (a draw of 0.968, scaled to 1.38)
#pragma once

namespace wgn::check {

// Where high <= low the draw is the mode itself.
double scaled_triangular(double low, double mode, double high, double u);

}  // namespace wgn::check
