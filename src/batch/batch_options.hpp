// The command line of wgnrain-batch.
//
//   wgnrain-batch stations.csv -o out          -> list "stations.csv", folder "out", jobs 0 (one per processor)
//   wgnrain-batch -j 2 -o out stations.csv     -> the same with two jobs
//   wgnrain-batch stations.csv                 -> problem: "no output folder (-o OUTDIR)"
//   wgnrain-batch s.csv -o out --shard 2/3     -> the stations 2, 5, 8, ... of the list (counted from 1)
//   wgnrain-batch s.csv -o out --merge         -> no run: the tables of the whole list from the folders
//   wgnrain-batch s.csv -o out --sqlite w.sqlite --table ftc
//                                              -> and the complete stations into tables ftc, ftc_mon of w.sqlite
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include <vector>

#include "problem/problem.hpp"

namespace wgn::batch {

struct BatchOptions {
    enum class Action { run, help, version } action = Action::run;
    std::string list;
    std::string output_folder;
    unsigned jobs = 0;                         // 0: as many as there are processors
    bool rerun = false;                        // run every station, whatever an earlier batch left
    bool strict = false;                       // a station with warnings counts as failed
    bool merge = false;                        // run nothing, make the tables
    unsigned shard = 1, shards = 1;            // run the shard-th of `shards` interleaved parts
    bool check = false;                        // run wgnrain-check on the batch's weather-wgn.cli
    std::vector<std::string> check_arguments;  // --model, --years, --seed and their values, for the check
    std::string sqlite;                        // the database file the stations go into; empty: none
    std::string table = "wgnrain";             // its table of stations (and TABLE_mon)
    // The files a finished station's folder keeps: all; only the record
    // (run.txt, report.txt and coverage.csv, from which the tables and a
    // later batch read it) for a station that succeeded; only the record for
    // every station.
    enum class Keep { all, failed, none } keep = Keep::all;
};

// The --keep value's meaning, or nothing: "all", "failed", "none".
std::optional<BatchOptions::Keep> keep_named(std::string_view name);

// The options, or why the command line is refused.
Result<BatchOptions> parse_options(std::span<const std::string> arguments);

extern const char* const kBatchUsage;
// The help as this system shows it: kBatchUsage, on Windows with cmd's ways.
std::string batch_usage();

}  // namespace wgn::batch
