#!/usr/bin/env bash
# Benchmark of many stations: STATIONS generated 30-year series (default
# 1000), run by wgnrain-batch with -j 2 and by the sequential shell loop of
# README, each timed REPEAT times (median).  The two must agree: the loop's
# reports are compared with the batch's.
#
#   bench/batch.sh [BUILD_DIR] [STATIONS] [REPEAT]
source "$(dirname "$0")/lib.sh"
build=$(realpath "${1:-$top/build-release}")
stations=${2:-1000}
repeat=${3:-3}
ensure_built "$build" wgnrain-batch
cd "$work"

# Series like a wet temperate station (bench/series.py), one seed each.
python3 - "$stations" "$top/bench" <<'PY'
import os
import sys

sys.path.insert(0, sys.argv[2])
from series import write_series  # noqa: E402

os.mkdir("series")
with open("batch.csv", "w") as batch, open("loop.csv", "w") as loop:
    batch.write("station,file,first_year,nodata\n")
    for n in range(int(sys.argv[1])):
        name = f"st{n:04d}"
        write_series(f"series/{name}.txt", 1991, 30, n)
        batch.write(f"{name},series/{name}.txt,1991,-99\n")
        loop.write(f"series/{name}.txt,1991,-99\n")
PY

seconds() {
    local start end
    start=$(date +%s%N)
    "$@"
    end=$(date +%s%N)
    awk -v ns=$((end - start)) 'BEGIN { printf "%.3f", ns / 1e9 }'
}

# Each run writes a folder of its own, nothing deleted until the end (as in
# lib.sh's batch_seconds).
loop() {
    local out=out-$run wgnrain=$build/wgnrain
    while IFS=, read -r file first_year nodata; do
        name=$(basename "$file" .txt)
        mkdir -p "$out/$name"
        printf '%s\n' "$(realpath "$file")" report.txt "$first_year" "$nodata" |
            (cd "$out/$name" && "$wgnrain" >console.txt)
    done <loop.csv
}
batch() {
    "$build/wgnrain-batch" batch.csv -o "batch-out-$run" -j 2 >/dev/null
}

loop_times=() batch_times=()
for run in $(seq "$repeat"); do
    loop_times+=("$(seconds loop)")
    batch_times+=("$(seconds batch)")
done
for station in "out-$repeat"/*; do
    cmp -s "$station/mean_pcp.sta" "batch-out-$repeat/${station#out-"$repeat"/}/mean_pcp.sta" ||
        { echo "tables differ for ${station#out-"$repeat"/}"; exit 1; }
done
loop_median=$(printf '%s\n' "${loop_times[@]}" | median)
batch_median=$(printf '%s\n' "${batch_times[@]}" | median)
printf '%d generated 30-year stations, median of %d:\n' "$stations" "$repeat"
printf '  README shell loop, one after another : %7.2f s\n' "$loop_median"
printf '  wgnrain-batch -j 2                   : %7.2f s  (%.1fx faster, %d cores here)\n' "$batch_median" \
    "$(awk -v a="$loop_median" -v b="$batch_median" 'BEGIN { print a / b }')" "$(nproc)"
