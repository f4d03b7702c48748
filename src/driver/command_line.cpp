#include "driver/command_line.hpp"

#include <string>
#include <string_view>

#include "io/platform.hpp"

namespace wgn {
namespace {

// The help in four pieces; the first, third and fourth say it the way of
// the system the program runs on.
constexpr std::string_view kUsageLine = "Usage: wgnrain [--help | --version]\n";
constexpr std::string_view kWindowsUsageLine = "Usage: wgnrain.exe [--help | /? | --version]\n";

constexpr std::string_view kDescription =
    "\n"
    "wgnrain derives the monthly precipitation parameters of the SWAT weather\n"
    "generator (PCP_MM, PCPSTD, PCPSKW, PR_W1, PR_W2, PCPD) from a series of daily\n"
    "precipitation values: a text file with one value per line, from 1 January of\n"
    "the first year on.\n"
    "\n"
    "Started without arguments, it asks four questions on the console; the answers\n"
    "may come from a pipe or a file, one per line:\n"
    "  Input Filename               the file of daily values\n"
    "  Output Filename              the statistics report (not the input file, nor\n"
    "                               one of the two tables)\n"
    "  First year of period (yyyy)  the calendar year of the first value\n"
    "  NoData value                 the value that marks a missing day, e.g. -99\n"
    "\n"
    "It writes the report, and two year-by-month tables into the working directory:\n"
    "mean_pcp.sta (average daily precipitation) and totalpcp.sta (monthly totals).\n"
    "\n";

constexpr std::string_view kStatusAndExample =
    "Exit status: 0 after a complete run.  A failure ends the run with a report on\n"
    "standard error and the report's number as status (24 end of file, 29 a missing\n"
    "folder, 64 a value that is not a number, ...; on Windows C0000000 plus that\n"
    "number); 3 after the math report; 128 plus the signal's number after an\n"
    "interrupt (on Windows C000013A after Ctrl-C); 2 for a wrong argument.\n"
    "\n"
    "Example:\n"
    "  printf '%s\\n' station.txt report.txt 1991 -99 | wgnrain\n";

// cmd and PowerShell: the answers come from a file, the status is read as
// %ERRORLEVEL% (a signed decimal number there).
constexpr std::string_view kWindowsStatusAndExample =
    "Exit status (%ERRORLEVEL% in cmd, $LASTEXITCODE in PowerShell): 0 after a\n"
    "complete run.  A failure ends the run with a report on standard error and\n"
    "C0000000 (hexadecimal) plus the report's number as status: C0000018 is\n"
    "report 24 (end of file), -1073741800 in %ERRORLEVEL%; C000001D report 29 (a\n"
    "missing folder); C0000040 report 64 (a value that is not a number).  3 after\n"
    "the math report; C000013A (-1073741510) after Ctrl-C; 2 for a wrong argument.\n"
    "\n"
    "Example (answers.txt holds the four answers, one per line):\n"
    "  wgnrain.exe < answers.txt\n"
    "  if %ERRORLEVEL% neq 0 echo wgnrain failed\n";

constexpr std::string_view kOptions =
    "\n"
    "Options:\n"
    "  --help     show this text\n"
    "  --version  show the version\n";
constexpr std::string_view kWindowsOptions =
    "\n"
    "Options:\n"
    "  --help, /?  show this text\n"
    "  --version   show the version\n";

std::string usage() {
    const bool windows = io::platform::kWindowsConventions;
    std::string text(windows ? kWindowsUsageLine : kUsageLine);
    text.append(kDescription);
    text.append(windows ? kWindowsStatusAndExample : kStatusAndExample);
    text.append(windows ? kWindowsOptions : kOptions);
    return text;
}

}  // namespace

int answer_arguments(std::span<const std::string> arguments) {
    const std::string_view first = arguments.front();
    if (arguments.size() == 1 && io::platform::asks_for_help(first)) {
        return io::platform::write_standard_output(usage()) ? 0 : 1;
    }
    if (arguments.size() == 1 && first == "--version") {
        return io::platform::write_standard_output("wgnrain " WGNRAIN_VERSION "\n") ? 0 : 1;
    }
    std::string line = "wgnrain: unknown argument '";
    line.append(first);
    line.append("' (a run takes no arguments; see 'wgnrain --help')\n");
    io::platform::write_error_output(line);
    return 2;
}

}  // namespace wgn
