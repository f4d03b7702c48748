#!/usr/bin/env bash
# SQLite for the Windows build: Debian's own source package of sqlite3,
# compiled with mingw-w64 into a static library, once.
#
#   tools/sqlite-windows.sh [FOLDER]     (default build-windows/sqlite)
#
# FOLDER receives the source package, then include/sqlite3.h and
# lib/libsqlite3.a; a second run finds them and does nothing.  The
# amalgamation sqlite3.c is made by the source tree's own configure and make
# (which need tclsh and the host's C compiler), then compiled alone.  Needs
# the deb-src entry that tools/install-deps.sh --windows adds.
set -euo pipefail
cd "$(dirname "$0")/.."
folder=$(realpath -m "${1:-build-windows/sqlite}")
[ -f "$folder/lib/libsqlite3.a" ] && [ -f "$folder/include/sqlite3.h" ] && exit 0
rm -rf "$folder/source"
mkdir -p "$folder/source" "$folder/lib" "$folder/include"
# The version this machine's libsqlite3-dev has, so both builds use one SQLite.
version=$(dpkg-query -W -f='${Version}' libsqlite3-dev 2>/dev/null || true)
(cd "$folder/source" && { apt-get source -qq "sqlite3${version:+=$version}" >/dev/null 2>&1 ||
    apt-get source -qq sqlite3 >/dev/null; })
tree=$(find "$folder/source" -mindepth 1 -maxdepth 1 -type d -name 'sqlite3-*' | head -n 1)
[ -n "$tree" ] || { echo "sqlite-windows.sh: apt-get source sqlite3 left no source tree" >&2; exit 1; }
mkdir -p "$folder/source/host"
(cd "$folder/source/host" && "$tree/configure" --disable-tcl >/dev/null && make -s sqlite3.c >/dev/null)
# Threads on (the batch writes from one thread, but the library must be safe
# for any); no extension loading: the programs load none.
x86_64-w64-mingw32-gcc-posix -O2 -DSQLITE_THREADSAFE=1 -DSQLITE_OMIT_LOAD_EXTENSION -DSQLITE_DQS=0 \
    -c "$folder/source/host/sqlite3.c" -o "$folder/source/sqlite3.o"
rm -f "$folder/lib/libsqlite3.a"
x86_64-w64-mingw32-ar rcs "$folder/lib/libsqlite3.a" "$folder/source/sqlite3.o"
cp "$folder/source/host/sqlite3.h" "$folder/include/"
echo "Written: $folder/lib/libsqlite3.a (SQLite $(sed -n 's/^#define SQLITE_VERSION *"\(.*\)"/\1/p' "$folder/include/sqlite3.h"))"
