#!/usr/bin/env bash
# Whole runs held to the floor: wgnrain and bench/floor (the same work done
# by the shortest program we could write) run in pairs, one after the other,
# on the bundled 30-year example, the 100-year Fort Collins record and a
# generated 1,000-year series.  Prints the median wall time of each, the
# median of the pairs' ratios (target: within 1.25), the peak memory of the
# runs, and the instructions per value of each series.
#
#   bench/bench.sh [BUILD_DIR] [DATA_DIR] [REPEAT]
source "$(dirname "$0")/lib.sh"
build=$(realpath "${1:-$top/build-release}")
data=$(realpath "${2:-$top/../shared/data}")
repeat=${3:-41}
ensure_built "$build" bench/paired
python3 "$top/bench/series.py" "$work/thousand.txt" 1000 1000

field() { sed -E "s/.*$1=([0-9.]+).*/\1/" <<<"$2"; }
printf '%-38s %10s %10s %7s %9s\n' "series" "wgnrain" "floor" "ratio" "peak"
for entry in "$top/examples/example-1991-2020.txt 1991" "$data/fort-collins-1900-1999.txt 1900" \
             "$work/thousand.txt 1000"; do
    set -- $entry
    [ -f "$1" ] || continue
    printf '%s\n' "$1" report.txt "$2" -99 >"$work/answers"
    pair=$("$build/bench/paired" "$repeat" "$work/answers" "$work" "$build/wgnrain" -- "$build/bench/floor")
    peak=$("$build/bench/measure" 3 "$work/answers" "$work" "$build/wgnrain")
    printf '%-38s %7.2f ms %7.2f ms %7.2f %6.1f MB\n' "$(basename "$1") ($(grep -c . "$1") values)" \
        "$(field a_ms "$pair")" "$(field b_ms "$pair")" "$(field ratio "$pair")" \
        "$(awk -v k="$(field peak_kb "$peak")" 'BEGIN { print k / 1024 }')"
done
echo
for entry in "$top/examples/example-1991-2020.txt 1991" "$data/fort-collins-1900-1999.txt 1900" \
             "$work/thousand.txt 1000"; do
    set -- $entry
    [ -f "$1" ] && "$top/bench/instructions.sh" "$build" "$1" "$2"
done
