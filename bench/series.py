"""Generated daily series of whole calendar years: one value a line, mm with
one decimal, about a third of the days wet, a few NoData days (-99).  The
same arguments give the same series.

    series.py PATH FIRST YEARS [SEED]
"""
import random
import sys


def write_series(path, first, years, seed):
    rng = random.Random(seed)
    with open(path, "w") as out:
        for year in range(first, first + years):
            leap = (year % 4 == 0 and year % 100 != 0) or year % 400 == 0
            for _ in range(366 if leap else 365):
                r = rng.random()
                out.write("-99\n" if r < 0.002 else "0\n" if r < 0.67 else f"{rng.expovariate(1 / 6):.1f}\n")


def write_station_set(list_name, count, extra_header="", extra_cells=""):
    """A station list of `count` stations sharing 20 generated 30-year series
    (series/sNN.txt, 1991-2020), with further columns when given."""
    import os
    os.makedirs("series", exist_ok=True)
    for n in range(20):
        if not os.path.exists(f"series/s{n:02d}.txt"):
            write_series(f"series/s{n:02d}.txt", 1991, 30, n)
    with open(list_name, "w") as f:
        f.write("station,file,first_year,nodata" + extra_header + "\n")
        f.writelines(f"st{i:06d},series/s{i % 20:02d}.txt,1991,-99{extra_cells}\n" for i in range(count))


def write_record(csv_path, plain_path, first, years, seed):
    """A station's complete daily record as a csv file (date, prcp, tmax, tmin,
    srad, rh, wind) and its precipitation alone as a plain series: the same
    values, the same missing days."""
    import math
    rng = random.Random(seed)
    with open(csv_path, "w") as csv, open(plain_path, "w") as plain:
        csv.write("date,prcp,tmax,tmin,srad,rh,wind\n")
        wet = False
        for year in range(first, first + years):
            leap = (year % 4 == 0 and year % 100 != 0) or year % 400 == 0
            for doy in range(1, (366 if leap else 365) + 1):
                # Wet days follow wet days more often than dry ones, as at a real station.
                r = rng.random()
                wet = rng.random() < (0.6 if wet else 0.25)
                pcp = "-99" if r < 0.002 else f"{rng.expovariate(1 / 6):.1f}" if wet else "0"
                plain.write(pcp + "\n")
                season = math.cos(2 * math.pi * (doy - 200) / 365.25)
                tmax = 14 + 10 * season + rng.gauss(0, 3)
                tmin = tmax - 4 - 6 * rng.random()
                srad = max(0.5, 15 + 10 * season + rng.gauss(0, 3))
                csv.write(f"{year}-{_month_day(doy, leap)},{'' if pcp == '-99' else pcp},{tmax:.1f},{tmin:.1f},"
                          f"{min(srad, 28):.2f},{0.55 + 0.4 * rng.random():.3f},{0.5 + 6 * rng.random():.1f}\n")


def _month_day(doy, leap):
    lengths = [31, 29 if leap else 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31]
    month = 0
    while doy > lengths[month]:
        doy -= lengths[month]
        month += 1
    return f"{month + 1:02d}-{doy:02d}"


if __name__ == "__main__":
    write_series(sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4]) if len(sys.argv) > 4 else 2026)
