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
if command -v man >/dev/null; then
    man -l "$root/installed/usr/share/man/man1/wgnrain.1" >/dev/null
fi
echo "Written: $package (the installed programs analysed the example as expected)"
