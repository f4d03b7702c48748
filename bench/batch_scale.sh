#!/usr/bin/env bash
# Benchmark of a large station set: STATIONS stations (default 100000) that
# share 20 generated 30-year series, run by wgnrain-batch -j 2, against the
# same at 1,000 stations; then the large set once more, every station reused
# from the first run.  Prints the time per station and the batch's peak
# memory (GNU time's maximum resident set size) of each run.
#
#   bench/batch_scale.sh [BUILD_DIR] [STATIONS]
source "$(dirname "$0")/lib.sh"
build=$(realpath "${1:-$top/build-release}")
stations=${2:-100000}
ensure_built "$build" wgnrain-batch
[ -x /usr/bin/time ] || { apt-get install -y -qq time >/dev/null; }
cd "$work"

python3 - "$stations" "$top/bench" <<'PY'
import sys

sys.path.insert(0, sys.argv[2])
from series import write_station_set  # noqa: E402

write_station_set("large.csv", int(sys.argv[1]))
write_station_set("small.csv", 1000)
PY

measure() {  # LIST OUTDIR LABEL COUNT
    /usr/bin/time -f "%e %M" -o time.txt "$build/wgnrain-batch" "$1" -o "$2" -j 2 >/dev/null || true
    read -r elapsed peak <time.txt
    printf '  %-34s %8.1f s  %6.2f ms per station  peak %6.1f MB\n' "$3" "$elapsed" \
        "$(awk -v e="$elapsed" -v n="$4" 'BEGIN { print e * 1000 / n }')" "$(awk -v k="$peak" 'BEGIN { print k / 1024 }')"
}
echo "wgnrain-batch -j 2 on $(nproc) cores, 30-year series:"
measure small.csv small "1,000 stations" 1000
measure large.csv large "$stations stations" "$stations"
measure large.csv large "$stations stations, all reused" "$stations"
