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

// The C library's function `symbol`, unless the open asks for a nameless file.
int open_with(const char* symbol, const char* path, int flags, va_list arguments) {
    const bool mode_given = (flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE;
    const mode_t mode = mode_given ? static_cast<mode_t>(va_arg(arguments, int)) : 0;
    if ((flags & O_TMPFILE) == O_TMPFILE) {
        errno = EOPNOTSUPP;
        return -1;
    }
    return reinterpret_cast<OpenFunction>(dlsym(RTLD_NEXT, symbol))(path, flags, mode);
}

}  // namespace

extern "C" int open(const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const int fd = open_with("open", path, flags, arguments);
    va_end(arguments);
    return fd;
}

extern "C" int open64(const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const int fd = open_with("open64", path, flags, arguments);
    va_end(arguments);
    return fd;
}
