// Everything that depends on the operating system: handles, file names and
// their resolution, the meaning of the system's failure codes, temporary
// files, console events, the floating-point environment and the end of the
// process.  platform_posix.cpp and platform_win32.cpp implement the same
// functions; nothing else in the program knows which one it was built with.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wgn::io::platform {

// An open file or console stream: a descriptor on POSIX, a HANDLE on Windows.
using Handle = std::intptr_t;
inline constexpr Handle kNoHandle = -1;

Handle standard_input();
Handle standard_output();

// A file name resolved the way the system resolves it.
//
//   POSIX, in /home/me:    "data//../in.txt"  -> "/home/me/in.txt"
//   Windows, in C:\work:   "sub/x.txt"        -> "C:\work\sub\x.txt"
//                          "D:x.txt"          -> the current folder of drive D
struct ResolvedName {
    std::string shown;   // the full path, as failure reports show it
    std::string native;  // the form the system's file functions take
    int report = 0;      // non-zero: the name is refused before any open (30, 42, 43)
    int error = 0;       // the system's reason for that refusal, when it gave one
};

// `name` is the name as typed, without surrounding blanks, and not empty.
ResolvedName resolve_file_name(std::string_view name);

struct OpenResult {
    Handle handle = kNoHandle;
    bool read_only = false;  // could be opened for reading only
    int error = 0;           // the system's reason when no handle was opened
};

// Opens an existing file for reading and writing or creates it empty; a file
// that may only be read is opened for reading.
OpenResult open_for_update(const ResolvedName& name);

// Creates a private temporary file in the system's temporary folder that
// disappears however the process ends.  `path` receives the name to show in
// failure reports, also when the file could not be created.
OpenResult create_scratch(std::string& path);

// Report number (of the failure table) for a refused open.
int open_failure_report(int error);

long read_some(Handle handle, char* buffer, std::size_t size, int& error);
bool write_all(Handle handle, const char* data, std::size_t size, int& error);

// The console units' text, held as UTF-8 inside.  POSIX passes the bytes as
// they are.  Windows reads a console window as the characters typed, and a
// redirected input (an answers file, a pipe) as UTF-16 when it starts with
// that byte order mark, else line by line as UTF-8, or in the ANSI code page
// when a line is not valid UTF-8:
//   answers saved by Notepad "ANSI" (1252)  "Z\xFCrich.txt" -> "Z\xC3\xBCrich.txt"
//   PowerShell 5's "> answers.txt" (UTF-16 LE)  FF FE 5A 00 ... -> "Z..."
// What goes to a console window is shown as its characters; a file or pipe
// receives the UTF-8 bytes.
long read_console_text(Handle handle, char* buffer, std::size_t size, int& error);
bool write_console_text(Handle handle, const char* data, std::size_t size, int& error);
bool seek_to(Handle handle, std::int64_t offset, int& error);
std::int64_t current_offset(Handle handle);
// Cuts a regular file at `offset`; other kinds of file are left alone.
void truncate_regular_file(Handle handle, std::int64_t offset);
void close_handle(Handle handle);

// True when both names resolved to one full path: byte for byte on POSIX,
// regardless of letter case on Windows, whose names ignore it.
bool same_path(const ResolvedName& first, const ResolvedName& second);
// True when both names denote one existing file (the same device and file
// number, or the same volume and file index).
bool same_existing_file(const ResolvedName& first, const ResolvedName& second);

// The system's own message for a failure code, without a line end.
std::string reason_text(int error);
// Writes a UTF-8 text to standard error, ignoring failures: there is nowhere
// else to report.  On Windows a line end LF becomes CR LF (one already
// after a CR stays as it is).
void write_error_output(std::string_view text);
// The same for standard output; false when that fails.
bool write_standard_output(std::string_view text);
// The line end of the texts the programs write for people (messages, the
// answers they hand to wgnrain): "\n" on POSIX, "\r\n" on Windows.
extern const char* const kLineEnd;

// True on Windows, whose users read cmd's ways in the help texts
// ("wgnrain.exe < answers.txt", %ERRORLEVEL%) and may ask for help with "/?".
extern const bool kWindowsConventions;
// "--help", and on Windows "/?" too.
bool asks_for_help(std::string_view argument);

// The program's arguments after its own name, as UTF-8: POSIX takes them as
// they came; Windows reads them from the wide command line, so that
// "C:\Users\José\stations.csv" means the same in every code page.
std::vector<std::string> program_arguments(int argc, char** argv);
// A text that is not UTF-8 read as the system's own code page, as UTF-8:
// Windows takes the ANSI code page (what Excel's "CSV (Comma delimited)"
// writes); POSIX has no such code page and returns false.
bool system_text_as_utf8(std::string_view text, std::string& utf8);

// Puts the null device in place of a missing standard input, output or
// error, so that no file the program opens later can take their place (a
// failure report would otherwise be written into that file).
void secure_standard_streams();

// Round to nearest, all floating-point exceptions masked (no traps).
void establish_float_environment();

// Keeps memory the program frees for its next use instead of giving it back
// to the system at once.  A batch reads one station's files after another,
// some megabytes each: given back after every station and taken again for
// the next, each page costs a fault (there were ten times as many faults as
// pages the batch needs at any one time).  The peak stays what it was.
void keep_freed_memory();

// Installs the handlers of the console events (Ctrl-C, Ctrl-Break, a closed
// console, a termination request), each of which ends the run through
// `abort_on_console_event`.  A broken pipe becomes an ordinary write failure.
void install_interrupt_handlers();

// What a console event does: the report line "runlib: error (200): program
// aborting due to <name> event", then the end of the process with the
// event's status.  Every completed record is on disk already and scratch
// files vanish with the process, so ending it closes every file as a plain
// close would.  `event` is the system's number of the event (a signal
// number on POSIX).
[[noreturn]] void abort_on_console_event(int event);

// The exit status of a severe failure with report `number`: the low 8 bits
// of C0000000 + number on POSIX (the number itself), all 32 bits on Windows.
std::uint32_t failure_status(int number);

// Ends the process.  On Windows a process alone on its console window (a
// double-click in Explorer) first shows "Press Enter to close this window."
// and waits for Enter, so that its last report can be read; from a shell, a
// script or with redirected input it ends at once.
[[noreturn]] void end_process(std::uint32_t status);

// ---- Folders, companion programs and child processes (wgnrain-batch) ----

Handle standard_error();
// True when the handle is a terminal or console window a person watches.
bool is_terminal(Handle handle);

// Opens an existing file for reading only; nothing is created.
OpenResult open_for_reading(const ResolvedName& name);

// What a name leads to, a link followed: a named pipe is a FIFO (Windows:
// \\.\pipe\...), a device a character or block device (Windows: a \\.\ name,
// NUL, CON, COM1 ...); `other` is anything else that is no file (a socket).
enum class FileKind { missing, regular, folder, fifo, device, other };
FileKind file_kind(const ResolvedName& name);
// True when the name itself is a symbolic link (Windows: a reparse point,
// a symbolic link or a junction), whatever it leads to.
bool is_link(const ResolvedName& name);
// The full name of the file a link leads to, through every link on the way;
// false (and the system's reason) when it leads to no file.
bool link_target(const ResolvedName& link, ResolvedName& target, int& error);
// Creates the folder; true also when it exists already.
bool make_folder(const ResolvedName& name, int& error);
// Removes the file if it is there.
void remove_file(const ResolvedName& name);
// The names of the entries of a folder (not "." and ".."); empty when it
// cannot be read.
std::vector<std::string> folder_entries(const ResolvedName& folder);
// Creates a new file for writing only; fails (with the system's reason) when
// the name exists already.
OpenResult create_new_file(const ResolvedName& name);
// Puts everything written to the file on the disk.
bool flush_to_disk(Handle handle, int& error);
// Renames `from` to `to` in one step, replacing `to` when it exists.
bool rename_over(const ResolvedName& from, const ResolvedName& to, int& error);
// The number of the running process.
unsigned long process_id();
// The system's code for a name too long for it (ENAMETOOLONG, ERROR_FILENAME_EXCED_RANGE).
extern const int kNameTooLong;

// `name` as seen from the folder that holds `base_file`, unless it is a full
// path already (then unchanged).  No resolution, only joining:
//   POSIX:    ("lists/a.csv", "in.txt") -> "lists/in.txt",  ("a.csv", "/d/x") -> "/d/x"
//   Windows:  ("C:\l\a.csv", "x.txt") -> "C:\l\x.txt",   ("a.csv", "D:\x") -> "D:\x"
std::string name_beside(std::string_view base_file, std::string_view name);
// `name` inside `folder`: "out" + "st1" -> "out/st1" (POSIX), "out\st1" (Windows).
std::string name_inside(std::string_view folder, std::string_view name);

// The program `name` (without ".exe") from the folder of the running
// program, else from the search path; empty when there is none.
std::string companion_program(std::string_view name);

// How a child process ended.
struct ChildRun {
    bool started = false;
    int error = 0;             // why it could not be started
    std::uint32_t status = 0;  // its exit status (all 32 bits on Windows)
    int signal = 0;            // POSIX: the signal that ended it, else 0
};

// Runs `program` in `folder`, standard input from `input`, standard output
// and standard error into `output` and `errors` (created or emptied), and
// waits for its end.  May be called from several threads at once: no child
// inherits another child's files.
ChildRun run_child(const std::string& program, const ResolvedName& folder, const ResolvedName& input,
                   const ResolvedName& output, const ResolvedName& errors);

// True when a child could not be started for a reason that may pass (too
// little memory, too many processes for the moment): worth another try.
bool transient_start_failure(int error);

// The end of a child as text: "0", "24", "signal 9" (POSIX), "C0000018" (Windows).
std::string exit_text(const ChildRun& run);
// True when the child was ended from outside: by a console signal or kill
// (POSIX), by Ctrl-C (Windows).
bool ended_from_outside(const ChildRun& run);

// ---- A batch that outlives an interruption ----

// From this call on, a console event (Ctrl-C, Ctrl-Break, a closed console
// or terminal, a termination request) no longer ends the process: it is
// noted, and passed on to every child that run_child has running, which then
// ends with its own report.  (On Windows the children share the console and
// receive the event themselves; a job object ends them with this process,
// however it ends.)  Call it before any other thread starts.
void note_console_events();
// The first event noted since, or -1.
int console_event_noted();
// The status a process ends with for the event, as wgnrain's own end on it:
// 128 plus the signal on POSIX (Ctrl-C 130); on Windows STATUS_CONTROL_C_EXIT
// for Ctrl-C, the event's number for the others.
std::uint32_t console_event_status(int event);

// What tells whether a file has changed.
struct FileStamp {
    bool exists = false;
    std::int64_t size = 0;
    std::int64_t modified = 0;  // nanoseconds (POSIX) or 100-nanosecond ticks (Windows)
};
FileStamp file_stamp(const ResolvedName& name);

// True when a process of that number runs on this machine.
bool process_alive(unsigned long pid);
// The name of this machine.
std::string host_name();
// The local calendar time of `now`; false when the system cannot tell.
bool local_time(std::time_t now, std::tm& local);

// A file's name as a library that takes the system's narrow names wants it
// (NetCDF-C): on POSIX the name itself; on Windows its form in the ANSI code
// page, else its short (8.3) name there; nothing when neither can hold it.
//   "C:\\data\\café.nc" -> "C:\\data\\caf\xe9.nc" (code page 1252)
std::optional<std::string> narrow_library_name(const ResolvedName& name);

}  // namespace wgn::io::platform
