"""Writes the bundled example as a spreadsheet would export it: a header row,
then date and precipitation, the missing days (-99 in the plain series) as
empty cells.

    python3 make_dated_example.py example-1991-2020.txt > example-1991-2020.csv
"""
import datetime
import sys

day = datetime.date(1991, 1, 1)
print("date,precipitation")
with open(sys.argv[1]) as series:
    for line in series:
        value = line.strip()
        print(f"{day.isoformat()},{'' if value == '-99' else value}")
        day += datetime.timedelta(days=1)
