"""The input checks: one row per finding, and rows that must stay silent.
Each row gives an input file, the first year and NoData answers, and the
exact warning lines expected on standard error; the exit status, the rest of
standard error and every output byte must be what the independent model
gives for that input, as without the checks.

    warnings.py path/to/wgnrain
    WGNRAIN_LAUNCHER=path/to/launch.exe warnings.py path/to/wgnrain.exe   (under Wine)

Ends with "N passed, M failed".
"""
import os
import shutil
import sys
import tempfile

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, "..", "reference"))
sys.path.insert(0, os.path.join(here, "..", "support"))
import program  # noqa: E402
import wgnrain_ref as ref  # noqa: E402


def lines(values, eol="\n", last_eol=True):
    text = eol.join(values)
    return (text + eol if last_eol else text).encode()


def year(value="1.0", count=365):
    return [value] * count


def replaced(values, changes):
    values = list(values)
    for line, text in changes.items():
        values[line - 1] = text
    return values


W = "runlib: warning: "
ROWS = [
    # name, input, first year, NoData answer, expected warning lines
    ("clean year", lines(year()), 2001, "-99", []),
    ("silent: trailing blank lines, -0, NoData values, CR LF",
     lines(replaced(year(), {3: "-0", 4: "-99", 9: "-99"}) + ["", "  "], "\r\n"), 2001, "-99", []),
    ("silent: last line without a line end", lines(year(), last_eol=False), 2001, "-99", []),
    ("an unreadable line ends the series",
     lines(replaced(year(count=730), {400: "12.5mm"})), 2001, "-99",
     [W + "line 400 holds no readable value, so the series ends before it: 399 values kept, 330 lines after it "
          "not read",
      W + "values not analysed: 34, after the 1 whole calendar year from 2001"]),
    ("a header line in the middle", lines(year() + ["date value"] + year()), 2001, "-99",
     [W + "line 366 holds no readable value, so the series ends before it: 365 values kept, 365 lines after it "
          "not read"]),
    ("decimal commas", lines(year("12,5")), 2001, "-99",
     [W + "lines with more than one value: 365, first on line 1; only the first value of a line is read "
          "(a decimal comma, or a date before the value?)"]),
    ("dates before the values", lines([f"2001 1 {d % 28 + 1} 2.5" for d in range(365)]), 2001, "-99",
     [W + "lines with more than one value: 365, first on line 1; only the first value of a line is read "
          "(a decimal comma, or a date before the value?)"]),
    ("blank lines for missing days", lines(year()[:100] + ["", ""] + year()[100:] + ["1.0"]), 2001, "-99",
     [W + "blank lines among the values: 2, first on line 101; they are passed over, so every later value moves "
          "up one day for each",
      W + "values not analysed: 1, after the 1 whole calendar year from 2001"]),
    ("another NoData marker in the file", lines(replaced(year(), {5: "-99", 6: "-99", 200: "-99.5"})), 2001,
     "-9999",
     [W + "negative values that are not the NoData value: 3, first on line 5, the smallest -99.5; they are taken "
          "as precipitation",
      W + "no value equals the NoData value -9999: the file probably marks missing days with another value"]),
    ("negative values beside NoData values", lines(replaced(year(), {5: "-99", 7: "-3.5"})), 2001, "-99",
     [W + "negative values that are not the NoData value: 1, first on line 7, the smallest -3.5; they are taken "
          "as precipitation"]),
    ("NoData value 0", lines(replaced(year("0"), {10: "4.5", 11: "2.5"})), 2001, "0",
     [W + "the NoData value is 0: 363 days of 0 count as missing and take the mean of the other values"]),
    ("NoData answer that leaves 0 (a lone comma)", lines(replaced(year("0"), {10: "4.5"})), 2001, ",",
     [W + "the NoData value is 0: 364 days of 0 count as missing and take the mean of the other values"]),
    ("every value NoData", lines(year("-99")), 2001, "-99",
     [W + "every value is NoData: there is no mean to replace them with, and no statistic can be computed"]),
    ("an infinite value", lines(replaced(year(), {5: "Infinity", 6: "-99", 40: "-infinity"})), 2001, "-99",
     [W + "negative values that are not the NoData value: 1, first on line 40, the smallest -inf; they are taken "
          "as precipitation",
      W + "infinite values: 2, first on line 5; no statistic of their months can be computed"]),
    ("a date-time stamp too wide for the month files", lines(replaced(year(), {7: "123456789012"})), 2001, "-99",
     [W + "values too large for the month files (F12.2): 1, first on line 7: 1.23457e+11; the run will end with "
          "a failure on them"]),
    ("values after the whole years", lines(year(count=370)), 2001, "-99",
     [W + "values not analysed: 5, after the 1 whole calendar year from 2001"]),
    ("leap days are part of the whole years", lines(year(count=366 + 365)), 2000, "-99", []),
    ("an infinite value after the whole years is not analysed", lines(year() + ["Infinity"]), 2001, "-99",
     [W + "values not analysed: 1, after the 1 whole calendar year from 2001"]),
    ("a value of 2^64 in a run of plain values does not wrap", lines(replaced(year(), {11: "18446744073709551616"})),
     2001, "-99",
     [W + "values too large for the month files (F12.2): 1, first on line 11: 1.84467e+19; the run will end with "
          "a failure on them"]),
]


def check(binary, name, data, first_year, nodata_answer, expected_warnings):
    work = tempfile.mkdtemp(prefix="wgnwarn")
    run_dir, tmp = os.path.join(work, "run"), os.path.join(work, "tmp")
    os.mkdir(run_dir)
    os.mkdir(tmp)
    with open(os.path.join(run_dir, "in.txt"), "wb") as f:
        f.write(data)
    answers = f"in.txt\nout.txt\n{first_year}\n{nodata_answer}\n".encode()
    status, _, stderr = program.run(binary, answers, run_dir, tmp)
    stderr = stderr.decode("latin-1")
    problems = []

    nodata = 0.0 if nodata_answer == "," else ref.parse_real(nodata_answer)
    input_path = program.shown_path(binary, os.path.join(run_dir, "in.txt"))
    try:
        files = dict(zip(("out.txt", "mean_pcp.sta", "totalpcp.sta"),
                         ref.run(data, "in.txt", "out.txt", first_year, nodata, input_path)))
        model_status, model_rest = 0, ""
    except ref.Failure as failure:
        files, model_status = {}, failure.status
        model_rest = failure.stderr
    warnings = "".join(line + "\r\n" for line in expected_warnings)
    # The model's standard error already holds its own warnings: only the
    # rest of it is compared, after the expected lines of this table.
    model_rest = "".join(l for l in model_rest.splitlines(keepends=True) if not l.startswith(W))
    if not stderr.startswith(warnings):
        problems.append(f"warnings {stderr!r}, expected {warnings!r}")
    else:
        rest = stderr[len(warnings):]
        head, marker, tail = model_rest.partition("@SCRATCH@")
        if marker:
            scratch = program.shown_path(binary, tmp) + program.separator(binary)
            ok = rest.startswith(head + scratch) and rest.endswith(tail)
        else:
            ok = rest == model_rest
        if not ok:
            problems.append(f"standard error after the warnings {rest!r}, expected {model_rest!r}")
    if status != program.failure_status(binary, model_status):
        problems.append(f"exit status {status:#x}, expected {model_status}")
    for file_name, text in files.items():
        path = os.path.join(run_dir, file_name)
        if not os.path.exists(path) or open(path, "rb").read().decode("latin-1") != text:
            problems.append(f"{file_name} differs from the model")
    if os.listdir(tmp):
        problems.append("temporary files left")
    shutil.rmtree(work)
    return problems


def main():
    binary = os.path.abspath(sys.argv[1])
    passed = failed = 0
    for row in ROWS:
        problems = check(binary, *row)
        if problems:
            failed += 1
            print(f"FAIL: {row[0]}: " + "; ".join(problems))
        else:
            passed += 1
            print(f"ok: {row[0]}")
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
