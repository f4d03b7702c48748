"""The real station records written as dated files of every format, with
days removed, values flagged and gaps marked each format's own way, run as
one wgnrain-batch list: every station's report (but for the input name
line) and both tables equal those of the plain series with exactly those
days as NoData, and each station's series.txt is that plain series.

    dated_records.py path/to/wgnrain-batch path/to/shared/data
    WGNRAIN_LAUNCHER=path/to/launch.exe dated_records.py path/to/wgnrain-batch.exe path/to/shared/data

Exits 77 (skipped) when the data folder is missing.
"""
import datetime
import os
import random
import re
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import program  # noqa: E402

binary, data_dir = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
records = program.station_records(data_dir)
work = os.path.realpath(tempfile.mkdtemp(prefix="wgndated"))
tmp = os.path.join(work, "tmp")
os.mkdir(tmp)
failures = []


def days_of(first, last):
    day = datetime.date(first, 1, 1)
    while day.year <= last:
        yield day
        day += datetime.timedelta(days=1)


def write(name, lines, end="\n"):
    with open(os.path.join(work, name), "w", newline="") as f:
        f.write("".join(line + end for line in lines))


def tenths(text):
    """GHCN's whole tenths for a value of at most one decimal, else None."""
    match = re.fullmatch(r"(\d+)(?:\.(\d))?", text)
    return None if match is None else str(int(match.group(1)) * 10 + int(match.group(2) or 0))


rows = ["station,file,format,first_year,last_year,nodata"]
pairs = []  # (dated station, its plain reference)
rng = random.Random(20261208)
for path in records:
    name = os.path.basename(path)[:-4]
    first, last = map(int, re.search(r"(\d{4})-(\d{4})$", name).groups())
    with open(path) as f:
        texts = [line.strip() for line in f if line.strip()]
    days = list(days_of(first, last))
    assert len(days) == len(texts), name
    # Removed: about one day in a hundred and one whole month.
    gone_month = (first + (last - first) // 2, rng.randint(1, 12))
    values = {}
    for day, text in zip(days, texts):
        removed = rng.random() < 0.01 or (day.year, day.month) == gone_month
        values[day] = None if removed or text == "-99" else text
    flagged = {day for day in days if values[day] is not None and rng.random() < 0.002}

    def plain(station, known):
        write(f"{station}.txt", [known.get(day) or "-99" for day in days])
        rows.append(f"{station},{station}.txt,plain,{first},,-99")

    plain(f"{name}-plain", values)
    # csv: absent rows, empty cells
    write(f"{name}.csv", ["date,prcp"] + [f"{d.isoformat()},{v or ''}" for d, v in values.items()
                                          if v is not None or rng.random() < 0.5])
    # SWAT+: absent lines, -99 for the rest
    write(f"{name}.pcp", [f"{name}.pcp: written by a test", "nbyr tstep lat lon elev",
                          f"{last - first + 1} 0 52.0 5.0 2.0"] +
          [f"{d.year} {d.timetuple().tm_yday} {v or '-99.0'}" for d, v in values.items()
           if v is not None or rng.random() < 0.5])
    # SWAT 2012: every day, -99 where missing, CR LF
    write(f"{name}.swat.txt", [f"{first}0101"] + [v or "-99" for v in values.values()], "\r\n")
    # NASA POWER: every day, -999 where missing, YEAR,DOY
    write(f"{name}.power.csv", ["-BEGIN HEADER-", "NASA/POWER test", "-END HEADER-", "YEAR,DOY,PRECTOTCORR"] +
          [f"{d.year},{d.timetuple().tm_yday},{v or '-999'}" for d, v in values.items()])
    # GHCN-Daily: tenths; values of more decimals and flagged values are missing
    ghcnd = {d: (tenths(v) if v is not None and d not in flagged else None) for d, v in values.items()}
    lines = []
    for year in range(first, last + 1):
        for month in range(1, 13):
            line = f"TEST0000001{year:04d}{month:02d}PRCP"
            for d in range(1, 32):
                try:
                    day = datetime.date(year, month, d)
                except ValueError:
                    line += "-9999   "
                    continue
                if day in flagged:
                    line += f"{tenths(values[day]) or '1':>5} X "
                else:
                    line += f"{ghcnd[day] or '-9999':>5}   "
            lines.append(line)
    write(f"{name}.dly", lines)
    plain(f"{name}-plain-ghcnd", {d: t and f"{int(t) // 10}.{int(t) % 10}" for d, t in ghcnd.items()})
    for fmt, file in (("csv", f"{name}.csv"), ("swatplus", f"{name}.pcp"), ("swat", f"{name}.swat.txt"),
                      ("power", f"{name}.power.csv"), ("ghcnd", f"{name}.dly")):
        rows.append(f"{name}-{fmt},{file},{fmt},{first},{last},")
        pairs.append((f"{name}-{fmt}", f"{name}-plain-ghcnd" if fmt == "ghcnd" else f"{name}-plain"))
write("stations.csv", rows)

status, out, err = program.run(binary, b"", work, tmp, arguments=["stations.csv", "-o", "out", "-j", "2"])
if status != 0:
    failures.append(f"batch status {status}: {out.decode(errors='replace')} {err.decode(errors='replace')}")


def read(station, file):
    try:
        with open(os.path.join(work, "out", station, file), "rb") as f:
            return f.read()
    except OSError:
        return None


with open(os.path.join(work, "out", "summary.csv")) as f:
    summary = f.read()
if summary.count(",ok,") != len(rows) - 1 or ",0.0,0," in summary.replace("plain", ""):
    failures.append("summary: not every station ok, or a dated station without gaps or flags")

for dated, reference in pairs:
    report, expected = read(dated, "report.txt"), read(reference, "report.txt")
    if report is None or expected is None:
        failures.append(f"{dated}: no report")
        continue
    if report.split(b"\r\n")[2:] != expected.split(b"\r\n")[2:] or report[:60] != expected[:60]:
        failures.append(f"{dated}: the report differs from {reference}'s")
    for table in ("mean_pcp.sta", "totalpcp.sta"):
        if read(dated, table) != read(reference, table):
            failures.append(f"{dated}: {table} differs from {reference}'s")
    series = read(dated, "series.txt").decode().split("\r\n")[:-1]
    plain = [line.strip() for line in open(os.path.join(work, reference + ".txt"))]
    if [float(v) for v in series] != [float(v) for v in plain]:
        failures.append(f"{dated}: series.txt is not the plain series with its gaps")

for failure in failures:
    print(failure)
print(f"{len(pairs) - len({f.split(':')[0] for f in failures})} passed, {len({f.split(':')[0] for f in failures})} failed")
sys.exit(1 if failures else 0)
