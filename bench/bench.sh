#!/usr/bin/env bash
# Benchmark of whole runs, each measured beside the floor it is held to:
#  - the 100-year Fort Collins record end to end, against a bare one-pass
#    read-and-convert of the same file (target: within 3x), and its peak
#    memory (target: under 20 MB);
#  - the bundled 30-year example, against the start of a trivial process
#    (target: within 2x);
#  - all real stations one after another as a batch, as a script would run them.
# Median wall times over REPEAT runs.
#
#   bench/bench.sh [BUILD_DIR] [DATA_DIR] [REPEAT]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$top/build-release}")
data=$(realpath "${2:-$top/../shared/data}")
repeat=${3:-31}
if [ ! -x "$build/bench/measure" ]; then
    cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$build" -j"$(nproc)" >/dev/null
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
measure() { "$build/bench/measure" "$repeat" "$@"; }
field() { sed -E "s/.*$1=([0-9.]+).*/\1/" <<<"$2"; }

answers() { printf '%s\n' "$1" report.txt "$2" -99 >"$work/answers"; }
fc="$data/fort-collins-1900-1999.txt"
answers "$fc" 1900
run=$(measure "$work/answers" "$work" "$build/wgnrain")
: >"$work/empty"
bare=$(measure "$work/empty" "$work" "$build/bench/bare_read" "$fc")
answers "$top/examples/example-1991-2020.txt" 1991
example=$(measure "$work/answers" "$work" "$build/wgnrain")
trivial=$(measure "$work/empty" "$work" "$build/bench/trivial_process")

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
printf 'Fort Collins 1900-1999 (36524 values), whole run : %8.3f ms  peak %6.2f MB (target < 20)\n' \
    "$(field median_ms "$run")" "$(awk -v k="$(field peak_kb "$run")" 'BEGIN { print k / 1024 }')"
printf '  bare read-and-convert of the same file          : %8.3f ms  ratio %s (target <= 3)\n' \
    "$(field median_ms "$bare")" "$(ratio "$(field median_ms "$run")" "$(field median_ms "$bare")")"
printf 'Bundled example 1991-2020 (10958 values)          : %8.3f ms\n' "$(field median_ms "$example")"
printf '  start of a trivial process                      : %8.3f ms  ratio %s (target <= 2)\n' \
    "$(field median_ms "$trivial")" "$(ratio "$(field median_ms "$example")" "$(field median_ms "$trivial")")"

# The batch: every station, one run after another, as a script would do it.
stations=("$data"/*.txt "$data"/knmi/*.txt)
best=""
for _ in 1 2 3 4 5; do
    start=$(date +%s%N)
    for f in "${stations[@]}"; do
        first=$(basename "$f" .txt | grep -oE '[0-9]{4}-[0-9]{4}$' | cut -d- -f1)
        (cd "$work" && printf '%s\n' "$f" report.txt "$first" -99 | "$build/wgnrain" >/dev/null)
    done
    elapsed=$(( ($(date +%s%N) - start) / 1000 ))
    { [ -z "$best" ] || [ "$elapsed" -lt "$best" ]; } && best=$elapsed
done
values=$(cat "${stations[@]}" | wc -l)
printf 'Batch of %d stations (%d values), by script    : %8.3f ms (best of 5, shell included)\n' \
    "${#stations[@]}" "$values" "$(awk -v u="$best" 'BEGIN { print u / 1000 }')"
