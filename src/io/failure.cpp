#include "io/failure.hpp"

#include <string>

#include "io/platform.hpp"
#include "io/units.hpp"
#include "io/wgnrain_facts.hpp"

namespace wgn::io {
namespace {

const char* report_text(int number) {
    switch (number) {
        case kPermissionDenied: return "permission to access file denied";
        case kRewindError: return "REWIND error";
        case kEndOfFile: return "end-of-file during read";
        case kFileNotFound: return "file not found";
        case kOpenFailure: return "open failure";
        case kWriteError: return "error during write";
        case kReadError: return "error during read";
        case kNoSuchDevice: return "no such device";
        case kFileNameError: return "file name specification error";
        case kReadOnlyWrite: return "write to READONLY file";
        case kListSyntaxError: return "list-directed I/O syntax error";
        case kConversionError: return "input conversion error";
        default: return "unexpected failure";
    }
}

}  // namespace

void write_runlib_line(std::string_view text) {
    std::string line(facts::kRunlibPrefix);
    line.append(text);
    line.append("\r\n");
    platform::write_error_output(line);
}

void fail(int number, int unit, std::string_view file, int platform_error) {
    if (platform_error != 0) write_runlib_line(platform::reason_text(platform_error));
    std::string line = "severe (" + std::to_string(number) + "): " + report_text(number) + ", unit " +
                       std::to_string(unit) + ", file ";
    line.append(file);
    write_runlib_line(line);
    end_run(platform::failure_status(number));
}

void fail_insufficient_memory() {
    // Made without allocating: memory has just run out.
    platform::write_error_output("runlib: severe (41): insufficient virtual memory\r\n");
    end_run(kInsufficientMemory);
}

void fail_math_domain(std::string_view function) {
    std::string text = "\r\nrun-time error M6201: MATH\r\n- ";
    text.append(function);
    text.append(": DOMAIN error\r\n");
    platform::write_error_output(text);
    end_run(3);
}

void end_run(std::uint32_t status) {
    close_all_units();
    platform::end_process(status);
}

}  // namespace wgn::io
