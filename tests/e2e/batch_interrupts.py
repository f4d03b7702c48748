"""wgnrain-batch interrupted at random moments, then run again: the tables
end byte-identical to one uninterrupted run, and no station that had
finished runs again.

  - Ctrl-C typed at the batch's terminal (a pseudo-terminal: the batch and
    its running stations all get it), and SIGTERM, SIGHUP, SIGQUIT sent to the
    batch alone: status 128 + the signal, one closing line, the stations
    finished so far in the tables (the running ones "interrupted", the rest
    "not run"), no wgnrain left running, no lock, no scratch file.
  - SIGKILL: nothing written at all, and the next run takes the folder over.

    batch_interrupts.py path/to/wgnrain-batch      (Linux)
"""
import fcntl
import os
import random
import signal
import subprocess
import sys
import tempfile
import termios
import threading
import time

binary = os.path.abspath(sys.argv[1])
work = os.path.realpath(tempfile.mkdtemp(prefix="wgnintr"))
failures = []
rng = random.Random(int(os.environ.get("WGNRAIN_SEED", "0")) or None)
STATIONS = 400


def expect(what, got, want):
    if got != want:
        failures.append(f"{what}: got {repr(got)[:300]}, expected {repr(want)[:300]}")


values = random.Random(7)
with open(os.path.join(work, "series.txt"), "w") as f:
    f.write("".join(f"{values.choice([0, 0, values.random() * 30]):.1f}\n" for _ in range(36524)))
with open(os.path.join(work, "stations.csv"), "w") as f:
    f.write("station,file,first_year,nodata\n" + "".join(f"s{i:03d},series.txt,1900,-99\n" for i in range(STATIONS)))


def tables(folder):
    out = []
    for name in ("summary.csv", "userwgn_pcp.csv", "wgn_mon_pcp.csv"):
        with open(os.path.join(work, folder, name), "rb") as f:
            out.append(f.read())
    return out


def records(folder):
    """The modification times of the stations' records."""
    found = {}
    for station in os.listdir(os.path.join(work, folder)):
        path = os.path.join(work, folder, station, "run.txt")
        if os.path.exists(path):
            found[station] = os.stat(path).st_mtime_ns
    return found


def wgnrain_children():
    """The wgnrain processes of this test's batches: those working in a
    station folder under `work` (other tests beside this one run the same
    wgnrain in folders of their own)."""
    running = subprocess.run(["pgrep", "-f", f"^{os.path.dirname(binary)}/wgnrain$"], capture_output=True, text=True)
    ours = []
    for pid in running.stdout.split():
        try:
            if os.path.realpath(f"/proc/{pid}/cwd").startswith(work + os.sep):
                ours.append(pid)
        except OSError:
            pass  # ended meanwhile
    return ours


def wait_for(condition, seconds):
    """Waits until `condition()` holds, at most `seconds`; whether it does."""
    deadline = time.monotonic() + seconds
    while not condition():
        if time.monotonic() > deadline:
            return False
        time.sleep(0.01)
    return True


def started(proc, folder):
    """The batch has taken its folder's lock, so it handles signals by now
    (it notes them before anything else), or it has ended already."""
    lock = os.path.join(work, folder, ".wgnrain-batch.lock")
    return wait_for(lambda: os.path.exists(lock) or proc.poll() is not None, 120)


def run(folder, sig=None, on_terminal=False):
    """Runs the batch; interrupts it with `sig` after a random moment."""
    master, slave = os.openpty()

    def controlling_terminal():
        fcntl.ioctl(0, termios.TIOCSCTTY, 0)

    proc = subprocess.Popen([binary, "stations.csv", "-o", folder, "-j", "2"], cwd=work, stdin=slave, stdout=subprocess.PIPE,
                            stderr=slave, start_new_session=True, preexec_fn=controlling_terminal)
    os.close(slave)
    seen = []
    reader = threading.Thread(target=lambda: seen.append(drain(master)))
    reader.start()
    if sig is not None:
        started(proc, folder)
        time.sleep(rng.uniform(0.05, 0.3))
        if on_terminal:
            os.write(master, b"\x03")
        else:
            proc.send_signal(sig)
    out = proc.stdout.read().decode()
    status = proc.wait()
    reader.join()
    os.close(master)
    return status, out


def drain(master):
    data = b""
    while True:
        try:
            chunk = os.read(master, 4096)
        except OSError:
            return data
        if not chunk:
            return data
        data += chunk


status, out = run("whole")
expect("uninterrupted run", (status, out.split(";")[0]), (0, f"wgnrain-batch: {STATIONS} stations, {STATIONS} ok, 0 failed"))
whole = tables("whole")

cases = [("Ctrl-C at the terminal", signal.SIGINT, True), ("SIGTERM", signal.SIGTERM, False),
         ("SIGHUP", signal.SIGHUP, False), ("SIGQUIT", signal.SIGQUIT, False)]
rng.shuffle(cases)
interrupted = 0
for what, sig, on_terminal in cases:
    before = records("resumed") if os.path.isdir(os.path.join(work, "resumed")) else {}
    status, out = run("resumed", sig, on_terminal)
    if status == 0:
        continue  # the batch was done before the interruption came
    interrupted += 1
    expect(f"{what}: status", status, 128 + sig)
    expect(f"{what}: closing line", out.startswith("wgnrain-batch: interrupted; "), True)
    expect(f"{what}: wgnrain left running", wgnrain_children(), [])
    expect(f"{what}: lock left", os.path.exists(os.path.join(work, "resumed", ".wgnrain-batch.lock")), False)
    after = records("resumed")
    expect(f"{what}: finished stations ran again", [s for s, t in before.items() if after.get(s) != t], [])
    with open(os.path.join(work, "resumed", "summary.csv")) as f:
        rows = f.read().splitlines()[1:]
    ok = sum(1 for row in rows if row.split(",")[1] == "ok")
    expect(f"{what}: the ok rows are the stations with records", ok, len(after))
    expect(f"{what}: every other row", all(row.split(",")[1] in ("ok", "interrupted", "not run") for row in rows), True)

expect("runs interrupted before their end", interrupted >= 3, True)

# Killed outright: the lock stays behind, its process is gone.
proc = subprocess.Popen([binary, "stations.csv", "-o", "resumed", "-j", "2"], cwd=work, stdout=subprocess.DEVNULL,
                        stderr=subprocess.DEVNULL)
started(proc, "resumed")
time.sleep(rng.uniform(0.05, 0.3))
proc.kill()
proc.wait()
# The stations it was running end by themselves: the next run waits for them.
expect("stations of the killed batch ended", wait_for(lambda: not wgnrain_children(), 120), True)
status, out = run("resumed")
expect("resumed after SIGKILL", status, 0)
expect("tables after interruptions", tables("resumed"), whole)
leftovers = [os.path.join(d, f) for d, _, files in os.walk(work) for f in files if f.endswith(".tmp")]
expect("scratch files left", leftovers, [])

for failure in failures:
    print("FAIL", failure)
print(f"{'FAILED' if failures else 'passed'}: interrupted {len(cases)} ways and killed, then resumed")
sys.exit(1 if failures else 0)
