"""Names beyond ASCII as Windows users write them, on either build:

  - Station lists saved as UTF-8, UTF-8 with a byte order mark, UTF-16, ANSI
    (1252) and OEM (437), naming series in folders données, Łódź and
    Users/José.  Unicode lists run everywhere; Windows reads an ANSI list too;
    an OEM list (no Windows program writes one) runs nothing, and Linux
    refuses both as not UTF-8.  Every report equals the ASCII station's but
    for its name line, which holds the full name in UTF-8.
  - The list and the output folder named with accents on the command line.
  - wgnrain's answers in UTF-8, with a byte order mark, in UTF-16 LE and BE
    and in ANSI (the last three on Windows).
  - Names equal after NFC and case folding are one station: refused.
  - Windows, at a console (a pty): the typed dialogue with an accented name,
    "Press Enter to close this window." when wgnrain has the console alone,
    nothing of the kind when cmd started it.
  - Windows: the README's cmd recipe with names holding ! & % ( ) and blanks.

    windows_names.py path/to/wgnrain-batch
    WGNRAIN_LAUNCHER=path/to/launch.exe windows_names.py path/to/wgnrain-batch.exe   (under Wine)
"""
import os
import pty
import re
import select
import shutil
import subprocess
import sys
import tempfile
import time
import tty
import unicodedata

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import program  # noqa: E402

batch_binary = os.path.abspath(sys.argv[1])
windows = program.is_windows(batch_binary)
wgnrain = os.path.join(os.path.dirname(batch_binary), "wgnrain.exe" if windows else "wgnrain")
repo = os.path.realpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
example = os.path.join(repo, "examples", "example-1991-2020.txt")
# Wine passes names between Linux and Windows in the locale's encoding.
os.environ["LC_ALL"] = "C.UTF-8"
work = os.path.realpath(tempfile.mkdtemp(prefix="wgnnames"))
tmp = os.path.join(work, "tmp")
os.mkdir(tmp)
failures = []


def expect(what, got, want):
    if got != want:
        failures.append(f"{what}: got {repr(got)[:300]}, expected {repr(want)[:300]}")


def shown(*parts):
    return program.shown_path(batch_binary, os.path.join(work, *parts))


def place(*parts):
    os.makedirs(os.path.join(work, *parts[:-1]), exist_ok=True)
    shutil.copyfile(example, os.path.join(work, *parts))


def report_matches(what, report_path, series_parts, reference):
    """The report equals the reference report but for its name line, which names the series in UTF-8."""
    with open(report_path, "rb") as f:
        lines = f.read().split(b"\r\n")
    expect(f"{what}: name line", lines[1].rstrip(), b"Input Filename = " + shown(*series_parts).encode())
    expect(f"{what}: the rest", lines[:1] + lines[2:], reference[:1] + reference[2:])


# ---- The same series in folders named beyond ASCII ------------------------------------------
stations = [("ascii", ("plain", "series.txt")), ("Zürich", ("données", "Zürich.txt")),
            ("José", ("Users", "José", "José.txt")), ("Łódź", ("Łódź", "Łódź.txt"))]
for _, parts in stations:
    place(*parts)
with open(os.path.join(work, "ascii.csv"), "w") as f:
    f.write("station,file,first_year,nodata\nascii,plain/series.txt,1991,-99\n")
status, _, err = program.run(batch_binary, b"", work, tmp, arguments=["ascii.csv", "-o", "out-ascii"])
expect("ASCII station", (status, err), (0, b""))
with open(os.path.join(work, "out-ascii", "ascii", "report.txt"), "rb") as f:
    reference = f.read().split(b"\r\n")

# ---- Station lists in every encoding a Windows tool writes -----------------------------------
for encoding in ["utf-8", "utf-8-sig", "utf-16", "cp1252", "cp437"]:
    rows = [(name, parts) for name, parts in stations if encoding not in ("cp1252", "cp437") or name != "Łódź"]
    text = "station,file,first_year,nodata\r\n" + "".join(
        f"{name},{'/'.join(parts)},1991,-99\r\n" for name, parts in rows)
    with open(os.path.join(work, f"{encoding}.csv"), "wb") as f:
        f.write(text.encode(encoding))
    status, _, err = program.run(batch_binary, b"", work, tmp, arguments=[f"{encoding}.csv", "-o", f"out-{encoding}"])
    runs = encoding.startswith("utf") or (encoding == "cp1252" and windows)
    if not runs:
        expect(f"{encoding} list refused", (status, os.path.exists(os.path.join(work, f"out-{encoding}"))), (2, False))
        if not windows:
            expect(f"{encoding} list: why", b"text that is not UTF-8" in err, True)
        continue
    expect(f"{encoding} list", (status, err), (0, b""))
    with open(os.path.join(work, f"out-{encoding}", "summary.csv"), "rb") as f:
        summary = f.read().decode("utf-8").split("\r\n")
    expect(f"{encoding} list: stations in UTF-8", [row.split(",")[0] for row in summary[1:-1]],
           [name for name, _ in rows])
    for name, parts in rows:
        report_matches(f"{encoding} list, {name}", os.path.join(work, f"out-{encoding}", name, "report.txt"), parts,
                       reference)

# ---- Accents on the command line ---------------------------------------------------------------
with open(os.path.join(work, "Users", "José", "stations.csv"), "w", encoding="utf-8") as f:
    f.write("station,file,first_year,nodata\nJosé,José.txt,1991,-99\n")
status, _, err = program.run(batch_binary, b"", work, tmp,
                             arguments=[shown("Users", "José", "stations.csv"), "-o", shown("Users", "José", "out")])
expect("accented arguments", (status, err), (0, b""))
report_matches("accented arguments", os.path.join(work, "Users", "José", "out", "José", "report.txt"),
               ("Users", "José", "José.txt"), reference)
# The answers the batch hands to wgnrain, and its messages, end lines as the system's texts do.
line_end = b"\r\n" if windows else b"\n"
with open(os.path.join(work, "Users", "José", "out", "José", "answers.txt"), "rb") as f:
    expect("answers.txt", f.read(), b"".join(
        a + line_end for a in [b'"' + shown("Users", "José", "José.txt").encode() + b'"', b"report.txt", b"1991", b"-99"]))
# A refused output folder says why.
refused, why = ("Q:\\out", "no such drive") if windows else ("x" * 300, "the name is too long")
status, _, err = program.run(batch_binary, b"", work, tmp, arguments=[shown("Users", "José", "stations.csv"), "-o", refused])
expect("refused output folder", (status, err.endswith(f": {why}".encode() + line_end), err.count(line_end)), (2, True, 1))

# ---- wgnrain's answers as editors save them ------------------------------------------------------
answer_forms = [("utf-8", b""), ("utf-8", b"\xef\xbb\xbf")]
if windows:
    answer_forms += [("utf-16-le", b"\xff\xfe"), ("utf-16-be", b"\xfe\xff"), ("cp1252", b"")]
os.mkdir(os.path.join(work, "dialogue"))
for number, (encoding, mark) in enumerate(answer_forms):
    series = ("Łódź", "Łódź.txt") if encoding != "cp1252" else ("données", "Zürich.txt")
    answers = "\r\n".join([shown(*series), f"report-{number}.txt", "1991", "-99", ""])
    status, _, err = program.run(wgnrain, mark + answers.encode(encoding), os.path.join(work, "dialogue"), tmp)
    expect(f"answers in {encoding} {mark!r}", (status, err), (0, b""))
    report_matches(f"answers in {encoding} {mark!r}", os.path.join(work, "dialogue", f"report-{number}.txt"), series,
                   reference)
expect("answers: no stray file", sorted(os.listdir(os.path.join(work, "dialogue"))),
       sorted(["mean_pcp.sta", "totalpcp.sta"] + [f"report-{n}.txt" for n in range(len(answer_forms))]))

# ---- One name, several spellings ---------------------------------------------------------------------
spellings = ["Zürich", "ZÜrich", unicodedata.normalize("NFD", "Zürich"), unicodedata.normalize("NFD", "ZÜRICH")]
with open(os.path.join(work, "same.csv"), "w", encoding="utf-8") as f:
    f.write("station,file,first_year,nodata\n" + "".join(f"{n},données/Zürich.txt,1991,-99\n" for n in spellings))
status, _, err = program.run(batch_binary, b"", work, tmp, arguments=["same.csv", "-o", "out-same"])
lines = err.decode().splitlines()
expect("spellings refused", (status, os.path.exists(os.path.join(work, "out-same"))), (2, False))
for row, name in enumerate(spellings[1:], start=3):
    expect(f"spelling of row {row}",
           f"wgnrain-batch: {shown('same.csv')}, row {row}, column station: \"{name}\" is already the station of row 2"
           in lines, True)


# ---- Windows: a console of its own, and cmd ----------------------------------------------------------
def console_run(command, cwd, answers, enter_at_end):
    """Runs `command` on a pty, types the answers (Enter after each, and at the
    end when `enter_at_end`), and returns what the screen showed, whether the
    program was still waiting before that last Enter, and its exit status."""
    pid, fd = pty.fork()
    if pid == 0:
        os.chdir(cwd)
        tty.setraw(0)  # Enter stays CR even before the program's first read (as in a console window)
        os.execvp(command[0], command)
    screen = b""
    ended = False
    status = None

    def pump(seconds, until=None):
        """Reads the screen until `until` shows, the program ends or the time is up."""
        nonlocal screen, ended, status
        end = time.time() + seconds
        while time.time() < end and (until is None or until not in screen):
            ready, _, _ = select.select([fd], [], [], 0.1)
            if ready:
                try:
                    screen += os.read(fd, 4096)
                except OSError:  # nothing holds the terminal any more
                    ready = []
                    time.sleep(0.1)
            if not ended:
                done, status = os.waitpid(pid, os.WNOHANG)
                ended = done != 0
            if ended and not ready:
                return

    if answers:
        pump(60, b"Input Filename:")
    for answer, prompt in zip(answers, [b"Output Filename:", b"(yyyy):", b"NoData value =", None]):
        time.sleep(0.5)  # the program reads the console only after its prompt is out
        os.write(fd, answer.encode() + b"\r")
        if prompt:
            pump(30, prompt)
    alive = False
    if enter_at_end:
        pump(60, b"Press Enter to close this window.")
        alive = not ended
        os.write(fd, b"\r")
    pump(60)  # to the program's end
    if not ended:
        os.kill(pid, 9)
        status = os.waitpid(pid, 0)[1]
    os.close(fd)
    return screen, alive, os.waitstatus_to_exitcode(status)


if windows:
    console = os.path.join(work, "console")
    os.mkdir(console)
    exe = program.shown_path(batch_binary, wgnrain)
    env_wine = ["env", "-u", "TMPDIR", "wine"]
    answers = [shown("données", "Zürich.txt"), "typed.txt", "1991", "-99"]
    screen, waiting, status = console_run(env_wine + [exe], console, answers, True)
    expect("alone on its console: waits, then ends",
           (b"Press Enter to close this window." in screen, waiting, status), (True, True, 0))
    expect("typed name shown", shown("données", "Zürich.txt").encode() in screen, True)
    report_matches("typed dialogue", os.path.join(console, "typed.txt"), ("données", "Zürich.txt"), reference)
    answers[1] = "from-cmd.txt"
    screen, _, status = console_run(env_wine + ["cmd", "/c", exe], console, answers, False)
    expect("started from cmd: no pause", (b"Press Enter" in screen, status), (False, 0))
    expect("started from cmd: report", os.path.exists(os.path.join(console, "from-cmd.txt")), True)
    # A batch opened by a double-click shows its refusal until Enter.
    screen, waiting, status = console_run(env_wine + [program.shown_path(batch_binary, batch_binary)], console, [],
                                          True)
    expect("batch alone on its console", (b"no station list" in screen, b"Press Enter" in screen, waiting, status),
           (True, True, True, 2))

    # The README's recipe, as written but for where wgnrain.exe is.
    with open(os.path.join(repo, "README.md"), encoding="utf-8") as f:
        recipe = re.search(r"```bat\n(@echo off\n.*?)```", f.read(), re.S).group(1)
    recipe = recipe.replace("C:\\tools\\wgnrain\\wgnrain.exe", exe)
    cmd_dir = os.path.join(work, "recipe")
    awkward = ["a!b&c%d%(e) f", "50% ^x", "plain"]
    for name in awkward:
        place("recipe", "in", name + ".txt")
    with open(os.path.join(cmd_dir, "stations.csv"), "w", newline="\r\n") as f:
        f.write("".join(f"{shown('recipe', 'in', name + '.txt')},1991,-99\n" for name in awkward + ["missing"]))
    with open(os.path.join(cmd_dir, "run.bat"), "w", newline="\r\n") as f:
        f.write(recipe)
    proc = subprocess.run(["env", "-u", "TMPDIR", "wine", "cmd", "/c", "run.bat"], cwd=cmd_dir, capture_output=True,
                          timeout=300)
    expect("recipe: what it said", proc.stdout.replace(b"\r\n", b"\n").strip(), b"missing failed")
    expect("recipe: folders", sorted(os.listdir(os.path.join(cmd_dir, "out"))), sorted(awkward + ["missing"]))
    for name in awkward:
        report_matches(f"recipe, {name}", os.path.join(cmd_dir, "out", name, "report.txt"), ("recipe", "in", name + ".txt"),
                       reference)
        with open(os.path.join(cmd_dir, "out", name, "answers.txt"), "rb") as f:
            expect(f"recipe, {name}: answers", f.read(),
                   f"\"{shown('recipe', 'in', name + '.txt')}\"\r\nreport.txt\r\n1991\r\n-99\r\n".encode())
    expect("recipe: nothing stray", sorted(os.listdir(cmd_dir)), ["in", "out", "run.bat", "stations.csv"])

if not failures:
    shutil.rmtree(work)
for failure in failures:
    print("FAIL", failure)
print(f"{'FAILED' if failures else 'passed'}: lists, arguments and answers beyond ASCII, spellings of one name"
      + (", the console and cmd" if windows else ""))
sys.exit(1 if failures else 0)
