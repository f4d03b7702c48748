#!/usr/bin/env bash
# The Windows build: cross-compiles build-windows/wgnrain.exe, wgnrain-batch.exe,
# wgnrain-series.exe, wgnrain-check.exe and wgnrain-grid.exe with mingw-w64,
# runs the Windows test suite under Wine (unit tests, the end-to-end cases,
# the Windows failure table) and packs dist/wgnrain-VERSION-windows-x86_64.zip.
#
#   tools/windows.sh
#
# Installs the cross compiler and Wine when they are missing.  Wine runs
# headless in a prefix of its own (build-windows/wine), set up once; its
# server is ended when the script ends.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh --windows
top=$PWD

export WINEPREFIX=$top/build-windows/wine WINEDEBUG=-all
# No Mono or Gecko: nothing here needs them, and the prefix is made offline.
export WINEDLLOVERRIDES="mscoree,mshtml="
# Wine keeps its server's socket under TMPDIR: one changing per run would mean
# a cold server each time and a folder left behind.
unset TMPDIR
trap 'wineserver -k 2>/dev/null || true' EXIT

echo "== windows build"
# SQLite and NetCDF-C from Debian's source packages, built once into
# build-windows/sqlite and build-windows/netcdf.
tools/sqlite-windows.sh build-windows/sqlite
tools/netcdf-windows.sh build-windows/netcdf
cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
    -DWGNRAIN_TESTS=ON -DWGNRAIN_BENCH=OFF -DWGNRAIN_SQLITE_ROOT="$top/build-windows/sqlite" \
    -DWGNRAIN_NETCDF_ROOT="$top/build-windows/netcdf" >/dev/null
cmake --build build-windows -j"$(nproc)" >/dev/null
# The release exes carry no symbols or debug sections, and need no DLL beside
# them (a toolchain's, SQLite's or NetCDF's: lib*.dll), only the system's.
for exe in build-windows/*.exe build-windows/tests/netcdf_smoke.exe; do
    if x86_64-w64-mingw32-objdump -p "$exe" | grep -qi 'DLL Name: lib'; then
        echo "$exe needs a DLL beside it:" >&2
        x86_64-w64-mingw32-objdump -p "$exe" | grep 'DLL Name' >&2
        exit 1
    fi
done
for exe in build-windows/wgnrain.exe build-windows/wgnrain-batch.exe build-windows/wgnrain-series.exe \
    build-windows/wgnrain-check.exe build-windows/wgnrain-grid.exe; do
    if x86_64-w64-mingw32-objdump -h "$exe" | grep -q '\.debug_'; then echo "$exe is not stripped" >&2; exit 1; fi
done
wineserver -k 2>/dev/null || true  # a server left by an earlier run that was cut short
[ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1
wineserver -w
# One server for the whole test run: started by a test's first Wine process
# instead, it would hold that test's output pipes open until it idles out.
# A first process starts the prefix's services alone: several tests starting
# them at once can leave one of them waiting for good.
wineserver -p
wine cmd /c exit 0 >/dev/null 2>&1

echo "== windows tests (under Wine)"
(cd build-windows && ctest --output-on-failure --timeout 900 -j"$(nproc)")

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-windows/CMakeCache.txt)
package=wgnrain-$version-windows-x86_64
mkdir -p dist
rm -f "dist/$package.zip"
python3 - "$package" <<'PY'
import re
import sys
import zipfile

package = sys.argv[1]
# README-windows.txt: the Windows part of the README, with CR LF line ends for Notepad.
with open("README.md", encoding="utf-8") as f:
    readme = f.read()
windows_part = re.search(r"^## Windows\n.*?(?=^## )", readme, re.M | re.S).group(0)
with zipfile.ZipFile(f"dist/{package}.zip", "w", zipfile.ZIP_DEFLATED) as archive:
    archive.writestr(f"{package}/README-windows.txt", ("\ufeff" + windows_part).replace("\n", "\r\n").encode("utf-8"))
    for source, name in [("build-windows/wgnrain.exe", "wgnrain.exe"),
                         ("build-windows/wgnrain-batch.exe", "wgnrain-batch.exe"),
                         ("build-windows/wgnrain-series.exe", "wgnrain-series.exe"),
                         ("build-windows/wgnrain-check.exe", "wgnrain-check.exe"),
                         ("build-windows/wgnrain-grid.exe", "wgnrain-grid.exe"), ("README.md", "README.md"),
                         ("LICENSE", "LICENSE.txt"), ("examples/example-1991-2020.txt", "example-1991-2020.txt")]:
        archive.write(source, f"{package}/{name}")
PY
echo "Written: build-windows/wgnrain.exe, wgnrain-batch.exe, wgnrain-series.exe, wgnrain-check.exe, wgnrain-grid.exe, dist/$package.zip"
