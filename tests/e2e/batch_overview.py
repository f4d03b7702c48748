"""The batch's summary cells and overview page, checked from the files alone
(no browser):

  - the station table: a failed station first and shaded as failed, then a
    station with a warning of wgnrain only (shaded as having notes), then the
    clean stations unshaded, each group in the list's order;
  - "All stations by month" with six stations of known amounts (one rain
    pattern scaled by 0.5, 3, 4, 5, 7 and 20): the median of an even number of
    stations is the mean of the middle two (drawn with "%.4g"), and the three
    furthest from the median (summed over the months) are named, the furthest
    first;
  - every month chart the right way up: tick labels rise upwards, every bar
    stands on zero and every point sits where the ticks put its value, the
    largest value drawn highest (the station pictures and the comparison);
  - humidity without a unit: fractions reaching exactly 1 stay fractions, as
    per cent reaching exactly 100 stays per cent (dew_ave from the definition);
  - plain stations in a list with a format column: their summary cells.

    batch_overview.py path/to/wgnrain-batch
"""
import csv
import datetime
import io
import math
import os
import random
import re
import sys
import tempfile
import xml.etree.ElementTree as ET
from fractions import Fraction

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import program  # noqa: E402

binary = os.path.abspath(sys.argv[1])
work = os.path.realpath(tempfile.mkdtemp(prefix="wgnoverview"))
tmp = os.path.join(work, "tmp")
os.mkdir(tmp)
failures = []
MONTHS = ["Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"]


def expect(what, got, want):
    if got != want:
        failures.append(f"{what}: got {repr(got)[:300]}, expected {repr(want)[:300]}")


def write(name, lines):
    with open(os.path.join(work, name), "w", newline="") as f:
        f.write("\n".join(lines) + "\n")


def batch(stations, folder):
    status, out, err = program.run(binary, b"", work, tmp, arguments=[stations, "-o", folder])
    return status, out.decode(errors="replace"), err.decode(errors="replace")


def table(folder, name, key):
    with open(os.path.join(work, folder, name), newline="", encoding="utf-8") as f:
        return {row[key]: row for row in csv.DictReader(io.StringIO(f.read()))}


def local(tag):
    return tag.rsplit("}", 1)[-1]


def text_of(element):
    return "".join(element.itertext())


def parse_page(folder):
    with open(os.path.join(work, folder, "index.html"), encoding="utf-8") as f:
        return ET.fromstring(f.read().split("\n", 1)[1])


rng = random.Random(23)
days = [datetime.date(2001, 1, 1) + datetime.timedelta(days=n) for n in range(3 * 365)]
tenths = [rng.choice([0, 0, rng.randint(1, 250)]) for _ in days]  # one rain pattern, in tenths of mm


def scaled(factor):
    """The pattern times factor, as exact decimals."""
    return [f"{float(Fraction(t, 10) * factor):.2f}" for t in tenths]


# ---- Batch 1: six scaled stations, one failed, one of them warned -------------------
FACTORS = {"k3": 3, "k05": Fraction(1, 2), "k7": 7, "k4": 4, "k20": 20, "k5": 5}
for name, factor in FACTORS.items():
    # k7 holds one value past its three whole years: wgnrain warns, the statistics stay.
    write(f"{name}.txt", scaled(factor) + (["1.0"] if name == "k7" else []))
write("broken.txt", ["rain in mm"])
order = ["k3", "k05", "k7", "k4", "broken", "k20", "k5"]
write("scaled.csv", ["station,file,first_year,nodata"] + [f"{n},{n}.txt,2001,-99" for n in order])
status, out, err = batch("scaled.csv", "scaled")
expect("scaled batch", (status, out.split(";")[0]), (1, "wgnrain-batch: 7 stations, 6 ok (1 with warnings), 1 failed"))
page = parse_page("scaled")
sections = {s.get("id"): s for s in page.iter() if local(s.tag) == "section"}

# The station table: failed, then warned, then clean (each in list order), shaded so.
rows = [(tr.get("class"), [text_of(td) for td in tr if local(td.tag) == "td"])
        for tr in sections["stations"].iter() if local(tr.tag) == "tr" and tr.find("td") is not None]
expect("table order", [cells[0] for _, cells in rows], ["broken", "k7", "k3", "k05", "k4", "k20", "k5"])
expect("table shading", [shade for shade, _ in rows], ["failed", "notes", None, None, None, None, None])
expect("failed row", rows[0][1], ["broken", "64", "", "", "0", "0"])
expect("warned row", rows[1][1], ["k7", "ok", "2001-2003", "0.0", "1", "0"])
expect("clean row", rows[2][1], ["k3", "ok", "2001-2003", "0.0", "0", "0"])
expect("header counts", "1 with warnings, values left out or model notes." in text_of(page), True)

# The median of an even number of stations and the stations furthest from it.
pcp = table("scaled", "userwgn_pcp.csv", "STATION")
expect("the failed station has no row", sorted(pcp), sorted(FACTORS))
STEMS = {"pcp_ave": "PCPMM", "pcp_days": "PCPD", "wet_dry": "PR_W1_", "wet_wet": "PR_W2_"}
figures = {text_of(f.find("figcaption")).split(":")[0]: f for f in sections["comparison"].iter() if local(f.tag) == "figure"}
expect("comparison charts", sorted(figures), sorted(STEMS))


def line_titles(svg):
    """{title name: [(month, text)]} of the chart's lines."""
    lines = {}
    for element in svg.iter():
        if local(element.tag) == "polyline":
            name, _, values = text_of(element[0]).rpartition(":")
            lines.setdefault(name, re.findall(r" (\w{3}) (\S+)", values))
    return lines


def medians(stem):
    """Each month's median of the six stations: the mean of the middle two."""
    middles = [sorted(float(pcp[n][f"{stem}{m}"]) for n in FACTORS)[2:4] for m in range(1, 13)]
    return [(a + b) / 2 for a, b in middles]


for column, stem in STEMS.items():
    lines = line_titles(figures[column].find("{http://www.w3.org/2000/svg}svg"))
    expect(f"{column}: the median line", lines.get("median of the stations"),
           [(month, "%.4g" % v) for month, v in zip(MONTHS, medians(stem))])
    expect(f"{column}: a line a station", sorted(n for n in lines if n != "median of the stations"),
           sorted(f"{n}, {column}" for n in FACTORS))
pcp_medians = medians("PCPMM")
distance = {n: sum(abs(float(pcp[n][f"PCPMM{m + 1}"]) - pcp_medians[m]) for m in range(12)) for n in FACTORS}
expect("furthest by distance (the pattern's scale)", sorted(distance, key=distance.get, reverse=True)[:3],
       ["k20", "k05", "k7"])
expect("pcp_ave caption", text_of(figures["pcp_ave"].find("figcaption")),
       "pcp_ave: furthest from the median k20, k05, k7")


# ---- Every month chart the right way up ------------------------------------------
def check_chart(where, svg):
    """Ticks rising upwards; bars on zero; every value where the ticks put it."""
    ticks = [(float(t.text), float(t.get("y")) - 3) for t in svg if local(t.tag) == "text" and t.get("class") == "tick"]
    expect(f"{where}: tick labels increase upwards", [y for _, y in ticks], sorted((y for _, y in ticks), reverse=True))
    expect(f"{where}: tick labels increase", [v for v, _ in ticks], sorted(v for v, _ in ticks))
    (low, y_low), (high, y_high) = ticks[0], ticks[-1]

    def y_of(v):
        return y_low + (v - low) / (high - low) * (y_high - y_low)

    drawn = []
    for element in svg:
        kind = local(element.tag)
        if kind == "rect":
            value = float(text_of(element[0]).rpartition(": ")[2])
            top, height = float(element.get("y")), float(element.get("height"))
            expect(f"{where}: bar of {value} stands on zero", abs(top + height - y_of(0)) < 0.15 if value >= 0 else
                   abs(top - y_of(0)) < 0.15, True)
            expect(f"{where}: bar of {value} reaches it", abs((top if value >= 0 else top + height) - y_of(value)) < 0.15,
                   True)
            drawn.append((value, top if value >= 0 else top + height))
        elif kind == "polyline":
            values = [float(v) for _, v in re.findall(r" (\w{3}) (\S+)", text_of(element[0]).rpartition(":")[2])]
            ys = [float(p.split(",")[1]) for p in element.get("points").split()]
            expect(f"{where}: {len(values)} points at their values",
                   [abs(y - y_of(v)) < 0.15 for v, y in zip(values, ys)], [True] * len(values))
            drawn.extend(zip(values, ys))
    if drawn:
        expect(f"{where}: the largest value highest", min(drawn, key=lambda d: d[1])[0], max(v for v, _ in drawn))
    return len(drawn)


def check_charts(where, root):
    count = 0
    for svg in root.iter("{http://www.w3.org/2000/svg}svg"):
        if svg.get("class") == "chart" and any(t.get("class") == "months" for t in svg):
            head = text_of(next(t for t in svg if t.get("class") == "head"))
            count += check_chart(f"{where}, {head}", svg) > 0
    return count


expect("comparison charts checked", check_charts("comparison", sections["comparison"]), 4)
for name in FACTORS:
    picture = ET.parse(os.path.join(work, "scaled", name, "parameters.svg")).getroot()
    expect(f"{name} charts checked", check_charts(name, picture), 4)

# ---- Batch 2: humidity without a unit, told by the values -------------------------
# Fractions that reach exactly 1 ("1.0" and "1"), none above: fractions. Per cent
# that reaches exactly 100: per cent. Winter temperatures below zero, so that
# the temperature and dew point charts hold negative values.
weather_days = days[:2 * 365]
tmax = {d: f"{4 + 10 * math.sin((d.month - 2) / 2) + rng.random() * 5:.1f}" for d in weather_days}
tmin = {d: f"{float(tmax[d]) - 5 - rng.random() * 4:.1f}" for d in weather_days}
HUMIDITY = {  # station: (a day's value, the unit told, the fraction of a value)
    "fractions": (lambda i: "1.0" if i % 10 == 0 else "1" if i % 10 == 1 else f"{0.3 + 0.6 * rng.random():.2f}",
                  "rh fraction (told by the values)", lambda v: float(v)),
    "percent": (lambda i: "100" if i % 10 == 0 else f"{30 + 60 * rng.random():.0f}",
                "rh percent (told by the values)", lambda v: float(v) / 100),
}
humidity = {name: {d: value(i) for i, d in enumerate(weather_days)} for name, (value, _, _) in HUMIDITY.items()}
for name, rh in humidity.items():
    write(f"{name}.csv", ["date,prcp,tmax,tmin,rh"] +
          [f"{d},{float(Fraction(tenths[i], 10)):.1f},{tmax[d]},{tmin[d]},{rh[d]}" for i, d in enumerate(weather_days)])
write("humidity.csv", ["station,file,format,lat,lon,elev"] + [f"{n},{n}.csv,csv,52.1,5.18,2" for n in HUMIDITY])
status, out, err = batch("humidity.csv", "humidity")
expect("humidity batch", (status, out.split(";")[0]), (0, "wgnrain-batch: 2 stations, 2 ok, 0 failed"))
summary, userwgn = table("humidity", "summary.csv", "station"), table("humidity", "userwgn.csv", "STATION")


def dew_point(rh, t):
    e = math.log(rh) + (16.78 * t - 116.9) / (t + 237.3)
    return (116.9 + 237.3 * e) / (16.78 - e)


for name, (_, units, fraction) in HUMIDITY.items():
    rh = humidity[name]
    expect(f"{name}: units", summary[name]["units"], units)
    dews = {d: dew_point(fraction(rh[d]), (float(tmax[d]) + float(tmin[d])) / 2) for d in weather_days}
    expect(f"{name}: dew_ave from the humidity as {units.split()[1]}", [userwgn[name][f"DEWPT{m}"] for m in range(1, 13)],
           [f"{round(sum(v for d, v in dews.items() if d.month == m) / sum(1 for d in dews if d.month == m) * 100) / 100:.2f}"
            for m in range(1, 13)])
    picture = ET.parse(os.path.join(work, "humidity", name, "parameters.svg")).getroot()
    expect(f"{name} charts checked", check_charts(name, picture), 7)
expect("negative temperatures drawn", any(float(userwgn["fractions"][f"TMPMN{m}"]) < 0 for m in range(1, 13)), True)

# ---- Batch 3: plain stations in a list with a format column -------------------------
# (name, format cell, first year, the values: count, NoData days) -> summary cells
values = scaled(1) + scaled(1)[:366]
PLAIN = [
    ("empty", "", 2001, 1095, 0, ("ok", "3", "0", "1095", "0", "plain", "2001-2003", "0", "0.0")),
    ("named", "plain", 2001, 1095, 0, ("ok", "3", "0", "1095", "0", "plain", "2001-2003", "0", "0.0")),
    ("leap", "plain", 2000, 1096, 0, ("ok", "3", "1", "1096", "0", "plain", "2000-2002", "0", "0.0")),
    ("leapmid", "plain", 1999, 1096, 0, ("ok", "3", "1", "1096", "0", "plain", "1999-2001", "0", "0.0")),
    ("partial", "plain", 2000, 1097, 0, ("ok", "3", "1", "1097", "0", "plain", "2000-2002", "0", "0.0")),
    ("gaps", "", 2001, 1095, 3, ("ok", "3", "0", "1095", "3", "plain", "2001-2003", "3", "0.3")),
    ("short", "plain", 2000, 1095, 0, ("24", "", "", "", "", "plain", "", "", "")),
]
for name, _, _, count, gaps, _ in PLAIN:
    write(f"{name}.txt", ["-99" if i in (40, 41, 400)[:gaps] else v for i, v in enumerate(values[:count])])
write("csvday.csv", ["date,prcp"] + [f"{d},{v}" for d, v in zip(days, scaled(1))])
write("formats.csv", ["station,file,format,first_year,nodata"] +
      [f"{n},{n}.txt,{f},{y},-99" for n, f, y, _, _, _ in PLAIN] + ["dated,csvday.csv,csv,,"])
status, out, err = batch("formats.csv", "formats")
expect("formats batch", status, 1)
summary = table("formats", "summary.csv", "station")
COLUMNS = ["status", "years", "leap_years", "records", "nodata_values", "format", "period", "missing_days",
           "missing_percent"]
for name, _, _, _, _, cells in PLAIN:
    expect(f"plain station {name}", tuple(summary[name][c] for c in COLUMNS), cells)
expect("the dated station beside them", tuple(summary["dated"][c] for c in COLUMNS),
       ("ok", "3", "0", "1095", "0", "csv", "2001-2003", "0", "0.0"))

for failure in failures:
    print("FAIL", failure)
print(f"{'FAILED' if failures else 'passed'}: the summary's cells and the overview page, read from the files")
sys.exit(1 if failures else 0)
