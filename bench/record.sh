#!/usr/bin/env bash
# Benchmark of the complete weather-generator record: STATIONS generated
# 30-year csv records (default 200) of every variable (precipitation,
# maximum and minimum temperature, radiation, humidity, wind), run by
# wgnrain-batch -j 2 for the complete record, against the plain batch of
# the same stations' precipitation alone.  The two batches run in pairs,
# one right after the other, REPEAT times (default 5), so that a busy
# machine disturbs both alike; the ratio of the medians is printed last.
# Both must give the same precipitation tables.
#
#   bench/record.sh [BUILD_DIR] [STATIONS] [REPEAT]
source "$(dirname "$0")/lib.sh"
build=$(realpath "${1:-$top/build-release}")
stations=${2:-200}
repeat=${3:-5}
ensure_built "$build" wgnrain-batch
cd "$work"

python3 - "$stations" "$top/bench" <<'PY'
import os
import sys

sys.path.insert(0, sys.argv[2])
from series import write_record  # noqa: E402

os.mkdir("records")
with open("record.csv", "w") as record, open("plain.csv", "w") as plain:
    record.write("station,file,format,nodata,lat,lon,elev\n")
    plain.write("station,file,first_year,nodata\n")
    for n in range(int(sys.argv[1])):
        name = f"st{n:04d}"
        write_record(f"records/{name}.csv", f"records/{name}.txt", 1991, 30, n)
        record.write(f"{name},records/{name}.csv,csv,-99,45.{n % 100:02d},6.5,{200 + n % 700}\n")
        plain.write(f"{name},records/{name}.txt,1991,-99\n")
PY

plain_times=() record_times=()
for run in $(seq "$repeat"); do
    plain_times+=("$(batch_seconds "$build" plain.csv "plain-out-$run")")
    record_times+=("$(batch_seconds "$build" record.csv "record-out-$run")")
done
for station in "plain-out-$repeat"/st*; do
    cmp -s "$station/mean_pcp.sta" "record-out-$repeat/${station#plain-out-"$repeat"/}/mean_pcp.sta" ||
        { echo "tables differ for ${station#plain-out-"$repeat"/}"; exit 1; }
done
complete=$(grep -c ',ok,' "record-out-$repeat/summary.csv" || true)
plain_median=$(printf '%s\n' "${plain_times[@]}" | median)
record_median=$(printf '%s\n' "${record_times[@]}" | median)
printf '%d generated 30-year stations, wgnrain-batch -j 2 on %d cores, median of %d pairs:\n' \
    "$stations" "$(nproc)" "$repeat"
printf '  plain batch, precipitation only : %7.2f s  %6.2f ms per station\n' "$plain_median" \
    "$(awk -v t="$plain_median" -v n="$stations" 'BEGIN { print t * 1000 / n }')"
printf '  complete record, every variable : %7.2f s  %6.2f ms per station\n' "$record_median" \
    "$(awk -v t="$record_median" -v n="$stations" 'BEGIN { print t * 1000 / n }')"
printf '  ratio of the medians            : %7.2f\n' \
    "$(awk -v a="$record_median" -v b="$plain_median" 'BEGIN { print a / b }')"
