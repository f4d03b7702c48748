"""Generates the bundled example: a synthetic but realistic daily
precipitation series of 30 years, 1 January 1991 to 31 December 2020.

    python3 make_example.py > example-1991-2020.txt

How the days are made (fixed seed, so the file is the same every time):
- wet or dry by a two-state Markov chain, so wet days come in spells: the
  chance of a wet day is higher after a wet day than after a dry day, and
  both follow a seasonal cycle with wetter winters;
- the amount of a wet day from a gamma distribution (shape 0.75: many small
  amounts, a long tail of heavy days), its mean also seasonal, written with
  one decimal (0.1 mm resolution) and at least 0.1;
- about one day in 500 is missing and written as the NoData value -99.
The file has one value per line, LF line ends, 10958 lines (8 leap days).
"""
import math
import random

rng = random.Random(19912020)
wet = False
for year in range(1991, 2021):
    leap = year % 4 == 0 and (year % 100 != 0 or year % 400 == 0)
    for day in range(366 if leap else 365):
        season = math.cos(2 * math.pi * (day - 15) / 365.25)  # 1 in mid-January
        p_wet_after_dry = 0.28 + 0.08 * season
        p_wet_after_wet = 0.62 + 0.08 * season
        wet = rng.random() < (p_wet_after_wet if wet else p_wet_after_dry)
        if rng.random() < 0.002:
            print("-99")
        elif wet:
            mean = 5.5 - 1.5 * season
            print(f"{max(0.1, rng.gammavariate(0.75, mean / 0.75)):.1f}")
        else:
            print("0")
