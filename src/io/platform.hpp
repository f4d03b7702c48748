// Everything that depends on the operating system: descriptors, the meaning
// of its failure codes, temporary files, console interrupts, the floating-
// point environment and the end of the process.  This is the POSIX layer; a
// Windows layer can stand beside it with the same functions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace wgn::io::platform {

struct OpenResult {
    int fd = -1;
    bool read_only = false;  // could be opened for reading only
    int error = 0;           // the platform's reason when fd < 0
};

// Opens an existing file for reading and writing or creates it empty; a file
// that may only be read is opened for reading.
OpenResult open_for_update(const std::string& path);

// Creates a private temporary file in $TMPDIR (else /tmp) that has no name in
// the directory, so that it disappears however the process ends.  `path`
// receives the name to show in failure reports.
OpenResult create_scratch(std::string& path);

// Report number (of the failure table) for a refused open.
int open_failure_report(int error);

long read_some(int fd, char* buffer, std::size_t size, int& error);
bool write_all(int fd, const char* data, std::size_t size, int& error);
bool seek_to(int fd, std::int64_t offset, int& error);
std::int64_t current_offset(int fd);
// Cuts a regular file at `offset`; other kinds of file are left alone.
void truncate_regular_file(int fd, std::int64_t offset);
void close_descriptor(int fd);

// The working directory, or an empty text when it cannot be determined
// (then `error` holds the reason).
std::string current_directory(int& error);
// True when both names denote one existing file (same device and inode).
bool same_existing_file(const std::string& first, const std::string& second);

std::string reason_text(int error);
// Writes to standard error, ignoring failures: there is nowhere else to report.
void write_error_output(std::string_view text);

// Opens /dev/null in place of a closed standard input, output or error, so
// that no file the program opens later can take their numbers (a failure
// report would otherwise be written into that file).
void secure_standard_descriptors();

// Round to nearest, all floating-point exceptions masked (no traps).
void establish_float_environment();

// Installs the handlers of Ctrl-C, Ctrl-\, a closed terminal and a
// termination request: each writes its report line and ends the process with
// 128 + the signal number.  A broken pipe becomes an ordinary write failure.
void install_interrupt_handlers();

[[noreturn]] void end_process(int status);

}  // namespace wgn::io::platform
