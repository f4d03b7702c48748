"""wgnrain-check on the tables wgnrain-batch makes from the bundled example
(its precipitation, the rest filled from examples/reference-wgn.cli):

  - the batch folder, its weather-wgn.cli, userwgn.csv, the Editor's pair
    (named by either table) and the station's .wgn give the same generated
    numbers (one table, whatever the layout);
  - audit.csv and generated.csv: their headers, CR LF line ends, every row
    complete, 15 rows a month, each ratio the generated value over the table's,
    the generated pcp_hhr within a factor of 2 of the table's;
  - index.html: a section a station, its charts inline, nothing fetched; from
    the batch folder the record's value and interval of every month and
    variable (those of intervals.csv) beside the table's and the generated
    value, and the intervals as bands; from the table alone no record;
  - the same seed gives the same bytes (all three files), another seed or model other numbers;
  - the same table with pcp_ave as daily means: found in every month;
  - a table that cannot be read: exit status 2 with its file and line, and
    no output written.

    check.py path/to/wgnrain-check path/to/wgnrain-batch path/to/examples
"""
import csv
import io
import os
import re
import shutil
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import program  # noqa: E402

check, batch = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
examples = os.path.abspath(sys.argv[3])
work, tmp = program.workspace("wgncheck")
failures = []
expect = program.expecter(failures)


def run(binary, *arguments):
    status, out, err = program.run(binary, b"", work, tmp, arguments=list(arguments))
    return status, err.decode(errors="replace")


def rows(folder, name, header):
    with open(os.path.join(work, folder, name), "rb") as f:
        data = f.read()
    expect(f"{folder}/{name} line ends", data.count(b"\n"), data.count(b"\r\n"))
    table = list(csv.reader(io.StringIO(data.decode("utf-8"), newline="")))
    expect(f"{folder}/{name} header", table[0], header)
    for row in table[1:]:
        expect(f"{folder}/{name} row length", len(row), len(header))
    return table[1:]


AUDIT = ["station", "month", "variable", "finding", "kind", "value", "detail"]
GENERATED = ["station", "month", "variable", "table", "generated", "ratio"]

for name in ("example-1991-2020.csv", "reference-wgn.cli"):
    shutil.copy(os.path.join(examples, name), os.path.join(work, name))
with open(os.path.join(work, "stations.csv"), "w", newline="") as f:
    f.write("station,file,format,lat,lon,elev,fill_file,fill_station\n"
            "example,example-1991-2020.csv,csv,52.1,5.18,2,reference-wgn.cli,example_reference\n")
status, err = run(batch, "stations.csv", "-o", "batch")
expect("batch status", status, 0)

status, err = run(check, "batch", "-o", "folder")
expect("check status", status, 0)
expect("check's line", err.strip().endswith("1 generated; see " + program.shown_path(check, os.path.join(work, "folder"))),
       True)
audit = rows("folder", "audit.csv", AUDIT)
generated = rows("folder", "generated.csv", GENERATED)
expect("generated rows", len(generated), 12 * 15)
for station, month, variable, table, value, ratio in generated:
    if table and float(table) != 0:
        if abs(float(ratio) - float(value) / float(table)) > 1e-4 + 1e-3 * abs(float(ratio)):
            failures.append(f"ratio of {month} {variable}: {ratio} for {value} / {table}")
    else:
        expect(f"ratio of {month} {variable}", ratio, "")
    expect("station", station, "example")
by_key = {(r[1], r[2]): float(r[4]) for r in generated}
# SWAT+: radiation slr_ave every day.
for month in range(1, 13):
    expect(f"slr_sd of {month}", by_key[(str(month), "slr_sd")], 0.0)
# The largest half-hour rain of runs of rain_yrs years: of the table's size (it is smoothed over the
# months either side, so not equal to it).
for station, month, variable, table, value, ratio in generated:
    if variable == "pcp_hhr" and not 0.5 < float(ratio) < 2.0:
        failures.append(f"pcp_hhr of {month}: generated {value} for {table}")

for other in ("batch/weather-wgn.cli", "batch/userwgn.csv", "batch/wgn_stations.csv", "batch/wgn_monthly.csv",
              "batch/example/example.wgn"):
    run(check, other, "-o", "other")
    again = rows("other", "generated.csv", GENERATED)
    expect(f"generated from {other}", [r[4] for r in again], [r[4] for r in generated])

# The page: self-contained, a section a station with a chart a variable charted.
with open(os.path.join(work, "folder", "index.html"), encoding="utf-8") as f:
    page = f.read()
expect("page sections", page.count("<section>"), 1)
expect("page charts", page.count("<svg"), 12)
expect("page fetches nothing", [w for w in ("src=", "href=", "<link", "url(") if w in page], [])
# The record beside the table: every row of intervals.csv, the generated value beside it.
with open(os.path.join(work, "batch", "intervals.csv"), newline="") as f:
    intervals = list(csv.DictReader(f))
MONTHS = ["Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"]
shown = re.findall(r"<tr><td>(\w+)</td><td>(\w+)</td><td>([^<]*)</td><td>([^<]*)</td><td>([^<]*)</td>"
                   r"<td[^>]*>([^<]*)</td></tr>", page)
want = []
for r in intervals:
    interval = f"{r['low']} … {r['high']}" if r["low"] else ""
    value = f"{by_key[(r['month'], r['variable'])]:.4f}" if (r["month"], r["variable"]) in by_key else ""
    want.append((MONTHS[int(r["month"]) - 1], r["variable"], r["value"], interval, value))
expect("the record beside the table", [row[:2] + row[3:] for row in shown], want)
expect("the table's value the record's", [row for row in shown if float(row[2]) != float(row[3])], [])
CHARTED = {"pcp_ave", "pcp_days", "pcp_hhr", "wet_dry", "wet_wet", "tmp_max_ave", "tmp_min_ave", "tmp_max_sd",
           "tmp_min_sd", "slr_ave", "wnd_ave"}
expect("the intervals as bands", page.count('class="band interval rec"'),
       len({r["variable"] for r in intervals if r["low"]} & CHARTED))
run(check, "batch/weather-wgn.cli", "-o", "alone")
with open(os.path.join(work, "alone", "index.html"), encoding="utf-8") as f:
    expect("no record from the table alone", "<details" in f.read(), False)

run(check, "batch", "-o", "same")
for name in ("audit.csv", "generated.csv", "index.html"):
    with open(os.path.join(work, "folder", name), "rb") as a, open(os.path.join(work, "same", name), "rb") as b:
        expect(f"{name} again", a.read() == b.read(), True)
for options in (["--seed", "2"], ["--model", "swat2012"]):
    run(check, "batch", "-o", "seeded", *options)
    changed = rows("seeded", "generated.csv", GENERATED)
    expect(f"{options} changes the numbers", [r[4] for r in changed] != [r[4] for r in generated], True)

# pcp_ave as a daily mean: the monthly totals divided by the month's days.
with open(os.path.join(work, "batch", "userwgn.csv"), newline="", encoding="utf-8") as f:
    table = list(csv.reader(f))
DAYS = [31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31]
for month in range(1, 13):
    column = table[0].index(f"PCPMM{month}")
    table[1][column] = f"{float(table[1][column]) / DAYS[month - 1]:.2f}"
with open(os.path.join(work, "daily.csv"), "w", newline="", encoding="utf-8") as f:
    csv.writer(f).writerows(table)
run(check, "daily.csv", "-o", "daily")
found = [r for r in rows("daily", "audit.csv", AUDIT) if r[3] == "daily_mean_pcp"]
expect("daily means found", [r[1] for r in found], [str(m) for m in range(1, 13)])

with open(os.path.join(work, "broken.cli"), "w") as f:
    f.write("title\nst 52 5 2 30\n1 2 3\n")
status, err = run(check, "broken.cli", "-o", "broken")
expect("broken status", status, 2)
expect("broken message", err.strip(), "wgnrain-check: " + program.shown_path(check, os.path.join(work, "broken.cli")) +
       ", line 3: a month line of fewer than 14 values (a weather-wgn.cli, userwgn.csv, .wgn or the Editor's "
       "wgn_stations.csv was expected)")
expect("nothing written", os.path.exists(os.path.join(work, "broken")), False)

if failures:
    print("\n".join(failures))
    sys.exit(1)
shutil.rmtree(work)
print("check: all as expected")
