// The command line of wgnrain-batch.
//
//   wgnrain-batch stations.csv -o out          -> list "stations.csv", folder "out", jobs 0 (one per processor)
//   wgnrain-batch -j 2 -o out stations.csv     -> the same with two jobs
//   wgnrain-batch stations.csv                 -> error: "no output folder (-o OUTDIR)"
#pragma once

#include <span>
#include <string>

namespace wgn::batch {

struct BatchOptions {
    enum class Action { run, help, version, refuse } action = Action::run;
    std::string list;
    std::string output_folder;
    unsigned jobs = 0;  // 0: as many as there are processors
    std::string error;  // why the line was refused
};

BatchOptions parse_options(std::span<char* const> arguments);

extern const char* const kBatchUsage;

}  // namespace wgn::batch
