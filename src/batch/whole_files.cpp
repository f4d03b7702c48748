#include "batch/whole_files.hpp"

namespace wgn::batch {

namespace platform = io::platform;

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

}  // namespace wgn::batch
