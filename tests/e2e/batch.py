"""wgnrain-batch through the real programs.

  - The real station records as one station list, plus a station made to
    fail: every value of userwgn_pcp.csv and wgn_mon_pcp.csv is the digits of
    that station's report, or in a month with missing days the gap-aware
    value of the independent model (tests/reference), the summary tells each
    station's end and which values it took, the broken station fails alone,
    and four jobs give the same files as one.
  - A station list with every kind of mistake: one message per mistake, exit
    status 2, nothing run.
  - The command line: --help, --version, refused lines.

    batch.py path/to/wgnrain-batch path/to/shared/data
    WGNRAIN_LAUNCHER=path/to/launch.exe batch.py path/to/wgnrain-batch.exe path/to/shared/data   (under Wine)

Exits 77 (skipped) when the data folder is missing.
"""
import os
import re
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "reference"))
import program  # noqa: E402
import wgnrain_ref  # noqa: E402

binary, data_dir = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
records = program.station_records(data_dir)

failures = []
work = os.path.realpath(tempfile.mkdtemp(prefix="wgnbatch"))
tmp = os.path.join(work, "tmp")
os.mkdir(tmp)
os.symlink(data_dir, os.path.join(work, "data"))


def batch(*arguments):
    status, out, err = program.run(binary, b"", work, tmp, arguments=arguments)
    return status, out.decode(errors="replace"), err.decode(errors="replace")


def expect(what, got, want):
    if got != want:
        failures.append(f"{what}: got {got!r}, expected {want!r}")


def shown(path):
    """A full name as the batch shows it (symbolic links are not followed)."""
    return "Z:" + path.replace("/", "\\") if program.is_windows(binary) else path


def read(*parts):
    with open(os.path.join(work, *parts), "rb") as f:
        return f.read().decode()


# ---- The real records, and one broken station --------------------------------
rows = ["station,file,first_year,nodata,note"]
for path in records:
    name = os.path.basename(path)[:-4]
    first = re.search(r"(\d{4})-\d{4}$", name).group(1)
    relative = os.path.relpath(path, data_dir).replace(os.sep, "/")
    rows.append(f"{name},data/{relative},{first},-99,\"real, {name[:4]}\"")
with open(os.path.join(work, "broken.txt"), "w") as f:
    f.write("rain in mm\n1.0\n")
rows.append("broken,broken.txt,2001,-99,made to fail")
with open(os.path.join(work, "stations.csv"), "w") as f:
    f.write("\n".join(rows) + "\n")

for jobs in ("1", "4"):
    status, out, err = batch("stations.csv", "-o", "out" + jobs, "-j", jobs)
    expect(f"-j {jobs} status", status, 1)
    expect(f"-j {jobs} standard error", err, "")
    expect(f"-j {jobs} standard output", out.split(";")[0],
           f"wgnrain-batch: {len(records) + 1} stations, {len(records)} ok, 1 failed")
for table in ("summary.csv", "userwgn_pcp.csv", "wgn_mon_pcp.csv"):
    expect(f"{table} of -j 1 and -j 4 differ", read("out1", table) == read("out4", table), True)

MONTH_FIELDS = [(8, 18), (18, 30), (30, 42), (42, 54), (54, 66), (66, 76)]
STEMS = ["PCPMM", "PCPSTD", "PCPSKW", "PR_W1_", "PR_W2_", "PCPD"]
userwgn = read("out4", "userwgn_pcp.csv").split("\r\n")
monthly = read("out4", "wgn_mon_pcp.csv").split("\r\n")
summary = read("out4", "summary.csv").split("\r\n")
expect("userwgn header", userwgn[0], ",".join(["STATION"] + [f"{s}{m}" for s in STEMS for m in range(1, 13)]))
expect("SWAT+ header", monthly[0], "wgn_id,month,pcp_ave,pcp_sd,pcp_skew,wet_dry,wet_wet,pcp_days")
expect("summary header", summary[0], "station,status,file,first_year,nodata,years,leap_years,records,"
       "nodata_values,warnings,first_warning,values_not_shown,report_line,note,pcp_values")
expect("line counts", (len(userwgn), len(monthly), len(summary)),
       (len(records) + 2, 12 * len(records) + 2, len(records) + 3))
for index, path in enumerate(records):
    name = os.path.basename(path)[:-4]
    report = read("out4", name, "report.txt").split("\r\n")
    values = [[report[13 + m][a:b].strip() for a, b in MONTH_FIELDS] for m in range(12)]
    first = int(report[0][50:54])
    series = wgnrain_ref.plain_values(path)
    missing = sum(1 for v in series[:int(report[3][18:21]) * 365 + int(report[4][22:25])] if v == -99.0)
    values = wgnrain_ref.table_values(first, series, -99.0, values)
    expect(f"{name} userwgn row", userwgn[1 + index],
           ",".join([name] + [values[m][p] for p in range(6) for m in range(12)]))
    for m in range(12):
        expect(f"{name} SWAT+ month {m + 1}", monthly[1 + 12 * index + m],
               ",".join([name, str(m + 1)] + values[m]))
    counts = [report[3][18:21], report[4][22:25], report[5][20:28], report[6][26:34]]
    relative = os.path.relpath(path, data_dir).replace(os.sep, "/")
    expect(f"{name} summary row", summary[1 + index],
           ",".join([name, "ok", "data/" + relative, report[0][50:54], "-99"] + [c.strip() for c in counts] +
                    ["0", "", "", "", f"\"real, {name[:4]}\"",
                     f"gap-aware ({missing} missing day{'s' if missing > 1 else ''})" if missing else "report"]))
broken_error = read("out4", "broken", "stderr.txt").split("\r\n")
expect("broken station's report", broken_error[0][:40], "runlib: severe (64): input conversion er")
expect("broken summary row", summary[1 + len(records)],
       f"broken,64,broken.txt,2001,-99,,,,,0,,,\"{broken_error[0]}\",made to fail,")
expect("broken run record", [line for line in read("out4", "broken", "run.txt").split("\r\n") if line.startswith("exit")],
       ["exit: C0000040" if program.is_windows(binary) else "exit: 64"])
expect("broken station has no report", os.path.exists(os.path.join(work, "out4", "broken", "report.txt")), False)

# ---- The progress line: on a terminal only ------------------------------------------
if not program.is_windows(binary):
    import pty
    import subprocess
    master, slave = pty.openpty()
    proc = subprocess.run([binary, "stations.csv", "-o", "out-terminal", "-j", "2"], cwd=work, stdin=subprocess.DEVNULL,
                          stdout=subprocess.PIPE, stderr=slave, env={**os.environ, "TMPDIR": tmp})
    os.close(slave)
    seen = b""
    while True:
        try:
            chunk = os.read(master, 4096)
        except OSError:
            break
        if not chunk:
            break
        seen += chunk
    os.close(master)
    total = len(records) + 1
    # (The terminal shows the final line end as CR LF.)
    expect("progress line at the end", seen.decode().rstrip("\r\n").split("\r")[-1].split(",")[:2],
           [f"{total} of {total} stations done", " 1 failed"])
    expect("progress line ends its line", seen.endswith(b"\n"), True)

# ---- A list with every kind of mistake ------------------------------------------
with open(os.path.join(work, "bad.csv"), "w") as f:
    f.write("Station,file,first_year,nodata,extra\n"      # row 1: names are taken without regard to case
            "ok,broken.txt,2000,-99,x\n"                   # row 2: nothing wrong
            "../up,broken.txt,2000,-99,x\n"                # row 3
            "OK,broken.txt,2000,-99,x\n"                   # row 4: the name of row 2 again
            "nofile,missing.txt,2000,-99,x\n"              # row 5
            "year,broken.txt,19x0,-99,x\n"                 # row 6
            "nodata,broken.txt,2000,-99mm,x\n"             # row 7
            "short,broken.txt,2000\n"                      # row 8
            "con,data,2000,,x\n"                           # row 9: device name, a folder, no NoData value
            "summary.csv,broken.txt,+2000,1e99,x\n")       # row 10
list_name = shown(os.path.join(work, "bad.csv"))
folder = shown(os.path.join(work, "data"))
missing = shown(os.path.join(work, "missing.txt"))
want = [
    'row 3, column station: "../up" is not a plain name (no / \\ : * ? " < > |)',
    'row 4, column station: "OK" is already the station of row 2',
    f"row 5, column file: no file {missing}",
    'row 6, column first_year: "19x0" is not a year (a whole number)',
    'row 7, column nodata: "-99mm" is not a number',
    "row 8: 3 fields, the header has 5",
    'row 9, column station: "con" names a device on Windows',
    f"row 9, column file: {folder} is a folder",
    'row 9, column nodata: "" is not a number',
    'row 10, column station: "summary.csv" is the name of an output file of the batch',
    'row 10, column nodata: "1e99" is not a number',
]
status, out, err = batch("bad.csv", "-o", "never")
expect("bad list status", status, 2)
expect("bad list messages", err.splitlines(), [f"wgnrain-batch: {list_name}, {line}" for line in want])
expect("bad list ran nothing", os.path.exists(os.path.join(work, "never")), False)

for header, message in [("station,file,first_year\n", 'row 1: no column "nodata"'),
                        ("station,file,first_year,nodata,file\n", 'row 1, column 5: the column "file" is named twice'),
                        ("station,file,first_year,nodata\n", "row 1: no station below the header"),
                        ('station,file,first_year,nodata\n"a,b.txt,1,1\n', "row 2: a quotation mark opened here "
                                                                           "is never closed")]:
    with open(os.path.join(work, "bad.csv"), "w") as f:
        f.write(header)
    status, out, err = batch("bad.csv", "-o", "never")
    expect(f"list {header!r}", (status, err.splitlines()), (2, [f"wgnrain-batch: {list_name}, {message}"]))

# ---- The command line -------------------------------------------------------------
status, out, err = batch("--help")
expect("--help", (status, out.splitlines()[0], err),
       (0, "Usage: wgnrain-batch STATIONS.csv -o OUTDIR [-j N] [--rerun] [--strict] [--shard K/N]", ""))
status, out, err = batch("--version")
expect("--version", (status, re.fullmatch(r"wgnrain-batch \d+\.\d+\.\d+\s*", out) is not None), (0, True))
for arguments, message in [((), "no station list"), (("stations.csv",), "no output folder (-o OUTDIR)"),
                           (("stations.csv", "-o", "x", "-j", "0"),
                            "'-j 0': the number of jobs is a whole number from 1 to 1024"),
                           (("stations.csv", "-o"), "'-o' needs a value"), (("-x",), "unknown option '-x'")]:
    status, out, err = batch(*arguments)
    expect(f"command line {arguments}", (status, err.strip()),
           (2, f"wgnrain-batch: {message} (see 'wgnrain-batch --help')"))

expect("scratch files left", os.listdir(tmp), [])
shutil.rmtree(work)
for failure in failures:
    print("FAIL", failure)
print(f"{'FAILED' if failures else 'passed'}: batch of {len(records) + 1} stations, bad lists, command line")
sys.exit(1 if failures else 0)
