// Failure reports on standard error, and the end of the run.
//
// A severe failure writes, when the platform gave a reason,
//   runlib: No such file or directory
// and then always
//   runlib: severe (29): file not found, unit 10, file /home/me/x/in.txt
// (every line ended by CR LF), closes every connected unit and ends the
// process with the failure's status: C0000000 + the report number on Windows
// (C000001D for 29), its low 8 bits (the number itself) where the exit
// status holds only 8 bits.
#pragma once

#include <cstdint>
#include <string_view>

namespace wgn::io {

// Report numbers of the failures the program can reach.
enum Failure : int {
    kPermissionDenied = 9,
    kRewindError = 20,
    kEndOfFile = 24,
    kFileNotFound = 29,
    kOpenFailure = 30,
    kWriteError = 38,
    kReadError = 39,
    kInsufficientMemory = 41,
    kNoSuchDevice = 42,
    kFileNameError = 43,
    kReadOnlyWrite = 47,
    kListSyntaxError = 59,
    kConversionError = 64,
};

// `platform_error` 0 means the platform gave no reason.
[[noreturn]] void fail(int number, int unit, std::string_view file, int platform_error = 0);
[[noreturn]] void fail_insufficient_memory();
// The math library's domain-error report ("- sqrt: DOMAIN error"), exit status 3.
[[noreturn]] void fail_math_domain(std::string_view function);

// One line "runlib: <text>" on standard error, for an explanation that goes
// before a report.
void write_runlib_line(std::string_view text);

// Closes every connected unit and ends the process with `status`.
[[noreturn]] void end_run(std::uint32_t status);

}  // namespace wgn::io
