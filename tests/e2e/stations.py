"""Runs wgnrain on every real station record in the shared data folder and
checks what is known without trusting the program: exit status 0, the
period, counts and NoData values of the report against the file itself,
record lengths, probabilities between 0 and 1, PCPD at most the month's
days, one table row per year, no temporary file.  The report and both tables
are also compared byte for byte with the independent model.

    stations.py path/to/wgnrain path/to/shared/data
    WGNRAIN_LAUNCHER=path/to/launch.exe stations.py path/to/wgnrain.exe path/to/shared/data   (under Wine)

Exits 77 (skipped) when the data folder is missing.
"""
import math
import os
import re
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "reference"))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import program  # noqa: E402
import wgnrain_ref as ref  # noqa: E402

binary, data_dir = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
files = program.station_records(data_dir)

MONTH_DAYS = [31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31]
RECORD_LENGTHS = {1: 62, 2: 77, 4: 21, 5: 25, 6: 28, 7: 34, 9: 77, 11: 76, 12: 77, 26: 77}
passed = failed = 0
for path in files:
    name = os.path.basename(path)
    first, last = map(int, re.search(r"(\d{4})-(\d{4})\.txt$", name).groups())
    problems = []
    work = tempfile.mkdtemp(prefix="wgnstation")
    tmp = os.path.join(work, "tmp")
    os.mkdir(tmp)
    answers = f"{path}\nreport.txt\n{first}\n-99\n".encode()
    status, _, stderr = program.run(binary, answers, work, tmp)
    if status != 0 or stderr:
        problems.append(f"exit status {status:#x}: {stderr[:200]!r}")
    else:
        raw = open(path, "rb").read()
        lines = [l.strip() for l in raw.decode().splitlines() if l.strip()]
        nodata = sum(1 for l in lines if float(l) == -99.0)
        report = open(os.path.join(work, "report.txt"), "rb").read().decode().split("\r\n")[:-1]
        years = len(lines) // 365
        if years != last - first + 1:
            problems.append(f"{len(lines)} values do not make {last - first + 1} years")
        expect = {0: f"Statistical Analysis of Daily Precipitation Data ({first} - {last})",
                  3: f"Number of Years = {years:3d}", 5: f"Number of Records = {len(lines):8d}",
                  6: f"Number of NoData values = {nodata:8d}"}
        for index, text in expect.items():
            if report[index] != text:
                problems.append(f"report record {index + 1}: {report[index]!r}")
        leap = sum(1 for y in range(first, last + 1) if ref.is_leap(y))
        if report[4] != f"Number of Leap Years ={leap:3d}":
            problems.append(f"leap years: {report[4]!r}")
        for number, length in RECORD_LENGTHS.items():
            if len(report[number - 1]) != length:
                problems.append(f"record {number} has {len(report[number - 1])} characters")
        for m in range(12):
            row = report[13 + m]
            if len(row) != 76:
                problems.append(f"month row {m + 1} has {len(row)} characters")
            pcp_mm, std, skw, pr_w1, pr_w2, pcpd = (float(row[a:b]) for a, b in
                                                    ((8, 18), (18, 30), (30, 42), (42, 54), (54, 66), (66, 76)))
            if not (0 <= pr_w1 <= 1 and 0 <= pr_w2 <= 1):
                problems.append(f"month {m + 1}: probabilities {pr_w1} {pr_w2}")
            if not 0 <= pcpd <= MONTH_DAYS[m]:
                problems.append(f"month {m + 1}: PCPD {pcpd}")
            if pcp_mm < 0 or std < 0 or math.isnan(skw):
                problems.append(f"month {m + 1}: PCP_MM {pcp_mm} PCPSTD {std} PCPSKW {skw}")
        for table, width in (("mean_pcp.sta", 106), ("totalpcp.sta", 121)):
            rows = open(os.path.join(work, table), "rb").read().decode().split("\r\n")[4:-4]
            if len(rows) != years or any(len(r) != width for r in rows):
                problems.append(f"{table}: {len(rows)} rows")
            if [int(r[:8]) for r in rows] != list(range(first, last + 1)):
                problems.append(f"{table}: years of the rows")
        model = ref.run(raw, path, "report.txt", first, -99.0, path)
        for file_name, text in zip(("report.txt", "mean_pcp.sta", "totalpcp.sta"), model):
            if open(os.path.join(work, file_name), "rb").read().decode("latin-1") != text:
                problems.append(f"{file_name} differs from the model")
    if os.listdir(tmp):
        problems.append("temporary files left")
    shutil.rmtree(work)
    if problems:
        failed += 1
        print(f"FAIL: {name}: " + "; ".join(problems[:5]))
    else:
        passed += 1
        print(f"ok: {name}")
print(f"{passed} passed, {failed} failed")
sys.exit(1 if failed else 0)
