#!/usr/bin/env bash
# Benchmark of filling by the nearest station: a made-up reference database
# of REFERENCE stations (default 180,000, a global grid of 300 x 600 points,
# the size of the global swatplus_wgn.sqlite) in the SWAT+ Editor's layout,
# and STATIONS generated 10-year records (default 1000) of precipitation and
# temperature at random places, run by wgnrain-batch -j 2 for the complete
# record without a fill_file and with fill_station nearest.  The two
# batches run in pairs REPEAT times (default 3); the difference of the
# medians per 1,000 stations is printed last.  CHECKED stations (default
# 100) have their nearest station found again by reading every reference
# station (Python's haversine).
#
#   bench/nearest.sh [BUILD_DIR] [STATIONS] [REPEAT] [CHECKED]
source "$(dirname "$0")/lib.sh"
build=$(realpath "${1:-$top/build-release}")
stations=${2:-1000}
repeat=${3:-3}
checked=${4:-100}
ensure_built "$build" wgnrain-batch
cd "$work"

python3 - "$stations" "$top/bench" <<'PY'
import os
import random
import sqlite3
import sys

sys.path.insert(0, sys.argv[2])
from series import write_record  # noqa: E402

COLUMNS = ["tmp_max_ave", "tmp_min_ave", "tmp_max_sd", "tmp_min_sd", "pcp_ave", "pcp_sd", "pcp_skew", "wet_dry",
           "wet_wet", "pcp_days", "pcp_hhr", "slr_ave", "dew_ave", "wnd_ave"]
db = sqlite3.connect("reference.sqlite")
db.execute("CREATE TABLE wgn_cfsr_world (id INTEGER NOT NULL PRIMARY KEY, name VARCHAR(255) NOT NULL, lat REAL NOT NULL,"
           " lon REAL NOT NULL, elev REAL NOT NULL, rain_yrs INTEGER NOT NULL)")
db.execute("CREATE TABLE wgn_cfsr_world_mon (id INTEGER NOT NULL PRIMARY KEY, wgn_id INTEGER NOT NULL, month INTEGER "
           "NOT NULL, " + ", ".join(f"{c} REAL NOT NULL" for c in COLUMNS) + ")")
rows, months = [], []
for i in range(300):
    for j in range(600):
        n = len(rows) + 1
        lat, lon = round(-89.7 + 0.6 * i, 4), round(-179.7 + 0.6 * j, 4)
        rows.append((n, f"g{n}", lat, lon, 100.0, 30))
        months += [(n, m, 20.0, 5.0, 3.0, 2.0, 60.0, 9.0, 1.2, 0.2, 0.5, 8.0, 9.0, 15.0 + m / 10, 5.0, 3.0)
                   for m in range(1, 13)]
db.executemany("INSERT INTO wgn_cfsr_world VALUES (?, ?, ?, ?, ?, ?)", rows)
db.executemany("INSERT INTO wgn_cfsr_world_mon (wgn_id, month, " + ", ".join(COLUMNS) + ") VALUES (" +
               ", ".join(["?"] * 16) + ")", months)
db.execute("CREATE INDEX wgn_cfsr_world_mon_wgn_id ON wgn_cfsr_world_mon (wgn_id)")
db.commit()
rng = random.Random(30)
os.mkdir("records")
# The batch without the nearest fill fills the same variables by name from a
# weather-wgn.cli of one station: the same complete records and model files.
with open("one.cli", "w") as one:
    one.write("weather-wgn.cli: one reference station\ng1 -89.7 -179.7 100.0 30\n" + " ".join(COLUMNS) + "\n")
    for m in range(1, 13):
        one.write(" ".join(str(v) for v in months[m - 1][2:]) + "\n")
with open("plain.csv", "w") as plain, open("nearest.csv", "w") as nearest:
    plain.write("station,file,format,nodata,lat,lon,elev,fill_file,fill_station\n")
    nearest.write("station,file,format,nodata,lat,lon,elev,fill_file,fill_station\n")
    for n in range(int(sys.argv[1])):
        name = f"st{n:04d}"
        write_record(f"records/{name}.csv", f"records/{name}.txt", 2001, 10, n)
        lat, lon = round(rng.uniform(-80, 80), 4), round(rng.uniform(-180, 180), 4)
        plain.write(f"{name},records/{name}.csv,csv,-99,{lat},{lon},200,one.cli,g1\n")
        nearest.write(f"{name},records/{name}.csv,csv,-99,{lat},{lon},200,reference.sqlite,nearest\n")
PY

plain_times=() nearest_times=()
for run in $(seq "$repeat"); do
    plain_times+=("$(batch_seconds "$build" plain.csv "plain-out-$run")")
    nearest_times+=("$(batch_seconds "$build" nearest.csv "nearest-out-$run")")
done
# Every station filled, and the nearest of CHECKED of them found again by reading every reference station.
python3 - "$checked" "nearest-out-$repeat" <<'PY'
import csv
import math
import sqlite3
import sys

reference = sqlite3.connect("reference.sqlite").execute("SELECT name, lat, lon FROM wgn_cfsr_world ORDER BY id").fetchall()
rows = list(csv.DictReader(open(sys.argv[2] + "/summary.csv")))
filled = [r for r in rows if r["status"] == "ok" and r["fill_station"] and r["missing_variables"] == ""]
if len(filled) != len(rows):
    sys.exit(f"{len(rows) - len(filled)} stations not filled")


def km(lat1, lon1, lat2, lon2):
    f1, f2 = math.radians(lat1), math.radians(lat2)
    a = math.sin((f2 - f1) / 2) ** 2 + math.cos(f1) * math.cos(f2) * math.sin(math.radians(lon2 - lon1) / 2) ** 2
    return 2 * 6371.0 * math.asin(min(1.0, math.sqrt(a)))


for row in rows[:int(sys.argv[1])]:
    lat, lon = float(row["lat"]), float(row["lon"])
    best = min(reference, key=lambda r: km(lat, lon, r[1], r[2]))
    want = (best[0], f"{km(lat, lon, best[1], best[2]):.3f}")
    if (row["fill_station"], row["fill_km"]) != want:
        sys.exit(f"{row['station']}: {row['fill_station']} {row['fill_km']}, expected {want}")
print(f"  {len(rows)} stations filled; the nearest of {min(len(rows), int(sys.argv[1]))} found again by reading "
      "every reference station")
PY
plain_median=$(printf '%s\n' "${plain_times[@]}" | median)
nearest_median=$(printf '%s\n' "${nearest_times[@]}" | median)
printf '%d generated 10-year stations, a reference of %s stations, wgnrain-batch -j 2 on %d cores, median of %d pairs:\n' \
    "$stations" "$(python3 -c 'import sqlite3; print(sqlite3.connect("reference.sqlite").execute("SELECT count(*) FROM wgn_cfsr_world").fetchone()[0])')" \
    "$(nproc)" "$repeat"
printf '  filled by name, one-station .cli: %7.2f s\n' "$plain_median"
printf '  filled from the nearest station : %7.2f s\n' "$nearest_median"
printf '  the fill, per 1,000 stations    : %7.2f s\n' \
    "$(awk -v a="$nearest_median" -v b="$plain_median" -v n="$stations" 'BEGIN { print (a - b) * 1000 / n }')"
