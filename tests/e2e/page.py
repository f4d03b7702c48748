"""The batch's overview page in a real browser (Debian's chromium, headless):

  - the page of the real station records plus a station made to fail and
    stations with model notes is well-formed (parsed as XML) and refers to
    nothing outside the output folder;
  - its DOM, as Chromium builds it: every station in the table, the failed
    station first, every hover title of a station's bars and lines equal to
    the CSV cell it draws;
  - the map: its squares shaded by pcp_ave of the year as the page's script
    would shade them, and recoloured by the script when another value is chosen;
  - screenshots of the page and of a station's parameters.svg are not blank.

    page.py path/to/wgnrain-batch path/to/shared/data [--screenshot PNG]

Installs chromium when it is missing (as root); exits 77 (skipped) when it
cannot, or when the data folder is missing.
"""
import csv
import io
import json
import math
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
import zlib
from html.parser import HTMLParser

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import program  # noqa: E402

binary, data_dir = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
keep_screenshot = sys.argv[sys.argv.index("--screenshot") + 1] if "--screenshot" in sys.argv else None
if program.is_windows(binary):
    print("skipped: the page is checked on the Linux build")
    sys.exit(77)
records = program.station_records(data_dir)


def browser():
    for name in ("chromium", "chromium-browser"):
        if shutil.which(name):
            return shutil.which(name)
    if os.geteuid() == 0:
        subprocess.run(["apt-get", "install", "-y", "-qq", "chromium"], capture_output=True)
        if shutil.which("chromium"):
            return shutil.which("chromium")
    print("skipped: no chromium, and it cannot be installed here")
    sys.exit(77)


chromium = browser()
work = os.path.realpath(tempfile.mkdtemp(prefix="wgnpage"))
failures = []


def expect(what, got, want):
    if got != want:
        failures.append(f"{what}: got {repr(got)[:300]}, expected {repr(want)[:300]}")


def run_browser(*arguments):
    profile = tempfile.mkdtemp(dir=work)
    return subprocess.run([chromium, "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                           "--disable-background-networking", "--disable-component-update", "--disable-sync",
                           f"--user-data-dir={profile}", *arguments], capture_output=True, timeout=120)


def png_pixels(path):
    """The distinct colours of a PNG screenshot (8-bit RGB or RGBA, not interlaced)."""
    with open(path, "rb") as f:
        data = f.read()
    at, chunks, header = 8, b"", None
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            chunks += body
        at += 12 + length
    width, height, depth, colour = header[0], header[1], header[2], header[3]
    size = {2: 3, 6: 4}[colour]
    raw, stride, previous, colours = zlib.decompress(chunks), width * size, bytearray(width * size), set()
    for row in range(height):
        kind, line = raw[row * (stride + 1)], bytearray(raw[row * (stride + 1) + 1:(row + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - size] if i >= size else 0
            up, corner = previous[i], previous[i - size] if i >= size else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                line[i] = (line[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 255
        previous = line
        if row % 7 == 0:
            colours.update(bytes(line[i:i + 3]) for i in range(0, stride, size * 5))
    return colours


# ---- A batch: the real records, a failed station, complete records with notes ----------
rows = ["station,file,first_year,nodata,lat,lon,elev"]
for i, path in enumerate(records):
    name = os.path.basename(path)[:-4]
    first = re.search(r"(\d{4})-\d{4}$", name).group(1)
    rows.append(f"{name},{path},{first},-99,{52.1 - 0.3 * i:.2f},{5.18 + 0.25 * i:.2f},2")
with open(os.path.join(work, "broken.txt"), "w") as f:
    f.write("rain in mm\n")
rows.append("broken & co,broken.txt,2001,-99,,,")
with open(os.path.join(work, "stations.csv"), "w") as f:
    f.write("\n".join(rows) + "\n")
status, out, err = program.run(binary, b"", work, os.path.join(work), arguments=["stations.csv", "-o", "out"])
expect("batch status", status, 1)
folder = os.path.join(work, "out")
with open(os.path.join(folder, "index.html"), encoding="utf-8") as f:
    page = f.read()

# ---- Well-formed, self-contained -----------------------------------------------------
try:
    ET.fromstring(page.split("\n", 1)[1])
except ET.ParseError as error:
    failures.append(f"index.html is not well-formed: {error}")
for path in [os.path.join(folder, os.path.basename(r)[:-4], "parameters.svg") for r in records]:
    try:
        ET.parse(path)
    except (ET.ParseError, OSError) as error:
        failures.append(f"{path}: {error}")
outside = [a for a in re.findall(r'(?:href|src)="([^"]*)"', page) if re.match(r"[a-z]+:|/|\.\.", a)]
expect("references outside the folder", outside, [])
expect("no url() or @import", re.findall(r"url\(|@import", page), [])

# ---- The DOM as Chromium builds it ---------------------------------------------------------
dom = run_browser("--dump-dom", "file://" + os.path.join(folder, "index.html")).stdout.decode()


class Rows(HTMLParser):
    """The first cell of every row of the station table, and every <title>."""

    def __init__(self):
        super().__init__()
        self.names, self.titles, self.cell, self.text, self.in_title = [], [], 0, "", False

    def handle_starttag(self, tag, attrs):
        if tag == "tr":
            self.cell = 0
        elif tag == "td":
            self.cell += 1
            self.text = ""
        elif tag == "title":
            self.in_title, self.text = True, ""

    def handle_endtag(self, tag):
        if tag == "td" and self.cell == 1:
            self.names.append(self.text)
        elif tag == "title" and self.in_title:
            self.titles.append(self.text)
            self.in_title = False

    def handle_data(self, data):
        self.text += data


parsed = Rows()
parsed.feed(dom)
if not dom.strip():
    failures.append("Chromium gave no DOM")
expect("every station in the table", sorted(parsed.names), sorted([os.path.basename(r)[:-4] for r in records] + ["broken & co"]))
expect("the failed station first", parsed.names[:1], ["broken & co"])
titles = parsed.titles
userwgn = {row["STATION"]: row for row in csv.DictReader(io.StringIO(open(os.path.join(folder, "userwgn_pcp.csv")).read()))}
months = ["Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"]
checked = 0
for title in titles:
    bar = re.fullmatch(r"pcp_ave, (\w{3}): (.*)", title)
    line = re.fullmatch(r"(pcp_days|wet_dry|wet_wet|pcp_sd|pcp_skew):((?: \w{3} \S+)+)", title)
    if line:
        stem = {"pcp_days": "PCPD", "wet_dry": "PR_W1_", "wet_wet": "PR_W2_", "pcp_sd": "PCPSTD", "pcp_skew": "PCPSKW"}[line.group(1)]
        pairs = re.findall(r" (\w{3}) (\S+)", line.group(2))
        checked += 1
        if not any(all(row[f"{stem}{months.index(m) + 1}"] == v for m, v in pairs) for row in userwgn.values()):
            failures.append(f"hover title {title!r} matches no station's {stem} cells")
    elif bar:
        checked += 1
        if not any(row[f"PCPMM{months.index(bar.group(1)) + 1}"] == bar.group(2) for row in userwgn.values()):
            failures.append(f"hover title {title!r} matches no station's PCPMM cell")
expect("hover titles checked", checked >= 12 * len(records), True)

# ---- The map: shaded as the page's script shades, recoloured by it ----------------------
SQUARE = re.compile(r'<rect x="[^"]*" y="[^"]*" width="[^"]*" height="[^"]*" fill="([^"]*)" stroke="[^"]*" '
                    r'data-n="[^"]*" data-v="([^"]*)"><title>[^<]*?, ([^<]*)</title>')
ramp = json.loads(re.search(r"var R=(\[\[[0-9,\[\]]*\]\])", page).group(1))


def shades(squares, slot):
    """The page's colour formula, operation by operation, on the page's stops."""
    values = [float(v.split(",")[slot]) if v.split(",")[slot] else None for _, v, _ in squares]
    low, high = min(v for v in values if v is not None), max(v for v in values if v is not None)
    fills = []
    for v in values:
        s = min(1.0, max(0.0, (v - low) / (high - low) if high > low else 0.5)) * (len(ramp) - 1) if v is not None else 0
        k = min(math.floor(s), len(ramp) - 2)
        fills.append("none" if v is None else "#" + "".join(
            "%02x" % math.floor(ramp[k][j] + (ramp[k + 1][j] - ramp[k][j]) * (s - k) + 0.5) for j in range(3)))
    return fills


PCP_AVE_YEAR, PCP_DAYS_JUL = 4 * 13 + 12, 9 * 13 + 6
written = SQUARE.findall(page)
expect("the map: every station with a position", len(written), len(records))
expect("the map without script: pcp_ave of the year", [s[0] for s in written], shades(written, PCP_AVE_YEAR))
with open(os.path.join(folder, "chosen.html"), "w", encoding="utf-8") as f:
    f.write(page.replace("</body>", "<script>var s=document.getElementById('map-value');s.value='%d';"
                                    "s.dispatchEvent(new Event('change'));</script></body>" % PCP_DAYS_JUL))
chosen = SQUARE.findall(run_browser("--dump-dom", "file://" + os.path.join(folder, "chosen.html")).stdout.decode())
expect("recoloured by pcp_days of July", [s[0] for s in chosen], shades(written, PCP_DAYS_JUL))
expect("recoloured: the titles", [s[2] for s in chosen], [f"pcp_days, Jul: {v.split(',')[PCP_DAYS_JUL]}" for _, v, _ in written])

# ---- Not blank ------------------------------------------------------------------------------
shot = os.path.join(work, "page.png")
run_browser(f"--screenshot={shot}", "--window-size=1000,820", "file://" + os.path.join(folder, "index.html"))
expect("page screenshot has a picture", os.path.exists(shot) and len(png_pixels(shot)) > 8, True)
svg_shot = os.path.join(work, "svg.png")
station = os.path.basename(records[0])[:-4]
run_browser(f"--screenshot={svg_shot}", "--window-size=940,520", "file://" + os.path.join(folder, station, "parameters.svg"))
expect("station picture screenshot has a picture", os.path.exists(svg_shot) and len(png_pixels(svg_shot)) > 8, True)
if keep_screenshot and os.path.exists(shot):
    shutil.copy(shot, keep_screenshot)

if not failures:
    shutil.rmtree(work)
for failure in failures:
    print("FAIL", failure)
print(f"{'FAILED' if failures else 'passed'}: the overview page and a station's picture in Chromium")
sys.exit(1 if failures else 0)
