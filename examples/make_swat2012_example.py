"""Writes the first five years of the bundled example as a SWAT 2012 project's
pcp1.pcp of two gauges: p5210 holds the example's values, p5211 twice each
(the doubling done in the decimal digits); missing days are -99.0.

    python3 make_swat2012_example.py example-1991-2020.txt > pcp1.pcp
"""
import datetime
import sys
from decimal import Decimal

print("Station  p5210,p5211,")
print("Lati    52.1 52.3")
print("Long     5.2  5.0")
print("Elev       2   10")
day = datetime.date(1991, 1, 1)
with open(sys.argv[1]) as series:
    for line in series:
        if day.year > 1995:
            break
        value = line.strip()
        fields = ["-99.0"] * 2 if value == "-99" else [f"{Decimal(value):.1f}", f"{Decimal(value) * 2:.1f}"]
        print(f"{day.year}{day.timetuple().tm_yday:03d}" + "".join(f"{field:>5}" for field in fields))
        day += datetime.timedelta(days=1)
