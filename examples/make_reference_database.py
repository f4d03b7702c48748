"""Writes a small weather-generator database in the layout of SWAT+'s global
swatplus_wgn.sqlite (tables wgn_cfsr_world and wgn_cfsr_world_mon): the
bundled reference station, and two grid points around it, for trying
fill_station nearest and wgnrain-check on a database.

    python3 examples/make_reference_database.py [OUT.sqlite]   (default reference-wgn.sqlite)
"""
import os
import sqlite3
import sys

here = os.path.dirname(os.path.abspath(__file__))
out = sys.argv[1] if len(sys.argv) > 1 else "reference-wgn.sqlite"
with open(os.path.join(here, "reference-wgn.cli")) as f:
    lines = f.read().split("\n")
_, lat, lon, elev, rain_yrs = lines[1].split()
columns = lines[2].split()
months = [[float(v) for v in line.split()] for line in lines[3:15]]

if os.path.exists(out):
    os.remove(out)
db = sqlite3.connect(out)
db.execute("CREATE TABLE wgn_cfsr_world (id INTEGER NOT NULL PRIMARY KEY, name VARCHAR(255) NOT NULL, "
           '"desc" VARCHAR(255), state VARCHAR(255), lat REAL NOT NULL, lon REAL NOT NULL, elev REAL NOT NULL, '
           "rain_yrs INTEGER NOT NULL)")
db.execute("CREATE TABLE wgn_cfsr_world_mon (id INTEGER NOT NULL PRIMARY KEY, wgn_id INTEGER NOT NULL, "
           "month INTEGER NOT NULL, " + ", ".join(f"{c} REAL NOT NULL" for c in columns) +
           ", FOREIGN KEY (wgn_id) REFERENCES wgn_cfsr_world (id) ON DELETE CASCADE)")
db.execute("CREATE INDEX wgn_cfsr_world_mon_wgn_id ON wgn_cfsr_world_mon (wgn_id)")
# The reference itself and two grid points 0.3 degrees west and east of it, a little warmer.
for n, (name, shift) in enumerate([("grid_52_5", -0.3), ("example_reference", 0.0), ("grid_52_6", 0.3)], 1):
    db.execute("INSERT INTO wgn_cfsr_world VALUES (?, ?, NULL, NULL, ?, ?, ?, ?)",
               (n, name, float(lat), round(float(lon) + shift, 5), float(elev), int(rain_yrs)))
    for m, values in enumerate(months, 1):
        row = [round(v + (0.5 if c.startswith("tmp_m") and c.endswith("_ave") and shift else 0), 5)
               for c, v in zip(columns, values)]
        db.execute(f"INSERT INTO wgn_cfsr_world_mon (wgn_id, month, {', '.join(columns)}) VALUES "
                   f"({', '.join(['?'] * (2 + len(columns)))})", (n, m, *row))
db.commit()
print(f"wrote {out}")
