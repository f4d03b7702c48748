"""The complete weather-generator record through wgnrain-batch, against an
independent computation from the definitions:

  - a csv station with every variable: each monthly value of userwgn.csv
    equals the exact mean or sample deviation (Python's Fraction, rounded half
    away from zero), the dew point from humidity goes back to the humidity,
    pcp_hhr is the estimate from the largest daily value, and the
    precipitation columns are the report's digits;
  - every model file read back as its reader reads it (weather-wgn.cli in
    free format, blocks of 14 lines; the .wgn file by fixed columns; the
    Editor CSVs by position) equals userwgn.csv;
  - SWAT+ files of each variable, a NASA POWER file with its radiation in
    kW-hr, half-hour maxima, a reference station that fills the gaps, a
    station without a position (kept out of the model files, and said why);
  - the model notes: humidity fractions as measured dew points have a note,
    filled from a reference they have none; standard error holds at most one
    line a station, with the summary's counts and first note; a batch run
    again reuses every station and writes the same summary and page;
  - positions: exponents written out, a file's position out of bounds or
    GHCN's unknown elevation refused with its place (the precipitation kept),
    the list's refused before anything runs; a July too wet for the .wgn's
    f6.1 in the .cli and the Editor's tables but not in the .wgn; a
    SWAT 2012 tmp gauge of another place, noted and kept by a resumed batch;
  - the real station records, precipitation only: their digits.

    weather_record.py path/to/wgnrain-batch [path/to/shared/data]
"""
import csv
import datetime
import decimal
import io
import math
import os
import random
import re
import sys
import tempfile
from fractions import Fraction

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import program  # noqa: E402
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "reference"))
import wgnrain_ref  # noqa: E402

binary = os.path.abspath(sys.argv[1])
data_dir = os.path.abspath(sys.argv[2]) if len(sys.argv) > 2 else ""
work = os.path.realpath(tempfile.mkdtemp(prefix="wgnweather"))
tmp = os.path.join(work, "tmp")
os.mkdir(tmp)
failures = []
COLUMNS = ["tmp_max_ave", "tmp_min_ave", "tmp_max_sd", "tmp_min_sd", "pcp_ave", "pcp_sd", "pcp_skew", "wet_dry",
           "wet_wet", "pcp_days", "pcp_hhr", "slr_ave", "dew_ave", "wnd_ave"]
STEMS = ["TMPMX", "TMPMN", "TMPSTDMX", "TMPSTDMN", "PCPMM", "PCPSTD", "PCPSKW", "PR_W1_", "PR_W2_", "PCPD",
         "RAINHHMX", "SOLARAV", "DEWPT", "WNDAV"]


def expect(what, got, want):
    if got != want:
        failures.append(f"{what}: got {repr(got)[:200]}, expected {repr(want)[:200]}")


def write(name, lines):
    with open(os.path.join(work, name), "w") as f:
        f.write("\n".join(lines) + "\n")


def batch(stations, folder):
    """Runs the batch on a list into a folder: status, standard output and error as text."""
    status, out, err = program.run(binary, b"", work, tmp, arguments=[stations, "-o", folder])
    return status, out.decode(), err.decode()


def read(*parts):
    with open(os.path.join(work, *parts), newline="") as f:
        return f.read()


def rounded(value, decimals=2):
    """Half away from zero, exactly, as text."""
    scaled = abs(Fraction(value)) * 10 ** decimals
    units = math.floor(scaled + Fraction(1, 2))
    text = f"{units // 10 ** decimals}.{units % 10 ** decimals:0{decimals}d}"
    return "-" + text if value < 0 and units != 0 else text


def wgn_read(field, value, width):
    """True when a .wgn field read by F-format rules (an explicit point: the
    digits as written) is `value` rounded half away from zero to the
    decimals written, and holds all of its decimals (at least one) or fills
    its `width`."""
    written = field.strip()
    if "." not in written or len(field) != width:
        return False
    kept = len(written) - written.index(".") - 1
    exact = decimal.Decimal(value)
    rounded = exact.quantize(decimal.Decimal(1).scaleb(-kept), rounding=decimal.ROUND_HALF_UP)
    own = max(-exact.as_tuple().exponent, 1)
    return decimal.Decimal(written) == rounded and (kept >= own or len(written) == width)


def monthly(days, statistic):
    """statistic over each month's values (days: {date: value text}); '' under 5 values."""
    out = []
    for month in range(1, 13):
        values = [Fraction(v) for d, v in days.items() if d.month == month and v != ""]
        out.append(statistic(values) if len(values) >= 5 else "")
    return out


def mean(values):
    return rounded(sum(values) / len(values))


def deviation(values):
    m = sum(values) / len(values)
    variance = sum((v - m) ** 2 for v in values) / (len(values) - 1)
    # sqrt rounded half away: the largest r with (r - 1/2)^2 <= variance * 10^4
    r = math.isqrt(int(variance * 10 ** 4 * 4)) // 2 + 2
    while r > 0 and (Fraction(2 * r - 1, 2)) ** 2 > variance * 10 ** 4:
        r -= 1
    return rounded(Fraction(r, 100))


def dates(first, last):
    day = datetime.date(first, 1, 1)
    while day.year <= last:
        yield day
        day += datetime.timedelta(days=1)


def top_of_atmosphere(latitude, day):
    """The day's radiation at the top of the atmosphere, MJ/m2/day (FAO-56)."""
    j = day.timetuple().tm_yday
    dr, delta = 1 + 0.033 * math.cos(2 * math.pi * j / 365), 0.409 * math.sin(2 * math.pi * j / 365 - 1.39)
    phi = math.radians(latitude)
    ws = math.acos(max(-1.0, min(1.0, -math.tan(phi) * math.tan(delta))))
    return 24 * 60 / math.pi * 0.082 * dr * (ws * math.sin(phi) * math.sin(delta) +
                                            math.cos(phi) * math.cos(delta) * math.sin(ws))


def lowest_top_of_atmosphere(day):
    return min(top_of_atmosphere(latitude, day) for latitude in (52.1, -33.865, 40.5853))


rng = random.Random(19)
days = list(dates(2001, 2003))
full = {name: {} for name in ("prcp", "tmax", "tmin", "rh", "wind", "solar")}
for d in days:
    full["prcp"][d] = f"{rng.choice([0, 0, rng.random() * 25]):.1f}"
    full["tmax"][d] = f"{12 + 10 * math.sin(d.month / 2) + rng.random() * 6:.1f}"
    full["tmin"][d] = f"{float(full['tmax'][d]) - 4 - rng.random() * 6:.1f}"
    full["rh"][d] = "" if rng.random() < 0.05 else f"{40 + rng.random() * 55:.0f}"
    full["wind"][d] = f"{rng.random() * 30:.1f}"
    # Radiation below the top of the atmosphere at every latitude it is used at, also as kW-hr.
    full["solar"][d] = f"{(0.2 + 0.7 * rng.random()) * lowest_top_of_atmosphere(d) / 3.6:.2f}"
write("full.csv", ["date,prcp,tmax,tmin,rh,wind,solar"] +
      [",".join([d.isoformat()] + [full[n][d] for n in ("prcp", "tmax", "tmin", "rh", "wind", "solar")]) for d in days])

# SWAT+ files of one variable each, the position in the .pcp header.
header = ["x: written by a test", "nbyr tstep lat lon elev", "3 0 -33.865 151.209 39.0"]
write("sp.pcp", header + [f"{d.year} {d.timetuple().tm_yday} {full['prcp'][d]}" for d in days])
write("sp.tmp", header + [f"{d.year} {d.timetuple().tm_yday} {full['tmax'][d]} {full['tmin'][d]}" for d in days])
write("sp.slr", header + [f"{d.year} {d.timetuple().tm_yday} {full['solar'][d]}" for d in days])
write("sp.hmd", header + [f"{d.year} {d.timetuple().tm_yday} {'-99' if not full['rh'][d] else int(full['rh'][d]) / 100}"
                          for d in days])
write("sp.wnd", header + [f"{d.year} {d.timetuple().tm_yday} {full['wind'][d]}" for d in days])

# NASA POWER, radiation in kW-hr/m^2/day, dew point given.
write("power.csv", ["-BEGIN HEADER-", "Location: Latitude  40.5853   Longitude -105.0844",
                    "Elevation from MERRA-2: Average for 0.5 x 0.625 degree lat/lon region = 1559.21 meters",
                    "ALLSKY_SFC_SW_DWN       CERES SYN1deg All Sky Surface Shortwave Downward Irradiance (kW-hr/m^2/day)",
                    "WS2M                    MERRA-2 Wind Speed at 2 Meters (m/s)", "-END HEADER-",
                    "YEAR,MO,DY,PRECTOTCORR,T2M_MAX,T2M_MIN,T2MDEW,ALLSKY_SFC_SW_DWN,WS2M"] +
      [f"{d.year},{d.month},{d.day},{full['prcp'][d]},{full['tmax'][d]},{full['tmin'][d]},3.5,{full['solar'][d]},"
       f"{full['wind'][d]}" for d in days])

# Half-hour maxima in their own column; temperatures only, the rest filled.
write("hhr.csv", ["date,prcp,tmax,tmin,pcp_hhr"] +
      [f"{d.isoformat()},{full['prcp'][d]},{full['tmax'][d]},{full['tmin'][d]},"
       f"{'' if d.year == 2001 else rounded(Fraction(full['prcp'][d]) / 3)}" for d in days])
reference = ("weather-wgn.cli: a reference\n"
             "grid_52_5  52.00000  5.00000  2.00000  30\n" + " ".join(COLUMNS) + "\n" +
             "".join(" ".join(["1.00000"] * 11 + [f"{m}.50000", "4.25000", "2.00000"]) + "\n" for m in range(1, 13)) +
             # A reference that holds humidity fractions as dew_ave, which the model reads as meant.
             "grid_humid  52.00000  5.00000  2.00000  30\n" + " ".join(COLUMNS) + "\n" +
             "".join(" ".join(["1.00000"] * 11 + ["9.50000", "0.65000", "2.00000"]) + "\n" for m in range(1, 13)))
write("reference.cli", [reference.rstrip("\n")])

# Humidity fractions in the dew point column, wet days of 2 or 8 mm (a skew
# about 0, which the model raises).
write("fractions.csv", ["date,prcp,tmax,tmin,dew"] +
      [f"{d.isoformat()},{rng.choice([2, 8]) if rng.random() < 0.3 else 0},{full['tmax'][d]},{full['tmin'][d]},"
       f"{rng.random():.2f}" for d in days])

# Positions that cannot be used: a POWER latitude beyond 90, a SWAT+ elevation
# with an exponent beyond 9000 m, GHCN's unknown elevation (-999.9).
power_lines = read("power.csv").split("\n")
write("power91.csv", [power_lines[0], "Location: Latitude  91.5   Longitude -105.0844"] + power_lines[2:-1])
write("sp-high.pcp", header[:2] + ["3 0 -33.865 151.209 1e5"] +
      [f"{d.year} {d.timetuple().tm_yday} {full['prcp'][d]}" for d in days])
GHCN_ID = "USC00099999"


def dly_lines(element, values):
    """GHCN-Daily lines of a month each: tenths, -9999 for days the month has not."""
    lines = []
    for year in (2001, 2002, 2003):
        for month in range(1, 13):
            cells = ""
            for day in range(1, 32):
                try:
                    d = datetime.date(year, month, day)
                    cells += f"{round(Fraction(values[d]) * 10):5d}   "
                except ValueError:
                    cells += "-9999   "
            lines.append(f"{GHCN_ID}{year:04d}{month:02d}{element}{cells}")
    return lines


write("ghcn.dly", dly_lines("PRCP", full["prcp"]) + dly_lines("TMAX", full["tmax"]) + dly_lines("TMIN", full["tmin"]))
write("ghcnd-stations.txt", ["USC00011111  10.0000   10.0000  100.0 CO ANOTHER",
                             f"{GHCN_ID}  40.5853 -105.0844 -999.9 CO FORT COLLINS"])
# A July of some 400 mm a wet day: a PCP_MM of some 12000 mm fits the .cli, not the .wgn's f6.1.
wet = {d: ((f"{400 + 7 * d.day}.0" if d.day % 4 else "0.0") if d.month == 7 else v) for d, v in full["prcp"].items()}
write("wet.csv", ["date,prcp,tmax,tmin,rh,wind,solar"] +
      [",".join([d.isoformat(), wet[d]] + [full[n][d] for n in ("tmax", "tmin", "rh", "wind", "solar")]) for d in days])

# Missing days of rain (6 % of them): the gap-aware values; no rain at all in June to August.
gappy = {d: ("" if rng.random() < 0.06 else v) for d, v in full["prcp"].items()}
arid = {d: ("0.0" if d.month in (6, 7, 8) else v) for d, v in full["prcp"].items()}
for name, rain in (("gappy", gappy), ("arid", arid)):
    write(f"{name}.csv", ["date,prcp,tmax,tmin,rh,wind,solar"] +
          [",".join([d.isoformat(), rain[d]] + [full[n][d] for n in ("tmax", "tmin", "rh", "wind", "solar")])
           for d in days])

write("stations.csv", [
    "station,file,format,lat,lon,elev,wnd_unit,tmp_file,slr_file,hmd_file,wnd_file,fill_file,fill_station,"
    "stations_file",
    "full,full.csv,csv,52.1,5.18,2,km/h,,,,,,,",
    "gappy,gappy.csv,csv,52.1,5.18,2,km/h,,,,,,,",
    "arid,arid.csv,csv,52.1,5.18,2,km/h,,,,,,,",
    "swatplus,sp.pcp,swatplus,,,,,sp.tmp,sp.slr,sp.hmd,sp.wnd,,,",
    "power,power.csv,power,,,,,,,,,,,",
    "hhr,hhr.csv,csv,52.1,5.18,2,,,,,,reference.cli,grid 52 5,",
    "nopos,full.csv,csv,,,,km/h,,,,,,,",
    "expo,full.csv,csv,4.0585e1,-1.050844E2,1.55921e3,km/h,,,,,,,",
    "wet,wet.csv,csv,52.1,5.18,2,km/h,,,,,,,",
    "power91,power91.csv,power,,,,,,,,,,,",
    "sphigh,sp-high.pcp,swatplus,,,,,sp.tmp,sp.slr,sp.hmd,sp.wnd,,,",
    "ghcn999,ghcn.dly,ghcnd,,,,,,,,,reference.cli,grid 52 5,ghcnd-stations.txt",
    "ghcnelev,ghcn.dly,ghcnd,,,1559,,,,,,reference.cli,grid 52 5,ghcnd-stations.txt",
    "fractions,fractions.csv,csv,52.1,5.18,2,,,,,,reference.cli,grid_52_5,",
    "humid,hhr.csv,csv,52.1,5.18,2,,,,,,reference.cli,grid_humid,",
])
status, out, err = batch("stations.csv", "out")
expect("batch status", status, 0)
expect("closing line", out.split(";")[0], "wgnrain-batch: 15 stations, 15 ok, 0 failed")

userwgn = {row["STATION"]: row for row in csv.DictReader(io.StringIO(read("out", "userwgn.csv")))}
summary = {row["station"]: row for row in csv.DictReader(io.StringIO(read("out", "summary.csv")))}


def values_of(station):
    """The 14 x 12 values of userwgn.csv, by column."""
    return {c: [userwgn[station][f"{stem}{m}"] for m in range(1, 13)] for c, stem in zip(COLUMNS, STEMS)}


def report_digits(station):
    lines = read("out", station, "report.txt").split("\r\n")
    fields = [(8, 18), (18, 30), (30, 42), (42, 54), (54, 66), (66, 76)]
    return [[lines[13 + m][a:b].strip() for m in range(12)] for a, b in fields]


def dew_point(rh, t):
    l = math.log(rh) + (16.78 * t - 116.9) / (t + 237.3)
    return (116.9 + 237.3 * l) / (16.78 - l)


# ---- The csv station against the definitions ------------------------------------
got = values_of("full")
expect("tmp_max_ave", got["tmp_max_ave"], monthly(full["tmax"], mean))
expect("tmp_min_ave", got["tmp_min_ave"], monthly(full["tmin"], mean))
expect("tmp_max_sd", got["tmp_max_sd"], monthly(full["tmax"], deviation))
expect("tmp_min_sd", got["tmp_min_sd"], monthly(full["tmin"], deviation))
expect("slr_ave", got["slr_ave"], monthly(full["solar"], mean))
expect("wnd_ave (km/h)", got["wnd_ave"], monthly({d: str(Fraction(v) * 10 / 36) for d, v in full["wind"].items()}, mean))
for c, digits in zip(COLUMNS[4:10], report_digits("full")):
    expect(f"{c} is the report's", got[c], digits)
factor = (30 / 1440) ** 0.25
expect("pcp_hhr estimated", got["pcp_hhr"], [
    rounded(Fraction(round(max(float(v) for d, v in full["prcp"].items() if d.month == m) * factor * 100), 100))
    for m in range(1, 13)])
dews = {}
for d in days:
    if full["rh"][d]:
        dews[d] = dew_point(int(full["rh"][d]) / 100, (float(full["tmax"][d]) + float(full["tmin"][d])) / 2)
expect("dew_ave from humidity", got["dew_ave"],
       [f"{round(sum(v for d, v in dews.items() if d.month == m) / sum(1 for d in dews if d.month == m) * 100) / 100:.2f}"
        for m in range(1, 13)])
expect("rain_yrs", userwgn["full"]["RAIN_YRS"], "3")
expect("full summary", (summary["full"]["pcp_hhr"], summary["full"]["missing_variables"], summary["full"]["model_files"]),
       ("estimated", "", ""))

# ---- Missing days and rainless months into every model file (read back below) ----------
missing = sum(1 for v in gappy.values() if not v)
expect("gappy: pcp_values", summary["gappy"]["pcp_values"], f"gap-aware ({missing} missing days)")
series = wgnrain_ref.plain_values(os.path.join(work, "out", "gappy", "series.txt"))
months = wgnrain_ref.table_values(2001, series, -99.0, [[v[m] for v in report_digits("gappy")] for m in range(12)])
expect("gappy: the gap-aware values", [values_of("gappy")[c] for c in COLUMNS[4:10]],
       [[months[m][p] for m in range(12)] for p in range(6)])
expect("arid: in every model file", (summary["arid"]["pcp_values"], summary["arid"]["model_files"]), ("report", ""))
expect("arid: June to August as both models read no rain", [[values_of("arid")[c][m] for c in COLUMNS[4:10]]
                                                            for m in (5, 6, 7)],
       [["0.00", "0.0000", "0.2000", "0.00001", "0.00002", "0.00"]] * 3)
expect("arid: the note", [n for n in summary["arid"]["model_details"].split("; ") if n.startswith("pcp:")],
       ["pcp: no wet day in the record in 3 months (Jun, Jul, Aug): written as wet_dry 0.00001, wet_wet 0.00002, "
        "pcp_skew 0.2000, for which both models generate no rain"])

# ---- The same numbers from SWAT+ files; radiation in kW-hr; measured half-hour rain ----
sp = values_of("swatplus")
for c in ("tmp_max_ave", "tmp_min_sd", "slr_ave", "pcp_ave"):
    expect(f"SWAT+ files: {c}", sp[c], got[c])
expect("SWAT+ position", [userwgn["swatplus"][k] for k in ("WLATITUDE", "WLONGITUDE", "WELEV")],
       ["-33.865", "151.209", "39.0"])
expect("SWAT+ wind in m/s", sp["wnd_ave"], monthly(full["wind"], mean))
pw = values_of("power")
expect("POWER radiation from kW-hr", pw["slr_ave"],
       monthly({d: str(Fraction(v) * 36 / 10) for d, v in full["solar"].items()}, mean))
expect("POWER dew point", pw["dew_ave"], ["3.50"] * 12)
expect("POWER position", userwgn["power"]["WLATITUDE"], "40.5853")
hh = values_of("hhr")
expect("measured pcp_hhr", hh["pcp_hhr"], [max((rounded(Fraction(full["prcp"][d]) / 3) for d in days
                                                 if d.month == m and d.year > 2001), key=Fraction) for m in range(1, 13)])
expect("rain_yrs of the half-hour record", userwgn["hhr"]["RAIN_YRS"], "2")
expect("filled from the reference", (hh["slr_ave"][2], hh["dew_ave"][0], hh["wnd_ave"][5]), ("3.50000", "4.25000", "2.00000"))
expect("filled_variables", summary["hhr"]["filled_variables"], "slr_ave dew_ave wnd_ave")
expect("incomplete station", (summary["nopos"]["model_files"], userwgn["nopos"]["TMPMX1"]),
       ("no position (lat, lon, elev)", got["tmp_max_ave"][0]))

# ---- Positions: exponents written out, refusals with their place -------------------
expect("exponents written out", [userwgn["expo"][k] for k in ("WLATITUDE", "WLONGITUDE", "WELEV")],
       ["40.585", "-105.0844", "1559.21"])
expect("exponents in the summary", [summary["expo"][k] for k in ("lat", "lon", "elev")],
       ["40.585", "-105.0844", "1559.21"])


def shown(name):
    return program.shown_path(binary, os.path.join(work, name))


refused = {
    "power91": f'{shown("power91.csv")}, line 2, column 21: "91.5" is not a latitude (-90 ... 90)',
    "sphigh": f'{shown("sp-high.pcp")}, line 3, column elev: "1e5" is not an elevation (-450 ... 9000 m)',
    "ghcn999": f'{shown("ghcnd-stations.txt")}, line 2, column 32: elevation unknown (-999.9): give elev in the list',
}
for station, why in refused.items():
    expect(f"{station}: precipitation kept, no position", (summary[station]["status"], summary[station]["lat"],
           summary[station]["model_files"], userwgn[station]["WLATITUDE"], userwgn[station]["PCPMM1"] != ""),
           ("ok", "", "no position: " + why, "", True))
    expect(f"{station}: said on standard error, its one line", [line.endswith(f"; worst: no position: {why}; see "
                                                                              f"{shown(os.path.join('out', 'summary.csv'))}")
                                                                for line in err.splitlines()
                                                                if line.startswith(f"wgnrain-batch: {station}: ")], [True])
    expect(f"{station}: no .wgn", os.path.exists(os.path.join(work, "out", station, f"{station}.wgn")), False)
expect("GHCN position with the list's elevation", [userwgn["ghcnelev"][k] for k in ("WLATITUDE", "WLONGITUDE", "WELEV")],
       ["40.5853", "-105.0844", "1559"])
expect("GHCN precipitation", values_of("ghcnelev")["pcp_ave"], got["pcp_ave"])

# ---- A value too wide for the .wgn: in the .cli and the Editor's tables, not in the .wgn ----
wet_july = values_of("wet")["pcp_ave"][6]
expect("wet July is wide", len(wet_july.split(".")[0]) >= 5, True)
expect("wet model_files", summary["wet"]["model_files"],
       f"not in wet.wgn: pcp_ave {wet_july} of Jul is too wide for f6.1")
expect("wet: no .wgn", os.path.exists(os.path.join(work, "out", "wet", "wet.wgn")), False)
page = read("out", "index.html")
expect("the page links the .wgn files there are", ('wet/wet.wgn"' in page, 'expo/expo.wgn"' in page), (False, True))

# ---- What the model will do with the numbers: the summary, one line a station --------------
kinds = {name: (row["model_changes"], row["model_notes"]) for name, row in summary.items()}
details = {name: row["model_details"].split("; ") for name, row in summary.items()}
expect("dew_ave of humidity fractions measured", [n for n in details["fractions"] if n.startswith("dew_ave")],
       ["dew_ave: all twelve between 0 and 1, measured in every month: the model reads them as humidity fractions, "
        "not as dew points"])
expect("no temperature note", [n for n in details["fractions"] if n.startswith("tmp_")], [])
expect("dew_ave of humidity fractions filled: no note",
       (values_of("humid")["dew_ave"][0], [n for n in details["humid"] if n.startswith("dew_ave")]), ("0.65000", []))
lines = {}
for line in err.splitlines():
    found = re.fullmatch(r"wgnrain-batch: (\S+): (?:\d+ variables? refused)?(?:, )?(?:no position)?(?:, )?"
                         r"(?:(\d+) model changes?)?(?:, )?(?:(\d+) model notes?)?; worst: (.*); see (.*)", line)
    if not found:
        failures.append(f"a line on standard error that is not a station's one line: {line!r}")
        continue
    name, changes, notes, worst, table = found.groups()
    if name in lines:
        failures.append(f"{name}: more than one line on standard error")
    lines[name] = line
    expect(f"{name}: the line's counts are the summary's", (changes or "0", notes or "0"), kinds.get(name))
    if not worst.startswith("no position: "):
        expect(f"{name}: the line's worst is the summary's first", worst, details[name][0])
    expect(f"{name}: the line names the summary", table, program.shown_path(binary, os.path.join(work, "out", "summary.csv")))
expect("a line for each station with model notes, none for the others", sorted(lines),
       sorted(name for name, counts in kinds.items()
              if counts != ("0", "0") or "no position: " in summary[name]["model_files"]))
expect("fractions: its changes and notes", kinds["fractions"][1], "1")

# A batch run again reuses every station from its record: the same summary and page.
first_summary, first_page = read("out", "summary.csv"), read("out", "index.html")
status, out, err = program.run(binary, b"", work, tmp, arguments=["stations.csv", "-o", "out"])
expect("run again: status, every station reused", (status, err.decode()), (0, ""))
expect("run again: the same summary", read("out", "summary.csv"), first_summary)
written = re.compile(r"Written [^<]* by wgnrain-batch")
expect("run again: the same page", written.sub("", read("out", "index.html")), written.sub("", first_page))
expect("the page says once how the model takes pcp_days", first_page.count("The model always recomputes pcp_days"), 1)

# ---- A position in the list out of bounds is refused before anything runs ------------
write("bad-positions.csv", ["station,file,format,lat,lon,elev",
                            "a,full.csv,csv,91,5,2", "b,full.csv,csv,52,-180.5,2", "c,full.csv,csv,52,5,1e308",
                            "d,full.csv,csv,52,5,-999.9", "e,full.csv,csv,N52,5,2", "f,full.csv,csv,-9e1,1.8e2,9e3"])
status, out, err = program.run(binary, b"", work, tmp, arguments=["bad-positions.csv", "-o", "bad"])
list_name = shown("bad-positions.csv")
expect("list positions refused", (status, [line for line in err.decode().splitlines() if line]), (2, [
    f'wgnrain-batch: {list_name}, row 2, column lat: "91" is not a latitude (-90 ... 90)',
    f'wgnrain-batch: {list_name}, row 3, column lon: "-180.5" is not a longitude (-180 ... 180)',
    f'wgnrain-batch: {list_name}, row 4, column elev: "1e308" is not an elevation (-450 ... 9000 m)',
    f'wgnrain-batch: {list_name}, row 5, column elev: "-999.9" is not an elevation (-450 ... 9000 m)',
    f'wgnrain-batch: {list_name}, row 6, column lat: "N52" is not a number',
]))

# ---- Every model file read back as its reader reads it ------------------------------
model_stations = ["full", "gappy", "arid", "swatplus", "power", "hhr", "expo", "wet", "ghcnelev", "fractions", "humid"]
wgn_stations = [s for s in model_stations if s != "wet"]
cli = read("out", "weather-wgn.cli").split("\n")
expect("cli title", cli[0].startswith("weather-wgn.cli: weather generator data written by wgnrain-batch "), True)
blocks = [line.split() for line in cli[1:] if line.strip()]
expect("cli blocks of 14 lines", len(blocks), 14 * len(model_stations))
# SWAT+ finds a station by a binary search over the names as they stand, and
# takes the first block for a name it misses: the blocks are in byte order,
# whatever the list's order, and the search finds every station's own block.
cli_names = [blocks[14 * n][0] for n in range(len(model_stations))]
expect("cli blocks in the order of the names' bytes", cli_names,
       sorted(cli_names, key=lambda name: name.encode()))


def model_lookup(names, wanted):
    """The block SWAT+ takes for a name: binary search, else the first."""
    low, high = 0, len(names) - 1
    while low <= high:
        middle = (low + high) // 2
        if names[middle] == wanted:
            return middle
        low, high = (middle + 1, high) if names[middle] < wanted else (low, middle - 1)
    return 0


for station in model_stations:
    n = model_lookup(cli_names, station)
    head, names, months = blocks[14 * n], blocks[14 * n + 1], blocks[14 * n + 2:14 * n + 14]
    expect(f"{station} cli line", (head[0], float(head[1]), int(head[4])),
           (station, float(userwgn[station]["WLATITUDE"]), int(userwgn[station]["RAIN_YRS"])))
    expect(f"{station} cli names", names, COLUMNS)
    values = values_of(station)
    expect(f"{station} cli values", [[float(v) for v in month] for month in months],
           [[float(values[c][m]) for c in COLUMNS] for m in range(12)])
    if station not in wgn_stations:
        continue
    wgn = read("out", station, f"{station}.wgn").split("\n")
    # Each field as Fortran's F input reads it: a point written, so the digits
    # as they stand; each the record's value to the decimals written, and all
    # its decimals where the field has room for them.
    expect(f"{station} .wgn latitude (12x,f7.2)", wgn_read(wgn[1][12:19], userwgn[station]["WLATITUDE"], 7), True)
    for c, column in enumerate(COLUMNS):
        width_values = [wgn[4 + c][6 * m:6 * m + 6] for m in range(12)]
        expect(f"{station} .wgn {column}", [v for m, v in enumerate(width_values)
                                            if not wgn_read(v, values[column][m], 6)], [])
# SWAT 2012's .sub files name a .wgn in 13 characters: each .wgn also in
# swat2012/ under the station's id in the Editor's tables, in nine digits.
for n, station in enumerate(model_stations):
    named = f"swat2012/{n + 1:09d}.wgn" if station in wgn_stations else ""
    expect(f"{station}: swat2012_wgn", summary[station]["swat2012_wgn"], named)
    if named:
        expect(f"{station}: {named}", read("out", *named.split("/")), read("out", station, f"{station}.wgn"))
expect("swat2012: a file a .wgn", sorted(os.listdir(os.path.join(work, "out", "swat2012"))),
       sorted(f"{n + 1:09d}.wgn" for n, s in enumerate(model_stations) if s in wgn_stations))
stations_rows = list(csv.reader(io.StringIO(read("out", "wgn_stations.csv"))))
monthly_rows = list(csv.reader(io.StringIO(read("out", "wgn_monthly.csv"))))
expect("Editor stations by position", [r[:2] for r in stations_rows[1:]], [[str(i + 1), s] for i, s in enumerate(model_stations)])
for n, station in enumerate(model_stations):
    values = values_of(station)
    for m in range(12):
        row = monthly_rows[1 + 12 * n + m]
        expect(f"{station} Editor month {m + 1}", row,
               [str(12 * n + m + 1), str(n + 1), str(m + 1)] + [values[c][m] for c in COLUMNS])

# ---- Units stated in the list, and values that cannot be what they say ----------------
# One record written in other units: temperatures in °F, radiation in W/m2 (24-hour mean),
# wind in mph, humidity as fractions with a few sensor overshoots; the statistics must equal
# those of the values converted by hand.
units = {"tmax": {}, "tmin": {}, "solar": {}, "wind": {}, "rh": {}}
for n, d in enumerate(days):
    units["tmax"][d] = str(Fraction(full["tmax"][d]) * 9 / 5 + 32)
    units["tmin"][d] = str(Fraction(full["tmin"][d]) * 9 / 5 + 32)
    units["solar"][d] = str(Fraction(full["solar"][d]) * 10000 / 864)
    units["wind"][d] = full["wind"][d]
    units["rh"][d] = "1.004" if n % 97 == 5 else ("" if not full["rh"][d] else str(Fraction(int(full["rh"][d]), 100)))


def decimal(fraction, places=6):
    return f"{float(fraction):.{places}f}"


for name in ("tmax", "tmin", "solar"):
    units[name] = {d: decimal(Fraction(v)) for d, v in units[name].items()}
units["rh"] = {d: v if v in ("", "1.004") else decimal(Fraction(v), 2) for d, v in units["rh"].items()}
header = "date,prcp,tmax,tmin,rh,wind,solar"
write("units.csv", [header] + [",".join([d.isoformat(), full["prcp"][d], units["tmax"][d], units["tmin"][d],
                                         units["rh"][d], units["wind"][d], units["solar"][d]]) for d in days])
# The same file without its units stated; one with humidity that cannot be told; one whose
# temperatures would make no dew point.
mixed = [header] + [",".join([d.isoformat(), full["prcp"][d], full["tmax"][d], full["tmin"][d],
                              str(rng.random() * 3)[:5], full["wind"][d], full["solar"][d]]) for d in days]
mixed[40] = mixed[40].split(",")[0] + f",{full['prcp'][days[38]]},-237.3,-237.3,0.5,1,1"
write("mixed.csv", mixed)
write("swapped.csv", ["date,prcp,tmax,tmin"] + [f"{d.isoformat()},{full['prcp'][d]},{full['tmin'][d]},{full['tmax'][d]}"
                                                 for d in days])
write("units-list.csv", [
    "station,file,format,lat,lon,elev,tmp_unit,slr_unit,wnd_unit,hmd_unit",
    "stated,units.csv,csv,52.1,5.18,2,F,W/m2,mph,",
    "unstated,units.csv,csv,52.1,5.18,2,,,,",
    "mixed,mixed.csv,csv,52.1,5.18,2,,,,",
    "swapped,swapped.csv,csv,52.1,5.18,2,,,,",
])
status, out, err = batch("units-list.csv", "units")
expect("units batch status", status, 0)
station_lines = [line.split(": ") for line in err.splitlines() if line.startswith("wgnrain-batch: ")]
expect("at most one line a station", sorted(set(p[1] for p in station_lines)), sorted(p[1] for p in station_lines))
expect("stations with refusals say so first", sorted(p[1] for p in station_lines if " refused" in p[2]),
       ["mixed", "swapped", "unstated"])
uw = {row["STATION"]: row for row in csv.DictReader(io.StringIO(read("units", "userwgn.csv")))}
us = {row["station"]: row for row in csv.DictReader(io.StringIO(read("units", "summary.csv")))}
pcp_rows = {row["STATION"] for row in csv.DictReader(io.StringIO(read("units", "userwgn_pcp.csv")))}


def units_values(station):
    return {c: [uw[station][f"{stem}{m}"] for m in range(1, 13)] for c, stem in zip(COLUMNS, STEMS)}


stated = units_values("stated")
celsius = {k: {d: (Fraction(v) - 32) * 5 / 9 for d, v in units[k].items()} for k in ("tmax", "tmin")}
expect("°F means", stated["tmp_max_ave"], monthly({d: str(v) for d, v in celsius["tmax"].items()}, mean))
expect("°F deviations", stated["tmp_min_sd"], monthly({d: str(v) for d, v in celsius["tmin"].items()}, deviation))
expect("W/m2 means", stated["slr_ave"],
       monthly({d: str(Fraction(v) * 864 / 10000) for d, v in units["solar"].items()}, mean))
expect("mph means", stated["wnd_ave"], monthly({d: str(Fraction(v) * 44704 / 100000) for d, v in full["wind"].items()}, mean))
dews = {}
for d in days:
    if units["rh"][d]:
        t = float((celsius["tmax"][d] + celsius["tmin"][d]) / 2)
        dews[d] = dew_point(min(1.0, float(units["rh"][d])), t)
expect("dew point from overshooting fractions", stated["dew_ave"],
       [f"{round(sum(v for d, v in dews.items() if d.month == m) / sum(1 for d in dews if d.month == m) * 100) / 100:.2f}"
        for m in range(1, 13)])
overshoots = sum(1 for v in units["rh"].values() if v == "1.004")
expect("units of the stated station", us["stated"]["units"],
       f"tmp F; slr W/m2; rh fraction (told by the values; {overshoots} above 1 taken as 1); wnd mph")
expect("stated station complete", (us["stated"]["model_files"], us["stated"]["refused_variables"]), ("", ""))
unstated = us["unstated"]
# Beyond the few days taken as missing: the days above 60 as °C, and those whose minimum lies above the maximum.
tmax_days = [d for d in days if units["tmax"][d]]
fahrenheit_above = sum(1 for d in tmax_days if Fraction(units["tmax"][d]) > 60)
swapped_days = sum(1 for d in tmax_days if full["tmin"][d] and Fraction(full["tmax"][d]) > Fraction(full["tmin"][d]) + 1)
expect("°F without tmp_unit refused", unstated["refused_variables"].split("; ")[0].split("units.csv")[-1],
       f", line 2, column tmax: tmax 63.5 on 2001-01-01 is above 60 °C ({fahrenheit_above} of its {len(tmax_days)} days "
       "not plausible, more than the 5 taken as missing): is the column in °F? give tmp_unit")
expect("W/m2 without slr_unit refused", "give slr_unit" in unstated["refused_variables"], True)
expect("refused variables stay out", (unstated["missing_variables"], unstated["status"]),
       ("tmp_max_ave tmp_min_ave tmp_max_sd tmp_min_sd slr_ave dew_ave", "ok"))
expect("refusals keep the precipitation", sorted(pcp_rows), ["mixed", "stated", "swapped", "unstated"])
expect("the minimum above the maximum: neither used", (us["swapped"]["refused_variables"].split("swapped.csv")[-1],
                                                       us["swapped"]["missing_variables"]),
       (f", line 2, column tmin: tmin {full['tmax'][days[0]]} on 2001-01-01 is above that day's tmax "
        f"{full['tmin'][days[0]]} ({swapped_days} of its {len(tmax_days)} days not plausible, more than the 5 taken "
        "as missing), neither is used: are the columns swapped?",
        "tmp_max_ave tmp_min_ave tmp_max_sd tmp_min_sd slr_ave dew_ave wnd_ave"))
mixed_refusals = us["mixed"]["refused_variables"]
# One day of -237.3 among 1,095: a missing day of both temperatures, not their refusal.
expect("-237.3 left out", ("-237.3" in mixed_refusals, us["mixed"]["outlier_days"]), (False, "tmax 1; tmin 1"))
expect("humidity that cannot be told", "is neither fractions (at most 1) nor per cent: give hmd_unit" in mixed_refusals,
       True)
units_page = read("units", "index.html")
expect("the page says what was left out and why", ("Left out:" in units_page,
                                                   "is the column in °F? give tmp_unit" in units_page), (True, True))
expect("no NaN anywhere", "nan" in read("units", "userwgn.csv").lower() + read("units", "weather-wgn.cli").lower(), False)
# ---- A reference file that holds the asked name twice: which block is meant? ----------
write("twice.cli", [reference.rstrip("\n") + "\n" + reference.split("\n", 1)[1].rstrip("\n")])
write("twice.csv", ["station,file,format,lat,lon,elev,fill_file,fill_station",
                    "hhr,hhr.csv,csv,52.1,5.18,2,twice.cli,GRID 52 5"])
status, out, err = program.run(binary, b"", work, tmp, arguments=["twice.csv", "-o", "twice"])
twice = {row["station"]: row for row in csv.DictReader(io.StringIO(read("twice", "summary.csv")))}
expect("reference name twice", (status, twice["hhr"]["status"], twice["hhr"]["report_line"]),
       (1, "bad file", f"{program.shown_path(binary, os.path.join(work, 'twice.cli'))} holds the station GRID 52 5 "
                       "twice (lines 2 and 30)"))

# ---- Names the models read as one word, the list in any order --------------------------
# A blank, an apostrophe first (it would open a quoted string), a comma or a
# semicolon (they end a name in a free-format read), an accent, 60 bytes:
# the model files write each as one word of at most 50 bytes, and SWAT+'s
# binary search finds every station with its own position.
def model_name(name):
    data = name.encode()
    if len(data) > 50:
        cut = 50
        while cut > 0 and data[cut] & 0xC0 == 0x80:
            cut -= 1
        data = data[:cut]
    return "".join("_" if ord(c) < 0x20 or c == "\x7f" or c in " '\",;/\\" else c for c in data.decode())


odd_names = ["'s-Hertogenbosch", "Utrecht, NL", "De Bilt;2", "Z\u00fcrich Kloten", "x" * 55 + "-long", "Alpha",
             "bravo", "\u00e9" * 30]
random.Random(7).shuffle(odd_names)
write("odd.csv", ["station,file,format,lat,lon,elev,wnd_unit"] +
      [f'"{name}",full.csv,csv,{40 + i},5.18,2,km/h' for i, name in enumerate(odd_names)])
status, out, err = program.run(binary, b"", work, tmp, arguments=["odd.csv", "-o", "odd"])
expect("odd names status", status, 0)
odd = {row["station"]: row for row in csv.DictReader(io.StringIO(read("odd", "summary.csv")))}
expect("odd names: model_name", [odd[name]["model_name"] for name in odd_names], [model_name(n) for n in odd_names])
odd_blocks = [line.split() for line in read("odd", "weather-wgn.cli").split("\n")[1:] if line.strip()]
odd_cli = [odd_blocks[14 * n][0] for n in range(len(odd_names))]
for i, name in enumerate(odd_names):
    found = odd_blocks[14 * model_lookup(odd_cli, model_name(name))]
    expect(f"odd name {name!r}: its own block", (found[0], float(found[1])), (model_name(name), 40.0 + i))
odd_page = read("odd", "index.html")
expect("the page names the model files' name", "In the model files: _s-Hertogenbosch" in odd_page, True)
editor_names = [row[1] for row in csv.reader(io.StringIO(read("odd", "wgn_stations.csv")))][1:]
expect("odd names: the Editor's names", sorted(editor_names), sorted(model_name(n) for n in odd_names))
# A shorter list into the same folder: the numbered files of stations it no
# longer has go (a number must never name another station's .wgn).
write("odd3.csv", ["station,file,format,lat,lon,elev,wnd_unit"] +
      [f'"{name}",full.csv,csv,{40 + i},5.18,2,km/h' for i, name in enumerate(odd_names[:3])])
program.run(binary, b"", work, tmp, arguments=["odd3.csv", "-o", "odd"])
expect("swat2012 after a shorter list", sorted(os.listdir(os.path.join(work, "odd", "swat2012"))),
       ["000000001.wgn", "000000002.wgn", "000000003.wgn"])
# Two names written alike in the model files are refused before anything runs.
for first, second in [("Utrecht, NL", "Utrecht; NL"), ("y" * 50 + "a", "y" * 50 + "b")]:
    write("alike.csv", ["station,file,format,lat,lon,elev", f'"{first}",full.csv,csv,1,1,1',
                        f'"{second}",full.csv,csv,1,1,1'])
    status, out, err = program.run(binary, b"", work, tmp, arguments=["alike.csv", "-o", "alike"])
    expect(f"names written alike: {second!r}", (status, f'row 3, column station: "{second}" is written as '
                                                       f'{model_name(second)} in weather-wgn.cli, as is "{first}" of row 2'
                                                in err.decode()), (2, True))

# ---- The real records, precipitation only: the reports' digits, or gap-aware with missing days ----
if data_dir and os.path.isdir(data_dir):
    records = program.station_records(data_dir)
    rows = ["station,file,first_year,nodata,lat,lon,elev"]
    for path in records:
        name = os.path.basename(path)[:-4]
        first = re.search(r"(\d{4})-\d{4}$", name).group(1)
        rows.append(f"{name},{path},{first},-99,52,5,1")
    write("real.csv", rows)
    status, out, err = program.run(binary, b"", work, tmp, arguments=["real.csv", "-o", "real"])
    expect("real records status", status, 0)
    real = {row["STATION"]: row for row in csv.DictReader(io.StringIO(read("real", "userwgn.csv")))}
    for path in records:
        name = os.path.basename(path)[:-4]
        lines = read("real", name, "report.txt").split("\r\n")[13:25]
        digits = [[line[a:b].strip() for a, b in [(8, 18), (18, 30), (30, 42), (42, 54), (54, 66), (66, 76)]]
                  for line in lines]
        first = int(re.search(r"(\d{4})-\d{4}$", name).group(1))
        months = wgnrain_ref.table_values(first, wgnrain_ref.plain_values(path), -99.0, digits)
        for p, stem in enumerate(STEMS[4:10]):
            expect(f"{name} {stem}", [real[name][f"{stem}{m}"] for m in range(1, 13)], [v[p] for v in months])
    expect("precipitation-only stations are not complete",
           read("real", "weather-wgn.cli").count("\n"), 1)

# ---- A SWAT 2012 project's pcp1.pcp and tmp1.tmp: gauge 2 of two, chosen by number in both ----
# Gauge 1 holds other numbers: a value read from the wrong columns shows.
write("pcp1.pcp", ["Station  p5210,p5211,", "Lati    -9.9 52.3", "Long    -9.9  5.0", "Elev      99   10"] +
      [f"{d.year}{d.timetuple().tm_yday:03d}  9.9{float(full['prcp'][d]):5.1f}" for d in days])
write("tmp1.tmp", ["Station  t5210,t5211,", "Lati         -9.9      52.3", "Long         -9.9       5.0",
                   "Elev           99        10"] +
      [f"{d.year}{d.timetuple().tm_yday:03d} 40.0-40.0{float(full['tmax'][d]):5.1f}{float(full['tmin'][d]):5.1f}"
       for d in days])
# The same temperatures at a gauge 50 km north and 1577 m higher: a note names both positions.
tmp_lines = read("tmp1.tmp").split("\n")
write("tmp-far.tmp", [tmp_lines[0], "Lati         -9.9     52.75", "Long         -9.9       5.0",
                      "Elev           99      1587"] + tmp_lines[4:-1])
write("swat2012.csv", ["station,file,format,gauge,tmp_file", "s2012,pcp1.pcp,swat2012,2,tmp1.tmp",
                       "s2012far,pcp1.pcp,swat2012,2,tmp-far.tmp"])
status, out, err = batch("swat2012.csv", "out2012")
expect("swat2012 batch status", status, 0)
s2012 = {row["STATION"]: row for row in csv.DictReader(io.StringIO(read("out2012", "userwgn.csv")))}
expect("swat2012 position of gauge 2", [s2012["s2012"][k] for k in ("WLATITUDE", "WLONGITUDE", "WELEV")],
       ["52.3", "5.0", "10"])
for stem, c in (("TMPMX", "tmp_max_ave"), ("TMPMN", "tmp_min_ave"), ("TMPSTDMN", "tmp_min_sd"), ("PCPMM", "pcp_ave")):
    expect(f"swat2012 gauge 2: {c}", [s2012["s2012"][f"{stem}{m}"] for m in range(1, 13)], got[c])
far_note = (f"position: {shown('tmp-far.tmp')} gauge 2 lies 50.0 km from the station and 1577 m higher "
            "(52.75, 5.0, 1587 m for the station's 52.3, 5.0, 10 m)")
summary2012 = {row["station"]: row for row in csv.DictReader(io.StringIO(read("out2012", "summary.csv")))}
expect("gauge positions: a note for the gauge of another place alone",
       {name: [n for n in row["model_details"].split("; ") if n.startswith("position: ")]
        for name, row in summary2012.items()}, {"s2012": [], "s2012far": [far_note]})
expect("gauge positions: counted with the notes", int(summary2012["s2012far"]["model_notes"]),
       int(summary2012["s2012"]["model_notes"]) + 1)
far_lines = [line for line in err.splitlines() if line.startswith("wgnrain-batch: s2012far: ")]
expect("gauge positions: the station's one line", len(far_lines) == 1 and
       ("; worst: " + summary2012["s2012far"]["model_details"].split("; ")[0] + "; see ") in far_lines[0], True)
first_summary = read("out2012", "summary.csv")
status, out, err = batch("swat2012.csv", "out2012")
expect("gauge positions: kept by a reused station", (status, err, read("out2012", "summary.csv")),
       (0, "", first_summary))

for failure in failures:
    print("FAIL", failure)
print(f"{'FAILED' if failures else 'passed'}: the complete record against its definitions, the model files read back")
sys.exit(1 if failures else 0)
