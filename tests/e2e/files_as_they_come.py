"""One real station record written as the files people have, each with one
quirk (date-time stamps, units in the headers, Daymet's notes and yday,
named columns beside a decoy, missing-day markers and traces, a POWER file
saved again by a spreadsheet, UTF-16, CR-only line ends, a SWAT+ .slr with
"--"), run as one wgnrain-batch list of complete records: each station's
precipitation report and its temperature equal those of the clean csv.
ECA&D's and NOAA CDO's exports read as clean files where their units are
stated and are refused where nothing states them; a few implausible days
are missing days, named.  A
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

# ---- Exports whose units are their own: ECA&D's tenths (stated in its notes), NOAA CDO's
# inches and °F (stated nowhere), a few implausible days among many -------------------
# Each reads as the clean file where its unit is stated (ECA&D by its notes, CDO by the
# list); without that, the amounts tell the unit and the station is refused, never
# passing into a model file in the wrong unit.
ecad_notes = ["EUROPEAN CLIMATE ASSESSMENT & DATASET (ECA&D), file created on 07-01-2025",
              "THESE DATA CAN BE USED FREELY PROVIDED THAT THE FOLLOWING SOURCE IS ACKNOWLEDGED:", "",
              "Klein Tank, A.M.G. and Coauthors, 2002. Daily dataset of 20th-century surface",
              "air temperature and precipitation series for the European Climate Assessment.",
              "Int. J. of Climatol., 22, 1441-1453.", "Data and metadata available at http://www.ecad.eu", "",
              "FILE FORMAT (MISSING VALUE CODE IS -9999):", "", "01-06 SOUID: Source identifier",
              "08-15 DATE : Date YYYYMMDD", "17-21 RR   : Precipitation amount in 0.1 mm",
              "23-27 Q_RR : Quality code for RR (0='valid'; 1='suspect'; 9='missing')", "",
              "This is the blended series of station DE BILT, NETHERLANDS (STAID: 162).",
              "Blended and updated with sources: 100522 909045", "See files sources.txt and stations.txt for more info.",
              ""]
ecad_rows = ["SOUID,    DATE,   RR, Q_RR"] + [
    f"100522,{d.strftime('%Y%m%d')},{'-9999' if pcp[d] is None else str(round(float(pcp[d]) * 10)):>5},"
    f"{'    9' if pcp[d] is None else '    0'}" for d in days]
write("ecad.txt", ecad_notes + ecad_rows, end="\r\n")
write("tenths.csv", ecad_rows)
# The clean file as ECA&D's tenths give it back (a trace of 0.02 is 0 tenths).
write("ecad-clean.csv", ["date,prcp"] + [f"{d},{'' if pcp[d] is None else round(float(pcp[d]) * 10) / 10:g}"
                                         for d in days])


def inches(mm):
    return f"{round(float(mm) / 25.4, 2):.2f}"


def fahrenheit(celsius):
    tenths = round(float(celsius) * 10)
    return f"{tenths * 9 / 50 + 32:.2f}"  # exact: a tenth of a degree is 0.18 °F


write("cdo.csv", ['"STATION","NAME","DATE","PRCP","TMAX","TMIN"'] +
      [f'"USC00000001","DE BILT, NL","{d}","{"" if pcp[d] is None else inches(pcp[d])}","{fahrenheit(tmax[d])}",'
       f'"{fahrenheit(tmin[d])}"' for d in days])
# The same inches made mm exactly, in decimal (hundredths of an inch are 0.254 mm).
write("cdo-clean.csv", ["date,prcp,tmax,tmin"] +
      [f"{d},{'' if pcp[d] is None else f'{round(float(pcp[d]) / 25.4 * 100) * 254 / 1000:.3f}'},{tmax[d]},{tmin[d]}"
       for d in days])
odd_days = {days[100]: ("2540", None), days[200]: ("-5", None), days[300]: (None, "99.0")}
write("outliers.csv", ["date,prcp,tmax,tmin"] +
      [f"{d},{odd_days.get(d, (None, None))[0] or pcp[d] or ''},{odd_days.get(d, (None, None))[1] or tmax[d]},"
       f"{tmin[d]}" for d in days])
write("outliers-clean.csv", ["date,prcp,tmax,tmin"] +
      [f"{d},{'' if d in odd_days and odd_days[d][0] else pcp[d] or ''},{'' if d == days[300] else tmax[d]},"
       f"{tmin[d]}" for d in days])
write("exports.csv", [
    "station,file,format,lat,lon,elev,pcp_column,nodata,pcp_unit,tmp_unit",
    f"ecad,ecad.txt,csv,{position},RR,-9999,,",
    f"ecad-clean,ecad-clean.csv,csv,{position},,,,",
    f"cdo,cdo.csv,csv,{position},,,in,F",
    f"cdo-clean,cdo-clean.csv,csv,{position},,,,",
    f"tenths,tenths.csv,csv,{position},RR,-9999,,",
    f"cdo-unstated,cdo.csv,csv,{position},,,,",
    f"outliers,outliers.csv,csv,{position},,,,",
    f"outliers-clean,outliers-clean.csv,csv,{position},,,,",
])
status, out, err = program.run(binary, b"", work, tmp, arguments=["exports.csv", "-o", "exports", "-j", "2"])
expect("exports: status", status, 1)
exports = {row["station"]: row for row in csv.DictReader(io.StringIO(read("..", "exports", "summary.csv").decode()))}
exports_wgn = {row["STATION"]: row for row in csv.DictReader(io.StringIO(read("..", "exports", "userwgn.csv").decode()))}
PRECIPITATION = ["PCPMM", "PCPSTD", "PCPSKW", "PR_W1_", "PR_W2_", "PCPD"]


def export_columns(station, stems):
    return [exports_wgn[station][f"{stem}{m}"] for stem in stems for m in range(1, 13)]


for station, stems in [("ecad", PRECIPITATION), ("cdo", PRECIPITATION + TEMPERATURE),
                       ("outliers", PRECIPITATION + TEMPERATURE)]:
    expect(f"{station}: read as its clean file", export_columns(station, stems),
           export_columns(station + "-clean", stems))
expect("the units converted from", (exports["ecad"]["units"], exports["cdo"]["units"]), ("pcp tenths_mm", "pcp in; tmp F"))
shown_work = program.shown_path(binary, work) + program.separator(binary)
expect("tenths stated nowhere: refused", (exports["tenths"]["status"], exports["tenths"]["report_line"]),
       ("bad file", f"{shown_work}tenths.csv, column RR: whole numbers on 100 % of the wet days, 45.6 mm a wet day and "
                    "8563 mm a year read as mm: the amounts read as tenths of mm: give pcp_unit tenths_mm, or "
                    "pcp_unit mm if they are mm"))
expect("inches stated nowhere: refused", (exports["cdo-unstated"]["status"],
                                          exports["cdo-unstated"]["report_line"].split("column PRCP: ")[-1]),
       ("bad file", "hundredths on 93 % of the wet days, 0.19 mm a wet day and 34 mm a year read as mm, wet on 47 % "
                    "of the days: the amounts read as inches: give pcp_unit in, or pcp_unit mm if they are mm"))
expect("no station refused is in a model file", [s for s in ("tenths", "cdo-unstated")
                                                   if s in read("..", "exports", "weather-wgn.cli").decode()], [])
# The few implausible days: missing days of their variable, named in the summary, run.txt and the page.
expect("outlier days counted", (exports["outliers"]["outlier_days"], exports["outliers"]["refused_variables"],
                                exports["outliers-clean"]["outlier_days"]), ("pcp 2; tmax 1", "", ""))
expect("outlier days are missing days", int(exports["outliers"]["missing_days"]),
       int(exports["outliers-clean"]["missing_days"]))
dates = [days[i].isoformat() for i in (100, 200, 300)]
run_txt = read("..", "exports", "outliers", "run.txt").decode()
expect("run.txt lists them", [line for line in run_txt.split("\r\n") if line.startswith("outlier_days")],
       [f"outlier_days: pcp {dates[0]} 2540, {dates[1]} -5; tmax {dates[2]} 99"])
expect("the page names them", f"not plausible: pcp {dates[0]} 2540, {dates[1]} -5; tmax {dates[2]} 99."
       in read("..", "exports", "index.html").decode(), True)
expect("the series writes them as NoData", read("..", "exports", "outliers", "series.txt"),
       read("..", "exports", "outliers-clean", "series.txt"))
first_summary = read("..", "exports", "summary.csv")
status, out, err = program.run(binary, b"", work, tmp, arguments=["exports.csv", "-o", "exports", "-j", "2"])
expect("a station reused keeps its outlier days", read("..", "exports", "summary.csv"), first_summary)

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
