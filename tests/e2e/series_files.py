"""wgnrain-series on names that are not plain files: a named pipe, a device,
a symbolic link, as the station file and after -o.  One row a situation:
what is made in a fresh folder, the arguments, the status, the message, and
what must hold of the folder afterwards.  No run may hang (each has a
timeout) and none may replace a pipe, a device or a link by a file.

    series_files.py path/to/wgnrain-series
"""
import os
import stat
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import program  # noqa: E402

binary = os.path.abspath(sys.argv[1])
windows = program.is_windows(binary)
SERIES = "".join("1.0\n" for _ in range(365))
failures, skipped = [], []


def make_fifo(path):
    os.mkfifo(path)


def make_null_device(path):
    """The null device under a name of the test's own (needs root)."""
    os.mknod(path, stat.S_IFCHR | 0o666, os.makedev(1, 3))


def write(path, text):
    with open(path, "w", newline="") as f:
        f.write(text)


def read(path):
    with open(path, newline="") as f:
        return f.read()


def is_fifo(path):
    return stat.S_ISFIFO(os.lstat(path).st_mode)


def is_device(path):
    return stat.S_ISCHR(os.lstat(path).st_mode)


def series_written(path):
    return read(path) == SERIES.replace("\n", "\r\n")


# (what, setup(folder), arguments, status, stderr ({dir}: the folder as shown), check(folder) -> problem or None)
ROWS = [
    ("-o onto a named pipe", lambda d: make_fifo(os.path.join(d, "out")), ["in.txt", "-o", "out"], 2,
     "{dir}{/}out is a named pipe, not a file: the series must go to a regular file",
     lambda d: None if is_fifo(os.path.join(d, "out")) else "the pipe was replaced"),
    ("-o onto the system's null device", None, ["in.txt", "-o", "/dev/null"], 2,
     "/dev/null is a device, not a file: the series must go to a regular file",
     lambda d: None if is_device("/dev/null") else "/dev/null was replaced"),
    ("-o onto a device of the folder", lambda d: make_null_device(os.path.join(d, "null")), ["in.txt", "-o", "null"], 2,
     "{dir}{/}null is a device, not a file: the series must go to a regular file",
     lambda d: None if is_device(os.path.join(d, "null")) else "the device was replaced"),
    ("-o onto a link: its file replaced, the link kept",
     lambda d: (os.mkdir(os.path.join(d, "sub")), write(os.path.join(d, "sub", "target.txt"), "old\n"),
                os.symlink(os.path.join("sub", "target.txt"), os.path.join(d, "link.txt"))),
     ["in.txt", "-o", "link.txt"], 0, "wgnrain-series: 2001-2001: 365 days, 0 missing (0.0 %), 0 flagged",
     lambda d: "the link is no longer a link" if not os.path.islink(os.path.join(d, "link.txt"))
     else "the link's file holds no series" if not series_written(os.path.join(d, "sub", "target.txt"))
     else "scratch files left" if [f for f in os.listdir(os.path.join(d, "sub")) if f.endswith(".tmp")] else None),
    ("-o onto a link to a named pipe",
     lambda d: (make_fifo(os.path.join(d, "pipe")), os.symlink("pipe", os.path.join(d, "link"))),
     ["in.txt", "-o", "link"], 2, "{dir}{/}pipe is a named pipe, not a file: the series must go to a regular file",
     lambda d: None if os.path.islink(os.path.join(d, "link")) and is_fifo(os.path.join(d, "pipe"))
     else "the link or the pipe was replaced"),
    ("-o onto a link that leads nowhere", lambda d: os.symlink("missing.txt", os.path.join(d, "link")),
     ["in.txt", "-o", "link"], 2, "cannot follow the link {dir}{/}link: No such file or directory",
     lambda d: None if os.path.islink(os.path.join(d, "link")) else "the link was replaced"),
    ("-o onto a link to the station file", lambda d: os.symlink("in.txt", os.path.join(d, "link")),
     ["in.txt", "-o", "link"], 2, "the series {dir}{/}link would replace the station file itself",
     lambda d: None if read(os.path.join(d, "in.txt")) == SERIES else "the station file was changed"),
    ("a named pipe as the station file", lambda d: make_fifo(os.path.join(d, "pipe")), ["pipe", "-o", "s.txt"], 1,
     "{dir}{/}pipe is a named pipe, not a file", None),
    ("a link to a named pipe as the station file",
     lambda d: (make_fifo(os.path.join(d, "pipe")), os.symlink("pipe", os.path.join(d, "link"))),
     ["link", "-o", "s.txt"], 1, "{dir}{/}link is a named pipe, not a file", None),
    ("an endless device as the station file", None, ["/dev/zero", "-o", "s.txt"], 1,
     "/dev/zero is a device, not a file", None),
    ("a device of the folder as the station file", lambda d: make_null_device(os.path.join(d, "null")),
     ["null", "-o", "s.txt"], 1, "{dir}{/}null is a device, not a file", None),
    ("an empty station file", lambda d: write(os.path.join(d, "empty.txt"), ""), ["empty.txt", "-o", "s.txt"], 1,
     "{dir}{/}empty.txt is empty", None),
]
# Windows' own devices: a device name and a \\.\ name.
WINDOWS_ROWS = [
    ("-o onto NUL", None, ["in.txt", "-o", "NUL"], 2,
     "\\\\.\\NUL is a device, not a file: the series must go to a regular file", None),
    ("-o onto \\\\.\\NUL", None, ["in.txt", "-o", "\\\\.\\NUL"], 2,
     "\\\\.\\NUL is a device, not a file: the series must go to a regular file", None),
    ("NUL as the station file", None, ["NUL", "-o", "s.txt"], 1, "\\\\.\\NUL is a device, not a file", None),
]

for what, setup, arguments, status, stderr, check in WINDOWS_ROWS if windows else ROWS:
    work = os.path.realpath(tempfile.mkdtemp(prefix="wgnfiles"))
    folder, tmp = os.path.join(work, "case"), os.path.join(work, "tmp")
    os.mkdir(folder)
    os.mkdir(tmp)
    write(os.path.join(folder, "in.txt"), SERIES)
    try:
        if setup:
            setup(folder)
    except PermissionError:
        skipped.append(what)
        continue
    try:
        got_status, _, err = program.run(binary, b"", folder, tmp, timeout=20,
                                         arguments=[*arguments[:1], "--first-year", "2001", *arguments[1:]])
    except Exception as error:  # a run that hangs on a pipe or an endless device
        failures.append(f"{what}: {error}")
        continue
    want = ("wgnrain-series: " + stderr if not stderr.startswith("wgnrain-series:") else stderr).replace(
        "{dir}", program.shown_path(binary, folder)).replace("{/}", program.separator(binary))
    got = err.decode("utf-8", "replace").replace("\r\n", "\n").rstrip("\n")
    if (got_status, got) != (status, want):
        failures.append(f"{what}:\n  got      {got_status} {got!r}\n  expected {status} {want!r}")
    elif check and (problem := check(folder)):
        failures.append(f"{what}: {problem}")
    if status != 0 and os.path.exists(os.path.join(folder, "s.txt")):
        failures.append(f"{what}: a series was written although the run failed")

for failure in failures:
    print(failure)
for what in skipped:
    print(f"skipped (needs root): {what}")
total = len(WINDOWS_ROWS if windows else ROWS)
print(f"{total - len(failures) - len(skipped)} passed, {len(failures)} failed, {len(skipped)} skipped")
sys.exit(1 if failures else 0)
