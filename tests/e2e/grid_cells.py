"""wgnrain-grid on small grids written from CDL text with ncgen, each cell
against the same record run as a csv station of wgnrain-batch:

  - an ERA5-Land-like grid (1-D coordinates, latitudes from north to south,
    precipitation in m, temperatures and dew point in K with their
    cell_methods, radiation in J m-2 as a day's total, wind as u and v, an
    elevation variable) and a CORDEX-like one (rotated pole with 2-D lat and
    lon, the noleap calendar, precipitation packed as shorts in kg m-2 s-1,
    humidity in per cent, a fill value): the batch's tables and model files of
    the grid equal, byte for byte, those of a list of csv stations holding the
    cells' values converted exactly (Python's Decimal on the stored floats'
    shortest texts), the summary's file column aside;
  - --shard 1/2 and 2/2 then --merge give the one run's tables; a second run
    reuses every cell; a cell that succeeded keeps only its record;
  - --points: a point takes its nearest cell's values under its own name and
    position; --bbox keeps the cells inside it; an unknown unit and a missing
    grid are refused with status 2 and a one-line reason.

    grid_cells.py path/to/wgnrain-grid path/to/wgnrain-batch
"""
import datetime
import math
import os
import random
import shutil
import struct
import subprocess
import sys
from decimal import Decimal

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import program  # noqa: E402

grid_binary = os.path.abspath(sys.argv[1])
batch_binary = os.path.abspath(sys.argv[2])
work, tmp = program.workspace("wgngrid")
failures = []
expect = program.expecter(failures)
TABLES = ["weather-wgn.cli", "userwgn.csv", "wgn_stations.csv", "wgn_monthly.csv", "intervals.csv",
          "userwgn_pcp.csv", "wgn_mon_pcp.csv"]


def f32(x):
    return struct.unpack("<f", struct.pack("<f", x))[0]


def f32_text(x):
    """The shortest text that reads back as the float x: the value the grid's
    reader starts from."""
    f = f32(x)
    for digits in range(1, 10):
        text = "%.*g" % (digits, f)
        if f32(float(text)) == f:
            return text
    raise ValueError(x)


def plain(value):
    return format(value.normalize(), "f") if value != 0 else "0"


def run(binary, *arguments):
    status, out, err = program.run(binary, b"", work, tmp, timeout=600, arguments=list(arguments))
    return status, out.decode(), err.decode()


def read(*parts):
    with open(os.path.join(work, *parts), newline="") as f:
        return f.read()


def ncgen(name, cdl):
    with open(os.path.join(work, name + ".cdl"), "w") as f:
        f.write(cdl)
    subprocess.run(["ncgen", "-k", "classic", "-o", os.path.join(work, name), os.path.join(work, name + ".cdl")],
                   check=True)


def values_cdl(name, rows):
    return f" {name} =\n  " + ",\n  ".join(", ".join(row) for row in rows) + " ;\n"


def summary_without_file(folder):
    lines = read(folder, "summary.csv").splitlines()
    column = lines[0].split(",").index("file")
    return [",".join(cell for i, cell in enumerate(line.split(",")) if i != column) for line in lines]


def same_tables(what, grid_folder, batch_folder, stations):
    expect(f"{what}: stations in userwgn.csv", len(read(grid_folder, "userwgn.csv").splitlines()) - 1, stations)
    for table in TABLES:
        expect(f"{what}: {table}", read(grid_folder, table), read(batch_folder, table))
    expect(f"{what}: summary.csv", summary_without_file(grid_folder), summary_without_file(batch_folder))


# ---- An ERA5-Land-like grid: 4 latitudes x 3 longitudes, 2001-2006 ------------------------
numbers = random.Random(31)
lats, lons = [52.5, 52.25, 52.0, 51.75], [4.75, 5.0, 5.25]
days = [datetime.date(2001, 1, 1) + datetime.timedelta(n) for n in range((datetime.date(2007, 1, 1) -
                                                                         datetime.date(2001, 1, 1)).days)]
cells = [(y, x) for y in range(len(lats)) for x in range(len(lons))]
stored = {name: [[None] * len(cells) for _ in days] for name in ("tp", "mx2t", "mn2t", "ssrd", "d2m", "u10", "v10")}
wet = [False] * len(cells)
for t, day in enumerate(days):
    for c, (y, x) in enumerate(cells):
        wet[c] = numbers.random() < (0.65 if wet[c] else 0.3)
        tmax = 8 + 10 * math.sin((day.timetuple().tm_yday - 100) / 58.0) + numbers.gauss(0, 3) + y
        stored["tp"][t][c] = f32_text((numbers.expovariate(1 / 5) + 0.1) / 1000 if wet[c] else 0.0)
        stored["mx2t"][t][c] = f32_text(tmax + 273.15)
        stored["mn2t"][t][c] = f32_text(tmax - 8 - numbers.random() * 3 + 273.15)
        season = 1 + math.sin((day.timetuple().tm_yday - 80) / 58.1)
        stored["ssrd"][t][c] = f32_text(round(numbers.uniform(0.5, 1 + 4.5 * season), 2) * 1e6)
        stored["d2m"][t][c] = f32_text(tmax - 10 + 273.15)
        stored["u10"][t][c] = f32_text(numbers.gauss(2, 2))
        stored["v10"][t][c] = f32_text(numbers.gauss(1, 2))
# Day 40 of the first cell has no temperature (a fill value).
stored["mx2t"][40][0] = "-32767"
elevations = [[f32_text(1.5 + 3 * y + x) for x in range(len(lons))] for y in range(len(lats))]

variables = [("tp", "precipitation_amount", "m", ""), ("mx2t", "air_temperature", "K", "time: maximum"),
             ("mn2t", "air_temperature", "K", "time: minimum"),
             ("ssrd", "surface_downwelling_shortwave_flux_in_air", "J m**-2", ""),
             ("d2m", "dew_point_temperature", "K", ""), ("u10", "eastward_wind", "m s**-1", ""),
             ("v10", "northward_wind", "m s**-1", "")]
cdl = ["netcdf era5 {", "dimensions:", f" time = UNLIMITED ; latitude = {len(lats)} ; longitude = {len(lons)} ;",
       "variables:", " double time(time) ;", '  time:units = "hours since 2001-01-01 00:00:00" ;',
       '  time:calendar = "proleptic_gregorian" ;', " float latitude(latitude) ;",
       '  latitude:units = "degrees_north" ;', " float longitude(longitude) ;",
       '  longitude:units = "degrees_east" ;', " float z(latitude, longitude) ;", '  z:units = "m" ;']
for name, standard, units, methods in variables:
    cdl += [f" float {name}(time, latitude, longitude) ;", f'  {name}:standard_name = "{standard}" ;',
            f'  {name}:units = "{units}" ;', f"  {name}:_FillValue = -32767.f ;"]
    if methods:
        cdl.append(f'  {name}:cell_methods = "{methods}" ;')
cdl += ["data:", values_cdl("time", [[str(24 * t) for t in range(len(days))]]),
        values_cdl("latitude", [[str(v) for v in lats]]), values_cdl("longitude", [[str(v) for v in lons]]),
        values_cdl("z", elevations)]
for name, *_ in variables:
    cdl.append(values_cdl(name, stored[name]))
ncgen("era5.nc", "\n".join(cdl) + "}\n")


def cell_name(lat, lon):
    return f"{abs(lat):.3f}{'N' if lat >= 0 else 'S'}_{abs(lon):.3f}{'E' if lon >= 0 else 'W'}"


def minus_kelvin(text):
    return plain(Decimal(text) - Decimal("273.15"))


def csv_station(c, path):
    """Cell c's record in the generator's units, as the grid's reader makes it."""
    lines = ["date,pcp,tmax,tmin,slr,dew,wnd"]
    for t, day in enumerate(days):
        s = {name: stored[name][t][c] for name in stored}
        speed = repr(math.sqrt(float(s["u10"]) ** 2 + float(s["v10"]) ** 2))
        tmax = "" if s["mx2t"] == "-32767" else minus_kelvin(s["mx2t"])
        lines.append(",".join([day.isoformat(), plain(Decimal(s["tp"]) * 1000), tmax, minus_kelvin(s["mn2t"]),
                               plain(Decimal(s["ssrd"]) / 1000000), minus_kelvin(s["d2m"]), speed]))
    with open(path, "w", newline="") as f:
        f.write("\n".join(lines) + "\n")


station_rows = ["station,file,format,lat,lon,elev"]
for c, (y, x) in enumerate(cells):
    name = cell_name(lats[y], lons[x])
    csv_station(c, os.path.join(work, name + ".csv"))
    station_rows.append(f"{name},{name}.csv,csv,{f32_text(lats[y])},{f32_text(lons[x])},{elevations[y][x]}")
with open(os.path.join(work, "era5-stations.csv"), "w") as f:
    f.write("\n".join(station_rows) + "\n")

status, out, batch_err = run(batch_binary, "era5-stations.csv", "-o", "era5-batch", "-j", "2")
expect("the csv stations' batch", status, 0)
status, out, err = run(grid_binary, "era5.nc", "-o", "era5-grid", "-j", "2", "--elevation", "z", "--memory", "1")
expect("the grid", status, 0)
# The same findings, a line a cell, under the grid's name.
expect("the grid's findings", sorted(line.split(";")[0] for line in err.splitlines()),
       sorted(line.split(";")[0].replace("wgnrain-batch", "wgnrain-grid") for line in batch_err.splitlines()))
expect("the grid's cells", f"cells: {len(cells)} in 2 tiles" in out, True)
same_tables("ERA5-like grid", "era5-grid", "era5-batch", len(cells))
page = read("era5-grid", "index.html")
expect("the page: by wgnrain-grid, with a square of the map a cell",
       ("by wgnrain-grid " in page, page.count(" data-n=")), (True, len(cells)))
kept = sorted(os.listdir(os.path.join(work, "era5-grid", cell_name(lats[0], lons[0]))))
expect("a cell that succeeded keeps its record", kept, ["coverage.csv", "report.txt", "run.txt"])

status, out, err = run(grid_binary, "era5.nc", "-o", "era5-grid", "--elevation", "z", "--memory", "1")
expect("a second run reuses every cell", (status, f"{len(cells)} from an earlier run" in out), (0, True))
same_tables("ERA5-like grid run again", "era5-grid", "era5-batch", len(cells))

# A shard runs whole tiles (bands of rows here): no latitude in both shards.
latitudes = []
for shard in ("1/2", "2/2"):
    before = set(os.listdir(os.path.join(work, "era5-shards"))) if os.path.isdir(os.path.join(work, "era5-shards")) \
        else set()
    status, out, err = run(grid_binary, "era5.nc", "-o", "era5-shards", "--elevation", "z", "--memory", "1",
                           "--shard", shard)
    expect(f"shard {shard}", status, 0)
    ran = set(os.listdir(os.path.join(work, "era5-shards"))) - before - {".wgnrain-batch-1-of-2.lock"}
    latitudes.append({name.split("_")[0] for name in ran if name[0].isdigit()})
expect("the shards' tiles", (latitudes[0] & latitudes[1], len(latitudes[0] | latitudes[1])), (set(), len(lats)))
status, out, err = run(grid_binary, "era5.nc", "-o", "era5-shards", "--elevation", "z", "--memory", "1", "--merge")
expect("--merge of the shards", status, 0)
same_tables("shards merged", "era5-shards", "era5-batch", len(cells))

# ---- Points and a box ----------------------------------------------------------------------
with open(os.path.join(work, "points.csv"), "w") as f:
    f.write("name,lat,lon,elev\noutlet,52.01,5.26,3.5\nspring,52.49,4.74,120\n")
status, out, err = run(grid_binary, "era5.nc", "-o", "points", "--points", "points.csv")
expect("points", status, 0)
userwgn = read("points", "userwgn.csv").splitlines()
by_name = {line.split(",")[0]: line.split(",") for line in userwgn[1:]}
batch_userwgn = {line.split(",")[0]: line.split(",") for line in read("era5-batch", "userwgn.csv").splitlines()[1:]}
values_from = userwgn[0].split(",").index("RAIN_YRS")
for point, cell in (("outlet", cell_name(52.0, 5.25)), ("spring", cell_name(52.5, 4.75))):
    expect(f"point {point} in the model files", point in by_name, True)
    if point in by_name:
        expect(f"point {point}: its cell's values", by_name[point][values_from:], batch_userwgn[cell][values_from:])
status, out, err = run(grid_binary, "era5.nc", "-o", "box", "--bbox", "51.9,52.3,4.9,5.1")
expect("a box", status, 0)
expect("the box's cells", sorted(line.split(",")[0] for line in read("box", "summary.csv").splitlines()[1:]),
       sorted([cell_name(52.25, 5.0), cell_name(52.0, 5.0)]))

# ---- A CORDEX-like grid: rotated pole, noleap, packed precipitation, humidity in % ---------
rlat, rlon = [-0.22, 0.0], [-0.33, -0.11]
lat2 = [["48.1", "48.2"], ["48.3", "48.4"]]
lon2 = [["9.1", "9.4"], ["9.15", "9.45"]]
noleap_days = []
day = datetime.date(1991, 1, 1)
while day.year < 1996:
    if not (day.month == 2 and day.day == 29):
        noleap_days.append(day)
    day += datetime.timedelta(1)
scale = "2e-08"
packed = [[None] * 4 for _ in noleap_days]
hurs = [[None] * 4 for _ in noleap_days]
tasmax = [[None] * 4 for _ in noleap_days]
tasmin = [[None] * 4 for _ in noleap_days]
wet = [False] * 4
for t, day in enumerate(noleap_days):
    for c in range(4):
        wet[c] = numbers.random() < (0.65 if wet[c] else 0.3)
        packed[t][c] = str(int(numbers.expovariate(1 / 2000)) + 5 if wet[c] else 0)
        tmax = 12 + 9 * math.sin((day.timetuple().tm_yday - 100) / 58.0) + numbers.gauss(0, 2)
        tasmax[t][c] = f32_text(tmax + 273.15)
        tasmin[t][c] = f32_text(tmax - 9 + 273.15)
        hurs[t][c] = f32_text(round(numbers.uniform(40, 99), 1))
packed[7][3] = "-32767"
cdl = ["netcdf cordex {", "dimensions:", " time = UNLIMITED ; rlat = 2 ; rlon = 2 ;", "variables:",
       " double time(time) ;", '  time:units = "days since 1949-12-01 00:00:00" ;', '  time:calendar = "noleap" ;',
       " double rlat(rlat) ;", '  rlat:standard_name = "grid_latitude" ;', " double rlon(rlon) ;",
       '  rlon:standard_name = "grid_longitude" ;', " double lat(rlat, rlon) ;", '  lat:standard_name = "latitude" ;',
       '  lat:units = "degrees_north" ;', " double lon(rlat, rlon) ;", '  lon:standard_name = "longitude" ;',
       '  lon:units = "degrees_east" ;', " short pr(time, rlat, rlon) ;", '  pr:standard_name = "precipitation_flux" ;',
       '  pr:units = "kg m-2 s-1" ;', f"  pr:scale_factor = {scale}f ;", "  pr:add_offset = 0.f ;",
       "  pr:_FillValue = -32767s ;", '  pr:coordinates = "lat lon" ;']
for name, methods in (("tasmax", "time: maximum"), ("tasmin", "time: minimum")):
    cdl += [f" float {name}(time, rlat, rlon) ;", f'  {name}:standard_name = "air_temperature" ;',
            f'  {name}:units = "K" ;', f'  {name}:cell_methods = "{methods}" ;', f'  {name}:coordinates = "lat lon" ;']
cdl += [" float hurs(time, rlat, rlon) ;", '  hurs:standard_name = "relative_humidity" ;', '  hurs:units = "%" ;',
        '  hurs:coordinates = "lat lon" ;', "data:"]
start = datetime.date(1949, 12, 1)
# Days since 1949-12-01 in a calendar of 365-day years.
offsets = []
for day in noleap_days:
    years = day.year - 1950
    day_of_year = (day - datetime.date(day.year, 1, 1)).days
    if day.month > 2 and day.year % 4 == 0:
        day_of_year -= 1
    offsets.append(str(31 + 365 * years + day_of_year))
cdl += [values_cdl("time", [offsets]), values_cdl("rlat", [[str(v) for v in rlat]]),
        values_cdl("rlon", [[str(v) for v in rlon]]), values_cdl("lat", lat2), values_cdl("lon", lon2),
        values_cdl("pr", packed), values_cdl("tasmax", tasmax), values_cdl("tasmin", tasmin),
        values_cdl("hurs", hurs)]
ncgen("cordex.nc", "\n".join(cdl) + "}\n")

station_rows = ["station,file,format,lat,lon,hmd_unit"]
for c in range(4):
    y, x = divmod(c, 2)
    name = cell_name(float(lat2[y][x]), float(lon2[y][x]))
    lines = ["date,pcp,tmax,tmin,rh"]
    for t, day in enumerate(noleap_days):
        pcp = "" if packed[t][c] == "-32767" else plain(Decimal(packed[t][c]) * Decimal(scale) * 86400)
        lines.append(",".join([day.isoformat(), pcp, minus_kelvin(tasmax[t][c]), minus_kelvin(tasmin[t][c]),
                               plain(Decimal(hurs[t][c]) / 100)]))
    with open(os.path.join(work, name + ".csv"), "w", newline="") as f:
        f.write("\n".join(lines) + "\n")
    station_rows.append(f"{name},{name}.csv,csv,{lat2[y][x]},{lon2[y][x]},fraction")
with open(os.path.join(work, "cordex-stations.csv"), "w") as f:
    f.write("\n".join(station_rows) + "\n")
status, out, err = run(batch_binary, "cordex-stations.csv", "-o", "cordex-batch")
expect("the CORDEX cells as csv stations", status, 0)
status, out, err = run(grid_binary, "cordex.nc", "-o", "cordex-grid")
expect("the CORDEX-like grid", status, 0)
same_tables("CORDEX-like grid", "cordex-grid", "cordex-batch", 4)

# ---- A cell of sea: every day's precipitation missing --------------------------------------
for t in range(len(days)):
    stored["tp"][t][0] = "-32767"
cdl_sea = [line for line in read("era5.nc.cdl").split("\n tp =")[0].splitlines()]
# And in the next cell one day's value changed without changing its text's length.
for t in range(len(days)):
    text = stored["tp"][t][1]
    if text.startswith("0.00") and text[-1] in "12345678":
        changed = text[:-1] + str(int(text[-1]) + 1)
        if f32_text(float(changed)) == changed:
            stored["tp"][t][1] = changed
            break
assert stored["tp"][t][1] == changed
# The grid written again with those cells changed, into the folder of the
# first run: only those cells run again, then none.
ncgen("era5.nc", "\n".join(cdl_sea) + "\n" + values_cdl("tp", stored["tp"]) + "".join(
    values_cdl(name, stored[name]) for name, *_ in variables[1:]) + "}\n")
for run_number, reused in ((1, len(cells) - 2), (2, len(cells))):
    status, out, err = run(grid_binary, "era5.nc", "-o", "era5-grid", "--elevation", "z", "--memory", "1")
    summary = {line.split(",")[0]: line for line in read("era5-grid", "summary.csv").splitlines()[1:]}
    sea = summary.get(cell_name(lats[0], lons[0]), "")
    expect(f"a cell of sea, run {run_number}", (status, ",bad file," in sea, "sea in a land-only grid" in sea,
                                                 sum(",ok," in line for line in summary.values()),
                                                 f"{reused} from an earlier run" in out),
           (1, True, True, len(cells) - 1, True))

# ---- Refusals ---------------------------------------------------------------------------
ncgen("furlongs.nc", read("era5.nc.cdl").replace('tp:units = "m"', 'tp:units = "furlong"'))
status, out, err = run(grid_binary, "furlongs.nc", "-o", "refused")
expect("an unknown unit", (status, err.count("\n"), "furlong" in err), (2, 1, True))
status, out, err = run(grid_binary, "no-such.nc", "-o", "refused")
expect("a missing grid", (status, err.count("\n"), err.startswith("wgnrain-grid: ")), (2, 1, True))

if failures:
    print("\n".join(failures))
    sys.exit(1)
shutil.rmtree(work)
print("grid cells: all passed")
