#!/usr/bin/env bash
# Benchmark of the overview page: a batch of STATIONS stations (default 1000)
# sharing 20 generated 30-year series, with positions, so that each has the
# complete record's notes; then the size of index.html and the time headless
# Chromium takes to load and lay it out (--dump-dom, median of REPEAT, less
# the time it takes for an empty page).
#
#   bench/page.sh [BUILD_DIR] [STATIONS] [REPEAT]
source "$(dirname "$0")/lib.sh"
build=$(realpath "${1:-$top/build-release}")
stations=${2:-1000}
repeat=${3:-5}
ensure_built "$build" wgnrain-batch
command -v chromium >/dev/null || apt-get install -y -qq chromium >/dev/null
cd "$work"

python3 - "$stations" "$top/bench" <<'PY'
import sys

sys.path.insert(0, sys.argv[2])
from series import write_station_set  # noqa: E402

write_station_set("stations.csv", int(sys.argv[1]), ",lat,lon,elev", ",52.1,5.18,2")
PY
"$build/wgnrain-batch" stations.csv -o out -j 2 >/dev/null 2>&1 || true
echo '<!DOCTYPE html><html><body></body></html>' >empty.html

load() {  # PAGE: seconds for Chromium to load and lay out the page
    local start end
    start=$(date +%s%N)
    chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run --disable-background-networking \
        --disable-component-update --disable-sync --user-data-dir="$work/profile" --dump-dom "file://$work/$1" \
        >/dev/null 2>&1
    end=$(date +%s%N)
    awk -v ns=$((end - start)) 'BEGIN { printf "%.3f\n", ns / 1e9 }'
}
empty=$(for _ in $(seq "$repeat"); do load empty.html; done | median)
page=$(for _ in $(seq "$repeat"); do load out/index.html; done | median)
size=$(stat -c %s out/index.html)
printf '%d stations: index.html %.1f MB; Chromium loads and lays it out in %.2f s (%.2f s with its start, %.2f s for an empty page)\n' \
    "$stations" "$(awk -v b="$size" 'BEGIN { print b / 1048576 }')" \
    "$(awk -v a="$page" -v b="$empty" 'BEGIN { print a - b }')" "$page" "$empty"
