// A station's own file held in memory instead of on disk: the cells of a
// grid, each a csv text made from the grid's values when the batch asks for
// it.  The batch reads such a station exactly as the file of that text: its
// record's key holds the text's size and hash where a file's would be.
#pragma once

#include <memory>
#include <string>

#include "problem/problem.hpp"

namespace wgn::batch {

struct Station;

class StationTexts {
  public:
    virtual ~StationTexts() = default;
    // The station's file as text, or why it cannot be had.  Called from the
    // batch's threads at once; a station may be asked more than once until
    // it is released, and is given the same text, held not copied (a cell's
    // text is a few hundred kB).
    virtual Result<std::shared_ptr<const std::string>> text(const Station& station) = 0;
    // The batch is done with the station: its text may go.
    virtual void release(const Station& station) = 0;
};

}  // namespace wgn::batch
