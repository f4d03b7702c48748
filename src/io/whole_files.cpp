#include "io/whole_files.hpp"

#include <atomic>
#include <cstdio>

namespace wgn::io {

bool read_whole_file(const platform::ResolvedName& name, std::string& text, int& error) {
    const platform::OpenResult file = platform::open_for_reading(name);
    if (file.handle == platform::kNoHandle) {
        error = file.error;
        return false;
    }
    // The file's size as a hint: the text is made once and read into its
    // place, not read into a buffer and copied.  Once it is full, whether
    // more comes is asked into a buffer of its own, so that a text of the
    // file's size is not made larger for the read of 0 bytes that ends it;
    // a file that grows meanwhile is still read whole.
    std::size_t room = 65536;
    if (const std::int64_t size = platform::file_stamp(name).size; size > 0 && size <= kLargestInputFile)
        room = static_cast<std::size_t>(size);
    text.resize(room);
    std::size_t filled = 0;
    long got = 0;
    for (;;) {
        if (filled < text.size()) {
            got = platform::read_some(file.handle, text.data() + filled, text.size() - filled, error);
        } else {
            char more[65536];
            got = platform::read_some(file.handle, more, sizeof more, error);
            if (got > 0) text.append(more, static_cast<std::size_t>(got));
        }
        if (got <= 0) break;
        filled += static_cast<std::size_t>(got);
    }
    text.resize(filled);
    platform::close_handle(file.handle);
    return got == 0;
}

std::string input_file_problem(const platform::ResolvedName& name) {
    switch (platform::file_kind(name)) {
        case platform::FileKind::missing: return "no file " + name.shown;
        case platform::FileKind::folder: return name.shown + " is a folder";
        case platform::FileKind::fifo: return name.shown + " is a named pipe, not a file";
        case platform::FileKind::device: return name.shown + " is a device, not a file";
        case platform::FileKind::other: return name.shown + " is not a regular file";
        case platform::FileKind::regular: break;
    }
    const std::int64_t size = platform::file_stamp(name).size;
    if (size == 0) return name.shown + " is empty";
    if (size > kLargestInputFile) return name.shown + " is larger than 1 GiB, more than an input file may hold";
    return {};
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

std::string scratch_name_beside(std::string_view name) {
    // A name of this process and this call: threads and other processes
    // writing beside it never meet.
    static std::atomic<unsigned long> calls{0};
    char suffix[40];
    std::snprintf(suffix, sizeof suffix, ".%lx-%lx.tmp", platform::process_id() & 0xFFFFFFFUL,
                  (++calls) & 0xFFFFFFFFUL);
    return std::string(name) + suffix;
}

bool is_scratch_name(std::string_view name) {
    if (name.size() < 8 || name.substr(name.size() - 4) != ".tmp") return false;
    name.remove_suffix(4);
    const std::size_t point = name.rfind('.');
    if (point == std::string_view::npos || point == 0) return false;
    const std::string_view numbers = name.substr(point + 1);
    const std::size_t dash = numbers.find('-');
    const auto hex = [](std::string_view digits) {
        return !digits.empty() && digits.size() <= 8 &&
               digits.find_first_not_of("0123456789abcdef") == std::string_view::npos;
    };
    return dash != std::string_view::npos && hex(numbers.substr(0, dash)) && hex(numbers.substr(dash + 1));
}

void remove_scratch_files(std::string_view folder) {
    for (const std::string& name : platform::folder_entries(platform::resolve_file_name(folder))) {
        if (is_scratch_name(name))
            platform::remove_file(platform::resolve_file_name(platform::name_inside(folder, name)));
    }
}

bool ReplacingFile::open(const platform::ResolvedName& name, int& error) {
    abandon();
    target_ = name;
    scratch_ = platform::resolve_file_name(scratch_name_beside(name.shown));
    if (scratch_.report != 0) {
        error = scratch_.error != 0 ? scratch_.error : platform::kNameTooLong;
        return false;
    }
    const platform::OpenResult file = platform::create_new_file(scratch_);
    if (file.handle == platform::kNoHandle) {
        error = file.error;
        return false;
    }
    handle_ = file.handle;
    buffer_.clear();
    return true;
}

bool ReplacingFile::flush(int& error) {
    const bool written = platform::write_all(handle_, buffer_.data(), buffer_.size(), error);
    buffer_.clear();
    return written;
}

bool ReplacingFile::append(std::string_view text, int& error) {
    buffer_.append(text);
    return buffer_.size() < (1U << 16) || flush(error);
}

bool ReplacingFile::commit(int& error, bool durable) {
    if (handle_ == platform::kNoHandle) return false;
    bool done = flush(error) && (!durable || platform::flush_to_disk(handle_, error));
    platform::close_handle(handle_);
    handle_ = platform::kNoHandle;
    done = done && platform::rename_over(scratch_, target_, error);
    if (!done) platform::remove_file(scratch_);
    return done;
}

void ReplacingFile::abandon() {
    if (handle_ == platform::kNoHandle) return;
    platform::close_handle(handle_);
    handle_ = platform::kNoHandle;
    platform::remove_file(scratch_);
}

bool replace_whole_file(const platform::ResolvedName& name, std::string_view text, int& error, bool durable) {
    ReplacingFile file;
    return file.open(name, error) && file.append(text, error) && file.commit(error, durable);
}

}  // namespace wgn::io
