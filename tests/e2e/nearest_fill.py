"""Filling the complete record from a reference by the nearest station, and
wgnrain-check on a database:

  - a made-up reference database in the SWAT+ Editor's layout (table T with
    T_mon, made with Python's sqlite3), its stations across the antimeridian
    and near the north pole: each station takes the station an independent
    haversine over every reference station finds, the summary gives its name
    and distance (km, three decimals);
  - the values as the database's shortest texts of its doubles: the model
    files equal those of a weather-wgn.cli of the same texts, byte for byte
    (0.000015 is written 0.00002, as its text rounds);
  - fill_max_km: a reference farther away refused with its distance, a larger
    bound taking it; no position refused; fill_table naming another pair;
  - wgnrain-check on the database: every station audited, a missing table
    named with the tables there are.

    nearest_fill.py path/to/wgnrain-batch path/to/wgnrain-check
"""
import csv
import datetime
import io
import math
import os
import sqlite3
import sys
import tempfile
from decimal import Decimal

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import program  # noqa: E402

batch_binary = os.path.abspath(sys.argv[1])
check_binary = os.path.abspath(sys.argv[2])
work = os.path.realpath(tempfile.mkdtemp(prefix="wgnnearest"))
tmp = os.path.join(work, "tmp")
os.mkdir(tmp)
failures = []
COLUMNS = ["tmp_max_ave", "tmp_min_ave", "tmp_max_sd", "tmp_min_sd", "pcp_ave", "pcp_sd", "pcp_skew", "wet_dry",
           "wet_wet", "pcp_days", "pcp_hhr", "slr_ave", "dew_ave", "wnd_ave"]


def expect(what, got, want):
    if got != want:
        failures.append(f"{what}: got {repr(got)[:300]}, expected {repr(want)[:300]}")


def write(name, lines):
    with open(os.path.join(work, name), "w") as f:
        f.write("\n".join(lines) + "\n")


def read(*parts):
    with open(os.path.join(work, *parts), newline="") as f:
        return f.read()


def run(binary, *arguments):
    status, out, err = program.run(binary, b"", work, tmp, arguments=list(arguments))
    return status, out.decode(), err.decode()


def haversine(lat1, lon1, lat2, lon2):
    f1, f2 = math.radians(lat1), math.radians(lat2)
    a = math.sin((f2 - f1) / 2) ** 2 + math.cos(f1) * math.cos(f2) * math.sin(math.radians(lon2 - lon1) / 2) ** 2
    return 2 * 6371.0 * math.asin(min(1.0, math.sqrt(a)))


# The reference: name, lat, lon, and the 14 values of each month (slr_ave,
# dew_ave and wnd_ave are what the stations lack).
REFERENCE = [
    ("east_side", 10.0, 179.9), ("west_side", 10.0, -179.6), ("origin", 0.0, 0.0),
    ("pole_a", 89.95, 10.0), ("pole_b", 89.9, -170.0), ("south", -38.0, 101.0),
]


def values(s, m):
    row = [20.0 + m, 5.0, 2.5, 2.0, 50.0, 8.0, 1.5, 0.2, 0.5, 6.0, 10.0]
    # Doubles whose shortest texts matter: 0.1 + 0.2, 1.5e-05 (below the exact half of 0.00002).
    return row + [10.0 + s + m / 10, 0.1 + 0.2 if m == 0 else (0.000015 if m == 1 else 4.0 + s), 2.0 + s / 4]


def make_database(name, tables):
    db = sqlite3.connect(os.path.join(work, name))
    for table in tables:
        db.execute(f'CREATE TABLE "{table}" (id INTEGER NOT NULL PRIMARY KEY, name VARCHAR(255) NOT NULL, '
                   '"desc" VARCHAR(255), state VARCHAR(255), lat REAL NOT NULL, lon REAL NOT NULL, '
                   'elev REAL NOT NULL, rain_yrs INTEGER NOT NULL)')
        db.execute(f'CREATE TABLE "{table}_mon" (id INTEGER NOT NULL PRIMARY KEY, wgn_id INTEGER NOT NULL, '
                   'month INTEGER NOT NULL, ' + ", ".join(f"{c} REAL NOT NULL" for c in COLUMNS) +
                   f', FOREIGN KEY (wgn_id) REFERENCES "{table}" (id) ON DELETE CASCADE)')
        db.execute(f'CREATE INDEX "{table}_mon_wgn_id" ON "{table}_mon" (wgn_id)')
        for s, (station, lat, lon) in enumerate(REFERENCE):
            db.execute(f'INSERT INTO "{table}" VALUES (?, ?, NULL, NULL, ?, ?, ?, ?)',
                       (s + 1, station if table != "polar" else "polar_" + station, lat, lon, 10.0, 30))
            for m in range(12):
                db.execute(f'INSERT INTO "{table}_mon" (wgn_id, month, {", ".join(COLUMNS)}) VALUES '
                           f'({", ".join(["?"] * 16)})', (s + 1, m + 1, *values(s, m)))
    db.commit()
    db.close()


make_database("reference.sqlite", ["wgn_cfsr_world", "polar"])
# The same, with south's December numbered 13.
make_database("month13.sqlite", ["wgn_cfsr_world"])
db = sqlite3.connect(os.path.join(work, "month13.sqlite"))
db.execute('UPDATE "wgn_cfsr_world_mon" SET month = 13 WHERE wgn_id = 6 AND month = 12')
db.commit()
db.close()
# The same stations as a weather-wgn.cli, each value the database's text written out.
cli = ["weather-wgn.cli: the reference"]
for s, (station, lat, lon) in enumerate(REFERENCE):
    cli.append(f"{station} {lat} {lon} 10.0 30")
    cli.append(" ".join(COLUMNS))
    cli += [" ".join(format(Decimal(repr(v)), "f") for v in values(s, m)) for m in range(12)]
write("reference.cli", cli)

# A station file of temperatures and rain; slr, dew and wnd come from the reference.
days = [datetime.date(2001, 1, 1) + datetime.timedelta(days=i) for i in range(3 * 365)]
write("t.csv", ["date,prcp,tmax,tmin"] +
      [f"{d.isoformat()},{(d.toordinal() * 7) % 11 if d.toordinal() % 3 == 0 else 0},{10 + d.month},{d.month}"
       for d in days])

# Stations: across the antimeridian, near the pole, far from every reference.
STATIONS = {"antimeridian": (10.0, -179.95), "pole": (89.99, 100.0), "nearly": (-38.5, 101.3)}


def nearest(lat, lon):
    km = [haversine(lat, lon, r[1], r[2]) for r in REFERENCE]
    best = min(range(len(km)), key=lambda i: (km[i], i))
    return REFERENCE[best][0], f"{km[best]:.3f}"


def station_list(fill_file, extra_rows=()):
    rows = ["station,file,format,lat,lon,elev,fill_file,fill_station,fill_max_km,fill_table"]
    rows += [f"{name},t.csv,csv,{lat},{lon},5,{fill_file},nearest,," for name, (lat, lon) in STATIONS.items()]
    return rows + list(extra_rows)


# ---- Nearest by the database, and by a .cli of the same values ----------------------------
for fill_file in ("reference.sqlite", "reference.cli"):
    folder = "out_" + fill_file.split(".")[1]
    write(f"{folder}.csv", station_list(fill_file))
    status, out, err = run(batch_binary, f"{folder}.csv", "-o", folder)
    expect(f"{fill_file}: batch status", status, 0)
    summary = {row["station"]: row for row in csv.DictReader(io.StringIO(read(folder, "summary.csv")))}
    for name, (lat, lon) in STATIONS.items():
        row = summary.get(name, {})
        expect(f"{fill_file}: {name} nearest", (row.get("status"), row.get("fill_station"), row.get("fill_km")),
               ("ok", *nearest(lat, lon)))
        expect(f"{fill_file}: {name} complete", row.get("filled_variables"), "slr_ave dew_ave wnd_ave")
expect("the antimeridian's nearest is across it", nearest(*STATIONS["antimeridian"])[0], "east_side")
expect("the same model files from the database as from the .cli",
       [read("out_sqlite", f) for f in ("weather-wgn.cli", "userwgn.csv", "wgn_monthly.csv")],
       [read("out_cli", f) for f in ("weather-wgn.cli", "userwgn.csv", "wgn_monthly.csv")])
block = read("out_sqlite", "weather-wgn.cli").split("\n")
first = next(i for i, line in enumerate(block) if line.startswith("antimeridian"))
expect("0.1 + 0.2 and 0.000015 as their texts round", block[first + 2].split()[12:13] + block[first + 3].split()[12:13],
       ["0.30000", "0.00002"])

# ---- A second batch reuses every station, with the same summary ---------------------------
before = read("out_sqlite", "summary.csv")
status, out, err = run(batch_binary, "out_sqlite.csv", "-o", "out_sqlite")
expect("resumed: the same summary", (status, read("out_sqlite", "summary.csv")), (0, before))
expect("resumed: nothing run again", "3 from an earlier run" in out, True)

# ---- fill_max_km, no position, fill_table, a name ------------------------------------------
far = nearest(-40.0, 100.0)
write("bounds.csv", [
    "station,file,format,lat,lon,elev,fill_file,fill_station,fill_max_km,fill_table",
    "far,t.csv,csv,-40.0,100.0,5,reference.sqlite,nearest,,",
    "farther,t.csv,csv,-40.0,100.0,5,reference.sqlite,Nearest,250,",
    f"exact,t.csv,csv,-40.0,100.0,5,reference.sqlite,nearest,{far[1]},",
    "far_cli,t.csv,csv,-40.0,100.0,5,reference.cli,nearest,200.5,",
    "nopos,t.csv,csv,,,,reference.sqlite,nearest,,",
    "polar,t.csv,csv,89.99,100.0,5,reference.sqlite,nearest,,polar",
    "named,t.csv,csv,-40.0,100.0,5,reference.sqlite,ORIGIN,,",
    "notable,t.csv,csv,1,1,5,reference.sqlite,nearest,,nosuch",
    "month13,t.csv,csv,-40.0,100.0,5,month13.sqlite,nearest,250,",
])
status, out, err = run(batch_binary, "bounds.csv", "-o", "bounds")
summary = {row["station"]: row for row in csv.DictReader(io.StringIO(read("bounds", "summary.csv")))}
db_shown = program.shown_path(batch_binary, os.path.join(work, "reference.sqlite"))
cli_shown = program.shown_path(batch_binary, os.path.join(work, "reference.cli"))
expect("bounds: status", status, 1)
expect("far: refused with its distance", (summary["far"]["status"], summary["far"]["report_line"]),
       ("bad file", f"the nearest station of {db_shown}, table wgn_cfsr_world, south, is {far[1]} km away, "
                    "farther than fill_max_km 100"))
expect("a larger fill_max_km takes it", (summary["farther"]["status"], summary["farther"]["fill_station"],
                                         summary["farther"]["fill_km"]), ("ok", *far))
expect("a fill_max_km of exactly the distance takes it", (summary["exact"]["status"], summary["exact"]["fill_km"]),
       ("ok", far[1]))
expect("a .cli refused the same way", summary["far_cli"]["report_line"],
       f"the nearest station of {cli_shown}, south, is {far[1]} km away, farther than fill_max_km 200.5")
expect("no position", summary["nopos"]["report_line"],
       "fill_station nearest needs the station's position (lat, lon)")
expect("fill_table", (summary["polar"]["fill_station"], summary["polar"]["fill_km"]),
       ("polar_" + nearest(89.99, 100.0)[0], nearest(89.99, 100.0)[1]))
expect("by name from the database", (summary["named"]["status"], summary["named"]["fill_station"],
                                     summary["named"]["fill_km"]), ("ok", "origin", ""))
expect("a table the database has not", summary["notable"]["report_line"],
       f"{db_shown}: no table nosuch (its tables: polar, polar_mon, wgn_cfsr_world, wgn_cfsr_world_mon)")
m13_shown = program.shown_path(batch_binary, os.path.join(work, "month13.sqlite"))
expect("a month 13 refused", (summary["month13"]["status"], summary["month13"]["report_line"]),
       ("bad file", f"{m13_shown}, table wgn_cfsr_world, id 6: wgn_cfsr_world_mon: month \"13\" is not 1 ... 12"))

# ---- The list's mistakes, before anything runs -----------------------------------------------
write("mistakes.csv", ["station,file,format,lat,lon,elev,fill_file,fill_station,fill_max_km,fill_table",
                       "a,t.csv,csv,1,1,5,reference.sqlite,nearest,-3,",
                       "b,t.csv,csv,1,1,5,reference.sqlite,origin,50,",
                       "c,t.csv,csv,1,1,5,,,,polar"])
status, out, err = run(batch_binary, "mistakes.csv", "-o", "mistakes")
expect("the list's mistakes", (status, [line.split(".csv, ", 1)[-1] for line in err.splitlines() if "row" in line]),
       (2, ["row 2, column fill_max_km: \"-3\" is not a distance in km (a number from 0 up)",
            "row 3, column fill_max_km: fill_max_km bounds fill_station nearest",
            "row 4, column fill_table: a reference station needs its fill_file"]))

# ---- wgnrain-check on the database -------------------------------------------------------------
status, out, err = run(check_binary, "reference.sqlite", "--table", "polar", "-o", "check", "--years", "20")
expect("check: status and count", (status, err.strip().split(",")[0]), (0, "wgnrain-check: 6 stations"))
audit = list(csv.DictReader(io.StringIO(read("check", "audit.csv"))))
generated = list(csv.DictReader(io.StringIO(read("check", "generated.csv"))))
expect("check: every station generated", sorted({row[next(iter(row))] for row in generated}),
       sorted("polar_" + r[0] for r in REFERENCE))
status, out, err = run(check_binary, "month13.sqlite", "-o", "check13")
expect("check: a month 13", (status, err.splitlines()[0] if err else ""),
       (2, f"wgnrain-check: {program.shown_path(check_binary, os.path.join(work, 'month13.sqlite'))}, table "
           "wgn_cfsr_world, id 6: wgn_cfsr_world_mon: month \"13\" is not 1 ... 12"))
status, out, err = run(check_binary, "reference.sqlite", "--table", "nosuch", "-o", "check2")
expect("check: a missing table", (status, err.splitlines()[0] if err else ""),
       (2, f"wgnrain-check: {program.shown_path(check_binary, os.path.join(work, 'reference.sqlite'))}: no table "
           "nosuch (its tables: polar, polar_mon, wgn_cfsr_world, wgn_cfsr_world_mon)"))

if failures:
    print("\n".join(failures))
    sys.exit(1)
print("nearest_fill: all checks passed")
