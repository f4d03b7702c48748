#include "io/whole_files.hpp"

#include <atomic>

namespace wgn::io {

bool read_whole_file(const platform::ResolvedName& name, std::string& text, int& error) {
    const platform::OpenResult file = platform::open_for_reading(name);
    if (file.handle == platform::kNoHandle) {
        error = file.error;
        return false;
    }
    text.clear();
    char buffer[65536];
    long got = 0;
    while ((got = platform::read_some(file.handle, buffer, sizeof buffer, error)) > 0) {
        text.append(buffer, static_cast<std::size_t>(got));
    }
    platform::close_handle(file.handle);
    return got == 0;
}

bool write_whole_file(const platform::ResolvedName& name, std::string_view text, int& error) {
    const platform::OpenResult file = platform::open_for_update(name);
    if (file.handle == platform::kNoHandle || file.read_only) {
        error = file.error;
        if (file.handle != platform::kNoHandle) platform::close_handle(file.handle);
        return false;
    }
    platform::truncate_regular_file(file.handle, 0);
    const bool written = platform::write_all(file.handle, text.data(), text.size(), error);
    platform::close_handle(file.handle);
    return written;
}

bool replace_whole_file(const platform::ResolvedName& name, std::string_view text, int& error) {
    // A name of this process and this call: threads and other processes
    // writing beside it never meet.
    static std::atomic<unsigned long> calls{0};
    const std::string scratch_name =
        name.shown + "." + std::to_string(platform::process_id()) + "-" + std::to_string(++calls) + ".tmp";
    const platform::ResolvedName scratch = platform::resolve_file_name(scratch_name);
    if (scratch.report != 0) {
        error = scratch.error != 0 ? scratch.error : platform::kNameTooLong;
        return false;
    }
    const platform::OpenResult file = platform::create_new_file(scratch);
    if (file.handle == platform::kNoHandle) {
        error = file.error;
        return false;
    }
    bool done = platform::write_all(file.handle, text.data(), text.size(), error) &&
                platform::flush_to_disk(file.handle, error);
    platform::close_handle(file.handle);
    done = done && platform::rename_over(scratch, name, error);
    if (!done) platform::remove_file(scratch);
    return done;
}

}  // namespace wgn::io
