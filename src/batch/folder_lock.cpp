#include "batch/folder_lock.hpp"

#include <chrono>
#include <thread>

#include "io/whole_files.hpp"
#include "readers/number_text.hpp"

namespace wgn::batch {
namespace {

namespace platform = io::platform;

std::string holder_text() {
    return std::to_string(platform::process_id()) + " " + platform::host_name() + "\r\n";
}

// "4711 build-host" -> 4711, "build-host"
bool read_holder(std::string_view text, unsigned long& pid, std::string& host) {
    const std::size_t blank = text.find(' ');
    if (blank == std::string_view::npos) return false;
    const auto number = readers::whole_number(text.substr(0, blank));
    if (!number || *number <= 0) return false;
    pid = static_cast<unsigned long>(*number);
    std::string_view rest = text.substr(blank + 1);
    while (!rest.empty() && (rest.back() == '\n' || rest.back() == '\r')) rest.remove_suffix(1);
    host = rest;
    return true;
}

}  // namespace

std::string lock_name(unsigned shard, unsigned shards) {
    if (shards <= 1) return ".wgnrain-batch.lock";
    return ".wgnrain-batch-" + std::to_string(shard) + "-of-" + std::to_string(shards) + ".lock";
}

bool is_lock_name(std::string_view name) {
    // The file of a lock's takeover (folder_lock.hpp) is the lock's name and ".takeover".
    constexpr std::string_view kTakeover = ".takeover";
    if (name.size() > kTakeover.size() && name.substr(name.size() - kTakeover.size()) == kTakeover)
        name.remove_suffix(kTakeover.size());
    if (name == lock_name(1, 1)) return true;
    // ".wgnrain-batch-2-of-3.lock": the numbers read, then the name made again.
    const std::size_t first = name.find_first_of("0123456789");
    const std::size_t of = name.find("-of-");
    if (first == std::string_view::npos || of == std::string_view::npos || of < first) return false;
    const auto shard = readers::whole_number(name.substr(first, of - first));
    const std::size_t after = of + 4;
    const std::size_t end = name.find_first_not_of("0123456789", after);
    const auto shards = readers::whole_number(name.substr(after, end == std::string_view::npos ? end : end - after));
    if (!shard || !shards || *shard < 1 || *shard > *shards || *shards < 2) return false;
    return name == lock_name(static_cast<unsigned>(*shard), static_cast<unsigned>(*shards));
}

Done FolderLock::take(std::string_view folder, std::string_view name) {
    file_ = platform::resolve_file_name(platform::name_inside(folder, name));
    const platform::ResolvedName takeover = platform::resolve_file_name(file_.shown + ".takeover");
    const std::string holder = holder_text();
    int waits = 0, empty_waits = 0;
    for (int attempt = 0; attempt < 500; ++attempt) {
        // 1. The lock made new: of batches making it at once, one succeeds.
        int error = 0;
        const platform::OpenResult created = platform::create_new_file(file_);
        if (created.handle != platform::kNoHandle) {
            const bool written = platform::write_all(created.handle, holder.data(), holder.size(), error);
            platform::close_handle(created.handle);
            if (!written) {
                platform::remove_file(file_);
                return problem_text("cannot write the lock " + file_.shown + ": " + platform::reason_text(error));
            }
            held_ = true;
            return {};
        }
        // 2. Held: by a batch that runs (here or on another machine), or by
        //    one that is gone.
        std::string text;
        if (!io::read_whole_file(file_, text, error)) {
            if (platform::file_kind(file_) == platform::FileKind::missing) continue;  // released meanwhile
            return problem_text("cannot make the lock " + file_.shown + ": " + platform::reason_text(created.error));
        }
        unsigned long pid = 0;
        std::string host;
        const bool readable = read_holder(text, pid, host);
        if (readable && (host != platform::host_name() || platform::process_alive(pid))) {
            return problem_text("another batch uses " + std::string(folder) + " (process " + std::to_string(pid) +
                                " on " + host + "); if none does, remove " + file_.shown);
        }
        if (!readable && !text.empty()) {
            return problem_text(file_.shown + " is not a lock of wgnrain-batch; remove it if no batch uses the folder");
        }
        // An empty lock is one a batch has just made and is writing (for a
        // moment, longer on a busy machine), or one whose batch died while
        // writing it: abandoned only when still empty two seconds later.
        if (text.empty() && ++empty_waits <= 100) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            continue;
        }
        // 3. The holder is gone (or died while writing the lock): the lock is
        //    taken over by one batch at a time, the one that makes the file
        //    LOCK.takeover new.  It reads the lock again and removes it only
        //    when it still names the holder that is gone, then all try step 1
        //    again.  So a lock is removed only by a batch that found it
        //    abandoned, never one that another batch has just made (as moving
        //    the lock aside and back could, with three batches at once).
        const platform::OpenResult claim = platform::create_new_file(takeover);
        if (claim.handle == platform::kNoHandle) {
            // Another batch is taking it over, for a few milliseconds.  A
            // takeover file still there after two seconds was left by a batch
            // that ended in those milliseconds: it goes.
            if (++waits > 100) {
                platform::remove_file(takeover);
                waits = 0;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            continue;
        }
        platform::close_handle(claim.handle);
        std::string again;
        if (io::read_whole_file(file_, again, error) && again == text) platform::remove_file(file_);
        platform::remove_file(takeover);
    }
    return problem_text("cannot take the lock " + file_.shown);
}

FolderLock::~FolderLock() {
    if (held_) platform::remove_file(file_);
}

}  // namespace wgn::batch
