"""wgnrain-batch --sqlite: the complete stations in an SQLite file, as SWAT+
Editor's import of a weather-generator database reads them:

  - the two tables' statements, indexes and foreign key are those of the
    Editor's wgn / wgn_mon (its peewee models' CREATE statements, the table
    name put in);
  - the Editor's import emulated (the table by name ordered by name, then
    TABLE_mon's rows by wgn_id, every column by name): each station and month
    holds the numbers of weather-wgn.cli, to the digit (the double nearest the
    field's decimal, whose shortest text is that decimal), names in UTF-8;
  - a second run replaces the table whole (fewer stations), another table of
    the file untouched; --table names a table of its own beside it; a
    sharded batch's --merge writes the same;
  - the file left byte-identical by a batch that fails (its tables cannot be
    written), by an interrupted batch (Linux: SIGTERM), by a file another
    program holds locked (status 3, the reason), and by a file that is not a
    database; no file left behind where none was;
  - refused before anything runs (status 2): a bad table name, --table
    without --sqlite, --sqlite with --shard, a list without the record's
    columns.

    sqlite_tables.py path/to/wgnrain-batch
"""
import decimal
import os
import shutil
import signal
import sqlite3
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import program  # noqa: E402

binary = os.path.abspath(sys.argv[1])
windows = program.is_windows(binary)
work, tmp = program.workspace("wgnsqlite")
failures = []
expect = program.expecter(failures)
REFERENCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "examples", "reference-wgn.cli")
COLUMNS = ["tmp_max_ave", "tmp_min_ave", "tmp_max_sd", "tmp_min_sd", "pcp_ave", "pcp_sd", "pcp_skew", "wet_dry",
           "wet_wet", "pcp_days", "pcp_hhr", "slr_ave", "dew_ave", "wnd_ave"]


def editor_schema(table):
    """What the Editor's peewee models Wgn and Wgn_mon create, for a table of that name."""
    values = ", ".join(f'"{c}" REAL NOT NULL' for c in COLUMNS)
    return {
        table: f'CREATE TABLE "{table}" ("id" INTEGER NOT NULL PRIMARY KEY, "name" VARCHAR(255) NOT NULL, '
               '"lat" REAL NOT NULL, "lon" REAL NOT NULL, "elev" REAL NOT NULL, "rain_yrs" INTEGER NOT NULL)',
        f"{table}_name": f'CREATE UNIQUE INDEX "{table}_name" ON "{table}" ("name")',
        f"{table}_mon": f'CREATE TABLE "{table}_mon" ("id" INTEGER NOT NULL PRIMARY KEY, "wgn_id" INTEGER NOT NULL, '
                        f'"month" INTEGER NOT NULL, {values}, FOREIGN KEY ("wgn_id") REFERENCES "{table}" ("id") '
                        'ON DELETE CASCADE)',
        f"{table}_mon_wgn_id": f'CREATE INDEX "{table}_mon_wgn_id" ON "{table}_mon" ("wgn_id")',
    }


def write_record(name, first, last, seed):
    program.write_dated_record(os.path.join(work, name + ".csv"), first, last, seed, tmin_spread=1)


# Positions with more decimals than the .cli's five, a west longitude, names
# with a blank (written De_Bilt) and beyond ASCII.
STATIONS = [("fort-collins", "40.585312", "-105.0844", "1559.2"), ("De Bilt", "52.1", "5.18", "2"),
            ("Zürich", "47.3769", "8.5417", "408")]
for i, (name, *_) in enumerate(STATIONS):
    write_record(f"record{i}", 2011, 2016, i + 1)


def write_list(file, rows, record_columns=True):
    with open(os.path.join(work, file), "w", newline="", encoding="utf-8") as f:
        if record_columns:
            f.write("station,file,format,lat,lon,elev,fill_file,fill_station\n" + "".join(
                f"{name},{source}.csv,csv,{lat},{lon},{elev},{REFERENCE},example_reference\n"
                for name, source, lat, lon, elev in rows))
        else:
            f.write("station,file,format\n" + "".join(f"{name},{source}.csv,csv\n" for name, source, *_ in rows))


write_list("stations.csv", [(name, f"record{i}", *place) for i, (name, *place) in enumerate(STATIONS)])
write_list("two.csv", [(name, f"record{i}", *place) for i, (name, *place) in enumerate(STATIONS[:2])])


def batch(*arguments):
    status, out, err = program.run(binary, b"", work, tmp, arguments=list(arguments))
    return status, out.decode(errors="replace"), err.decode(errors="replace")


def path(*parts):
    return os.path.join(work, *parts)


def content(name):
    with open(path(name), "rb") as f:
        return f.read()


def cli_stations(folder):
    """weather-wgn.cli's stations by name: the station line's fields and the 12 month lines' fields."""
    with open(path(folder, "weather-wgn.cli"), encoding="utf-8") as f:
        lines = f.read().splitlines()[1:]
    stations = {}
    for at in range(0, len(lines), 14):
        head = lines[at].split()
        stations[head[0]] = (head[1:5], [lines[at + 2 + m].split() for m in range(12)])
    return stations


def editor_import(file, table):
    """The Editor's import of a weather-generator database: the stations of
    `table` ordered by name, then the monthly rows of `table`_mon whose wgn_id
    is a station's id, each column by its name."""
    db = sqlite3.connect(file)
    db.row_factory = sqlite3.Row
    stations = db.execute(f"select * from {table} order by name").fetchall()
    ids = [row["id"] for row in stations]
    months = db.execute(f"select * from {table}_mon where wgn_id in ({','.join('?' * len(ids))})", ids).fetchall()
    db.close()
    return stations, months


def same_number(what, stored, text, whole=False):
    """The stored value is the .cli's number: the nearest double (an int for
    rain_yrs), whose shortest text has the decimal's value."""
    if whole:
        expect(what, (type(stored), stored), (int, int(text)))
        return
    expect(what, (type(stored), stored), (float, float(text)))
    if isinstance(stored, float):
        expect(f"{what} to the digit", decimal.Decimal(repr(stored)), decimal.Decimal(text))


def check_tables(what, file, table, folder):
    db = sqlite3.connect(file)
    schema = {name: sql for name, sql in db.execute(
        "select name, sql from sqlite_master where tbl_name in (?, ?)", (table, f"{table}_mon"))}
    expect(f"{what}: the Editor's statements", schema, editor_schema(table))
    expect(f"{what}: foreign key", db.execute(f"pragma foreign_key_list({table}_mon)").fetchall(),
           [(0, 0, table, "wgn_id", "id", "NO ACTION", "CASCADE", "NONE")])
    expect(f"{what}: integrity", db.execute("pragma integrity_check").fetchall(), [("ok",)])
    db.close()
    stations, months = editor_import(file, table)
    cli = cli_stations(folder)
    expect(f"{what}: the stations of weather-wgn.cli", [row["name"] for row in stations], sorted(cli))
    by_id = {row["id"]: row for row in stations}
    seen = set()
    for row in months:
        station = by_id[row["wgn_id"]]
        expect(f"{what}: {station['name']} month {row['month']} id", row["id"], 12 * (station["id"] - 1) + row["month"])
        seen.add((station["name"], row["month"]))
        values = cli[station["name"]][1][row["month"] - 1]
        for c, column in enumerate(COLUMNS):
            same_number(f"{what}: {station['name']} {column} {row['month']}", row[column], values[c])
    expect(f"{what}: 12 months a station", seen, {(name, m) for name in cli for m in range(1, 13)})
    for row in stations:
        head = cli[row["name"]][0]
        for f, column in enumerate(["lat", "lon", "elev", "rain_yrs"]):
            same_number(f"{what}: {row['name']} {column}", row[column], head[f], whole=column == "rain_yrs")
    return {row["name"]: row["id"] for row in stations}


# ---- Written, read back as the Editor does -----------------------------------------
database = path("wgn.sqlite")
status, out, err = batch("stations.csv", "-o", "out", "--sqlite", "wgn.sqlite")
expect("first run: status", status, 0)
expect("first run: closing line", out.strip().endswith(
    f"; 3 stations into {program.shown_path(binary, database)}, tables wgnrain and wgnrain_mon"), True)
ids = check_tables("first run", database, "wgnrain", "out")
expect("names in UTF-8, as the .cli writes them", sorted(ids), ["De_Bilt", "Zürich", "fort-collins"])
with open(path("out", "wgn_stations.csv"), encoding="utf-8") as f:
    csv_ids = {line.split(",")[1]: int(line.split(",")[0]) for line in f.read().splitlines()[1:]}
expect("ids as in wgn_stations.csv", ids, csv_ids)

# ---- Replaced whole; other tables untouched; a table of another name -----------------
db = sqlite3.connect(database)
db.executescript("create table kept (id integer primary key, note text); insert into kept values (1, 'mine');")
db.close()
status, out, err = batch("two.csv", "-o", "out2", "--sqlite", "wgn.sqlite")
expect("second run: status", status, 0)
check_tables("second run (two stations)", database, "wgnrain", "out2")
db = sqlite3.connect(database)
expect("second run: rows", (db.execute("select count(*) from wgnrain").fetchone(),
                            db.execute("select count(*) from wgnrain_mon").fetchone()), ((2,), (24,)))
expect("another table untouched", db.execute("select * from kept").fetchall(), [(1, "mine")])
db.close()
status, out, err = batch("stations.csv", "-o", "out", "--sqlite", "wgn.sqlite", "--table", "wgn_mine")
expect("--table: status", status, 0)
check_tables("--table wgn_mine", database, "wgn_mine", "out")
check_tables("--table leaves wgnrain", database, "wgnrain", "out2")

# A sharded batch: the database comes from the merge, as the tables do.
for k in (1, 2):
    status, out, err = batch("stations.csv", "-o", "sharded", "--shard", f"{k}/2")
    expect(f"shard {k}: status", status, 0)
status, out, err = batch("stations.csv", "-o", "sharded", "--merge", "--sqlite", "merged.sqlite")
expect("merge: status", status, 0)
check_tables("merged", path("merged.sqlite"), "wgnrain", "sharded")

# ---- Files left as they were ------------------------------------------------------
before = content("wgn.sqlite")
# A batch whose tables cannot be written (a folder where its summary goes).
os.makedirs(path("blocked", "summary.csv"))
status, out, err = batch("stations.csv", "-o", "blocked", "--sqlite", "wgn.sqlite")
expect("tables not written: status", status, 3)
expect("tables not written: closing line",
       out.strip().endswith(f"the database {program.shown_path(binary, database)} was not written"), True)
expect("tables not written: the file as it was", content("wgn.sqlite") == before, True)
status, out, err = batch("stations.csv", "-o", "blocked", "--sqlite", "new.sqlite")
expect("tables not written: no new file", (status, os.path.exists(path("new.sqlite"))), (3, False))

# Another program holds the file (an exclusive transaction open).
holder = sqlite3.connect(database, isolation_level=None)
holder.execute("BEGIN EXCLUSIVE")
status, out, err = batch("stations.csv", "-o", "out", "--sqlite", "wgn.sqlite")
holder.execute("ROLLBACK")
holder.close()
expect("locked: status", status, 3)
expect("locked: the reason", f"wgnrain-batch: cannot write the database {program.shown_path(binary, database)}: "
                             "database is locked (another program holds the file" in err, True)
expect("locked: the file as it was", content("wgn.sqlite") == before, True)

# A file that is not a database.
with open(path("notes.sqlite"), "wb") as f:
    f.write(b"not a database, a text of more than a hundred bytes: " + b"x" * 100 + b"\n")
notes = content("notes.sqlite")
status, out, err = batch("stations.csv", "-o", "out", "--sqlite", "notes.sqlite")
expect("not a database: status and reason", (status, "file is not a database" in err), (3, True))
expect("not a database: the file as it was", content("notes.sqlite"), notes)

# Interrupted while its stations run: it writes its tables, not the database.
if not windows:
    write_record("long", 1951, 2020, 9)
    write_list("many.csv", [(f"s{i}", "long", "52.1", "5.18", "2") for i in range(12)])
    proc = subprocess.Popen([binary, "many.csv", "-o", "many", "-j", "1", "--sqlite", "wgn.sqlite"], cwd=work,
                            stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                            env={**os.environ, "TMPDIR": tmp})
    deadline = time.monotonic() + 120
    while not os.path.exists(path("many", "s0")) and proc.poll() is None and time.monotonic() < deadline:
        time.sleep(0.01)
    proc.send_signal(signal.SIGTERM)
    out, err = proc.communicate(timeout=300)
    expect("interrupted: status", proc.returncode, 128 + signal.SIGTERM)
    expect("interrupted: closing line", out.decode().strip().endswith(
        f"the database {database} was not written"), True)
    expect("interrupted: the file as it was", content("wgn.sqlite") == before, True)

# ---- Refused before anything runs ------------------------------------------------
write_list("plain.csv", [("ftc", "record0")], record_columns=False)
for what, arguments, message in [
        ("a table name with a blank", ["stations.csv", "--table", "my table"], "'--table my table': "),
        ("a table name of SQLite's", ["stations.csv", "--table", "sqlite_x"], "is SQLite's own"),
        ("a table name beginning with a digit", ["stations.csv", "--table", "1wgn"], "begins with a letter"),
        ("--table alone", ["stations.csv", "-o", "out", "--table", "t"], "'--table' goes with --sqlite"),
        ("--sqlite with --shard", ["stations.csv", "--shard", "1/2"], "not by a shard"),
        ("no record columns", ["plain.csv"], "none of the complete record's columns")]:
    if "-o" not in arguments:
        arguments = [*arguments, "-o", "refused", "--sqlite", "refused.sqlite"]
    status, out, err = batch(*arguments)
    expect(f"{what}: status and message", (status, message in err), (2, True))
    expect(f"{what}: no file", os.path.exists(path("refused.sqlite")), False)

expect("scratch files left", os.listdir(tmp), [])
shutil.rmtree(work)
for failure in failures:
    print("FAIL", failure)
print(f"{'FAILED' if failures else 'passed'}: --sqlite's tables as the Editor reads them, replaced whole, "
      "and files left as they were")
sys.exit(1 if failures else 0)
