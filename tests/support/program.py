"""Runs the program under test for the Python test scripts: the Linux build
directly, a Windows build (a .exe) under Wine through the launcher named by
WGNRAIN_LAUNCHER, which gives the run its temporary folder and records its
full exit status.

    status, stdout, stderr = program.run(binary, answers, cwd, tmp)

Windows names follow Wine's drive Z:, the root of the file system
("/tmp/w/in.txt" is "Z:\\tmp\\w\\in.txt").
"""
import datetime
import glob
import os
import random
import subprocess
import sys
import tempfile


def is_windows(binary):
    return binary.endswith(".exe")


def shown_path(binary, path):
    """A full path as the program's failure reports show it."""
    path = os.path.realpath(path)
    return "Z:" + path.replace("/", "\\") if is_windows(binary) else path


def separator(binary):
    return "\\" if is_windows(binary) else "/"


def failure_status(binary, number):
    """The exit status of a run that ends with report `number` (0: success, 3: the math report)."""
    return 0xC0000000 + number if is_windows(binary) and number not in (0, 3) else number


def command(binary, tmp, arguments=()):
    """The command line and environment of one run with `tmp` as its temporary
    folder; the status file of a Windows run goes beside `tmp`, named after it,
    so that runs at the same time with folders of their own never share one."""
    if not is_windows(binary):
        return [binary, *arguments], {**os.environ, "TMPDIR": tmp}, None
    status_file = os.path.realpath(tmp) + ".status"
    env = {name: value for name, value in os.environ.items() if name != "TMPDIR"}
    return (["wine", os.environ["WGNRAIN_LAUNCHER"], shown_path(binary, status_file), "TMP=" + shown_path(binary, tmp),
             "TEMP=" + shown_path(binary, tmp), "--", shown_path(binary, binary), *arguments], env, status_file)


def run(binary, answers, cwd, tmp, timeout=300, arguments=()):
    """One run with `answers` (bytes) on standard input and `tmp` as its
    temporary folder.  Under Wine, a run without a status file whose program
    never ran is started again, twice at most: the launcher could not start
    the program (the system short of something for a moment, with many runs
    beside it), or Wine could not start the launcher (exit 1 and not a byte
    of output).  Any other run without a status file fails with what Wine
    said."""
    line, env, status_file = command(binary, tmp, arguments)
    for attempt in range(3):
        proc = subprocess.run(line, input=answers, cwd=cwd, env=env, capture_output=True, timeout=timeout)
        if status_file is None:
            return proc.returncode, proc.stdout, proc.stderr
        if os.path.exists(status_file):
            with open(status_file) as f:
                status = int(f.read(), 16)
            os.remove(status_file)
            return status, proc.stdout, proc.stderr
        never_ran = b"launch: cannot start the program" in proc.stderr or (
            proc.returncode == 1 and not proc.stdout and not proc.stderr)
        if not never_ran:
            break
    raise RuntimeError(f"no exit status from the launcher (wine exit {proc.returncode}, attempt {attempt + 1}); "
                       f"standard error: {proc.stderr[-2000:]!r}")


def start(binary, cwd, tmp, arguments=()):
    """A run started and not waited for (its output discarded); `tmp` must
    not serve another run at the same time."""
    line, env, _ = command(binary, tmp, arguments)
    return subprocess.Popen(line, cwd=cwd, env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)


def station_records(data_dir):
    """The real station records of the data folder, sorted; a script with none
    to run exits 77 (skipped)."""
    files = sorted(glob.glob(os.path.join(data_dir, "*.txt")) + glob.glob(os.path.join(data_dir, "knmi", "*.txt")))
    if not files:
        print(f"skipped: no station records in {data_dir}")
        sys.exit(77)
    return files


def workspace(prefix):
    """A fresh folder for a test's files and the folder inside it that its
    programs get as TMP: (work, tmp)."""
    work = os.path.realpath(tempfile.mkdtemp(prefix=prefix))
    tmp = os.path.join(work, "tmp")
    os.mkdir(tmp)
    return work, tmp


def expecter(failures):
    """expect(what, got, want): a failure line into `failures` when got is not want."""
    def expect(what, got, want):
        if got != want:
            failures.append(f"{what}: got {repr(got)[:300]}, expected {repr(want)[:300]}")
    return expect


def write_dated_record(path, first, last, seed, tmin_spread=0.0):
    """A made-up csv record of date, prcp, tmax, tmin from the years FIRST to
    LAST: wet days following wet ones more often, a warmer maximum each month,
    the minimum 10 degrees below it (with a normal spread of TMIN_SPREAD)."""
    numbers = random.Random(seed)
    lines, wet = ["date,prcp,tmax,tmin"], False
    day = datetime.date(first, 1, 1)
    while day.year <= last:
        wet = numbers.random() < (0.6 if wet else 0.3)
        rain = 0.1 + numbers.expovariate(1 / 6) if wet else 0.0
        tmax = 20 + day.month + numbers.gauss(0, 3)
        tmin = tmax - 10 + (numbers.gauss(0, tmin_spread) if tmin_spread else 0.0)
        lines.append(f"{day.isoformat()},{rain:.1f},{tmax:.1f},{tmin:.1f}")
        day += datetime.timedelta(days=1)
    with open(path, "w", newline="") as f:
        f.write("\n".join(lines) + "\n")
