"""intervals.csv through wgnrain-batch: two csv records of the same climate,
"long" of 1981-2020 and "short" of 2011-2020, with rain and temperature (the
rest from the bundled reference station):

  - every month of every station has its 14 rows, in the record's order,
    the value as the model files hold it (wgn_mon_pcp.csv's pcp_ave);
  - low <= high, and most intervals hold their value;
  - the short record's intervals of pcp_ave are about twice as wide;
  - the page notes the short record, and summary.csv's last column,
    interval_notes, holds each station's notes as the page gives them;
  - a second batch reuses both stations and writes the same bytes;
  - --check writes OUTDIR/check, and the page names the stations whose
    generated pcp_ave or pcp_days leave the record's interval, month by month;
    the check's page holds each station's notes and its record's value and
    interval of every month and variable; the overview's charts draw each
    station's generated values (none without --check);
    --seed without --check is refused.

    batch_intervals.py path/to/wgnrain-batch
"""
import csv
import io
import os
import re
import shutil
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import program  # noqa: E402

binary = os.path.abspath(sys.argv[1])
work, tmp = program.workspace("wgnintervals")
failures = []
expect = program.expecter(failures)
REFERENCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "examples", "reference-wgn.cli")
COLUMNS = ["tmp_max_ave", "tmp_min_ave", "tmp_max_sd", "tmp_min_sd", "pcp_ave", "pcp_sd", "pcp_skew", "wet_dry",
           "wet_wet", "pcp_days", "pcp_hhr", "slr_ave", "dew_ave", "wnd_ave"]



def write_record(name, first, last, seed):
    program.write_dated_record(os.path.join(work, name + ".csv"), first, last, seed)


write_record("long", 1981, 2020, 1)
write_record("short", 2011, 2020, 2)
with open(os.path.join(work, "stations.csv"), "w", newline="") as f:
    # The rest of the record from the bundled reference station, so that both are in the model files.
    f.write("station,file,format,lat,lon,elev,fill_file,fill_station\n" + "".join(
        f"{name},{name}.csv,csv,52.1,5.18,2,{REFERENCE},example_reference\n" for name in ("long", "short")))


def run_batch(what, reused, options=(), want=0):
    status, out, err = program.run(binary, b"", work, tmp, arguments=["stations.csv", "-o", "out", *options])
    expect(f"{what}: status", status, want)
    if want != 0:
        return err.decode(errors="replace")
    expect(f"{what}: stations reused", re.findall(r"\d+ from an earlier run", out.decode(errors="replace")),
           [f"{reused} from an earlier run"] if reused else [])
    with open(os.path.join(work, "out", "intervals.csv"), "rb") as f:
        return f.read()


first = run_batch("first run", 0)
rows = list(csv.DictReader(io.StringIO(first.decode())))
expect("header", first.decode().split("\r\n")[0], "station,month,variable,value,low,high")
expect("rows' order", [(r["station"], r["month"], r["variable"]) for r in rows],
       [(s, str(m), c) for s in ("long", "short") for m in range(1, 13) for c in COLUMNS])
with open(os.path.join(work, "out", "wgn_mon_pcp.csv"), newline="") as f:
    monthly = {(r["wgn_id"], r["month"]): r["pcp_ave"] for r in csv.DictReader(f)}
expect("pcp_ave as the model files hold it",
       {(r["station"], r["month"]): r["value"] for r in rows if r["variable"] == "pcp_ave"}, monthly)
bounded = [r for r in rows if r["low"]]
expect("every value with days behind it has bounds",
       sorted({r["variable"] for r in bounded}),
       sorted(c for c in COLUMNS if c not in ("slr_ave", "dew_ave", "wnd_ave")))
expect("rows without a value have no bounds", [r for r in rows if not r["value"] and r["low"]], [])
expect("low <= high", [r for r in bounded if float(r["low"]) > float(r["high"])], [])
held = sum(float(r["low"]) <= float(r["value"]) <= float(r["high"]) for r in bounded)
if held < 0.95 * len(bounded):
    failures.append(f"only {held} of {len(bounded)} intervals hold their value")


def width(station):
    return sum(float(r["high"]) - float(r["low"]) for r in bounded
               if r["station"] == station and r["variable"] == "pcp_ave")


ratio = width("short") / width("long")
if not 1.5 < ratio < 2.7:
    failures.append(f"10 against 40 years: pcp_ave widths differ by {ratio:.2f}, not about 2")
with open(os.path.join(work, "out", "index.html"), encoding="utf-8") as f:
    page = f.read()
notes = re.findall(r"<p>Intervals: [^<]*</p>", page)
expect("the page notes the short record", [n for n in notes if "10 years (fewer than 20)" in n][:1] != [], True)
expect("no generated values without --check", 'class="gen"' in page, False)
with open(os.path.join(work, "out", "summary.csv"), newline="", encoding="utf-8") as f:
    summary = list(csv.reader(f))
# The notes on the intervals after the list's own columns; pcp_values, then the outlier days last of all.
expect("interval_notes after the list's columns, pcp_values and outlier_days last",
       (summary[0].index("interval_notes") > summary[0].index("fill_km"), summary[0][-2:]),
       (True, ["pcp_values", "outlier_days"]))
notes_at = summary[0].index("interval_notes")
sections = re.split(r'<section class="station"', page)[1:]
for row in summary[1:]:
    section = [s for s in sections if f">{row[0]}<" in s]
    on_page = re.findall(r"<p>Intervals: ([^<]*)\.</p>", section[0]) if section else []
    expect(f"{row[0]}: notes in the summary as on the page", [row[notes_at]] if row[notes_at] else [], on_page)
expect("the short record's notes", [r[notes_at] for r in summary[1:] if r[0] == "short"][0].startswith(
    "10 years (fewer than 20)"), True)
notes_of = {r[0]: r[notes_at] for r in summary[1:]}

expect("second run writes the same bytes", run_batch("second run", 2), first)

expect("--seed alone", "'--seed' goes with --check" in run_batch("--seed alone", 0, ["--seed", "3"], 2), True)
expect("the check's own refusals", "--years" in run_batch("--years 0", 0, ["--check", "--years", "0"], 2), True)
run_batch("--check", 2, ["--check", "--years", "300", "--seed", "3"])
expect("the check's files", sorted(os.listdir(os.path.join(work, "out", "check"))),
       ["audit.csv", "generated.csv", "index.html"])
with open(os.path.join(work, "out", "check", "generated.csv"), newline="") as f:
    generated = {(r["station"], r["month"], r["variable"]): float(r["generated"]) for r in csv.DictReader(f)}
want = []
for station in ("long", "short"):
    parts = []
    for variable in ("pcp_ave", "pcp_days"):
        months = [r["month"] for r in bounded if r["station"] == station and r["variable"] == variable and
                  not float(r["low"]) <= generated[(station, r["month"], variable)] <= float(r["high"])]
        if months:
            parts.append(variable + " " + " ".join(months))
    if parts:
        want.append(f"<li>{station}: {', '.join(parts)}</li>")
with open(os.path.join(work, "out", "index.html"), encoding="utf-8") as f:
    page = f.read()
listed = re.search(r'<div id="check">(.*?)</div>', page)
expect("the page lists the check", bool(listed), True)
if listed:
    expect("stations outside their intervals", re.findall(r"<li>[^<]*</li>", listed.group(1)), want)
    if not want:
        expect("no station outside", "no station." in listed.group(1), True)
with open(os.path.join(work, "out", "check", "generated.csv"), newline="") as f:
    generated_text = {(r["station"], r["month"], r["variable"]): r["generated"] for r in csv.DictReader(f)}
MONTHS = ["Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"]
for station in ("long", "short"):
    section = [s for s in re.split(r'<section class="station"', page)[1:] if f">{station}</h2>" in s]
    drawn = dict(re.findall(r'<polyline class="gen" points="[^"]*"><title>generated (\w+):([^<]*)</title>',
                            section[0] if section else ""))
    expect(f"{station}: the generated values drawn", sorted(drawn),
           sorted(["pcp_ave", "pcp_days", "wet_dry", "wet_wet", "pcp_sd", "pcp_skew", "tmp_max_ave", "tmp_min_ave",
                   "pcp_hhr", "slr_ave", "wnd_ave"]))
    for variable, title in drawn.items():
        expect(f"{station}: generated {variable} on hover", title,
               "".join(f" {MONTHS[m - 1]} {generated_text[(station, str(m), variable)]}" for m in range(1, 13)))
with open(os.path.join(work, "out", "check", "index.html"), encoding="utf-8") as f:
    check_page = f.read()
for station in ("long", "short"):
    section = [s for s in check_page.split("<section>")[1:] if s.startswith(f"<h2>{station}</h2>")]
    expect(f"{station}: one section on the check's page", len(section), 1)
    if not section:
        continue
    if notes_of[station]:
        expect(f"{station}: notes on the check's page", f"Intervals: {notes_of[station]}." in section[0], True)
    shown = re.findall(r"<tr><td>\w+</td><td>(\w+)</td><td>[^<]*</td><td>([^<]*)</td><td>([^<]*)</td>", section[0])
    expect(f"{station}: the record on the check's page", shown,
           [(r["variable"], r["value"], f"{r['low']} … {r['high']}" if r["low"] else "") for r in rows
            if r["station"] == station])
expect("scratch files left", os.listdir(tmp), [])
shutil.rmtree(work)
for failure in failures:
    print("FAIL", failure)
print(f"{'FAILED' if failures else 'passed'}: intervals.csv, its notes, a resumed batch and --check")
sys.exit(1 if failures else 0)
