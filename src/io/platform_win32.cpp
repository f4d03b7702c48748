// The Windows layer.  Every text is UTF-8 inside; the system gets UTF-16 (the
// wide functions) at the edges: names are resolved by GetFullPathNameW and
// handed to the wide file functions, arguments come from the wide command
// line, a console window is read and written as characters.  Redirected
// answers are read as UTF-8 where they are valid UTF-8, else in the ANSI
// code page, or as UTF-16 by their byte order mark; files receive UTF-8.
// Every stream is a plain handle: no CR LF translation and no Ctrl-Z cut.
#include <windows.h>

#include <float.h>

#include <algorithm>
#include <atomic>
#include <cfenv>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>

#include "io/file_names.hpp"
#include "io/platform.hpp"

namespace wgn::io::platform {
namespace {

HANDLE native_handle(Handle handle) {
    return reinterpret_cast<HANDLE>(handle);
}

Handle wrapped(HANDLE handle) {
    return reinterpret_cast<Handle>(handle);
}

// Text in `code_page` as UTF-16; false when the bytes are not valid there.
bool widened(std::string_view text, UINT code_page, std::wstring& wide) {
    wide.clear();
    if (text.empty()) return true;
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (length <= 0) return false;
    wide.resize(static_cast<std::size_t>(length));
    return MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), length) == length;
}

// Text in `code_page` as UTF-16, whatever it holds: a byte that means
// nothing there becomes U+FFFD.
std::wstring widened_anyway(std::string_view text, UINT code_page) {
    std::wstring wide;
    if (text.empty()) return wide;
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(code_page, 0, text.data(), size, nullptr, 0);
    if (length <= 0) return wide;
    wide.resize(static_cast<std::size_t>(length));
    MultiByteToWideChar(code_page, 0, text.data(), size, wide.data(), length);
    return wide;
}

// UTF-16 as UTF-8 (an unpaired surrogate becomes U+FFFD).
std::string utf8_of(std::wstring_view wide) {
    if (wide.empty()) return {};
    const int size = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return {};
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, text.data(), length, nullptr, nullptr);
    return text;
}

bool is_utf8(std::string_view text) {
    return text.empty() || MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                                               static_cast<int>(text.size()), nullptr, 0) > 0;
}

// Text of the ANSI code page as UTF-8.
std::string ansi_as_utf8(std::string_view text) {
    return utf8_of(widened_anyway(text, CP_ACP));
}

std::wstring native_name(const std::string& utf8) {
    std::wstring wide;
    widened(utf8, CP_UTF8, wide);
    return wide;
}

// Characters that no Windows file name may hold: control codes, <>"|?* and
// a colon anywhere but directly after a drive letter.
bool holds_forbidden_character(std::wstring_view name) {
    for (std::size_t i = 0; i < name.size(); ++i) {
        const wchar_t c = name[i];
        if (c < 32 || std::wstring_view(L"<>\"|?*").find(c) != std::wstring_view::npos) return true;
        if (c == L':') {
            const wchar_t first = name[0];
            const bool drive_letter = (first >= L'A' && first <= L'Z') || (first >= L'a' && first <= L'z');
            if (i != 1 || !drive_letter) return true;
        }
    }
    return false;
}

std::wstring full_path_of(const std::wstring& name, DWORD& error) {
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFullPathNameW(name.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0) {
            error = GetLastError();
            return {};
        }
        if (length < full.size()) {
            full.resize(length);
            return full;
        }
        full.resize(length);  // the length needed, terminating zero included
    }
}

bool is_console(HANDLE handle) {
    DWORD mode = 0;
    return GetConsoleMode(handle, &mode) != 0;
}

}  // namespace

Handle standard_input() {
    return wrapped(GetStdHandle(STD_INPUT_HANDLE));
}

Handle standard_output() {
    return wrapped(GetStdHandle(STD_OUTPUT_HANDLE));
}

ResolvedName resolve_file_name(std::string_view name) {
    ResolvedName resolved;
    std::wstring typed;
    if (!widened(name, CP_UTF8, typed)) {
        resolved.shown.assign(name);
        resolved.report = 43;
        return resolved;
    }
    DWORD error = 0;
    const std::wstring full = full_path_of(typed, error);
    if (full.empty()) {
        resolved.shown.assign(name);
        resolved.report = 43;
        resolved.error = static_cast<int>(error);
        return resolved;
    }
    resolved.native = utf8_of(full);
    resolved.shown = resolved.native;
    if (holds_forbidden_character(typed) || full.size() > kMaxFileNameLength) {
        resolved.report = 43;
    } else if (full.size() >= 2 && full[1] == L':') {
        // The drive itself is tested: what an open on a missing drive
        // reports differs between the system's versions.
        const wchar_t root[] = {full[0], L':', L'\\', L'\0'};
        if (GetDriveTypeW(root) == DRIVE_NO_ROOT_DIR) resolved.report = 42;
    }
    return resolved;
}

OpenResult open_for_update(const ResolvedName& name) {
    const std::wstring path = native_name(name.native);
    constexpr DWORD kShared = FILE_SHARE_READ | FILE_SHARE_WRITE;
    OpenResult result;
    HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, kShared, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        result.handle = wrapped(handle);
        return result;
    }
    result.error = static_cast<int>(GetLastError());
    if (result.error == ERROR_ACCESS_DENIED) {
        // A read-only file is still usable as input.
        handle =
            CreateFileW(path.c_str(), GENERIC_READ, kShared, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            result.handle = wrapped(handle);
            result.read_only = true;
            result.error = 0;
        }
    }
    return result;
}

OpenResult create_scratch(std::string& path) {
    OpenResult result;
    std::wstring folder(MAX_PATH + 1, L'\0');
    const DWORD length = GetTempPathW(static_cast<DWORD>(folder.size()), folder.data());
    if (length == 0 || length >= folder.size()) {
        result.error = static_cast<int>(length == 0 ? GetLastError() : ERROR_FILENAME_EXCED_RANGE);
        return result;
    }
    folder.resize(length);

    // A unique name of this process and a counter, created hidden and
    // temporary; the system deletes it when its last handle is closed, which
    // includes the end of the process however it comes.
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 1000; ++attempt) {
        wchar_t leaf[48];
        std::swprintf(leaf, sizeof leaf / sizeof leaf[0], L"wgnrain-%lx-%u.tmp", GetCurrentProcessId(), ++counter);
        const std::wstring name = folder + leaf;
        path = utf8_of(name);
        const HANDLE handle =
            CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            result.handle = wrapped(handle);
            return result;
        }
        result.error = static_cast<int>(GetLastError());
        if (result.error != ERROR_FILE_EXISTS && result.error != ERROR_ALREADY_EXISTS) break;
    }
    return result;
}

int open_failure_report(int error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME: return 29;   // file not found: a folder of the name is missing
        case ERROR_ACCESS_DENIED: return 9;   // permission to access file denied
        case ERROR_INVALID_DRIVE: return 42;  // no such device
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_FILENAME_EXCED_RANGE:
        case ERROR_DIRECTORY: return 43;  // file name specification error
        default: return 30;               // open failure: too many open files, a sharing violation, ...
    }
}

long read_some(Handle handle, char* buffer, std::size_t size, int& error) {
    const HANDLE native = native_handle(handle);
    const DWORD wanted = size > (DWORD{1} << 30) ? (DWORD{1} << 30) : static_cast<DWORD>(size);
    DWORD got = 0;
    if (ReadFile(native, buffer, wanted, &got, nullptr) == 0) {
        const DWORD failure = GetLastError();
        // The writer of a pipe has closed it: that is the end of the input.
        if (failure == ERROR_BROKEN_PIPE || failure == ERROR_HANDLE_EOF) return 0;
        error = static_cast<int>(failure);
        return -1;
    }
    return static_cast<long>(got);
}

bool write_all(Handle handle, const char* data, std::size_t size, int& error) {
    while (size > 0) {
        const DWORD wanted = size > (DWORD{1} << 30) ? (DWORD{1} << 30) : static_cast<DWORD>(size);
        DWORD done = 0;
        if (WriteFile(native_handle(handle), data, wanted, &done, nullptr) == 0) {
            error = static_cast<int>(GetLastError());
            return false;
        }
        data += done;
        size -= done;
    }
    return true;
}

namespace {

// The console input unit's text as UTF-8.  There is one such stream in a
// process, read by one thread: its state is kept here.
class InputText {
  public:
    long read(HANDLE handle, char* buffer, std::size_t size, int& error) {
        while (taken_ == ready_.size() && !ended_) {
            ready_.clear();
            taken_ = 0;
            if (!(is_console(handle) ? read_console(handle, error) : read_redirected(handle, error))) return -1;
        }
        const std::size_t count = std::min(size, ready_.size() - taken_);
        std::memcpy(buffer, ready_.data() + taken_, count);
        taken_ += count;
        return static_cast<long>(count);
    }

  private:
    enum class Form { unknown, bytes, utf16_little, utf16_big };

    // A console window: the characters as typed, whatever its code page.
    bool read_console(HANDLE handle, int& error) {
        wchar_t typed[4096];
        typed[0] = pending_surrogate_;
        const DWORD kept = pending_surrogate_ != 0 ? 1 : 0;
        pending_surrogate_ = 0;
        DWORD got = 0;
        if (ReadConsoleW(handle, typed + kept, static_cast<DWORD>(std::size(typed)) - kept, &got, nullptr) == 0) {
            const DWORD failure = GetLastError();
            if (failure != ERROR_OPERATION_ABORTED) {
                error = static_cast<int>(failure);
                return false;
            }
            got = 0;
        }
        if (got == 0) {
            // Only Ctrl-C or Ctrl-Break cut a console read short (Ctrl-Z is
            // a record of its own): the event's handler is about to end the
            // run with its own report, not the end of the input.  It gets
            // the time to do so.
            Sleep(500);
            ended_ = true;
            return true;
        }
        std::size_t length = kept + got;
        if (typed[length - 1] >= 0xD800 && typed[length - 1] <= 0xDBFF) pending_surrogate_ = typed[--length];
        ready_ = utf8_of(std::wstring_view(typed, length));
        return true;
    }

    // A file or pipe: UTF-16 by its byte order mark, else line by line.
    bool read_redirected(HANDLE handle, int& error) {
        char chunk[65536];
        const long got = read_some(wrapped(handle), chunk, sizeof chunk, error);
        if (got < 0) return false;
        const bool at_end = got == 0;
        raw_.append(chunk, static_cast<std::size_t>(got));
        if (form_ == Form::unknown && (raw_.size() >= 2 || at_end)) {
            form_ = Form::bytes;
            if (raw_.size() >= 2 && raw_[0] == '\xFF' && raw_[1] == '\xFE') form_ = Form::utf16_little;
            if (raw_.size() >= 2 && raw_[0] == '\xFE' && raw_[1] == '\xFF') form_ = Form::utf16_big;
            if (form_ != Form::bytes) raw_.erase(0, 2);
        }
        if (form_ == Form::bytes) decode_lines(at_end);
        if (form_ == Form::utf16_little || form_ == Form::utf16_big) decode_utf16(at_end);
        ended_ = at_end;
        return true;
    }

    // Each whole line as UTF-8 when it is valid UTF-8, else in the ANSI code
    // page; a line too long to hold waits no longer for its end.
    void decode_lines(bool at_end) {
        std::size_t end = raw_.rfind('\n');
        end = end == std::string::npos ? 0 : end + 1;
        if (at_end || raw_.size() > kLongestHeldLine) end = raw_.size();
        for (std::size_t start = 0; start < end;) {
            std::size_t stop = raw_.find('\n', start);
            stop = stop == std::string::npos || stop >= end ? end : stop + 1;
            const std::string_view line(raw_.data() + start, stop - start);
            if (is_utf8(line)) {
                ready_.append(line);
            } else {
                ready_.append(ansi_as_utf8(line));
            }
            start = stop;
        }
        raw_.erase(0, end);
    }

    void decode_utf16(bool at_end) {
        std::wstring wide;
        const bool little = form_ == Form::utf16_little;
        std::size_t at = 0;
        for (; at + 1 < raw_.size(); at += 2) {
            const auto low = static_cast<unsigned char>(raw_[little ? at : at + 1]);
            const auto high = static_cast<unsigned char>(raw_[little ? at + 1 : at]);
            wide.push_back(static_cast<wchar_t>(high << 8 | low));
        }
        // A high surrogate waits for its pair, unless nothing more comes.
        if (!at_end && !wide.empty() && wide.back() >= 0xD800 && wide.back() <= 0xDBFF) {
            wide.pop_back();
            at -= 2;
        }
        raw_.erase(0, at);
        if (at_end && !raw_.empty()) {
            wide.push_back(0xFFFD);  // an odd byte at the end
            raw_.clear();
        }
        ready_.append(utf8_of(wide));
    }

    static constexpr std::size_t kLongestHeldLine = std::size_t{1} << 20;
    Form form_ = Form::unknown;
    std::string raw_;    // bytes read, not yet decoded
    std::string ready_;  // decoded, handed out from `taken_` on
    std::size_t taken_ = 0;
    bool ended_ = false;
    wchar_t pending_surrogate_ = 0;
};

}  // namespace

long read_console_text(Handle handle, char* buffer, std::size_t size, int& error) {
    static InputText input;
    return input.read(native_handle(handle), buffer, size, error);
}

bool write_console_text(Handle handle, const char* data, std::size_t size, int& error) {
    const HANDLE native = native_handle(handle);
    if (!is_console(native)) return write_all(handle, data, size, error);
    const std::wstring wide = widened_anyway(std::string_view(data, size), CP_UTF8);
    for (std::size_t at = 0; at < wide.size();) {
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(wide.size() - at, 8192));
        DWORD done = 0;
        if (WriteConsoleW(native, wide.data() + at, wanted, &done, nullptr) == 0 || done == 0) {
            error = static_cast<int>(GetLastError());
            return false;
        }
        at += done;
    }
    return true;
}

bool seek_to(Handle handle, std::int64_t offset, int& error) {
    LARGE_INTEGER target;
    target.QuadPart = offset;
    if (SetFilePointerEx(native_handle(handle), target, nullptr, FILE_BEGIN) != 0) return true;
    error = static_cast<int>(GetLastError());
    return false;
}

std::int64_t current_offset(Handle handle) {
    LARGE_INTEGER none;
    none.QuadPart = 0;
    LARGE_INTEGER position;
    if (SetFilePointerEx(native_handle(handle), none, &position, FILE_CURRENT) == 0) return -1;
    return position.QuadPart;
}

void truncate_regular_file(Handle handle, std::int64_t offset) {
    const HANDLE native = native_handle(handle);
    if (GetFileType(native) != FILE_TYPE_DISK) return;
    int ignored = 0;
    // A failure here leaves old bytes after the new records; the writes that
    // follow report any real trouble with the file.
    if (seek_to(handle, offset, ignored)) SetEndOfFile(native);
}

void close_handle(Handle handle) {
    CloseHandle(native_handle(handle));
}

bool same_path(const ResolvedName& first, const ResolvedName& second) {
    const std::wstring a = native_name(first.native);
    const std::wstring b = native_name(second.native);
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

bool same_existing_file(const ResolvedName& first, const ResolvedName& second) {
    const auto identity = [](const ResolvedName& name, BY_HANDLE_FILE_INFORMATION& info) {
        const HANDLE handle =
            CreateFileW(native_name(name.native).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (handle == INVALID_HANDLE_VALUE) return false;
        const bool known = GetFileInformationByHandle(handle, &info) != 0;
        CloseHandle(handle);
        return known;
    };
    BY_HANDLE_FILE_INFORMATION a{};
    BY_HANDLE_FILE_INFORMATION b{};
    return identity(first, a) && identity(second, b) && a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
           a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
}

std::string reason_text(int error) {
    wchar_t* message = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, static_cast<DWORD>(error), 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    std::wstring text = length > 0 && message != nullptr ? std::wstring(message, length) : std::wstring();
    LocalFree(message);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r')) text.pop_back();
    if (text.empty()) {
        char fallback[32];
        std::snprintf(fallback, sizeof fallback, "system error %d", error);
        return fallback;
    }
    return utf8_of(text);
}

namespace {

// A text for people with every line ending in CR LF.
std::string with_windows_line_ends(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 32);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out.push_back('\r');
        out.push_back(text[i]);
    }
    return out;
}

}  // namespace

void write_error_output(std::string_view text) {
    int ignored = 0;
    const std::string lines = with_windows_line_ends(text);
    write_console_text(wrapped(GetStdHandle(STD_ERROR_HANDLE)), lines.data(), lines.size(), ignored);
}

bool write_standard_output(std::string_view text) {
    int ignored = 0;
    const std::string lines = with_windows_line_ends(text);
    return write_console_text(standard_output(), lines.data(), lines.size(), ignored);
}

const char* const kLineEnd = "\r\n";
const bool kWindowsConventions = true;

bool asks_for_help(std::string_view argument) {
    return argument == "--help" || argument == "/?";
}

std::vector<std::string> program_arguments(int /*argc*/, char** /*argv*/) {
    std::vector<std::string> arguments;
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) return arguments;
    for (int i = 1; i < count; ++i) arguments.push_back(utf8_of(wide[i]));
    LocalFree(wide);
    return arguments;
}

bool system_text_as_utf8(std::string_view text, std::string& utf8) {
    utf8 = ansi_as_utf8(text);
    return true;
}

void secure_standard_streams() {
    for (const DWORD stream : {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
        const HANDLE handle = GetStdHandle(stream);
        if (handle != nullptr && handle != INVALID_HANDLE_VALUE) continue;
        const HANDLE null_device = CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (null_device != INVALID_HANDLE_VALUE) SetStdHandle(stream, null_device);
    }
}

void keep_freed_memory() {
    // The process heap keeps freed blocks for reuse already.
}

void establish_float_environment() {
    std::fesetround(FE_TONEAREST);
    unsigned int control = 0;
    _controlfp_s(&control, _MCW_EM, _MCW_EM);  // every exception masked
    std::feclearexcept(FE_ALL_EXCEPT);
}

namespace {

BOOL WINAPI on_console_event(DWORD event) {
    abort_on_console_event(static_cast<int>(event));
}

}  // namespace

void install_interrupt_handlers() {
    // A parent may have started the program with Ctrl-C ignored; it counts
    // again, like every other console event.
    SetConsoleCtrlHandler(nullptr, FALSE);
    SetConsoleCtrlHandler(on_console_event, TRUE);
}

void abort_on_console_event(int event) {
    // The system calls the handler on a thread of its own, beside the
    // program's: only the first event reports, a later one waits for the end.
    static volatile LONG reported = 0;
    if (InterlockedExchange(&reported, 1) != 0)
        for (;;) Sleep(INFINITE);

    const char* name = "unknown";  // the logoff and shutdown events, and any other
    if (event == CTRL_C_EVENT) name = "control-C";
    if (event == CTRL_BREAK_EVENT) name = "control-BREAK";
    if (event == CTRL_CLOSE_EVENT) name = "menu-CLOSE";
    char line[96];
    const int length =
        std::snprintf(line, sizeof line, "runlib: error (200): program aborting due to %s event\r\n", name);
    write_error_output(std::string_view(line, static_cast<std::size_t>(length)));

    // A run cut short by Ctrl-C must not look like a success: it ends with
    // the system's own status for that, not with the event's number 0.  The
    // other events end with their number (Ctrl-Break 1, closing the console
    // 2, logoff 5, shutdown 6).
    const UINT status = event == CTRL_C_EVENT ? static_cast<UINT>(STATUS_CONTROL_C_EXIT) : static_cast<UINT>(event);
    // The process ends at once, the program's own thread included, without
    // running anything more of it; its handles close, and the scratch files
    // go with them.
    TerminateProcess(GetCurrentProcess(), status);
    for (;;) Sleep(INFINITE);
}

std::uint32_t failure_status(int number) {
    return 0xC0000000U + static_cast<std::uint32_t>(number);
}

namespace {

// A console window that holds this process alone was opened for it (a
// double-click in Explorer) and closes with it: the last report stays on
// the screen until Enter.  Started from a shell, a script or with redirected
// input, the process ends at once.
void hold_window_if_alone() {
    DWORD processes[2] = {};
    if (GetConsoleProcessList(processes, 2) != 1) return;
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    if (!is_console(input)) return;
    const HANDLE output = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (output == INVALID_HANDLE_VALUE) return;
    // Keys typed before the prompt do not close the window unseen.
    FlushConsoleInputBuffer(input);
    static constexpr wchar_t kPrompt[] = L"Press Enter to close this window.";
    DWORD done = 0;
    WriteConsoleW(output, kPrompt, static_cast<DWORD>(std::size(kPrompt) - 1), &done, nullptr);
    CloseHandle(output);
    wchar_t line[256];
    DWORD got = 0;
    while (ReadConsoleW(input, line, static_cast<DWORD>(std::size(line)), &got, nullptr) != 0 && got > 0) {
        if (std::wstring_view(line, got).find_first_of(L"\r\n") != std::wstring_view::npos) break;
    }
}

}  // namespace

void end_process(std::uint32_t status) {
    hold_window_if_alone();
    ExitProcess(status);
}

Handle standard_error() {
    return wrapped(GetStdHandle(STD_ERROR_HANDLE));
}

bool is_terminal(Handle handle) {
    return is_console(native_handle(handle));
}

OpenResult open_for_reading(const ResolvedName& name) {
    OpenResult result;
    const HANDLE handle =
        CreateFileW(native_name(name.native).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        result.error = static_cast<int>(GetLastError());
    } else {
        result.handle = wrapped(handle);
        result.read_only = true;
    }
    return result;
}

namespace {

// Letter case ignored, as the system's names ignore it.
bool starts_with(std::wstring_view text, std::wstring_view start) {
    return text.size() >= start.size() &&
           CompareStringOrdinal(text.data(), static_cast<int>(start.size()), start.data(),
                                static_cast<int>(start.size()), TRUE) == CSTR_EQUAL;
}

// The name opened for nothing but its kind and name, links followed.
HANDLE open_to_inspect(const std::wstring& path) {
    return CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

}  // namespace

FileKind file_kind(const ResolvedName& name) {
    const std::wstring path = native_name(name.native);
    // The \\.\ names are the system's devices and pipes; they are never
    // opened here (opening a pipe would connect to its server).
    if (starts_with(path, L"\\\\.\\")) return starts_with(path, L"\\\\.\\pipe\\") ? FileKind::fifo : FileKind::device;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return FileKind::folder;
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DEVICE) != 0) return FileKind::device;
    // What the name leads to: a file on a disk, a device under a file's name
    // (NUL, CON, COM1 in any folder), or a pipe.
    const HANDLE handle = open_to_inspect(path);
    if (handle == INVALID_HANDLE_VALUE) {
        if (attributes == INVALID_FILE_ATTRIBUTES) return FileKind::missing;
        // A link to no file; or a file held by another program, a file still.
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileKind::missing : FileKind::regular;
    }
    const DWORD type = GetFileType(handle);
    CloseHandle(handle);
    if (type == FILE_TYPE_CHAR) return FileKind::device;
    if (type == FILE_TYPE_PIPE) return FileKind::fifo;
    return FileKind::regular;
}

bool is_link(const ResolvedName& name) {
    const DWORD attributes = GetFileAttributesW(native_name(name.native).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

bool link_target(const ResolvedName& link, ResolvedName& target, int& error) {
    const HANDLE handle = open_to_inspect(native_name(link.native));
    if (handle == INVALID_HANDLE_VALUE) {
        error = static_cast<int>(GetLastError());
        return false;
    }
    std::wstring final_name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFinalPathNameByHandleW(handle, final_name.data(), static_cast<DWORD>(final_name.size()),
                                                       FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) {
            error = static_cast<int>(GetLastError());
            CloseHandle(handle);
            return false;
        }
        if (length < final_name.size()) {
            final_name.resize(length);
            break;
        }
        final_name.resize(length);  // the length needed, terminating zero included
    }
    CloseHandle(handle);
    // "\\?\C:\data\x.txt" -> "C:\data\x.txt", "\\?\UNC\server\share\x" -> "\\server\share\x"
    if (starts_with(final_name, L"\\\\?\\UNC\\")) {
        final_name.erase(0, 8).insert(0, L"\\\\");
    } else if (starts_with(final_name, L"\\\\?\\")) {
        final_name.erase(0, 4);
    }
    target = resolve_file_name(utf8_of(final_name));
    return true;
}

bool make_folder(const ResolvedName& name, int& error) {
    if (CreateDirectoryW(native_name(name.native).c_str(), nullptr) != 0) return true;
    error = static_cast<int>(GetLastError());
    if (error == ERROR_ALREADY_EXISTS && file_kind(name) == FileKind::folder) {
        error = 0;
        return true;
    }
    return false;
}

void remove_file(const ResolvedName& name) {
    DeleteFileW(native_name(name.native).c_str());
}

std::vector<std::string> folder_entries(const ResolvedName& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW(native_name(name_inside(folder.native, "*")).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring_view name = found.cFileName;
        if (name != L"." && name != L"..") names.push_back(utf8_of(name));
    } while (FindNextFileW(search, &found) != 0);
    FindClose(search);
    return names;
}

OpenResult create_new_file(const ResolvedName& name) {
    OpenResult result;
    const HANDLE handle = CreateFileW(native_name(name.native).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        result.error = static_cast<int>(GetLastError());
    } else {
        result.handle = wrapped(handle);
    }
    return result;
}

bool flush_to_disk(Handle handle, int& error) {
    if (FlushFileBuffers(native_handle(handle)) != 0) return true;
    error = static_cast<int>(GetLastError());
    return false;
}

bool rename_over(const ResolvedName& from, const ResolvedName& to, int& error) {
    if (MoveFileExW(native_name(from.native).c_str(), native_name(to.native).c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0) {
        return true;
    }
    error = static_cast<int>(GetLastError());
    return false;
}

unsigned long process_id() {
    return GetCurrentProcessId();
}

const int kNameTooLong = ERROR_FILENAME_EXCED_RANGE;

namespace {

bool is_separator(char c) {
    return c == '\\' || c == '/';
}

bool is_full_path(std::string_view name) {
    if (!name.empty() && is_separator(name.front())) return true;
    const bool drive = name.size() >= 2 && name[1] == ':' &&
                       ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z'));
    return drive;
}

}  // namespace

std::string name_beside(std::string_view base_file, std::string_view name) {
    if (is_full_path(name)) return std::string(name);
    std::size_t end = base_file.size();
    while (end > 0 && !is_separator(base_file[end - 1]) && !(end == 2 && base_file[1] == ':')) --end;
    std::string joined(base_file.substr(0, end));
    joined.append(name);
    return joined;
}

std::string name_inside(std::string_view folder, std::string_view name) {
    std::string joined(folder);
    if (joined.empty() || !is_separator(joined.back())) joined.push_back('\\');
    joined.append(name);
    return joined;
}

std::string companion_program(std::string_view name) {
    std::wstring own(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, own.data(), static_cast<DWORD>(own.size()));
    std::wstring wide_name;
    widened(name, CP_UTF8, wide_name);
    wide_name += L".exe";
    if (length > 0 && length < own.size()) {
        own.resize(length);
        const std::size_t slash = own.find_last_of(L"\\/");
        const std::wstring beside = own.substr(0, slash + 1) + wide_name;
        const DWORD attributes = GetFileAttributesW(beside.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            return utf8_of(beside);
        }
    }
    std::wstring found(32768, L'\0');
    const DWORD found_length =
        SearchPathW(nullptr, wide_name.c_str(), nullptr, static_cast<DWORD>(found.size()), found.data(), nullptr);
    if (found_length == 0 || found_length >= found.size()) return {};
    found.resize(found_length);
    return utf8_of(found);
}

namespace {

std::atomic<int> noted_event{-1};
// The children's job: closed when this process ends, however it ends, it
// ends every child still in it.
HANDLE children_job = nullptr;

BOOL WINAPI note_event(DWORD event) {
    int none = -1;
    noted_event.compare_exchange_strong(none, static_cast<int>(event));
    // After a closed console, a logoff or a shutdown the system ends the
    // process as soon as this returns: it waits instead, so that the batch
    // can write its tables in the time the system gives.
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) Sleep(INFINITE);
    return TRUE;
}

}  // namespace

void note_console_events() {
    SetConsoleCtrlHandler(nullptr, FALSE);
    SetConsoleCtrlHandler(note_event, TRUE);
    children_job = CreateJobObjectW(nullptr, nullptr);
    if (children_job != nullptr) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(children_job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    }
}

int console_event_noted() {
    return noted_event.load();
}

std::uint32_t console_event_status(int event) {
    return event == CTRL_C_EVENT ? static_cast<std::uint32_t>(STATUS_CONTROL_C_EXIT)
                                 : static_cast<std::uint32_t>(event);
}

FileStamp file_stamp(const ResolvedName& name) {
    FileStamp stamp;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (GetFileAttributesExW(native_name(name.native).c_str(), GetFileExInfoStandard, &data) == 0) return stamp;
    stamp.exists = true;
    stamp.size = static_cast<std::int64_t>((static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
    stamp.modified = static_cast<std::int64_t>((static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                                               data.ftLastWriteTime.dwLowDateTime);
    return stamp;
}

bool process_alive(unsigned long pid) {
    const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid));
    if (process == nullptr) return GetLastError() == ERROR_ACCESS_DENIED;
    const bool alive = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return alive;
}

bool local_time(std::time_t now, std::tm& local) {
    return localtime_s(&local, &now) == 0;
}

std::string host_name() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    if (GetComputerNameW(name, &size) == 0) return "localhost";
    return utf8_of(std::wstring_view(name, size));
}

ChildRun run_child(const std::string& program, const ResolvedName& folder, const ResolvedName& input,
                   const ResolvedName& output, const ResolvedName& errors) {
    ChildRun run;
    // Inheritable handles exist only while this lock is held, from their
    // creation until they are closed after CreateProcessW, so a child
    // started by another thread never inherits them.
    static std::mutex creation;
    PROCESS_INFORMATION process{};
    {
        const std::lock_guard<std::mutex> lock(creation);
        SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        const auto open = [&inherited](const ResolvedName& name, bool write) {
            return CreateFileW(native_name(name.native).c_str(), write ? GENERIC_WRITE : GENERIC_READ,
                               FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited, write ? CREATE_ALWAYS : OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        };
        const HANDLE streams[3] = {open(input, false), open(output, true), open(errors, true)};
        bool opened = true;
        for (const HANDLE stream : streams) {
            if (stream == INVALID_HANDLE_VALUE && opened) {
                run.error = static_cast<int>(GetLastError());
                opened = false;
            }
        }
        if (opened) {
            STARTUPINFOW startup{};
            startup.cb = sizeof startup;
            startup.dwFlags = STARTF_USESTDHANDLES;
            startup.hStdInput = streams[0];
            startup.hStdOutput = streams[1];
            startup.hStdError = streams[2];
            const std::wstring path = native_name(program);
            std::wstring command = L"\"" + path + L"\"";
            const std::wstring directory = native_name(folder.native);
            // Started suspended, the child joins the job before it runs a single instruction.
            const DWORD flags = children_job != nullptr ? CREATE_SUSPENDED : 0;
            if (CreateProcessW(path.c_str(), command.data(), nullptr, nullptr, TRUE, flags, nullptr, directory.c_str(),
                               &startup, &process) != 0) {
                run.started = true;
                if (children_job != nullptr) {
                    AssignProcessToJobObject(children_job, process.hProcess);
                    ResumeThread(process.hThread);
                }
            } else {
                run.error = static_cast<int>(GetLastError());
            }
        }
        for (const HANDLE stream : streams) {
            if (stream != INVALID_HANDLE_VALUE) CloseHandle(stream);
        }
    }
    if (!run.started) return run;
    CloseHandle(process.hThread);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 0;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hProcess);
    run.status = status;
    return run;
}

bool transient_start_failure(int error) {
    // ERROR_INTERNAL_ERROR: Wine's CreateProcess fails so for a moment when
    // many processes start at once, and starts the same program next time.
    return error == ERROR_NOT_ENOUGH_MEMORY || error == ERROR_OUTOFMEMORY || error == ERROR_NO_SYSTEM_RESOURCES ||
           error == ERROR_COMMITMENT_LIMIT || error == ERROR_NOT_ENOUGH_QUOTA || error == ERROR_MAX_THRDS_REACHED ||
           error == ERROR_INTERNAL_ERROR;
}

bool ended_from_outside(const ChildRun& run) {
    return run.status == static_cast<std::uint32_t>(STATUS_CONTROL_C_EXIT);
}

std::string exit_text(const ChildRun& run) {
    char text[16];
    if (run.status >= 0xC0000000U) {
        std::snprintf(text, sizeof text, "%08lX", static_cast<unsigned long>(run.status));
    } else {
        std::snprintf(text, sizeof text, "%lu", static_cast<unsigned long>(run.status));
    }
    return text;
}

namespace {

// UTF-16 in the ANSI code page, when every character has its own there.
std::optional<std::string> in_ansi(const std::wstring& wide) {
    if (wide.empty()) return std::string();
    const int size = static_cast<int>(wide.size());
    BOOL lost = FALSE;
    const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0, nullptr, &lost);
    if (length <= 0 || lost) return std::nullopt;
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, text.data(), length, nullptr, &lost);
    if (lost) return std::nullopt;
    return text;
}

}  // namespace

std::optional<std::string> narrow_library_name(const ResolvedName& name) {
    const std::wstring wide = native_name(name.native);
    if (std::optional<std::string> ansi = in_ansi(wide)) return ansi;
    // A name beyond the code page may still have a short name within it.
    std::wstring short_name(MAX_PATH, L'\0');
    const DWORD length = GetShortPathNameW(wide.c_str(), short_name.data(), MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::nullopt;
    short_name.resize(length);
    return in_ansi(short_name);
}

}  // namespace wgn::io::platform
