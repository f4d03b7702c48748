#include <dirent.h>
#include <fcntl.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <pthread.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cfenv>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <set>
#include <thread>

#include "io/file_names.hpp"
#include "io/platform.hpp"

namespace wgn::io::platform {

Handle standard_input() {
    return STDIN_FILENO;
}

Handle standard_output() {
    return STDOUT_FILENO;
}

namespace {

int descriptor(Handle handle) {
    return static_cast<int>(handle);
}

std::string current_directory(int& error) {
    std::string buffer(4096, '\0');
    for (;;) {
        if (::getcwd(buffer.data(), buffer.size()) != nullptr) {
            buffer.resize(std::strlen(buffer.c_str()));
            return buffer;
        }
        if (errno != ERANGE) {
            error = errno;
            return {};
        }
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace

ResolvedName resolve_file_name(std::string_view name) {
    ResolvedName resolved;
    if (name.front() == '/') {
        resolved.shown = full_path(name, "/");
    } else {
        const std::string directory = current_directory(resolved.error);
        if (directory.empty()) {
            // Without a working directory the name cannot be resolved: it is
            // shown as given.
            resolved.shown.assign(name);
            resolved.report = 30;
            return resolved;
        }
        resolved.shown = full_path(name, directory);
    }
    if (resolved.shown.size() > kMaxFileNameLength || resolved.shown.find('\0') != std::string::npos)
        resolved.report = 43;
    resolved.native = resolved.shown;
    return resolved;
}

OpenResult open_for_update(const ResolvedName& name) {
    const std::string& path = name.native;
    OpenResult result;
    result.handle = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (result.handle >= 0) return result;
    result.error = errno;
    // A file that may be read but not written is still usable as input.
    if (result.error == EACCES || result.error == EROFS || result.error == EPERM || result.error == ETXTBSY) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd >= 0) {
            struct stat info {};
            if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
                ::close(fd);
                result.error = EISDIR;
                return result;
            }
            result.handle = fd;
            result.read_only = true;
            result.error = 0;
        }
    }
    return result;
}

OpenResult create_scratch(std::string& path) {
    const char* directory = std::getenv("TMPDIR");
    if (directory == nullptr || *directory == '\0') directory = "/tmp";
    path = directory;
    while (path.size() > 1 && path.back() == '/') path.pop_back();

    // 1. A file without any name: nothing can be left behind, not even when
    //    the process is killed outright.  Its name in reports is the one the
    //    system shows for it ("/tmp/#1234").
    OpenResult result;
    const int fd = ::open(path.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0) {
        result.handle = fd;
        char link[64];
        std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
        char target[4096];
        const ssize_t length = ::readlink(link, target, sizeof target - 1);
        if (length > 0) {
            path.assign(target, static_cast<std::size_t>(length));
            const std::string deleted = " (deleted)";
            if (path.size() > deleted.size() &&
                path.compare(path.size() - deleted.size(), deleted.size(), deleted) == 0)
                path.resize(path.size() - deleted.size());
        }
        return result;
    }
    result.error = errno;
    if (result.error != EOPNOTSUPP && result.error != EISDIR) return result;

    // 2. A file system without nameless files: create a named file and
    //    remove its name at once, with no interrupt in between.
    path += "/wgnrainXXXXXX";
    sigset_t all;
    sigset_t previous;
    sigfillset(&all);
    sigprocmask(SIG_BLOCK, &all, &previous);
    result.handle = ::mkostemp(path.data(), O_CLOEXEC);
    if (result.handle < 0) {
        result.error = errno;
        path.replace(path.size() - 6, 6, "XXXXXX");  // no file of a tried name exists
    } else {
        result.error = 0;
        ::unlink(path.c_str());
    }
    sigprocmask(SIG_SETMASK, &previous, nullptr);
    return result;
}

int open_failure_report(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR: return 29;  // file not found: a directory of the name is missing
        case EACCES:
        case EPERM: return 9;  // permission to access file denied
        case ENAMETOOLONG:
        case EINVAL:
        case EILSEQ: return 43;  // the name is not a valid file name
        default: return 30;      // open failure: too many open files, a directory, ...
    }
}

long read_some(Handle handle, char* buffer, std::size_t size, int& error) {
    for (;;) {
        const ssize_t got = ::read(descriptor(handle), buffer, size);
        if (got >= 0) return static_cast<long>(got);
        if (errno == EINTR) continue;
        error = errno;
        return -1;
    }
}

bool write_all(Handle handle, const char* data, std::size_t size, int& error) {
    while (size > 0) {
        const ssize_t done = ::write(descriptor(handle), data, size);
        if (done < 0) {
            if (errno == EINTR) continue;
            error = errno;
            return false;
        }
        data += done;
        size -= static_cast<std::size_t>(done);
    }
    return true;
}

long read_console_text(Handle handle, char* buffer, std::size_t size, int& error) {
    return read_some(handle, buffer, size, error);
}

bool write_console_text(Handle handle, const char* data, std::size_t size, int& error) {
    return write_all(handle, data, size, error);
}

bool seek_to(Handle handle, std::int64_t offset, int& error) {
    if (::lseek(descriptor(handle), static_cast<off_t>(offset), SEEK_SET) >= 0) return true;
    error = errno;
    return false;
}

std::int64_t current_offset(Handle handle) {
    return ::lseek(descriptor(handle), 0, SEEK_CUR);
}

void truncate_regular_file(Handle handle, std::int64_t offset) {
    const int fd = descriptor(handle);
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        // A failure here leaves old bytes after the new records; the writes
        // that follow report any real trouble with the file.
        (void)::ftruncate(fd, static_cast<off_t>(offset));
    }
}

void close_handle(Handle handle) {
    ::close(descriptor(handle));
}

bool same_path(const ResolvedName& first, const ResolvedName& second) {
    return first.native == second.native;
}

bool same_existing_file(const ResolvedName& first, const ResolvedName& second) {
    struct stat a {};
    struct stat b {};
    return ::stat(first.native.c_str(), &a) == 0 && ::stat(second.native.c_str(), &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}

std::string reason_text(int error) {
    return std::strerror(error);
}

void write_error_output(std::string_view text) {
    int ignored = 0;
    write_all(STDERR_FILENO, text.data(), text.size(), ignored);
}

bool write_standard_output(std::string_view text) {
    int ignored = 0;
    return write_all(STDOUT_FILENO, text.data(), text.size(), ignored);
}

const char* const kLineEnd = "\n";
const bool kWindowsConventions = false;

bool asks_for_help(std::string_view argument) {
    return argument == "--help";
}

std::vector<std::string> program_arguments(int argc, char** argv) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
    return arguments;
}

bool system_text_as_utf8(std::string_view /*text*/, std::string& /*utf8*/) {
    return false;
}

void secure_standard_streams() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) >= 0 || errno != EBADF) continue;
        // The lowest free number is `fd` itself, since the ones below are open.
        const int opened = ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
        if (opened >= 0 && opened != fd) ::close(opened);
    }
}

void keep_freed_memory() {
#if defined(__GLIBC__)
    // glibc gives back the free memory above 128 KiB at the top of its heap,
    // and serves blocks of 128 KiB and more from mappings of their own,
    // unmapped when freed: both thresholds raised past a station's needs.
    mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
#endif
}

void establish_float_environment() {
    std::fesetround(FE_TONEAREST);
    fedisableexcept(FE_ALL_EXCEPT);
    std::feclearexcept(FE_ALL_EXCEPT);
}

namespace {

// The report lines are made before any signal can arrive, so the handler
// needs nothing but write and _exit.
struct InterruptReport {
    int signal_number;
    const char* line;
};

constexpr InterruptReport kInterruptReports[] = {
    {SIGINT, "runlib: error (200): program aborting due to control-C event\r\n"},
    {SIGQUIT, "runlib: error (200): program aborting due to control-BREAK event\r\n"},
    {SIGHUP, "runlib: error (200): program aborting due to menu-CLOSE event\r\n"},
    {SIGTERM, "runlib: error (200): program aborting due to unknown event\r\n"},
};

extern "C" void on_interrupt(int signal_number) {
    abort_on_console_event(signal_number);
}

}  // namespace

void abort_on_console_event(int signal_number) {
    for (const InterruptReport& report : kInterruptReports) {
        if (report.signal_number != signal_number) continue;
        const char* line = report.line;
        std::size_t length = 0;
        while (line[length] != '\0') ++length;
        ssize_t ignored = ::write(STDERR_FILENO, line, length);
        (void)ignored;
    }
    // Scratch files have no names left, and every completed record of the
    // other files is already written: ending the process closes them all.
    ::_exit(128 + signal_number);
}

void install_interrupt_handlers() {
    struct sigaction action {};
    action.sa_handler = on_interrupt;
    sigfillset(&action.sa_mask);
    for (const InterruptReport& report : kInterruptReports) ::sigaction(report.signal_number, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

std::uint32_t failure_status(int number) {
    return static_cast<std::uint32_t>(number) & 0xFFU;
}

void end_process(std::uint32_t status) {
    std::exit(static_cast<int>(status));
}

Handle standard_error() {
    return STDERR_FILENO;
}

bool is_terminal(Handle handle) {
    return ::isatty(descriptor(handle)) == 1;
}

OpenResult open_for_reading(const ResolvedName& name) {
    OpenResult result;
    const int fd = ::open(name.native.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        result.error = errno;
    } else {
        result.handle = fd;
        result.read_only = true;
    }
    return result;
}

FileKind file_kind(const ResolvedName& name) {
    struct stat status {};
    if (::stat(name.native.c_str(), &status) != 0) return FileKind::missing;
    if (S_ISREG(status.st_mode)) return FileKind::regular;
    if (S_ISDIR(status.st_mode)) return FileKind::folder;
    if (S_ISFIFO(status.st_mode)) return FileKind::fifo;
    if (S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode)) return FileKind::device;
    return FileKind::other;
}

bool is_link(const ResolvedName& name) {
    struct stat status {};
    return ::lstat(name.native.c_str(), &status) == 0 && S_ISLNK(status.st_mode);
}

bool link_target(const ResolvedName& link, ResolvedName& target, int& error) {
    char* const full = ::realpath(link.native.c_str(), nullptr);
    if (full == nullptr) {
        error = errno;
        return false;
    }
    target = resolve_file_name(full);
    std::free(full);
    return true;
}

bool make_folder(const ResolvedName& name, int& error) {
    if (::mkdir(name.native.c_str(), 0777) == 0) return true;
    error = errno;
    if (error == EEXIST && file_kind(name) == FileKind::folder) {
        error = 0;
        return true;
    }
    if (error == EEXIST) error = ENOTDIR;
    return false;
}

void remove_file(const ResolvedName& name) {
    ::unlink(name.native.c_str());
}

std::vector<std::string> folder_entries(const ResolvedName& folder) {
    std::vector<std::string> names;
    DIR* listing = ::opendir(folder.native.c_str());
    if (listing == nullptr) return names;
    while (const dirent* entry = ::readdir(listing)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") names.emplace_back(name);
    }
    ::closedir(listing);
    return names;
}

OpenResult create_new_file(const ResolvedName& name) {
    OpenResult result;
    const int fd = ::open(name.native.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        result.error = errno;
    } else {
        result.handle = fd;
    }
    return result;
}

bool flush_to_disk(Handle handle, int& error) {
    if (::fsync(descriptor(handle)) == 0 || errno == EINVAL) return true;  // EINVAL: a file that cannot be synced
    error = errno;
    return false;
}

bool rename_over(const ResolvedName& from, const ResolvedName& to, int& error) {
    if (::rename(from.native.c_str(), to.native.c_str()) == 0) return true;
    error = errno;
    return false;
}

unsigned long process_id() {
    return static_cast<unsigned long>(::getpid());
}

const int kNameTooLong = ENAMETOOLONG;

std::string name_beside(std::string_view base_file, std::string_view name) {
    if (!name.empty() && name.front() == '/') return std::string(name);
    const std::size_t slash = base_file.rfind('/');
    if (slash == std::string_view::npos) return std::string(name);
    std::string joined(base_file.substr(0, slash + 1));
    joined.append(name);
    return joined;
}

std::string name_inside(std::string_view folder, std::string_view name) {
    std::string joined(folder);
    if (joined.empty() || joined.back() != '/') joined.push_back('/');
    joined.append(name);
    return joined;
}

namespace {

bool is_executable_file(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

}  // namespace

std::string companion_program(std::string_view name) {
    std::string own(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", own.data(), own.size());
    if (length > 0 && static_cast<std::size_t>(length) < own.size()) {
        own.resize(static_cast<std::size_t>(length));
        std::string beside = name_beside(own, name);
        if (is_executable_file(beside)) return beside;
    }
    const char* search = std::getenv("PATH");
    std::string_view folders = search != nullptr ? search : "/usr/local/bin:/usr/bin:/bin";
    while (!folders.empty()) {
        const std::size_t colon = folders.find(':');
        const std::string_view folder = folders.substr(0, colon);
        std::string candidate = name_inside(folder.empty() ? "." : folder, name);
        if (is_executable_file(candidate)) return candidate;
        if (colon == std::string_view::npos) break;
        folders.remove_prefix(colon + 1);
    }
    return {};
}

namespace {

// The signals that stand for console events, and the children running now,
// to whom a noted event is passed on.
std::atomic<int> noted_event{-1};
std::mutex children_lock;
std::set<pid_t> running_children;

sigset_t console_signals() {
    sigset_t signals;
    sigemptyset(&signals);
    for (const int signal_number : {SIGINT, SIGQUIT, SIGHUP, SIGTERM}) sigaddset(&signals, signal_number);
    return signals;
}

}  // namespace

void note_console_events() {
    // The signals are blocked here, and so in every thread started later;
    // one thread of their own takes them as they come.
    static const sigset_t signals = console_signals();
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::thread([] {
        for (;;) {
            int signal_number = 0;
            if (::sigwait(&signals, &signal_number) != 0) continue;
            int none = -1;
            noted_event.compare_exchange_strong(none, signal_number);
            const std::lock_guard<std::mutex> lock(children_lock);
            for (const pid_t child : running_children) ::kill(child, signal_number);
        }
    }).detach();
}

int console_event_noted() {
    return noted_event.load();
}

std::uint32_t console_event_status(int event) {
    return 128U + static_cast<std::uint32_t>(event);
}

FileStamp file_stamp(const ResolvedName& name) {
    FileStamp stamp;
    struct stat status {};
    if (::stat(name.native.c_str(), &status) != 0) return stamp;
    stamp.exists = true;
    stamp.size = static_cast<std::int64_t>(status.st_size);
    stamp.modified = static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
    return stamp;
}

bool process_alive(unsigned long pid) {
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

bool local_time(std::time_t now, std::tm& local) {
    return ::localtime_r(&now, &local) != nullptr;
}

std::string host_name() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0) return "localhost";
    return name;
}

ChildRun run_child(const std::string& program, const ResolvedName& folder, const ResolvedName& input,
                   const ResolvedName& output, const ResolvedName& errors) {
    ChildRun run;
    // The child opens its own files after changing folder: no descriptor of
    // this process is ever shared with it, whatever other threads spawn.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder.native.c_str());
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, input.native.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.native.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0666);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errors.native.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0666);
    // The child starts with no signal blocked and the console signals at
    // their defaults, whatever this process does with them.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    const sigset_t defaults = console_signals();
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    char* const arguments[] = {const_cast<char*>(program.c_str()), nullptr};
    pid_t child = 0;
    int error = 0;
    {
        const std::lock_guard<std::mutex> lock(children_lock);
        error = ::posix_spawn(&child, program.c_str(), &actions, &attributes, arguments, environ);
        if (error == 0) running_children.insert(child);
    }
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (error != 0) {
        run.error = error;
        return run;
    }
    run.started = true;
    // An event noted while the child was being started is passed on too.
    if (noted_event.load() > 0) ::kill(child, noted_event.load());
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            run.error = errno;
            break;
        }
    }
    {
        const std::lock_guard<std::mutex> lock(children_lock);
        running_children.erase(child);
    }
    if (run.error != 0) return run;
    if (WIFSIGNALED(status)) {
        run.signal = WTERMSIG(status);
        run.status = 128U + static_cast<std::uint32_t>(run.signal);
    } else {
        run.status = static_cast<std::uint32_t>(WEXITSTATUS(status));
    }
    return run;
}

bool ended_from_outside(const ChildRun& run) {
    for (const int signal_number : {SIGINT, SIGQUIT, SIGHUP, SIGTERM, SIGKILL}) {
        if (run.signal == signal_number ||
            (run.signal == 0 && run.status == 128U + static_cast<unsigned>(signal_number)))
            return true;
    }
    return false;
}

bool transient_start_failure(int error) {
    return error == EAGAIN || error == ENOMEM;
}

std::string exit_text(const ChildRun& run) {
    if (run.signal != 0) return "signal " + std::to_string(run.signal);
    return std::to_string(run.status);
}

std::optional<std::string> narrow_library_name(const ResolvedName& name) {
    return name.native;
}

}  // namespace wgn::io::platform
