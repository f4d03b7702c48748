"""One real station record written as the files people have, each with one
quirk (date-time stamps, units in the headers, Daymet's notes and yday,
named columns beside a decoy, missing-day markers and traces, a POWER file
saved again by a spreadsheet, UTF-16, CR-only line ends, a SWAT+ .slr with
"--"), run as one wgnrain-batch list of complete records: each station's
precipitation report and its temperature equal those of the clean csv.  A
bad cell of temperature leaves the precipitation as it was; every message
line stays short.

    files_as_they_come.py path/to/wgnrain-batch path/to/shared/data

Exits 77 (skipped) when the data folder is missing.
"""
import csv
import datetime
import io
import os
import re
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import program  # noqa: E402

binary, data_dir = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
record = [r for r in program.station_records(data_dir) if "de-bilt" in r][0]
first, last = map(int, re.search(r"(\d{4})-(\d{4})\.txt$", record).groups())
work, tmp = program.workspace("wgnquirks")
failures = []
expect = program.expecter(failures)


def write(name, lines, end="\n", encoding="utf-8"):
    with open(os.path.join(work, name), "w", newline="", encoding=encoding) as f:
        f.write("".join(line + end for line in lines))


with open(record) as f:
    texts = [line.strip() for line in f if line.strip()]
days = [datetime.date(first, 1, 1) + datetime.timedelta(days=i) for i in range(len(texts))]
pcp = {d: (None if t == "-99" else t) for d, t in zip(days, texts)}
# Temperatures made up from the day, one decimal, the same in every file.
tmax = {d: f"{10 + (d.timetuple().tm_yday * 7 + d.year) % 150 / 10:.1f}" for d in days}
tmin = {d: f"{-2 + (d.timetuple().tm_yday * 11 + d.year) % 90 / 10:.1f}" for d in days}
MARKERS = ["NA", "N/A", "-", "--", "M", "null", ""]
zero_days = [d for d in days if pcp[d] in ("0", "0.0")][::7]


def cell(value, i=0):
    return MARKERS[i % len(MARKERS)] if value is None else value


clean = ["date,prcp,tmax,tmin"] + [f"{d},{pcp[d] or ''},{tmax[d]},{tmin[d]}" for d in days]
write("clean.csv", clean)
write("stamps.csv", ["date,prcp (mm/day),tmax (deg c),tmin (deg c)"] +
      [f"{d}{' 00:00:00' if i % 2 else 'T06:00:00Z'},{pcp[d] or ''},{tmax[d]},{tmin[d]}"
       for i, d in enumerate(days)])
write("daymet.csv", ["Latitude: 52.1  Longitude: 5.18", "Tile: 11736", "Elevation: 2 meters",
                     "How to cite: a made-up note, with a comma", "",
                     "year,yday,dayl (s),prcp (mm/day),tmax (deg c),tmin (deg c),vp (Pa)"] +
      [f"{d.year},{d.timetuple().tm_yday},36000.00,{pcp[d] or ''},{tmax[d]},{tmin[d]},800.00" for d in days])
write("named.csv", ["Datum,RR,Tx,Tn,tmax"] + [f"{d},{pcp[d] or ''},{tmax[d]},{tmin[d]},99.9" for d in days])
write("markers.csv", ["date,prcp,tmax,tmin"] +
      [f"{d},{'T' if d in zero_days else cell(pcp[d], i)},{tmax[d]},{tmin[d]}" for i, d in enumerate(days)])
bad_day = days[len(days) // 2]
write("badtemp.csv", ["date,prcp,tmax,tmin"] +
      [f"{d},{pcp[d] or ''},{tmax[d]},{'x5' if d == bad_day else tmin[d]}" for d in days])
write("utf16.csv", clean, encoding="utf-16")
write("cronly.csv", clean, end="\r")
write("power.csv", [line + ",,,," for line in [
    "-BEGIN HEADER-", "NASA/POWER CERES/MERRA2 Native Resolution Daily Data",
    "The value for missing source data that cannot be computed or is outside of the sources availability "
    "range: -999", "PRECTOTCORR     MERRA-2 Precipitation Corrected (mm/day)",
    "T2M_MAX     MERRA-2 Temperature at 2 Meters Maximum (C)", "T2M_MIN     MERRA-2 Temperature at 2 Meters Minimum (C)",
    "-END HEADER-"]] + ["YEAR,MO,DY,PRECTOTCORR,T2M_MAX,T2M_MIN,,,,"] +
      [f"{d.year},{d.month},{d.day},{pcp[d] or '-999'},{tmax[d]},{tmin[d]},,,," for d in days])
header = ["sp: written by a test", "nbyr tstep lat lon elev", f"{last - first + 1} 0 52.1 5.18 2.0"]
write("sp.pcp", header + [f"{d.year} {d.timetuple().tm_yday} {pcp[d] or '-99.0'}" for d in days])
write("sp.tmp", header + [f"{d.year} {d.timetuple().tm_yday} {tmax[d]} {tmin[d]}" for d in days])
write("sp.slr", header + [f"{d.year} {d.timetuple().tm_yday} {'--' if d == bad_day else '2.5'}" for d in days])
write("sp-clean.slr", header + [f"{d.year} {d.timetuple().tm_yday} {'-99.0' if d == bad_day else '2.5'}"
                                for d in days])

# GHCN-Daily, whose position comes from a station list that lacks it.
dly = []
for d in days:
    if d.day == 1:
        dly.append(f"NLE00000001{d.year:04d}{d.month:02d}PRCP")
    dly[-1] += f"{'-9999' if pcp[d] is None else str(round(float(pcp[d]) * 10)):>5}   "
dly = [line + "-9999   " * ((269 - len(line)) // 8) for line in dly]
write("nl.dly", dly)
write("ghcnd-stations.txt", ["USC00011111  10.0000   10.0000  100.0 CO ANOTHER"])

position = "52.1,5.18,2"
write("stations.csv", [
    "station,file,format,lat,lon,elev,date_column,pcp_column,tmax_column,tmin_column,tmp_file,slr_file,"
    "stations_file",
    f"clean,clean.csv,csv,{position},,,,,,,",
    f"stamps,stamps.csv,csv,{position},,,,,,,",
    f"daymet,daymet.csv,csv,{position},,,,,,,",
    f"named,named.csv,csv,{position},Datum,RR,Tx,Tn,,,",
    f"markers,markers.csv,csv,{position},,,,,,,",
    f"badtemp,badtemp.csv,csv,{position},,,,,,,",
    f"utf16,utf16.csv,csv,{position},,,,,,,",
    f"cronly,cronly.csv,csv,{position},,,,,,,",
    f"power,power.csv,power,{position},,,,,,,",
    f"sp,sp.pcp,swatplus,{position},,,,,sp.tmp,sp.slr,",
    f"spclean,sp.pcp,swatplus,{position},,,,,sp.tmp,sp-clean.slr,",
])
with open(os.path.join(work, "stations.csv"), "a") as f:
    f.write("ghcn,nl.dly,ghcnd,,,,,,,,,,ghcnd-stations.txt\n")
status, out, err = program.run(binary, b"", work, tmp, arguments=["stations.csv", "-o", "out", "-j", "2"])
expect("batch status", status, 0)


def read(*parts):
    with open(os.path.join(work, "out", *parts), "rb") as f:
        return f.read()


summary = {row["station"]: row for row in csv.DictReader(io.StringIO(read("summary.csv").decode()))}
userwgn = {row["STATION"]: row for row in csv.DictReader(io.StringIO(read("userwgn.csv").decode()))}


def report(station):
    """The report but for the line that names the input."""
    return read(station, "report.txt").split(b"\r\n")[2:]


def columns(station, stems):
    return [userwgn[station][f"{stem}{m}"] for stem in stems for m in range(1, 13)]


TEMPERATURE = ["TMPMX", "TMPMN", "TMPSTDMX", "TMPSTDMN"]
for station in ["stamps", "daymet", "named", "markers", "badtemp", "utf16", "cronly", "power", "sp", "spclean"]:
    expect(f"{station}: status", summary[station]["status"], "ok")
    expect(f"{station}: the precipitation report is the clean file's", report(station) == report("clean"), True)
    expect(f"{station}: the monthly precipitation", columns(station, ["PCPMM", "PCPSTD", "PCPSKW", "PR_W1_",
                                                                      "PR_W2_", "PCPD"]),
           columns("clean", ["PCPMM", "PCPSTD", "PCPSKW", "PR_W1_", "PR_W2_", "PCPD"]))
    if station != "badtemp":
        expect(f"{station}: the temperature", columns(station, TEMPERATURE), columns("clean", TEMPERATURE))
expect("traces counted", (summary["markers"]["trace_values"], summary["clean"]["trace_values"]),
       (str(len(zero_days)), "0"))
expect("a bad cell refuses its variable alone", ("tmin" in summary["badtemp"]["refused_variables"],
                                                 "tmax" in summary["badtemp"]["refused_variables"],
                                                 columns("badtemp", ["TMPMX"]) == columns("clean", ["TMPMX"])),
       (True, False, True))
expect("-- in a .slr is a missing day", (summary["sp"]["refused_variables"], columns("sp", ["SOLARAV"])),
       ("", columns("spclean", ["SOLARAV"])))

expect("a GHCN station missing from its station list is named", summary["ghcn"]["model_files"].split("; ")[-1],
       "no position: " + program.shown_path(binary, work) + program.separator(binary) + "ghcnd-stations.txt"
       ": no line of the station NLE00000001")

# Messages stay short, whatever the file holds: a whole file on one line, a long cell.
write("oneline.csv", [",".join(["date", "prcp"] + [f"{d} {pcp[d]}" for d in days[:3000]])], end="\r")
write("longcell.csv", ["date,prcp", "2001-01-01," + "9" * 5000 + "x\x1b[2J"])
write("bad.csv", ["station,file,format", "oneline,oneline.csv,csv", "longcell,longcell.csv,csv"])
status, out, err = program.run(binary, b"", work, tmp, arguments=["bad.csv", "-o", "bad"])
with open(os.path.join(work, "bad", "summary.csv"), "rb") as f:
    summary_bad = list(csv.DictReader(io.StringIO(f.read().decode())))
lines = [line for line in (out + err).decode(errors="replace").splitlines() if line]
lines += [row["report_line"] for row in summary_bad]
expect("bad files fail", (status, [row["status"] for row in summary_bad]), (1, ["bad file", "bad file"]))
expect("message lines at most 300 characters", [len(line) for line in lines if len(line) > 300], [])
expect("no escape reaches the terminal or the summary", any("\x1b" in line for line in lines), False)

for failure in failures:
    print("FAIL", failure)
print(f"{'FAILED' if failures else 'passed'}: {len(failures)} of the checks failed")
sys.exit(1 if failures else 0)
