// Preloaded into a run (LD_PRELOAD), makes every open with O_TMPFILE fail as
// it does on a file system without nameless files (EOPNOTSUPP), so that the
// run takes its fallback: named scratch files, whose names must be removed at
// once.  Every other open goes to the C library unchanged.
#include <dlfcn.h>
#include <fcntl.h>

#include <cerrno>
#include <cstdarg>

namespace {

using OpenFunction = int (*)(const char*, int, ...);

int open_unless_nameless(OpenFunction next, const char* path, int flags, mode_t mode) {
    if ((flags & O_TMPFILE) == O_TMPFILE) {
        errno = EOPNOTSUPP;
        return -1;
    }
    return next(path, flags, mode);
}

mode_t mode_argument(int flags, va_list arguments) {
    return (flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE ? static_cast<mode_t>(va_arg(arguments, int)) : 0;
}

}  // namespace

extern "C" int open(const char* path, int flags, ...) {
    static const auto next = reinterpret_cast<OpenFunction>(dlsym(RTLD_NEXT, "open"));
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = mode_argument(flags, arguments);
    va_end(arguments);
    return open_unless_nameless(next, path, flags, mode);
}

extern "C" int open64(const char* path, int flags, ...) {
    static const auto next = reinterpret_cast<OpenFunction>(dlsym(RTLD_NEXT, "open64"));
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = mode_argument(flags, arguments);
    va_end(arguments);
    return open_unless_nameless(next, path, flags, mode);
}
