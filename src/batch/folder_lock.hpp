// One batch at a time in an output folder: a lock file created atomically,
// naming the process and machine that hold it, removed when the batch ends,
// and taken over when its process is gone (a batch killed outright), by one
// batch at a time: the one that makes the lock's takeover file new.
//
//   out/.wgnrain-batch.lock              "4711 build-host"   (a whole batch, or --merge)
//   out/.wgnrain-batch-2-of-3.lock       the second of three shards
//   out/.wgnrain-batch.lock.takeover     for the moment a batch takes the lock over
#pragma once

#include <string>
#include <string_view>

#include "io/platform.hpp"
#include "problem/problem.hpp"

namespace wgn::batch {

class FolderLock {
  public:
    FolderLock() = default;
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    ~FolderLock();

    // Takes the lock `name` in `folder`; a problem saying why not when
    // another batch holds it or it cannot be made.
    Done take(std::string_view folder, std::string_view name);

  private:
    io::platform::ResolvedName file_;
    bool held_ = false;
};

// The lock's name for shard `shard` of `shards` (1 of 1: the whole list).
std::string lock_name(unsigned shard, unsigned shards);
// True for a name lock_name gives a batch, or its takeover file's name, its
// letters in lower case.
bool is_lock_name(std::string_view name);

}  // namespace wgn::batch
