// The command line of wgnrain-check:
//
//   wgnrain-check TABLE... [-o OUTDIR] [--model swatplus|swat2012] [--years N] [--seed N] [--table NAME]
//
//   wgnrain-check --help | --version
//
// OUTDIR defaults to check, the model to swatplus, the years to 1000 (1 ...
// 100000), the seed to 1 (any whole number 0 ... 2^64 - 1), the table of
// a database TABLE to wgn_cfsr_world (its stations NAME, months NAME_mon).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "check/model_parameters.hpp"
#include "problem/problem.hpp"

namespace wgn::check {

struct CheckOptions {
    std::vector<std::string> tables;
    std::string folder = "check";
    Model model = Model::swatplus;
    int years = 1000;
    std::uint64_t seed = 1;
    std::string database_table = "wgn_cfsr_world";
    bool help = false, version = false;
};

extern const char* const kCheckUsage;

Result<CheckOptions> parse_check_options(const std::vector<std::string>& arguments);

}  // namespace wgn::check
