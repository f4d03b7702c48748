"""A daily grid for the benchmarks, written as NetCDF's 64-bit-offset classic
format by hand (no NetCDF module needed): LAT x LON cells from 1 January of
FIRST_YEAR for YEARS years, precipitation in mm (precipitation_amount) and
the daily maximum and minimum temperature in K.  The cells take their values
from CLIMATES series like a wet temperate station's (bench/series.py), cell
k the series k % CLIMATES, so that a large grid is quick to write.  With
--plain FOLDER, each climate's precipitation is also written as the plain
series wgnrain reads (FOLDER/cNN.txt), for the paired plain batch.

    make_grid.py OUT.nc LAT LON FIRST_YEAR YEARS [--climates N] [--plain FOLDER]
"""
import argparse
import array
import datetime
import math
import random
import struct
import sys

NC_DIMENSION, NC_VARIABLE, NC_ATTRIBUTE = 10, 11, 12
NC_CHAR, NC_FLOAT, NC_DOUBLE = 2, 5, 6


def padded(data):
    return data + b"\0" * (-len(data) % 4)


def name(text):
    data = text.encode()
    return struct.pack(">i", len(data)) + padded(data)


def text_attribute(key, value):
    data = value.encode()
    return name(key) + struct.pack(">ii", NC_CHAR, len(data)) + padded(data)


def attributes(pairs):
    if not pairs:
        return b"\0" * 8
    return struct.pack(">ii", NC_ATTRIBUTE, len(pairs)) + b"".join(text_attribute(k, v) for k, v in pairs)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("out")
    parser.add_argument("lat", type=int)
    parser.add_argument("lon", type=int)
    parser.add_argument("first_year", type=int)
    parser.add_argument("years", type=int)
    parser.add_argument("--climates", type=int, default=50)
    parser.add_argument("--plain")
    args = parser.parse_args()
    first = datetime.date(args.first_year, 1, 1)
    days = (datetime.date(args.first_year + args.years, 1, 1) - first).days
    cells = args.lat * args.lon

    # 1. The climates: wet days following wet ones more often, a seasonal temperature.
    climates = []
    for k in range(args.climates):
        numbers = random.Random(k)
        pr, tmax, tmin, wet = [], [], [], False
        for t in range(days):
            day = first + datetime.timedelta(t)
            wet = numbers.random() < (0.6 if wet else 0.3)
            pr.append(round(0.1 + numbers.expovariate(1 / 6), 1) if wet else 0.0)
            high = 12 + 9 * math.sin((day.timetuple().tm_yday - 105) / 58.1) + numbers.gauss(0, 3)
            tmax.append(round(high + 273.15, 1))
            tmin.append(round(high - 8 - 2 * numbers.random() + 273.15, 1))
        climates.append((pr, tmax, tmin))
    if args.plain:
        for k, (pr, _, _) in enumerate(climates):
            with open(f"{args.plain}/c{k:02d}.txt", "w") as f:
                f.write("".join(f"{v:.1f}\n" for v in pr))

    # 2. The header: time (the record dimension), lat, lon; three record variables.
    slab = cells * 4
    variables = [
        ("pr", [("standard_name", "precipitation_amount"), ("units", "mm")]),
        ("tasmax", [("standard_name", "air_temperature"), ("cell_methods", "time: maximum"), ("units", "K")]),
        ("tasmin", [("standard_name", "air_temperature"), ("cell_methods", "time: minimum"), ("units", "K")]),
    ]

    def header(begins):
        data = b"CDF\x02" + struct.pack(">i", days)
        data += struct.pack(">ii", NC_DIMENSION, 3) + name("time") + struct.pack(">i", 0)
        data += name("lat") + struct.pack(">i", args.lat) + name("lon") + struct.pack(">i", args.lon)
        data += b"\0" * 8  # no global attributes
        data += struct.pack(">ii", NC_VARIABLE, 3 + len(variables))
        fixed = [("lat", [1], [("units", "degrees_north")], NC_FLOAT, args.lat * 4),
                 ("lon", [2], [("units", "degrees_east")], NC_FLOAT, args.lon * 4),
                 ("time", [0], [("units", f"days since {first.isoformat()}")], NC_DOUBLE, 8)]
        rows = fixed + [(n, [0, 1, 2], a, NC_FLOAT, slab) for n, a in variables]
        for (var, dims, attrs, kind, size), begin in zip(rows, begins):
            data += name(var) + struct.pack(">i", len(dims)) + b"".join(struct.pack(">i", d) for d in dims)
            data += attributes(attrs) + struct.pack(">iiq", kind, size, begin)
        return data

    length = len(header([0] * 6))
    lat_begin = length
    lon_begin = lat_begin + args.lat * 4
    record_begin = lon_begin + args.lon * 4
    # Record variables follow the fixed ones; time is a record variable here.
    begins = [lat_begin, lon_begin, record_begin, record_begin + 8, record_begin + 8 + slab,
              record_begin + 8 + 2 * slab]
    with open(args.out, "wb") as out:
        out.write(header(begins))
        lats = array.array("f", [60 - 0.1 * y for y in range(args.lat)])
        lons = array.array("f", [-10 + 0.1 * x for x in range(args.lon)])
        for values in (lats, lons):
            if sys.byteorder == "little":
                values.byteswap()
            out.write(values.tobytes())
        # 3. A record a day: its time, then each variable's slab of every cell.
        repeats = cells // args.climates + 1
        for t in range(days):
            out.write(struct.pack(">d", float(t)))
            for v in range(3):
                by_climate = [climates[k][v][t] for k in range(args.climates)]
                row = array.array("f", (by_climate * repeats)[:cells])
                if sys.byteorder == "little":
                    row.byteswap()
                out.write(row.tobytes())


main()
