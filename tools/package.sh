#!/usr/bin/env bash
# Builds the Debian package dist/wgnrain_VERSION_amd64.deb (the program, its
# manual page, README and licence under /usr), then checks it: unpacked into a
# scratch root, the installed program must analyse the bundled example exactly
# as the build's own tests expect, and its manual page must render.
#
#   tools/package.sh
#   apt install ./dist/wgnrain_1.0.0_amd64.deb      (then: wgnrain, man wgnrain)
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DWGNRAIN_TESTS=OFF -DWGNRAIN_BENCH=OFF >/dev/null
cmake --build build-package -j"$(nproc)" >/dev/null
(cd build-package && cpack -G DEB >/dev/null)
mkdir -p dist
package=$(ls build-package/wgnrain_*_amd64.deb)
cp "$package" dist/
package=dist/$(basename "$package")

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$package" "$root/installed"
case=$PWD/tests/e2e/cases/bundled-example
mkdir "$root/run"
cp examples/example-1991-2020.txt "$root/run/"
(cd "$root/run" && "$root/installed/usr/bin/wgnrain" <"$case/stdin" >/dev/null)
for file in report.txt mean_pcp.sta totalpcp.sta; do
    cmp "$root/run/$file" "$case/expected/files/$file"
done
"$root/installed/usr/bin/wgnrain" --version
# The installed batch program finds the installed wgnrain beside it.
printf 'station,file,first_year,nodata\nexample,example-1991-2020.txt,1991,-99\n' >"$root/run/stations.csv"
"$root/installed/usr/bin/wgnrain-batch" "$root/run/stations.csv" -o "$root/run/batch" >/dev/null
# (Its report names the series by its full name: record 2 differs.)
cmp <(sed 2d "$root/run/batch/example/report.txt") <(sed 2d "$case/expected/files/report.txt")
cmp "$root/run/batch/example/mean_pcp.sta" "$case/expected/files/mean_pcp.sta"
"$root/installed/usr/bin/wgnrain-batch" --version
# The installed series program makes a dated file into the series wgnrain read.
python3 - "$root/run" <<'PY'
import datetime
import sys

values = [line.strip() for line in open(f"{sys.argv[1]}/example-1991-2020.txt") if line.strip()]
day = datetime.date(1991, 1, 1)
with open(f"{sys.argv[1]}/example.csv", "w") as f:
    f.write("date,prcp\n")
    for value in values:
        if value != "-99":
            f.write(f"{day.isoformat()},{value}\n")
        day += datetime.timedelta(days=1)
PY
(cd "$root/run" && "$root/installed/usr/bin/wgnrain-series" example.csv --format csv -o series.txt |
    "$root/installed/usr/bin/wgnrain" >/dev/null)
cmp <(sed 2d "$root/run/series-report.txt") <(sed 2d "$case/expected/files/report.txt")
"$root/installed/usr/bin/wgnrain-series" --version
"$root/installed/usr/bin/wgnrain-check" --version
"$root/installed/usr/bin/wgnrain-grid" --version
if command -v man >/dev/null; then
    for page in wgnrain wgnrain-batch wgnrain-series wgnrain-check wgnrain-grid; do
        man -l "$root/installed/usr/share/man/man1/$page.1" >/dev/null
    done
fi
echo "Written: $package (the installed programs analysed the example as expected)"
