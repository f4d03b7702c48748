#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each one for SECONDS on a
# working copy of its committed seed corpus.  Findings are left in
# build-fuzz/findings/TARGET/ and make the script fail.
#
#   tools/fuzz.sh [SECONDS]     (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
tools/install-deps.sh --with-checks
CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWGNRAIN_FUZZ=ON -DWGNRAIN_TESTS=OFF \
    -DWGNRAIN_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)" >/dev/null
status=0
for target in list_read field_read field_write series_read; do
    corpus=build-fuzz/corpus/$target
    findings=build-fuzz/findings/$target
    mkdir -p "$corpus" "$findings"
    cp fuzz/corpus/$target/* "$corpus/"
    if build-fuzz/fuzz/${target}_fuzz -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$findings/" "$corpus" >"build-fuzz/$target.log" 2>&1; then
        echo "fuzz $target: $(grep -E '^stat::number_of_executed_units' "build-fuzz/$target.log" | awk '{print $2}') runs," \
            "$(grep -oE 'cov: [0-9]+' "build-fuzz/$target.log" | tail -1), no finding"
    else
        echo "fuzz $target: FINDING, see $findings"; tail -30 "build-fuzz/$target.log"; status=1
    fi
done
exit $status
