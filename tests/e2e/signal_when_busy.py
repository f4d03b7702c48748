"""Sends a signal to a process as soon as it holds one of its scratch files
open (a deleted file in the given temporary directory).

    signal_when_busy.py PID SIGNAL TMPDIR

Exit status 0 when the signal was sent, 1 when the process ended first.
Polls /proc directly: a shell loop is too slow for a run that lasts a tenth
of a second.
"""
import os
import signal
import sys
import time

pid, sig, tmp = int(sys.argv[1]), getattr(signal, "SIG" + sys.argv[2]), sys.argv[3]
fd_dir = f"/proc/{pid}/fd"
deadline = time.monotonic() + 30
while time.monotonic() < deadline:
    try:
        for fd in os.listdir(fd_dir):
            try:
                target = os.readlink(f"{fd_dir}/{fd}")
            except OSError:
                continue
            if target.startswith(tmp + "/") and target.endswith("(deleted)"):
                os.kill(pid, sig)
                sys.exit(0)
    except FileNotFoundError:
        sys.exit(1)
sys.exit(1)
