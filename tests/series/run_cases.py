"""Runs wgnrain-series on the case files of a folder, one case a file:

    # what the case shows
    args: --format csv --first-year 2001
    --- in.csv                       an input file, UTF-8 with LF line ends; where the name holds
                                     "crlf": CR LF, "cronly": CR alone, "utf16": UTF-16 with its mark
    date,prcp
    @daily 2001-01-01 2001-12-31 {date},0.5     one line per day: {date} {y} {m} {d} {doy} {ymd}
    @blank                                      an empty line (also at the end of a file)
    @escaped a\x1bb                             a line with Python's backslash escapes
    --- status
    0
    --- stderr                       expected lines ({dir}: the case's folder as the program shows it)
    wgnrain-series: 2001-2001: 365 days, 0 missing (0.0 %), 0 flagged
    --- series                       the expected series, a value a line; "VALUE * N" for N equal lines
    0.5 * 365

The first input file is the station file unless args name it; the series is
written as -o series.txt in the case's folder; sections not given are not
checked, except that a failed run must leave no series.

    run_cases.py path/to/wgnrain-series path/to/cases
"""
import datetime
import os
import shlex
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import program  # noqa: E402


def expand(lines):
    out = []
    for line in lines:
        if line == "@blank":
            out.append("")
            continue
        if line.startswith("@escaped "):
            out.append(line[len("@escaped "):].encode().decode("unicode_escape"))
            continue
        if not line.startswith("@daily "):
            out.append(line)
            continue
        _, start, end, template = line.split(" ", 3)
        day, last = datetime.date.fromisoformat(start), datetime.date.fromisoformat(end)
        while day <= last:
            out.append(template.format(date=day.isoformat(), y=day.year, m=day.month, d=day.day,
                                       doy=day.timetuple().tm_yday, ymd=day.strftime("%Y%m%d")))
            day += datetime.timedelta(days=1)
    return out


def expected_series(lines):
    out = []
    for line in lines:
        value, _, count = line.partition(" * ")
        out.extend([value] * (int(count) if count else 1))
    return out


def parse_case(path):
    args, sections, current = [], {}, None
    with open(path, encoding="utf-8") as f:
        for line in f.read().split("\n"):
            if current is None and line.startswith("args:"):
                args = shlex.split(line[5:])
            elif line.startswith("--- "):
                current = line[4:].strip()
                sections[current] = []
            elif current is not None:
                sections[current].append(line)
    for lines in sections.values():
        while lines and lines[-1] == "":
            lines.pop()
    return args, sections


binary, cases_dir = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
failures, count = [], 0
for name in sorted(os.listdir(cases_dir)):
    count += 1
    args, sections = parse_case(os.path.join(cases_dir, name))
    work = os.path.realpath(tempfile.mkdtemp(prefix="wgnseries"))
    tmp = os.path.join(work, "tmp")
    os.mkdir(tmp)
    case = os.path.join(work, "case")
    os.mkdir(case)
    for section, lines in sections.items():
        if section in ("status", "stdout", "stderr", "series"):
            continue
        end = "\r\n" if "crlf" in section else "\r" if "cronly" in section else "\n"
        encoding = "utf-16" if "utf16" in section else "utf-8"
        with open(os.path.join(case, section), "w", newline="", encoding=encoding) as f:
            f.write("".join(line + end for line in expand(lines)))
    inputs = [s for s in sections if s not in ("status", "stdout", "stderr", "series")]
    if inputs and inputs[0] not in args:
        args = [inputs[0], *args]
    status, out, err = program.run(binary, b"", case, tmp, arguments=[*args, "-o", "series.txt"])
    shown_dir = program.shown_path(binary, case)
    sep = program.separator(binary)

    def check(what, got, want):
        if got != want:
            failures.append(f"{name}: {what}:\n  got      {got!r}\n  expected {want!r}")

    if "status" in sections:
        check("status", status, int(sections["status"][0]))
    for stream, text in (("stdout", out), ("stderr", err)):
        if stream in sections:
            want = [line.replace("{dir}", shown_dir).replace("{/}", sep) for line in sections[stream]]
            check(stream, text.decode("utf-8", "replace").replace("\r\n", "\n").rstrip("\n").split("\n"), want)
    series_file = os.path.join(case, "series.txt")
    if "series" in sections:
        if not os.path.exists(series_file):
            failures.append(f"{name}: no series written")
        else:
            with open(series_file, "rb") as f:
                data = f.read().decode()
            check("series line ends", data.count("\n"), data.count("\r\n"))
            check("series", data.split("\r\n")[:-1], expected_series(sections["series"]))
    elif status != 0 and os.path.exists(series_file) and "series.txt" not in sections:
        failures.append(f"{name}: a series was written although the run failed")
    leftovers = [f for f in os.listdir(case) if f.endswith(".tmp")]
    if leftovers:
        failures.append(f"{name}: scratch files left: {leftovers}")

for failure in failures:
    print(failure)
print(f"{count - len({f.split(':')[0] for f in failures})} passed, {len({f.split(':')[0] for f in failures})} failed")
sys.exit(1 if failures else 0)
