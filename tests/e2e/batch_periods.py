"""The period of each station through wgnrain-batch:

  - a csv record good in 1974-1979, gappy (January-April missing) in
    1980-2002 and good in 2003-2016: its period is 2003-2016, the summary's
    years_outside and the overview page name 1974-1979, and so do they again
    when a second run reuses the station from its run.txt;
  - records of 1,000 years and more, whose report prints the years as ***:
    the complete weather-generator record is still taken over the whole
    period (the dated file's period, the plain series' values / 365).  A
    plain series (precipitation only) and a dated csv with temperatures,
    both 1001-2000; only the last year holds a day of 25.0 mm in every month,
    so each month's estimated pcp_hhr is 25.0 x (30/1440)^0.25 = 9.50 over the
    whole period; every day's maximum is 10.0 but in the last year, where it
    is 40.0, so the mean of every month is 10.03 over the 1,000 years.

    batch_periods.py path/to/wgnrain-batch
"""
import csv
import datetime
import io
import os
import re
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import program  # noqa: E402

binary = os.path.abspath(sys.argv[1])
work = os.path.realpath(tempfile.mkdtemp(prefix="wgnlong"))
tmp = os.path.join(work, "tmp")
os.mkdir(tmp)
failures = []
FIRST, LAST = 1001, 2000


def expect(what, got, want):
    if got != want:
        failures.append(f"{what}: got {got!r}, expected {want!r}")


def write(name, lines):
    with open(os.path.join(work, name), "w", newline="") as f:
        f.write("\n".join(lines) + "\n")


days = []
day = datetime.date(FIRST, 1, 1)
while day.year <= LAST:
    days.append(day)
    day += datetime.timedelta(days=1)


def rain(d):
    if d.year == LAST and d.day == 15:
        return "25.0"
    return "2.5" if d.day % 3 == 0 else "0"


def tmax(d):
    return "40.0" if d.year == LAST else "10.0"


write("plain.txt", [rain(d) for d in days])
write("dated.csv", ["date,prcp,tmax,tmin"] + [f"{d.isoformat()},{rain(d)},{tmax(d)},0.0" for d in days])
gappy = ["date,prcp"]
day = datetime.date(1974, 1, 1)
while day.year <= 2016:
    if not 1980 <= day.year <= 2002 or day.month > 4:
        gappy.append(f"{day.isoformat()},{'1.5' if day.day % 4 == 0 else '0'}")
    day += datetime.timedelta(days=1)
write("gappy.csv", gappy)
write("stations.csv", [
    "station,file,format,first_year,nodata,lat,lon,elev",
    f"plain,plain.txt,plain,{FIRST},-99,52.1,5.18,2",
    "dated,dated.csv,csv,,,52.1,5.18,2",
    "gappy,gappy.csv,csv,,,50.1,14.26,364",
])
OUTSIDE = "1974 1975 1976 1977 1978 1979"


def run_batch(what):
    status, out, err = program.run(binary, b"", work, tmp, timeout=600, arguments=["stations.csv", "-o", "out", "-j", "2"])
    expect(f"{what}: batch status", status, 0)
    if not os.path.exists(os.path.join(work, "out", "summary.csv")):
        print("FAIL no summary:", out.decode(errors="replace"), err.decode(errors="replace"))
        sys.exit(1)
    with open(os.path.join(work, "out", "summary.csv"), newline="") as f:
        summary = {row["station"]: row for row in csv.DictReader(io.StringIO(f.read()))}
    with open(os.path.join(work, "out", "index.html"), encoding="utf-8") as f:
        page = f.read()
    gappy_row = summary.get("gappy", {})
    expect(f"{what}: gappy period", (gappy_row.get("period"), gappy_row.get("incomplete_years")), ("2003-2016", ""))
    expect(f"{what}: gappy years_outside", gappy_row.get("years_outside"), OUTSIDE)
    section = page[page.find("<h2>gappy</h2>"):]
    section = section[:section.find("</section>")]
    expect(f"{what}: the page's sentence", re.findall(r"<p>Well-covered years outside the period[^<]*</p>", section),
           [f"<p>Well-covered years outside the period (at most 10 % of their days missing): {OUTSIDE}.</p>"])
    expect(f"{what}: no sentence where every well-covered year is in the period",
           page.count("Well-covered years outside the period"), 1)
    return out.decode(errors="replace"), summary


out, summary = run_batch("first run")
with open(os.path.join(work, "out", "userwgn.csv"), newline="") as f:
    userwgn = {row["STATION"]: row for row in csv.DictReader(io.StringIO(f.read()))}
for station in ("plain", "dated"):
    row = summary.get(station, {})
    expect(f"{station} status", row.get("status"), "ok")
    expect(f"{station} report years (***, a count not shown)", row.get("years"), "")
    expect(f"{station} rain_yrs", row.get("rain_yrs"), "1000")
    # The largest daily rain of every month, 25.0 mm in the last year, times (30/1440)^0.25.
    expect(f"{station} pcp_hhr", [userwgn.get(station, {}).get(f"RAINHHMX{m}") for m in range(1, 13)],
           ["9.50"] * 12)
expect("dated tmp_max_ave", [userwgn.get("dated", {}).get(f"TMPMX{m}") for m in range(1, 13)], ["10.03"] * 12)
expect("dated period", summary.get("dated", {}).get("period"), f"{FIRST}-{LAST}")

again, summary_again = run_batch("second run")
expect("second run reuses every station", "3 from an earlier run" in again, True)
expect("second run's summary", summary_again, summary)

for failure in failures:
    print("FAIL", failure)
print(f"{'FAILED' if failures else 'passed'}: the period of a gappy record, and of 1,000 years")
sys.exit(1 if failures else 0)
