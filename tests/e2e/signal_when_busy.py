"""Sends a signal to a run as soon as one of its scratch files exists.

    signal_when_busy.py PID SIGNAL TMPDIR
        a nameless (deleted) file in TMPDIR held open by PID; PID is signalled
    signal_when_busy.py --named PID PROGRAM SIGNAL FOLDER
        a file "wgnrain-*" in FOLDER (the Windows build, whose scratch files
        have names); every process whose command line is exactly PROGRAM is
        signalled, while PID (the launcher) runs

Once it is watching, the watcher creates the file named by the environment
variable WATCHER_READY, if set, so that the run can be started only then.
Exit status 0 when the signal was sent, 1 when the process ended first.
Polls directly: a shell loop is too slow for a run that lasts a tenth of a
second.  A named file is awaited through inotify, which wakes the watcher
the moment the file is created: under Wine the month files of a whole run
can exist for less time than a poll of a busy machine takes to come round.
"""
import ctypes
import os
import select
import signal
import sys
import time

named = sys.argv[1] == "--named"
if named:
    pid, program, sig, tmp = int(sys.argv[2]), sys.argv[3], getattr(signal, "SIG" + sys.argv[4]), sys.argv[5]
else:
    pid, sig, tmp = int(sys.argv[1]), getattr(signal, "SIG" + sys.argv[2]), sys.argv[3]
fd_dir = f"/proc/{pid}/fd"


def targets():
    """The processes to signal once the run is busy, or none yet."""
    if not named:
        for fd in os.listdir(fd_dir):
            try:
                target = os.readlink(f"{fd_dir}/{fd}")
            except OSError:
                continue
            if target.startswith(tmp + "/") and target.endswith("(deleted)"):
                return [pid]
        return []
    if not any(entry.startswith("wgnrain-") for entry in os.listdir(tmp)):
        return []
    found = []
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                with open(f"/proc/{entry}/cmdline", "rb") as cmdline:
                    if cmdline.read().rstrip(b"\0 ").decode(errors="replace") == program:
                        found.append(int(entry))
            except OSError:
                continue
    return found


def await_creation():
    """Returns a descriptor that becomes readable when a file is created in tmp."""
    libc = ctypes.CDLL(None, use_errno=True)
    descriptor = libc.inotify_init1(os.O_NONBLOCK)
    in_create = 0x100
    if descriptor < 0 or libc.inotify_add_watch(descriptor, tmp.encode(), in_create) < 0:
        return None
    return descriptor


creation = await_creation() if named else None
if os.environ.get("WATCHER_READY"):
    open(os.environ["WATCHER_READY"], "w").close()
deadline = time.monotonic() + 30
while time.monotonic() < deadline:
    if creation is not None:
        select.select([creation], [], [], 0.05)
    try:
        os.kill(pid, 0)
        found = targets()
    except (ProcessLookupError, FileNotFoundError):
        sys.exit(1)
    if found:
        for target in found:
            os.kill(target, sig)
        sys.exit(0)
sys.exit(1)
