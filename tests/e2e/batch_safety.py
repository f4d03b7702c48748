"""wgnrain-batch left running: run again, split into shards, two at once,
tables that cannot be written, and a list checked completely first.

  - A second run reuses every finished station and gives the same tables;
    a changed station file runs again; --rerun runs all.
  - Shards 1/3, 2/3, 3/3 into one folder, then --merge: the tables of one run.
  - A folder held by a live batch, or by a lock of another machine, is
    refused (status 2); the lock of a batch that is gone is taken over, by
    one of two batches started at once.
  - A table that cannot be replaced (a folder in its place, a read-only or a
    full folder) leaves the old tables whole, status 3, no scratch file.
  - A rerun truncates what a child writes (no stale stderr.txt); a station
    with warnings is counted, and failed with --strict; the math report
    shows as M6201.
  - List mistakes: invalid UTF-8 (encoded surrogates, overlong forms), names
    equal after case folding, an empty file, a folder path too long, -1e99;
    semicolons and UTF-16 are read; a column named like the summary's own is
    carried as list_<name>.

    batch_safety.py path/to/wgnrain-batch
    WGNRAIN_LAUNCHER=path/to/launch.exe batch_safety.py path/to/wgnrain-batch.exe   (under Wine)
"""
import csv
import io
import os
import random
import shutil
import socket
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import program  # noqa: E402

binary = os.path.abspath(sys.argv[1])
windows = program.is_windows(binary)
work = os.path.realpath(tempfile.mkdtemp(prefix="wgnsafe"))
tmp = os.path.join(work, "tmp")
os.mkdir(tmp)
failures = []


def batch(*arguments):
    status, out, err = program.run(binary, b"", work, tmp, arguments=arguments)
    return status, out.decode(errors="replace"), err.decode(errors="replace")


def expect(what, got, want):
    if got != want:
        failures.append(f"{what}: got {repr(got)[:300]}, expected {repr(want)[:300]}{first_difference(got, want)}")


def first_difference(got, want):
    """For tables (lists of bytes): the first line that differs, which the
    shortened texts above may not reach."""
    if not (isinstance(got, list) and isinstance(want, list)):
        return ""
    for n, (a, b) in enumerate(zip(got, want)):
        if isinstance(a, bytes) and isinstance(b, bytes) and a != b:
            for line, (x, y) in enumerate(zip(a.split(b"\n") + [b""] * 99, b.split(b"\n") + [b""] * 99)):
                if x != y:
                    return f"; table {n}, line {line + 1}: got {x!r}, expected {y!r}"
    return ""


def read(*parts):
    with open(os.path.join(work, *parts), "rb") as f:
        return f.read()


def write(name, text, mode="w"):
    with open(os.path.join(work, name), mode) as f:
        f.write(text)


def series(seed, first_value=None):
    """Two years from 2001 (730 values) of made-up rain."""
    rng = random.Random(seed)
    values = [f"{rng.choice([0, 0, 0, rng.random() * 20]):.2f}" for _ in range(730)]
    if first_value is not None:
        values[0] = first_value
    return "\n".join(values) + "\n"


def tables(folder):
    return [read(folder, name) for name in ("summary.csv", "userwgn_pcp.csv", "wgn_mon_pcp.csv")]


def scratch_files():
    return [os.path.join(d, f) for d, _, files in os.walk(work) for f in files if f.endswith(".tmp")]


# ---- A list of twelve stations, one made to fail ------------------------------
for i in range(11):
    write(f"s{i}.txt", series(i))
write("broken.txt", "rain\n")
write("stations.csv", "station,file,first_year,nodata\n" +
      "".join(f"s{i},s{i}.txt,2001,-99\n" for i in range(11)) + "broken,broken.txt,2001,-99\n")

status, out, err = batch("stations.csv", "-o", "one", "-j", "2")
expect("first run", (status, out.split(";")[0]), (1, "wgnrain-batch: 12 stations, 11 ok, 1 failed"))
first = tables("one")
expect("no lock left", [f for f in os.listdir(os.path.join(work, "one")) if f.endswith(".lock")], [])

# ---- Run again: everything reused, the same tables ------------------------------
status, out, err = batch("stations.csv", "-o", "one", "-j", "2")
expect("second run", (status, out.split("; see")[0]),
       (1, "wgnrain-batch: 12 stations, 11 ok, 1 failed; 12 from an earlier run"))
expect("second run's tables", tables("one"), first)
# A stale stderr.txt of a station that runs again is replaced, not kept.
write("s3.txt", series(103))
write(os.path.join("one", "s3", "stderr.txt"), "x" * 5000)
# Files half written by a batch killed outright go when the folder is used again.
write(os.path.join("one", "s3", "run.txt.1a2b-3.tmp"), "half")
write(os.path.join("one", "summary.csv.1a2b-4.tmp"), "half")
status, out, err = batch("stations.csv", "-o", "one")
expect("changed file runs again", out.split("; see")[0],
       "wgnrain-batch: 12 stations, 11 ok, 1 failed; 11 from an earlier run")
expect("stale stderr.txt", read("one", "s3", "stderr.txt"), b"")
write("s3.txt", series(3))
status, out, err = batch("stations.csv", "-o", "one", "--rerun")
expect("--rerun", (status, out.split("; see")[0]), (1, "wgnrain-batch: 12 stations, 11 ok, 1 failed"))
expect("--rerun tables", tables("one"), first)

# ---- Shards, then merge ---------------------------------------------------------
status, out, err = batch("stations.csv", "-o", "unrun", "--merge")
expect("merge of nothing", (status, out.split(";")[0]), (1, "wgnrain-batch: 12 stations, 0 ok, 0 failed, 12 not run"))
for k in (1, 2, 3):
    status, out, err = batch("stations.csv", "-o", "sharded", "--shard", f"{k}/3")
    expect(f"shard {k}/3", out.split(";")[0], f"wgnrain-batch: shard {k} of 3: 4 of 12 stations, "
                                              f"{3 if k == 3 else 4} ok, {1 if k == 3 else 0} failed")
    expect(f"shard {k}/3 writes no tables", os.path.exists(os.path.join(work, "sharded", "userwgn_pcp.csv")), False)
status, out, err = batch("stations.csv", "-o", "sharded", "--merge")
expect("merge", status, 1)
expect("merged tables", tables("sharded"), first)

# ---- One batch per folder ---------------------------------------------------------
if not windows:
    holder = subprocess.Popen(["sleep", "30"])
    write(os.path.join("one", ".wgnrain-batch.lock"), f"{holder.pid} {socket.gethostname()}\r\n")
    status, out, err = batch("stations.csv", "-o", "one")
    expect("held folder", (status, out), (2, ""))
    expect("held folder message", err.strip(),
           f"wgnrain-batch: another batch uses {work}/one (process {holder.pid} on {socket.gethostname()}); "
           f"if none does, remove {work}/one/.wgnrain-batch.lock")
    holder.kill()
    holder.wait()
    status, out, err = batch("stations.csv", "-o", "one")
    expect("lock of a batch that is gone", (status, os.path.exists(os.path.join(work, "one", ".wgnrain-batch.lock"))),
           (1, False))
    # A shard's lock is its own: shard 1 runs while the folder's lock is held.
    write(os.path.join("sharded", ".wgnrain-batch-2-of-3.lock"), f"{os.getpid()} {socket.gethostname()}\r\n")
    expect("other shard held", batch("stations.csv", "-o", "sharded", "--shard", "1/3")[0], 0)
    expect("same shard held", batch("stations.csv", "-o", "sharded", "--shard", "2/3")[0], 2)
    os.remove(os.path.join(work, "sharded", ".wgnrain-batch-2-of-3.lock"))

else:
    # Windows: a live batch holds the folder, under its Windows process number.
    write("many.csv", "station,file,first_year,nodata\n" + "".join(f"m{i},s{i % 11}.txt,2001,-99\n" for i in range(300)))
    os.mkdir(os.path.join(work, "tmp-held"))
    holder = program.start(binary, work, os.path.join(work, "tmp-held"), ["many.csv", "-o", "held", "-j", "1"])
    lock = os.path.join(work, "held", ".wgnrain-batch.lock")
    # The batch makes its lock, then writes its holder into it: wait for the holder.
    deadline = time.time() + 120
    while time.time() < deadline and holder.poll() is None:
        try:
            if len(read("held", ".wgnrain-batch.lock").split()) == 2:
                break
        except OSError:
            pass  # not made yet, or still held open by the batch writing it
        time.sleep(0.05)
    pid, host = read("held", ".wgnrain-batch.lock").decode().split()
    status, out, err = batch("stations.csv", "-o", "held")
    expect("held folder", (status, f"another batch uses {program.shown_path(binary, os.path.join(work, 'held'))} "
                                   f"(process {pid} on {host})" in err), (2, True))
    held_status = holder.wait(timeout=600)
    not_ok = [line for line in read("held", "summary.csv").decode().splitlines()[1:] if ",ok," not in line]
    expect("held folder's batch", (held_status, not_ok[:3]), (0, []))
    # A lock whose process is gone (Windows numbers processes in fours: 3 is none) is taken over.
    write(os.path.join("held", ".wgnrain-batch.lock"), f"3 {host}\r\n")
    status, out, err = batch("stations.csv", "-o", "held")
    expect("lock of a batch that is gone", (status, os.path.exists(lock)), (1, False))

# ---- Batches started at once ---------------------------------------------------------
# Two, and three, find the lock a batch left behind (its process gone) and
# try to take it over at the same moment: in every round one runs and the
# others are refused.  Each batch runs 40 stations, long beside the moment
# between the starts, so two running would mean two at once.
if not windows:
    write("racing.csv", "station,file,first_year,nodata\n" +
          "".join(f"r{i},s{i % 11}.txt,2001,-99\n" for i in range(40)))
    ended = subprocess.Popen(["true"])
    ended.wait()
    for k in (1, 2, 3):
        os.makedirs(os.path.join(work, f"tmp-race{k}"), exist_ok=True)
    deadline = time.time() + 60
    rounds = 0
    while rounds < 20 and time.time() < deadline:
        rounds += 1
        batches = 2 if rounds % 2 else 3
        shutil.rmtree(os.path.join(work, "racing"), ignore_errors=True)
        os.mkdir(os.path.join(work, "racing"))
        write(os.path.join("racing", ".wgnrain-batch.lock"), f"{ended.pid} {socket.gethostname()}\r\n")
        pair = [program.start(binary, work, os.path.join(work, f"tmp-race{k}"), ["racing.csv", "-o", "racing", "-j", "1"])
                for k in range(1, batches + 1)]
        expect(f"{batches} batches at once, round {rounds}", sorted(p.wait(timeout=300) for p in pair),
               [0] + [2] * (batches - 1))
        expect(f"{batches} batches at once, round {rounds}: files left", sorted(
            f for f in os.listdir(os.path.join(work, "racing")) if f.startswith(".")), [])

# The rule: a lock is taken over only when it names this machine and a process
# not running here.  One naming another machine (a folder shared over the
# network) is refused, whatever its process: that process cannot be asked.
# Its process is one that is gone here (Windows numbers processes in fours: 3 is none).
if windows:
    gone = 3
else:
    ended = subprocess.Popen(["true"])
    ended.wait()
    gone = ended.pid
foreign_lock = os.path.join(work, "one", ".wgnrain-batch.lock")
write(os.path.join("one", ".wgnrain-batch.lock"), f"{gone} another-host.example\r\n")
status, out, err = batch("stations.csv", "-o", "one")
expect("lock of another machine", (status, f"(process {gone} on another-host.example)" in err,
                                   read("one", ".wgnrain-batch.lock")),
       (2, True, f"{gone} another-host.example\r\n".encode()))
os.remove(foreign_lock)

# ---- Tables that cannot be replaced ------------------------------------------------
shutil.copytree(os.path.join(work, "one"), os.path.join(work, "blocked"))
os.remove(os.path.join(work, "blocked", "summary.csv"))
os.mkdir(os.path.join(work, "blocked", "summary.csv"))
status, out, err = batch("stations.csv", "-o", "blocked")
expect("summary.csv a folder: status", status, 3)
expect("summary.csv a folder: closing line", out.strip().endswith("the tables were not written"), True)
expect("summary.csv a folder: message", err.startswith(f"wgnrain-batch: cannot write {program.shown_path(binary, os.path.join(work, 'blocked', 'summary.csv'))}: "), True)
expect("old tables whole", [read("blocked", t) for t in ("userwgn_pcp.csv", "wgn_mon_pcp.csv")], first[1:])
# The tables written, the page not: the closing line says which.
shutil.copytree(os.path.join(work, "one"), os.path.join(work, "no-page"))
os.remove(os.path.join(work, "no-page", "index.html"))
os.mkdir(os.path.join(work, "no-page", "index.html"))
status, out, err = batch("stations.csv", "-o", "no-page")
no_page = program.shown_path(binary, os.path.join(work, "no-page"))
expect("index.html a folder: status and closing line", (status, out.strip().rsplit("; ", 2)[1:]),
       (3, [f"see {no_page}{program.separator(binary)}summary.csv", f"the page {no_page}{program.separator(binary)}"
                                                                     "index.html was not written"]))
expect("index.html a folder: tables written", read("no-page", "summary.csv") == read("one", "summary.csv"), True)


def mounted(options, source, target):
    return subprocess.run(["mount", *options, source, target], capture_output=True).returncode == 0


if not windows and os.geteuid() == 0:
    # A read-only folder and a full disk, each where this machine lets a test mount one.
    for kind in ("read-only", "full"):
        target = os.path.join(work, kind)
        os.mkdir(target)
        if not mounted(["-t", "tmpfs", "-o", "size=1m"], "tmpfs", target):
            print(f"skipped: {kind} folder (no tmpfs can be mounted here)")
            continue
        try:
            # Every station finished already: only the lock and the tables are written.
            shutil.copytree(os.path.join(work, "one"), os.path.join(target, "out"))
            if kind == "read-only":
                subprocess.run(["mount", "-o", "remount,ro", target], check=True)
            else:
                # The disk filled but for one page, which the lock takes.
                with open(os.path.join(target, "spare"), "wb") as f:
                    f.write(b"\0" * 4096)
                with open(os.path.join(target, "filler"), "wb", buffering=0) as f:
                    try:
                        while True:
                            f.write(b"\0" * 4096)
                            f.flush()
                    except OSError:
                        pass
                os.remove(os.path.join(target, "spare"))
            status, out, err = batch("stations.csv", "-o", os.path.join(kind, "out"))
            expect(f"{kind} folder: status", status, 2 if kind == "read-only" else 3)
            expect(f"{kind} folder: a reason", "Success" not in err and err != "", True)
            expect(f"{kind} folder: old tables whole", tables(os.path.join(kind, "out")), first)
        finally:
            subprocess.run(["umount", target])
elif not windows:
    print("skipped: read-only folder and full disk (not root)")

# ---- Warnings, --strict, the math report ------------------------------------------
write("negative.txt", series(50, "-1.0"))
write("infinite.txt", series(51, "Infinity"))
write("warned.csv", "station,file,first_year,nodata\nneg,negative.txt,2001,-99\ninf,infinite.txt,2001,-99\n")
status, out, err = batch("warned.csv", "-o", "warned")
expect("warnings counted", (status, out.split(";")[0]), (1, "wgnrain-batch: 2 stations, 1 ok (1 with warnings), 1 failed"))
summary = list(csv.reader(io.StringIO(read("warned", "summary.csv").decode(), newline="")))
expect("first_warning", summary[1][10].startswith("runlib: warning: negative values"), True)
expect("math report status", summary[2][1], "M6201")
status, out, err = batch("warned.csv", "-o", "warned", "--strict")
expect("--strict", (status, out.split(";")[0]), (1, "wgnrain-batch: 2 stations, 0 ok, 2 failed"))
expect("--strict status", read("warned", "summary.csv").decode().split("\r\n")[1].split(",")[1], "warnings")

# ---- The list: read in more ways, checked more -------------------------------------
write("semicolons.csv", "station;file;first_year;nodata;status\ns1;s1.txt;2001;-99;checked\n")
status, out, err = batch("semicolons.csv", "-o", "semi")
expect("semicolon list", (status, err), (0, ""))
expect("list column named like a summary column", read("semi", "summary.csv").decode().split("\r\n")[0].split(",")[-2:],
       ["list_status", "pcp_values"])
write("utf16.csv", "station,file,first_year,nodata\r\nÅs,s1.txt,2001,-99\r\n".encode("utf-16"), "wb")
status, out, err = batch("utf16.csv", "-o", "utf16")
expect("UTF-16 list", (status, err), (0, ""))
expect("UTF-16 list's station in UTF-8", read("utf16", "summary.csv").decode().split("\r\n")[1][:3], "Ås,")

write("empty.txt", "")
write("bad.csv", ("station,file,first_year,nodata\n"
                  "Ärhus,s1.txt,2001,-99\n"          # row 2
                  "ärhus,s2.txt,2001,-99\n"          # row 3: row 2's name, folded
                  "e,empty.txt,2001,-99\n"           # row 4
                  "huge,s1.txt,2001,-1e99\n"         # row 5
                  + "x" * 240 + ",s1.txt,2001,-99\n"  # row 6
                  "caf\xe9,s1.txt,2001,-99\n").encode("latin-1"), "wb")
list_name = program.shown_path(binary, os.path.join(work, "bad.csv"))
status, out, err = batch("bad.csv", "-o", "never")
if windows:  # read in the ANSI code page: only the other mistakes remain
    expect("ANSI list", (status, "not UTF-8" in err, "café" in err or "row 7" in err), (2, False, False))
else:
    expect("invalid UTF-8", (status, err.strip()),
           (2, f"wgnrain-batch: {list_name}, row 2, column 1: text that is not UTF-8 (save the list as UTF-8, or CSV UTF-8 in a spreadsheet)"))
# Bytes no UTF-8 writer produces, refused with the row and the column they sit in: encoded
# surrogates (U+D800 as ED A0 80), overlong forms of "/" (C0 AF, E0 80 AF), a code point past
# U+10FFFF. U+D7FF, the last before the surrogates, is a name like any other.
if not windows:
    for what, status_want, column in [
            (b"ab\xed\xa0\x80c,s1.txt,2001,-99", 2, 1),
            (b"\xed\xbf\xbfz,s1.txt,2001,-99", 2, 1),
            (b"b,s1\xc0\xaftxt,2001,-99", 2, 2),
            (b"c,s1.txt,2001,-9\xc0\xaf9", 2, 4),
            (b"\xe0\x80\xafx,s1.txt,2001,-99", 2, 1),
            (b"\xf4\x90\x80\x80x,s1.txt,2001,-99", 2, 1),
            (b"\xed\x9f\xbfx,s1.txt,2001,-99", 0, 0)]:
        write("bytes.csv", b"station,file,first_year,nodata\nok,s1.txt,2001,-99\n" + what + b"\n", "wb")
        status, out, err = batch("bytes.csv", "-o", "bytes")
        shutil.rmtree(os.path.join(work, "bytes"), ignore_errors=True)
        name = program.shown_path(binary, os.path.join(work, "bytes.csv"))
        expect(f"list bytes {what!r}", (status, err.strip()), (status_want, "" if status_want == 0 else (
            f"wgnrain-batch: {name}, row 3, column {column}: text that is not UTF-8 (save the list as UTF-8, "
            "or CSV UTF-8 in a spreadsheet)")))
text = read("bad.csv").decode("latin-1").replace("caf\xe9", "cafe").encode("utf-8")
write("bad.csv", text, "wb")
status, out, err = batch("bad.csv", "-o", "never")
lines = err.splitlines()
expect("list mistakes status", status, 2)
expect("folded duplicate", f"wgnrain-batch: {list_name}, row 3, column station: \"ärhus\" is already the station of row 2" in lines, True)
expect("empty file", any(line.startswith(f"wgnrain-batch: {list_name}, row 4, column file: ") and line.endswith(" is empty") for line in lines), True)
expect("-1e99", f"wgnrain-batch: {list_name}, row 5, column nodata: \"-1e99\" is not a number" in lines, True)
expect("folder too long", any(f"row 6, column station: the station's folder" in line and "is too long" in line for line in lines), True)
expect("mistakes ran nothing", os.path.exists(os.path.join(work, "never")), False)

expect("scratch files left", scratch_files(), [])
if not failures:
    shutil.rmtree(work)
for failure in failures:
    print("FAIL", failure)
print(f"{'FAILED' if failures else 'passed'}: resume, shards, lock, tables kept whole, warnings, list checks")
sys.exit(1 if failures else 0)
