#!/usr/bin/env bash
# Installs what building and testing wgnrain needs, where it is missing
# (Debian packages; run as root or with sudo available).
#
#   tools/install-deps.sh                 the Linux build
#   tools/install-deps.sh --tests         and its tests (Chromium for the overview page's)
#   tools/install-deps.sh --with-checks   and the static checks and fuzzing
#   tools/install-deps.sh --windows       and the Windows cross-build and Wine, with what
#                                         tools/sqlite-windows.sh and tools/netcdf-windows.sh
#                                         need to build SQLite and NetCDF-C from Debian's
#                                         source packages (a deb-src entry), and ncgen for
#                                         the NetCDF test's file
set -euo pipefail
packages=(g++ cmake make libgtest-dev libsqlite3-dev libnetcdf-dev netcdf-bin python3)
[ "${1:-}" = "--tests" ] && packages+=(chromium)
[ "${1:-}" = "--with-checks" ] && packages+=(clang libclang-rt-dev clang-tidy clang-format cppcheck)
[ "${1:-}" = "--windows" ] && packages+=(g++-mingw-w64-x86-64-posix wine64 wine dpkg-dev tcl xz-utils
    netcdf-bin)
as_root=()
[ "$(id -u)" -ne 0 ] && as_root=(sudo)

# Debian has no mingw-w64 build of SQLite or NetCDF-C: the Windows build
# compiles them from the source packages of the same archive the machine
# installs from.
updated=false
if [ "${1:-}" = "--windows" ] && ! grep -qs '^Types:.*deb-src\|^deb-src ' /etc/apt/sources.list /etc/apt/sources.list.d/*.sources \
    /etc/apt/sources.list.d/*.list; then
    for sources in /etc/apt/sources.list.d/*.sources; do
        [ -f "$sources" ] || continue
        grep -q '^Types: *deb$' "$sources" || continue
        sed 's/^Types: *deb$/Types: deb-src/' "$sources" |
            "${as_root[@]}" tee "/etc/apt/sources.list.d/wgnrain-src-$(basename "$sources")" >/dev/null
    done
    if [ -f /etc/apt/sources.list ] && grep -q '^deb ' /etc/apt/sources.list; then
        sed -n 's/^deb /deb-src /p' /etc/apt/sources.list |
            "${as_root[@]}" tee /etc/apt/sources.list.d/wgnrain-src.list >/dev/null
    fi
    "${as_root[@]}" apt-get update -qq
    updated=true
fi

missing=()
for p in "${packages[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
[ "$updated" = true ] || "${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq "${missing[@]}"
