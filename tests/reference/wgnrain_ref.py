"""Independent model of a wgnrain run, written from the rules of the program's
outputs rather than from its code: exact rationals for every text-to-number
and number-to-text conversion, Python doubles for the working precision and
an explicit rounding to single precision wherever a value is stored.

Used to build expected outputs of end-to-end cases and to compare the program
against many generated series (compare.py).
"""
import math
import re
import struct
from decimal import Context, Decimal, ROUND_HALF_UP
from fractions import Fraction

INF = float("inf")
NAN = float("nan")


# ---------------------------------------------------------------- single precision
def f32(x):
    """x rounded to the nearest single-precision number (ties to even)."""
    try:
        return struct.unpack("f", struct.pack("f", x))[0]
    except OverflowError:
        return math.copysign(INF, x)


def fraction_to_f32(q):
    """The single-precision number nearest to the exact rational q."""
    if q == 0:
        return 0.0
    sign = -1.0 if q < 0 else 1.0
    q = abs(q)
    # exponent e with 2^e <= q < 2^(e+1)
    e = q.numerator.bit_length() - q.denominator.bit_length()
    if Fraction(2) ** e > q:
        e -= 1
    e = max(e, -126)                      # subnormals share the lowest exponent
    scale = Fraction(2) ** (e - 23)       # one unit in the last place
    m = q / scale
    whole = m.numerator // m.denominator
    rest = m - whole
    if rest > Fraction(1, 2) or (rest == Fraction(1, 2) and whole % 2 == 1):
        whole += 1
    value = whole * scale
    if value >= Fraction(2) ** 128 - Fraction(2) ** 103:  # rounds past the largest float
        return sign * INF
    return sign * float(value)


REAL = re.compile(r"^([+-]?)(\d*)(?:\.(\d*))?(?:(?:[eEdDqQ]([+-]?\d+))|([+-]\d+))?$")


def parse_real(text, implied=0):
    """A real as list reads and Fw.d fields accept it; None when it is not one."""
    low = text.lower()
    if low == "nan":
        return NAN
    if low.lstrip("+-") == "infinity" and len(low) - len(low.lstrip("+-")) <= 1:
        return -INF if low.startswith("-") else INF
    m = REAL.match(text)
    if not m:
        return None
    sign, whole, frac, exp1, exp2 = m.groups()
    if not whole and not frac:
        return None
    exponent = int(exp1 or exp2 or 0)
    digits = (whole or "") + (frac or "")
    point = len(frac) if frac is not None else implied
    if frac is None and "." in text:
        point = 0
    q = Fraction(int(digits)) * Fraction(10) ** (exponent - point)
    v = fraction_to_f32(q)
    if sign == "-":
        v = -v if v != 0 else -0.0
    return v


def div(a, b):
    """a / b at double precision with IEEE results for a zero divisor."""
    if b == 0:
        if a == 0 or math.isnan(a):
            return NAN
        return math.copysign(INF, a) * math.copysign(1.0, b)
    return a / b


# ---------------------------------------------------------------- output fields
def fmt_a(text, w):
    return text[:w] if len(text) >= w else " " * (w - len(text)) + text


def fmt_i(v, w):
    s = str(v)
    return "*" * w if len(s) > w else s.rjust(w)


def fmt_f(v, w, d):
    if math.isnan(v) or math.isinf(v):
        t = "NaN" if math.isnan(v) else ("-Infinity" if v < 0 else "Infinity")
        return "*" * w if len(t) + 1 > w else (" " + t).ljust(w)
    q = Decimal(v).quantize(Decimal(1).scaleb(-d), rounding=ROUND_HALF_UP, context=Context(prec=200))
    neg = q < 0
    mag = abs(q)
    s = f"{mag:.{d}f}"
    if d == 0:
        s = s + "."
    if q == 0:
        neg = False
    text = ("-" if neg else "") + s
    if len(text) > w and s.startswith("0."):
        text = ("-" if neg else "") + s[1:]
    return "*" * w if len(text) > w else text.rjust(w)


def list_record(text):
    return " " + text + "\r\n"


# ---------------------------------------------------------------- calendar
def is_leap(y):
    return y % 4 == 0 and not (y % 100 == 0 and y % 400 != 0)


def wrap32(v):
    v &= 0xFFFFFFFF
    return v - (1 << 32) if v >= 1 << 31 else v


MONTH_DAYS = [31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31]
LABELS = ["Jan.", "Feb.", "Mar.", "Apr.", "May.", "Jun.", "Jul.", "Aug.", "Sep.", "Oct.", "Nov.", "Dec."]
CONSOLE_CREDIT = "wgnrain weather generator inputs"
FILE_CREDIT = "wgnrain: weather generator precipitation input"


class Failure(Exception):
    def __init__(self, status, stderr):
        super().__init__(stderr)
        self.status = status
        self.stderr = stderr


# ---------------------------------------------------------------- the run
def first_value(record):
    """The first value of a record read as one real, or a status word; and
    what the read leaves of the record."""
    m = re.match(r"[ \t]*", record)
    rest = record[m.end():]
    if rest == "":
        return "blank", ""
    if rest[0] == ",":
        return "null", rest[1:]
    if rest[0] == "/":
        return "slash", rest
    raw = re.match(r"[^ \t,/]*", rest).group(0)
    after = rest[len(raw):]
    token = raw
    rep = re.match(r"^(\d+)\*(.*)$", token)
    if rep:
        if int(rep.group(1)) == 0:
            return "syntax", after
        token = rep.group(2)
        if token == "":
            return "null", after
    if token[0] in "'\"" or "(" in token or ")" in token:
        return ("syntax" if token[0] not in "'\"" else "conversion"), after
    v = parse_real(token)
    return ("conversion" if v is None else v), after


def records_of(data):
    text = data.decode("latin-1")
    lines = text.split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    return [l[:-1] if l.endswith("\r") else l for l in lines]


def read_series(data, nodata, input_path):
    """The values of the series, and what the checks of the input found."""
    values = []
    stop = "end"
    last = 0.0
    found = {"blank": 0, "first_blank": 0, "crowded": 0, "first_crowded": 0, "negative": 0, "first_negative": 0,
             "smallest": 0.0, "nodata": 0, "infinite": [], "too_wide": [], "stop_line": 0, "after_stop": 0}
    records = records_of(data)
    blanks = 0
    for line, rec in enumerate(records, 1):
        v, rest = first_value(rec)
        if v == "blank":
            blanks += 1
            continue
        if v in ("null", "slash"):
            v = last
        elif isinstance(v, str):
            stop = v
            found["stop_line"], found["after_stop"] = line, len(records) - line
            break
        last = v
        if blanks and not found["blank"]:
            found["first_blank"] = line - blanks
        found["blank"] += blanks
        blanks = 0
        more = rest.lstrip(" \t,")
        if more and more[0] != "/":
            if not found["crowded"]:
                found["first_crowded"] = line
            found["crowded"] += 1
        if is_nodata(v, nodata):
            found["nodata"] += 1
        else:
            if v < 0:
                if not found["negative"] or v < found["smallest"]:
                    found["smallest"] = v
                if not found["negative"]:
                    found["first_negative"] = line
                found["negative"] += 1
            if math.isinf(v):
                found["infinite"].append((line, len(values)))
            elif "*" in fmt_f(v, 12, 2):
                found["too_wide"].append((line, len(values), v))
        values.append(v)
    if not values:
        number = {"end": 24, "conversion": 64, "syntax": 59}[stop]
        text = {24: "end-of-file during read", 64: "input conversion error", 59: "list-directed I/O syntax error"}[number]
        raise Failure(number, f"runlib: severe ({number}): {text}, unit 10, file {input_path}\r\n")
    return values, found


def plural(count, thing):
    return f"{count} {thing}" + ("" if count == 1 else "s")


def warnings_of(found, count, nodata, analysed, years, first_year):
    """The warning lines of the input checks, in the program's order."""
    out = []
    if found["stop_line"]:
        out.append(f"line {found['stop_line']} holds no readable value, so the series ends before it: "
                   f"{plural(count, 'value')} kept, {plural(found['after_stop'], 'line')} after it not read")
    if found["crowded"]:
        out.append(f"lines with more than one value: {found['crowded']}, first on line {found['first_crowded']}; "
                   "only the first value of a line is read (a decimal comma, or a date before the value?)")
    if found["blank"]:
        out.append(f"blank lines among the values: {found['blank']}, first on line {found['first_blank']}; "
                   "they are passed over, so every later value moves up one day for each")
    if found["negative"]:
        out.append(f"negative values that are not the NoData value: {found['negative']}, first on line "
                   f"{found['first_negative']}, the smallest {'%g' % found['smallest']}; they are taken as precipitation")
    if found["nodata"] == 0 and found["negative"]:
        out.append(f"no value equals the NoData value {'%g' % nodata}: the file probably marks missing days with "
                   "another value")
    if nodata == 0 and 0 < found["nodata"] < count:
        out.append(f"the NoData value is 0: {plural(found['nodata'], 'day')} of 0 count as missing and take the "
                   "mean of the other values")
    if count and found["nodata"] == count:
        out.append("every value is NoData: there is no mean to replace them with, and no statistic can be computed")
    if found["infinite"] and found["infinite"][0][1] < analysed:
        out.append(f"infinite values: {len(found['infinite'])}, first on line {found['infinite'][0][0]}; "
                   "no statistic of their months can be computed")
    if found["too_wide"] and found["too_wide"][0][1] < analysed:
        line, _, v = found["too_wide"][0]
        out.append(f"values too large for the month files (F12.2): {len(found['too_wide'])}, first on line {line}: "
                   f"{'%g' % v}; the run will end with a failure on them")
    if count > analysed and years > 0:
        out.append(f"values not analysed: {count - analysed}, after the {plural(years, 'whole calendar year')} "
                   f"from {first_year}")
    return "".join(f"runlib: warning: {text}\r\n" for text in out)


def is_nodata(v, nodata):
    return v == nodata or math.isnan(v) or math.isnan(nodata)


def run(data, input_name, output_name, first_year, nodata, input_path, warnings=None):
    """Returns (report, mean_pcp, totalpcp) as strings, or raises Failure whose
    standard error includes the warnings; the warnings of a complete run are
    appended to the list `warnings` when one is given."""
    series, found = read_series(data, nodata, input_path)
    lines = []
    try:
        outputs = run_series(series, found, input_name, output_name, first_year, nodata, input_path, lines)
    except Failure as failure:
        failure.stderr = "".join(lines) + failure.stderr
        raise
    if warnings is not None:
        warnings.extend(lines)
    return outputs


def run_series(series, found, input_name, output_name, first_year, nodata, input_path, lines):
    record_count = len(series)
    total = 0.0
    nd = 0
    for v in series:
        if is_nodata(v, nodata):
            nd += 1
        else:
            total = f32(total + v)
    mean = f32(div(total, float(record_count - nd)))
    years = record_count // 365
    leaps_needed = sum(1 for i in range(years) if is_leap(wrap32(first_year + i)))
    lines.append(warnings_of(found, record_count, nodata, 365 * years + leaps_needed, years, first_year))
    if record_count < 365 * years + leaps_needed:
        raise Failure(24, f"runlib: the input file holds {record_count} daily values, but its {years} calendar years "
                          f"from {first_year} need {365 * years + leaps_needed}\r\n"
                          f"runlib: severe (24): end-of-file during read, unit 10, file {input_path}\r\n")
    series = [mean if is_nodata(v, nodata) else v for v in series]

    # month walk
    month_values = [[] for _ in range(12)]
    mean_grid = [[0.0] * 12 for _ in range(years)]
    total_grid = [[0.0] * 12 for _ in range(years)]
    day = 0
    leap_count = 0
    year = first_year
    for y in range(years):
        for m in range(12):
            days = MONTH_DAYS[m]
            if m == 1 and is_leap(year):
                leap_count += 1
                days = 29
            s = 0.0
            for _ in range(days):
                v = series[day]
                day += 1
                printed = fmt_f(v, 12, 2)
                # twelve asterisks do not read back: the month's analysis fails there
                month_values[m].append(parse_real(printed.replace(" ", "")) if "*" not in printed else None)
                s = f32(s + v)
            mean_grid[y][m] = f32(s / days)
            total_grid[y][m] = s
        year = wrap32(year + 1)
    if years == 0:
        raise Failure(24, "runlib: severe (24): end-of-file during read, unit 101, file @SCRATCH@\r\n")

    stats = []
    for m in range(12):
        if None in month_values[m]:
            raise Failure(64, f"runlib: severe (64): input conversion error, unit {101 + m}, file @SCRATCH@\r\n")
        stats.append(month_stats(month_values[m], MONTH_DAYS[m]))

    report = []
    last = wrap32(years + first_year - 1)
    report.append(fmt_a("Statistical Analysis of Daily Precipitation Data (", 50) + fmt_i(first_year, 4) + " - "
                  + fmt_i(last, 4) + ")\r\n")
    name = input_name.ljust(255)
    report.append("Input Filename = " + name[:60] + "\r\n")
    report.append(list_record(""))
    report.append("Number of Years = " + fmt_i(years, 3) + "\r\n")
    report.append("Number of Leap Years =" + fmt_i(leap_count, 3) + "\r\n")
    report.append("Number of Records = " + fmt_i(record_count, 8) + "\r\n")
    report.append("Number of NoData values = " + fmt_i(nd, 8) + "\r\n")
    report.append(list_record(""))
    rule = "  " + "_" * 75 + "\r\n"
    report.append(rule)
    report.append(list_record(""))
    report.append(fmt_a("Month", 8) + fmt_a("PCP_MM", 10) + "".join(fmt_a(t, 12) for t in
                  ["PCPSTD", "PCPSKW", "PR_W1", "PR_W2"]) + fmt_a("PCPD", 10) + "\r\n")
    report.append(rule)
    report.append(list_record(""))
    for m in range(12):
        st = stats[m]
        report.append(fmt_a(LABELS[m], 8) + fmt_f(st["PCP_MM"], 10, 2) + fmt_f(st["PCPSTD"], 12, 4)
                      + fmt_f(st["PCPSKW"], 12, 4) + fmt_f(st["PR_W1"], 12, 4) + fmt_f(st["PR_W2"], 12, 4)
                      + fmt_f(st["PCPD"], 10, 2) + "\r\n")
    report.append(rule)
    report.append(list_record("") * 2)
    for t in ["PCP_MM = average monthly precipitation [mm]", "PCPSTD = standard deviation",
              "PCPSKW = skew coefficient", "PR_W1  = probability of a wet day following a dry day",
              "PR_W2  = probability of a wet day following a wet day",
              "PCPD   = average number of days of precipitation in month"]:
        report.append(list_record(t))
    report.append(list_record("") * 2)
    report.append(list_record("(" + FILE_CREDIT + ")"))

    head = fmt_a("Year", 8) + fmt_a("Jan.", 10) + "".join(fmt_a(l, 8) for l in LABELS[1:])
    tables = []
    for title, grid, with_total in (("Average Daily Precipitation in Month", mean_grid, False),
                                    ("Total Monthly Precipitation", total_grid, True)):
        t = [list_record(title), list_record(""), head + (fmt_a(" Total Yearly PCP", 20) if with_total else "")
             + "\r\n", list_record("")]
        for i in range(years):
            row = fmt_i(wrap32(first_year + i), 8) + fmt_f(grid[i][0], 10, 2) + "".join(
                fmt_f(grid[i][m], 8, 2) for m in range(1, 12))
            if with_total:
                s = 0.0
                for m in range(12):
                    s = f32(s + grid[i][m])
                row += fmt_f(s, 15, 2)
            t.append(row + "\r\n")
        t.append(list_record("") * 2)
        t.append(list_record(FILE_CREDIT))
        tables.append("".join(t))
    return "".join(report), tables[0], tables[1]


def month_stats(values, days):
    n = len(values)
    dry = sum(1 for v in values if not (v < 0 or v > 0))
    wet = n - dry
    wad = 0.0
    waw = 0.0
    for i in range(n - 1):
        if (i + 1) % days == 0:      # the pair after every days-th value is skipped
            continue
        a, b = values[i], values[i + 1]
        if not (a < 0 or a > 0) and b > 0:
            wad += 1.0
        if a > 0 and b > 0:
            waw += 1.0
    years = f32(float(n // days))
    total = 0.0
    for v in values:
        total = f32(total + v)
    st = {"PR_W1": f32(div(wad, float(dry))), "PR_W2": f32(div(waw, float(wet))), "PCPD": f32(div(float(wet), years)),
          "PCP_MM": f32(div(total, years)), "mean": f32(div(total, float(n)))}
    s1 = 0.0
    s2 = 0.0
    for v in values:
        s1 = f32(s1 + v)
        s2 = f32(s2 + v * v)
    num = float(n) * s2 - s1 * s1
    if math.isnan(num) or num == -INF:
        raise Failure(3, "\r\nrun-time error M6201: MATH\r\n- sqrt: DOMAIN error\r\n")
    if num < 0:
        num = 0.0
    std = f32(math.sqrt(num / ((n - 1.0) * n)))
    s3 = 0.0
    for v in values:
        d = v - st["mean"]
        s3 = f32(s3 + (d * d) * d)
    p = float((n - 1) * (n - 2))
    st["PCPSTD"] = std
    st["PCPSKW"] = f32(div(float(n) * s3, ((std * std) * std) * p))
    return st


def console_output(answers_count_out=1):
    """Standard output of a run whose output name is accepted at the first answer."""
    out = fmt_a(CONSOLE_CREDIT, 80) + "\r\n" + list_record("")
    for t in ["This program calculates statistical parameters of average daily",
              "precipitation data used by SWAT in the <userwgn.dbf>.",
              "The first value in the precipitation input file must have the value",
              "of January 1st and the last one of December 31st!"]:
        out += list_record(t)
    out += list_record("")
    out += fmt_a("Input Filename: ", 30) + fmt_a("Output Filename: ", 30) + fmt_a("First year of period (yyyy): ", 30)
    out += fmt_a("NoData value = ", 30) + list_record("wait ...")
    return out


# ---------------------------------------------------------------- gap-aware values
def month_file_hundredths(v):
    """A value as the month files hold it (F12.2 of its single-precision number), in hundredths."""
    return round(Fraction(v) * 100)  # the exact binary value, ties to even as %.2f rounds


def rounded(q, decimals):
    """The rational q rounded half away from zero to `decimals` places, as text."""
    scaled = abs(q) * 10 ** decimals
    units = math.floor(scaled + Fraction(1, 2))
    text = f"{units // 10 ** decimals}" + (f".{units % 10 ** decimals:0{decimals}d}" if decimals else "")
    return "-" + text if q < 0 and units else text


def rounded_root(numerator, denominator):
    """sqrt(numerator / denominator) rounded half away from zero to a whole number."""
    r = math.isqrt(numerator // denominator)
    return r + 1 if (2 * r + 1) ** 2 * denominator <= 4 * numerator else r


def gap_aware(first_year, values, nodata):
    """The six values of each month of the series' whole years with every missing day left out, as
    texts of the report's decimals ('' for none): the definitions as the README states them."""
    years = len(values) // 365
    days, at = [[[] for _ in range(12)] for _ in range(years)], 0
    for y in range(years):
        for m in range(12):
            for _ in range([31, 29 if is_leap(first_year + y) else 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31][m]):
                v = values[at]
                at += 1
                days[y][m].append(None if is_nodata(v, nodata) else month_file_hundredths(v))
    result = []
    for m in range(12):
        nominal = [31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31][m]
        file = [d for y in range(years) for d in days[y][m]]
        valid = [d for d in file if d is not None]
        n, total = len(valid), len(file)
        if n < 5:
            result.append([""] * 6)
            continue
        wet = sum(1 for d in valid if d != 0)
        # Pairs wgnrain looks at: not after a multiple of the nominal length; both valid.
        pairs = [(file[i], file[i + 1]) for i in range(total - 1) if (i + 1) % nominal != 0]
        wd = sum(1 for a, b in pairs if a is not None and b is not None and a == 0 and b > 0)
        ww = sum(1 for a, b in pairs if a is not None and b is not None and a > 0 and b > 0)
        # Days followed by a valid day (the next in the month file; the last by nothing missing).
        followed = [file[i] for i in range(total) if file[i] is not None and (i + 1 == total or file[i + 1] is not None)]
        dry_f, wet_f = sum(1 for d in followed if d == 0), sum(1 for d in followed if d != 0)
        s1, s2, s3 = sum(valid), sum(d * d for d in valid), sum(d ** 3 for d in valid)
        per_year = Fraction(total, years)
        var = n * s2 - s1 * s1  # n (n - 1) sample variance, in hundredths squared
        sd = rounded(Fraction(rounded_root(10 ** 4 * var, n * (n - 1)), 10 ** 4), 4)
        skew = ""
        if var > 0:
            c = n * n * s3 - 3 * n * s1 * s2 + 2 * s1 ** 3
            k = rounded_root(10 ** 8 * c * c * n * (n - 1), (n - 2) ** 2 * var ** 3)
            skew = rounded(Fraction(-k if c < 0 else k, 10 ** 4), 4)
        result.append([rounded(Fraction(s1, 100 * n) * per_year, 2), sd, skew,
                       rounded(Fraction(wd, dry_f), 4) if dry_f else "", rounded(Fraction(ww, wet_f), 4) if wet_f else "",
                       rounded(Fraction(wet, n) * per_year, 2)])
    return result


def table_values(first_year, values, nodata, report_values):
    """The six values of each month a batch's tables and model files take: the report's
    (report_values[m], as its digits), or in a month with missing days the gap-aware ones."""
    years = len(values) // 365
    aware, chosen, at = gap_aware(first_year, values, nodata), [list(v) for v in report_values], 0
    for y in range(years):
        for m in range(12):
            length = [31, 29 if is_leap(first_year + y) else 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31][m]
            if any(is_nodata(v, nodata) for v in values[at:at + length]):
                chosen[m] = aware[m]
            at += length
    return chosen


def plain_values(path):
    """The values of a plain series of one clean value a line."""
    with open(path, "rb") as f:
        return [parse_real(line.split()[0]) for line in f.read().decode().splitlines() if line.strip()]
