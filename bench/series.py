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


if __name__ == "__main__":
    write_series(sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4]) if len(sys.argv) > 4 else 2026)
