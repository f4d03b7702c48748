#!/usr/bin/env bash
# Machine instructions per daily value, counted by callgrind: deterministic,
# unlike wall time on a shared machine.  A whole wgnrain run and the floor
# program on the same series.
#
#   bench/instructions.sh [BUILD_DIR] [SERIES FIRST_YEAR]
#   (default: the Fort Collins record, 1900)
source "$(dirname "$0")/lib.sh"
build=$(realpath "${1:-$top/build-release}")
series=$(realpath "${2:-$top/../shared/data/fort-collins-1900-1999.txt}")
first=${3:-1900}
if ! command -v valgrind >/dev/null; then
    [ "$(id -u)" = 0 ] && sudo= || sudo=sudo
    $sudo apt-get install -y -qq valgrind >/dev/null
fi
ensure_built "$build" bench/floor
printf '%s\n' "$series" report.txt "$first" -99 >"$work/answers"
values=$(grep -c . "$series")
count() {
    (cd "$work" && valgrind --tool=callgrind --callgrind-out-file="$work/out" "$1" <"$work/answers" \
        >/dev/null 2>"$work/log")
    sed -nE 's/.*Collected : ([0-9]+).*/\1/p' "$work/log"
}
run=$(count "$build/wgnrain")
floor=$(count "$build/bench/floor")
awk -v r="$run" -v f="$floor" -v n="$values" -v name="$(basename "$series")" 'BEGIN {
    printf "%s, %d values: wgnrain %.1f M instructions, %.0f per value (target <= 350); floor %.0f per value; ratio %.2f\n",
        name, n, r / 1e6, r / n, f / n, r / f }'
