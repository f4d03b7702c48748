// Starts a program the way a Windows shell does and records its full 32-bit
// exit status, which a POSIX parent of Wine sees only in its low 8 bits.
//
//   launch.exe STATUS_FILE [--hold FILE] [NAME=VALUE]... -- PROGRAM [ARGUMENT]...
//
// The program inherits the standard handles and the working folder.  NAME=VALUE
// sets a variable of its environment (TMP, TEMP); --hold keeps FILE open
// without sharing while the program runs, so that the program's open of it
// meets a sharing violation.  STATUS_FILE receives the status as eight
// hexadecimal digits ("C000001D").
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

// One argument of a command line, quoted the way CommandLineToArgvW reads it.
std::wstring quoted(const std::wstring& argument) {
    std::wstring text = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        text.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        text.push_back(c);
    }
    text.append(2 * backslashes, L'\\');
    text.push_back(L'"');
    return text;
}

int usage() {
    std::fputs("usage: launch STATUS_FILE [--hold FILE] [NAME=VALUE]... -- PROGRAM [ARGUMENT]...\n", stderr);
    return 2;
}

}  // namespace

int main() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr || count < 4) return usage();
    const std::wstring status_file = arguments[1];
    int next = 2;
    HANDLE held = INVALID_HANDLE_VALUE;
    for (; next < count && std::wstring(arguments[next]) != L"--"; ++next) {
        const std::wstring argument = arguments[next];
        if (argument == L"--hold" && next + 1 < count) {
            held = CreateFileW(arguments[++next], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
            if (held == INVALID_HANDLE_VALUE) return usage();
            continue;
        }
        const std::size_t equals = argument.find(L'=');
        if (equals == std::wstring::npos) return usage();
        SetEnvironmentVariableW(argument.substr(0, equals).c_str(), argument.substr(equals + 1).c_str());
    }
    if (next + 1 >= count) return usage();
    std::wstring command_line;
    for (int i = next + 1; i < count; ++i) command_line += (command_line.empty() ? L"" : L" ") + quoted(arguments[i]);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    if (CreateProcessW(arguments[next + 1], command_line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                       &process) == 0) {
        std::fprintf(stderr, "launch: cannot start the program (system error %lu)\n", GetLastError());
        return 2;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 0;
    GetExitCodeProcess(process.hProcess, &status);
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);

    char text[16];
    const int length = std::snprintf(text, sizeof text, "%08lX\n", status);
    const HANDLE file =
        CreateFileW(status_file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    if (file == INVALID_HANDLE_VALUE || WriteFile(file, text, static_cast<DWORD>(length), &written, nullptr) == 0)
        return 2;
    CloseHandle(file);
    return static_cast<int>(status & 0xFF);
}
