#!/usr/bin/env bash
# Benchmark of gridded data: a generated grid of CELLS cells (default 2000)
# of YEARS years (default 30) with precipitation and the daily maximum and
# minimum temperature (bench/make_grid.py), run by wgnrain-grid -j 2 --keep
# none (the complete record of every cell), paired with wgnrain-batch -j 2
# on the same precipitation as plain series, each REPEAT times (default 3).
# The two must agree: the cells' precipitation parameters
# (userwgn_pcp.csv) equal the plain batch's.  Prints the seconds per cell
# of each, the grid run's peak memory, and last the ratio of the medians.
# PAIRED=no runs the grid alone (for the memory of a large grid).
#
#   bench/grid.sh [BUILD_DIR] [CELLS] [YEARS] [REPEAT]
source "$(dirname "$0")/lib.sh"
build=$(realpath "${1:-$top/build-release}")
cells=${2:-2000}
years=${3:-30}
repeat=${4:-3}
ensure_built "$build" wgnrain-grid
cd "$work"

# The grid: rows of 50 cells; the plain stations named as the cells are.
columns=50
rows=$(((cells + columns - 1) / columns))
mkdir plain
python3 "$top/bench/make_grid.py" grid.nc "$rows" "$columns" 1991 "$years" --climates 50 --plain plain
python3 - "$rows" "$columns" "$cells" <<'PY'
import struct
import sys

rows, columns, cells = (int(a) for a in sys.argv[1:])


def f32(x):
    return struct.unpack("<f", struct.pack("<f", x))[0]


with open("plain.csv", "w") as f:
    f.write("station,file,first_year,nodata\n")
    for k in range(rows * columns):
        lat, lon = f32(60 - 0.1 * (k // columns)), f32(-10 + 0.1 * (k % columns))
        name = f"{abs(lat):.3f}{'N' if lat >= 0 else 'S'}_{abs(lon):.3f}{'E' if lon >= 0 else 'W'}"
        f.write(f"{name},plain/c{k % 50:02d}.txt,1991,-99\n")
PY
[ "$rows" -eq $((cells / columns)) ] || echo "grid.sh: $((rows * columns)) cells (whole rows of $columns)"
cells=$((rows * columns))

grid_times=() batch_times=() peak=0
for run in $(seq "$repeat"); do
    start=$(date +%s%N)
    /usr/bin/time -f %M -o memory.txt "$build/wgnrain-grid" grid.nc -o "grid-out-$run" -j 2 --keep none >/dev/null 2>&1 ||
        { echo "grid.sh: wgnrain-grid failed" >&2; exit 1; }
    end=$(date +%s%N)
    grid_times+=("$(awk -v ns=$((end - start)) 'BEGIN { printf "%.3f", ns / 1e9 }')")
    kb=$(tail -n 1 memory.txt)
    [ "$kb" -gt "$peak" ] && peak=$kb
    [ "${PAIRED:-yes}" = no ] || batch_times+=("$(batch_seconds "$build" plain.csv "batch-out-$run")")
done
grid_median=$(printf '%s\n' "${grid_times[@]}" | median)
echo "grid $cells cells x $years years, -j 2: ${grid_times[*]} s (median $grid_median s," \
    "$(awk -v s="$grid_median" -v n="$cells" 'BEGIN { printf "%.2f", 1000 * s / n }') ms a cell), peak $((peak / 1024)) MB"
[ "${PAIRED:-yes}" = no ] && exit 0
cmp -s "grid-out-$repeat/userwgn_pcp.csv" "batch-out-$repeat/userwgn_pcp.csv" ||
    { echo "grid.sh: the cells' precipitation parameters differ from the plain batch's" >&2; exit 1; }

batch_median=$(printf '%s\n' "${batch_times[@]}" | median)
echo "plain batch of the same precipitation: ${batch_times[*]} s (median $batch_median s," \
    "$(awk -v s="$batch_median" -v n="$cells" 'BEGIN { printf "%.2f", 1000 * s / n }') ms a station)"
awk -v g="$grid_median" -v b="$batch_median" 'BEGIN { printf "grid / plain batch: %.2f\n", g / b }'
