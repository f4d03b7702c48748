"""Runs wgnrain on generated daily series and compares every output byte with
the independent model in wgnrain_ref.py.

    python3 compare.py path/to/wgnrain [--cases N] [--seed S] [--keep DIR]
    WGNRAIN_LAUNCHER=path/to/launch.exe python3 compare.py path/to/wgnrain.exe ...   (under Wine)

Each case gets a fresh working directory and a fresh temporary folder; the comparison
covers standard output, standard error, the exit status, the report, both
tables, and that no temporary file is left.  Ends with "N passed, M failed".
"""
import argparse
import math
import os
import random
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import program  # noqa: E402
import wgnrain_ref as ref  # noqa: E402


def amount(rng, style):
    """One wet day's value as text."""
    x = rng.gammavariate(0.7, 8.0)
    if style == "tenths":
        return f"{x:.1f}"
    if style == "thousandths":
        return f"{x:.3f}"
    if style == "ties":      # values on a half hundredth, and the floats around them
        return rng.choice(["0.005", "0.015", "0.125", "2.675", "0.375", "1.005", "0.004", "0.006", "12.345"])
    return repr(x)


def series(rng, years, first_year):
    style = rng.choice(["tenths", "thousandths", "ties", "full"])
    days = 365 * years + sum(ref.is_leap(first_year + i) for i in range(years))
    days += rng.choice([0, 0, 0, 1, 5, 200])   # a partial last year
    p_wet_dry, p_wet_wet = rng.uniform(0.1, 0.5), rng.uniform(0.3, 0.8)
    wet = False
    out = []
    awkward = rng.random() < 0.5
    for _ in range(days):
        wet = rng.random() < (p_wet_wet if wet else p_wet_dry)
        text = amount(rng, style) if wet else "0"
        if awkward:
            r = rng.random()
            if r < 0.01:
                text = "-99"                       # NoData
            elif r < 0.012:
                text = rng.choice(["NaN", "nan"]) if rng.random() < 0.1 else "-99.0"
            elif r < 0.02:
                text = rng.choice(["1.5E+01", "2.5d0", "  7", "3.", ".5", "-0.004", "-0.006", "1e-3", "0.00",
                                   "1e10" if rng.random() < 0.05 else "0", "Infinity" if rng.random() < 0.05 else "0"])
            elif r < 0.025:
                text = text + " 13.0"              # a second value on the record is ignored
            elif r < 0.03:
                out.append("")                     # a blank record is passed over
        out.append(text)
    if rng.random() < 0.2:
        out.append("end of data")                  # a trailing non-numeric record stops the series
    eol = "\r\n" if rng.random() < 0.3 else "\n"
    data = eol.join(out)
    if rng.random() < 0.8:
        data += eol                                # else the last line has no line end
    return data.encode()


def equal_month_series(rng):
    """One year whose January is one repeated value (the variance edge)."""
    value = rng.choice(["0.10", "0.30", "1.00", "2.50", "0.00", "0.07"])
    days = [value] * 31 + ["1.0"] * (365 - 31)
    return ("\n".join(days) + "\n").encode()


statuses = {}  # expected exit status -> cases


def run_case(binary, rng, index, keep):
    years = rng.choice([1, 1, 2, 3, 5, 10, 30, 60])
    first_year = rng.choice([1890, 1896, 1899, 1900, 1961, 1990, 1996, 1999, 2000, 2001, 0, -5])
    nodata_text = rng.choice(["-99", "-99", "-99.0", "0", "-9999", "NaN"] if index % 7 else ["-99"])
    data = equal_month_series(rng) if index % 10 == 9 else series(rng, years, first_year)
    work = tempfile.mkdtemp(prefix="wgnref")
    tmp = os.path.join(work, "tmp")
    os.mkdir(tmp)
    run_dir = os.path.join(work, "run")
    os.mkdir(run_dir)
    with open(os.path.join(run_dir, "in.txt"), "wb") as f:
        f.write(data)
    answers = f"in.txt\nreport.txt\n{first_year}\n{nodata_text}\n"
    returncode, stdout, stderr = program.run(binary, answers.encode(), run_dir, tmp, timeout=120)
    problems = []
    input_path = program.shown_path(binary, os.path.join(run_dir, "in.txt"))
    nodata = ref.parse_real(nodata_text)
    try:
        warnings = []
        report, mean_pcp, totalpcp = ref.run(data, "in.txt", "report.txt", first_year, nodata, input_path, warnings)
        expected = {"status": 0, "stderr": "".join(warnings),
                    "files": {"report.txt": report, "mean_pcp.sta": mean_pcp, "totalpcp.sta": totalpcp}}
    except ref.Failure as failure:
        expected = {"status": failure.status, "stderr": failure.stderr, "files": {}}
    if returncode != program.failure_status(binary, expected["status"]):
        problems.append(f"exit status {returncode:#x}, expected {expected['status']}")
    stderr = stderr.decode("latin-1")
    if "@SCRATCH@" in expected["stderr"]:
        head, _, tail = expected["stderr"].partition("@SCRATCH@")
        scratch_folder = program.shown_path(binary, tmp) + program.separator(binary)
        ok = stderr.startswith(head + scratch_folder) and stderr.endswith(tail)
    else:
        ok = stderr == expected["stderr"]
    if not ok:
        problems.append(f"stderr {stderr!r}, expected {expected['stderr']!r}")
    if stdout.decode("latin-1") != ref.console_output():
        problems.append("stdout differs")
    for name, content in expected["files"].items():
        path = os.path.join(run_dir, name)
        actual = open(path, "rb").read().decode("latin-1") if os.path.exists(path) else None
        if actual != content:
            problems.append(f"{name} differs")
    if expected["status"] != 0:
        for name in ("report.txt", "mean_pcp.sta", "totalpcp.sta"):
            if os.path.exists(os.path.join(run_dir, name)):
                problems.append(f"{name} written by a failed run")
    if os.listdir(tmp):
        problems.append(f"temporary files left: {os.listdir(tmp)}")
    statuses[expected["status"]] = statuses.get(expected["status"], 0) + 1
    if problems and keep:
        dest = os.path.join(keep, f"case{index}")
        shutil.copytree(work, dest)
        with open(os.path.join(dest, "answers"), "w") as f:
            f.write(answers)
    shutil.rmtree(work)
    return problems


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("binary")
    parser.add_argument("--cases", type=int, default=40)
    parser.add_argument("--seed", type=int, default=20261207)
    parser.add_argument("--keep", help="copy failing cases into this folder")
    args = parser.parse_args()
    rng = random.Random(args.seed)
    passed = failed = 0
    for index in range(args.cases):
        problems = run_case(os.path.abspath(args.binary), rng, index, args.keep)
        if problems:
            failed += 1
            print(f"case {index}: " + "; ".join(p[:300] for p in problems))
        else:
            passed += 1
    print("exit statuses of the cases: " + ", ".join(f"{k}: {v}" for k, v in sorted(statuses.items())))
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
