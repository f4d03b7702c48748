#include "batch/program_name.hpp"

#include <string>

namespace wgn::batch {
namespace {

std::string& name() {
    static std::string program = "wgnrain-batch";
    return program;
}

}  // namespace

std::string_view program_name() {
    return name();
}

void set_program_name(std::string_view program) {
    name() = program;
}

}  // namespace wgn::batch
