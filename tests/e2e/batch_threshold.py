"""The wet-day threshold through wgnrain-batch: one csv record of 2001-2004
with drizzle (0.05 mm) on most days, 4.0 mm on every fifth day, 0.1 mm on
every 10th and one day missing, run with pcp_threshold 0.1 ("grid") and
without ("raw"):

  - the summary's below_threshold follows flagged_values: the drizzle days
    of grid, empty for raw;
  - grid's series.txt has every drizzle day as 0, the days of 0.1 mm as they
    are, the missing day as the NoData value; January is wet on 6 days, not 31;
  - the half-hour rain (0.04 on drizzle days, within the day's rain as the
    file gives it) is measured, not refused;
  - the page says "Days below 0.1 mm written as dry: 1,175." for grid only;
  - a second batch reuses both stations, and a changed threshold runs grid again.

    batch_threshold.py path/to/wgnrain-batch
"""
import csv
import datetime
import io
import os
import re
import shutil
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import program  # noqa: E402

binary = os.path.abspath(sys.argv[1])
work, tmp = program.workspace("wgnthreshold")
failures = []
expect = program.expecter(failures)
MISSING = datetime.date(2002, 3, 7)



def rain(d):
    if d == MISSING:
        return ""
    return "0.1" if d.day == 10 else "4.0" if d.day % 5 == 0 else "0.05"


def hhr(d):
    return {"": "", "0.1": "0.05", "4.0": "1.5", "0.05": "0.04"}[rain(d)]


days = []
day = datetime.date(2001, 1, 1)
while day.year <= 2004:
    days.append(day)
    day += datetime.timedelta(days=1)
drizzle = sum(1 for d in days if rain(d) == "0.05")
with open(os.path.join(work, "grid.csv"), "w", newline="") as f:
    f.write("date,prcp,tmax,tmin,hhr\n" + "".join(f"{d.isoformat()},{rain(d)},20.0,5.0,{hhr(d)}\n" for d in days))


def run_batch(what, threshold, reused):
    with open(os.path.join(work, "stations.csv"), "w", newline="") as f:
        f.write("station,file,format,pcp_threshold,lat,lon,elev\n"
                f"grid,grid.csv,csv,{threshold},52.1,5.18,2\nraw,grid.csv,csv,,52.1,5.18,2\n")
    status, out, err = program.run(binary, b"", work, tmp, arguments=["stations.csv", "-o", "out"])
    expect(f"{what}: status", status, 0)
    expect(f"{what}: stations reused", re.findall(r"\d+ from an earlier run", out.decode(errors="replace")),
           [f"{reused} from an earlier run"] if reused else [])
    with open(os.path.join(work, "out", "summary.csv"), newline="") as f:
        text = f.read()
    header = text.split("\r\n")[0].split(",")
    expect(f"{what}: below_threshold after flagged_values", header[header.index("flagged_values") + 1],
           "below_threshold")
    summary = {row["station"]: row for row in csv.DictReader(io.StringIO(text))}
    with open(os.path.join(work, "out", "index.html"), encoding="utf-8") as f:
        page = f.read()
    sentences = {}
    for name in ("grid", "raw"):
        section = page[page.find(f"<h2>{name}</h2>"):]
        sentences[name] = re.findall(r"<p>Days below [^<]*</p>", section[:section.find("</section>")])
    return summary, sentences


summary, sentences = run_batch("first run", "0.1", 0)
grid, raw = summary.get("grid", {}), summary.get("raw", {})
expect("statuses", (grid.get("status"), raw.get("status")), ("ok", "ok"))
expect("below_threshold", (grid.get("below_threshold"), raw.get("below_threshold")), (str(drizzle), ""))
expect("missing days", (grid.get("missing_days"), raw.get("missing_days")), ("1", "1"))
expect("half-hour rain kept", [(row.get("pcp_hhr"), row.get("refused_variables")) for row in (grid, raw)],
       [("measured", "")] * 2)
with open(os.path.join(work, "out", "grid", "series.txt"), newline="") as f:
    series = f.read().split("\r\n")[:-1]
expect("grid series", series, ["-99" if rain(d) == "" else "0" if rain(d) == "0.05" else rain(d) for d in days])
with open(os.path.join(work, "out", "userwgn_pcp.csv"), newline="") as f:
    userwgn = {row["STATION"]: row for row in csv.DictReader(f)}
expect("January's wet days", (userwgn.get("grid", {}).get("PCPD1"), userwgn.get("raw", {}).get("PCPD1")),
       ("6.00", "31.00"))
expect("the page's sentence", sentences, {"grid": [f"<p>Days below 0.1 mm written as dry: {drizzle:,}.</p>"],
                                          "raw": []})

again, sentences_again = run_batch("second run", "0.1", 2)
expect("second run's summary", again, summary)
expect("second run's page", sentences_again, sentences)

changed, sentences_changed = run_batch("threshold 0.05", "0.05", 1)
expect("0.05 is not below 0.05", changed.get("grid", {}).get("below_threshold"), "0")
expect("grid runs again at 0.05", changed.get("grid", {}).get("status"), "ok")
expect("the page's sentence at 0.05", sentences_changed["grid"], ["<p>Days below 0.05 mm written as dry: 0.</p>"])

expect("scratch files left", os.listdir(tmp), [])
shutil.rmtree(work)
for failure in failures:
    print("FAIL", failure)
print(f"{'FAILED' if failures else 'passed'}: the wet-day threshold in the summary, the series and the page")
sys.exit(1 if failures else 0)
