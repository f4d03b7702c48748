"""What a second batch over the same folder runs again, through wgnrain-batch:

  - nothing changed: every station from its earlier run;
  - a station's series edited without changing its size or its modification
    time: that station runs again (the record knows its files by their
    bytes), the other is reused;
  - only a station's tmp_file edited, size and time kept: it runs again, and
    its temperatures in userwgn.csv change;
  - --merge after a station's file changed since its shard ran: that station
    is "not run" in the summary and the batch ends with status 1;
  - --keep failed and none: a folder keeps only the station's record, and the
    tables and a second run are those of a batch that kept everything.

    batch_resume.py path/to/wgnrain-batch
"""
import csv
import io
import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import program  # noqa: E402

binary = os.path.abspath(sys.argv[1])
work = os.path.realpath(tempfile.mkdtemp(prefix="wgnresume"))
tmp = os.path.join(work, "tmp")
os.mkdir(tmp)
failures = []
DAYS = 3 * 365  # 2001-2003


def expect(what, got, want):
    if got != want:
        failures.append(f"{what}: got {got!r}, expected {want!r}")


def write(name, lines):
    with open(os.path.join(work, name), "w", newline="") as f:
        f.write("\n".join(lines) + "\n")


def edit_in_place(name, old, new):
    """Replaces the first `old` by `new` (as long) and puts the file's times back."""
    assert len(old) == len(new)
    path = os.path.join(work, name)
    stat = os.stat(path)
    with open(path, newline="") as f:
        text = f.read()
    assert old in text, (name, old)
    with open(path, "w", newline="") as f:
        f.write(text.replace(old, new, 1))
    os.utime(path, ns=(stat.st_atime_ns, stat.st_mtime_ns))
    expect(f"{name} keeps its size", os.stat(path).st_size, stat.st_size)


def batch(*arguments):
    status, out, err = program.run(binary, b"", work, tmp, timeout=600, arguments=["stations.csv", *arguments])
    return status, out.decode(errors="replace") + err.decode(errors="replace")


def table(folder, name, key):
    with open(os.path.join(work, folder, name), newline="", encoding="utf-8") as f:
        return {row[key]: row for row in csv.DictReader(io.StringIO(f.read()))}


# SWAT 2012 files: the first day's date, then a day a line.
for station in ("a", "b"):
    write(f"{station}.txt", ["20010101"] + [("1.5" if day % 3 == 0 else "0.0") for day in range(DAYS)])
    write(f"{station}.tmp", ["20010101"] + ["10.0,2.0" for day in range(DAYS)])
write("stations.csv", [
    "station,file,format,tmp_file,lat,lon,elev",
    "a,a.txt,swat,a.tmp,52.1,5.18,2",
    "b,b.txt,swat,b.tmp,52.1,5.18,2",
])

# 1. The first run, and a second with nothing changed.
status, out = batch("-o", "out")
expect("first run", (status, "2 ok" in out), (0, True))
userwgn = table("out", "userwgn.csv", "STATION")
expect("first run: a's January maxima", userwgn.get("a", {}).get("TMPMX1"), "10.00")
status, out = batch("-o", "out")
expect("nothing changed", (status, "2 from an earlier run" in out), (0, True))

# 2. a's series edited in place: a runs again, b is reused.
edit_in_place("a.txt", "1.5", "9.5")
status, out = batch("-o", "out")
expect("series edited: one reused", (status, "1 from an earlier run" in out), (0, True))
summary = table("out", "summary.csv", "station")
expect("series edited: a's report has the new day", summary["a"]["status"], "ok")

# 3. Only a's tmp_file edited in place: a runs again with its new temperatures.
edit_in_place("a.tmp", "10.0,2.0\n" * 3, "40.0,2.0\n" * 3)
status, out = batch("-o", "out")
expect("tmp_file edited: one reused", (status, "1 from an earlier run" in out), (0, True))
userwgn = table("out", "userwgn.csv", "STATION")
expect("tmp_file edited: a's January maxima", userwgn.get("a", {}).get("TMPMX1"), "10.97")  # (90 x 10 + 3 x 40) / 93
expect("tmp_file edited: b unchanged", userwgn.get("b", {}).get("TMPMX1"), "10.00")

# 4. Two shards, then a's file changed, then --merge: a is not run.
for shard in ("1/2", "2/2"):
    status, out = batch("-o", "sharded", "--shard", shard)
    expect(f"shard {shard}", status, 0)
edit_in_place("a.txt", "9.5", "8.5")
status, out = batch("-o", "sharded", "--merge")
expect("merge after a changed: status", status, 1)
summary = table("sharded", "summary.csv", "station")
expect("merge after a changed: the statuses", (summary["a"]["status"], summary["b"]["status"]), ("not run", "ok"))

# 5. --keep: the record alone is enough for the tables and for a second run.
write("c.txt", ["20010101"] + ["x"] + ["0.0"] * (DAYS - 1))
with open(os.path.join(work, "stations.csv"), "a") as f:
    f.write("c,c.txt,swat,b.tmp,52.1,5.18,2\n")
record = ["coverage.csv", "report.txt", "run.txt"]
status, out = batch("-o", "whole")
for keep, failed_files in (("failed", sorted(os.listdir(os.path.join(work, "whole", "c")))), ("none", ["run.txt"])):
    status, out = batch("-o", f"kept-{keep}", "--keep", keep)
    expect(f"--keep {keep}: status", status, 1)
    expect(f"--keep {keep}: a station that succeeded", sorted(os.listdir(os.path.join(work, f"kept-{keep}", "a"))),
           record)
    expect(f"--keep {keep}: a station that failed", sorted(os.listdir(os.path.join(work, f"kept-{keep}", "c"))),
           failed_files)
    for name in ("summary.csv", "userwgn.csv", "weather-wgn.cli", "intervals.csv"):
        with open(os.path.join(work, "whole", name), newline="") as w, \
                open(os.path.join(work, f"kept-{keep}", name), newline="") as k:
            expect(f"--keep {keep}: {name}", k.read(), w.read())
    status, out = batch("-o", f"kept-{keep}", "--keep", keep)
    expect(f"--keep {keep}: run again", "3 from an earlier run" in out, True)
status, out = batch("-o", "whole", "--keep", "sometimes")
expect("--keep of another word", (status, "'--keep sometimes': all, failed or none" in out), (2, True))

if failures:
    print("\n".join("FAIL " + f for f in failures))
    print(f"(files kept in {work})")
    sys.exit(1)
shutil.rmtree(work)
print("batch_resume: ok")
