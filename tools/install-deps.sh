#!/usr/bin/env bash
# Installs what building and testing wgnrain needs, where it is missing
# (Debian packages; run as root or with sudo available).
#
#   tools/install-deps.sh                 the Linux build
#   tools/install-deps.sh --tests         and its tests (Chromium for the overview page's)
#   tools/install-deps.sh --with-checks   and the static checks and fuzzing
#   tools/install-deps.sh --windows       and the Windows cross-build and Wine
set -euo pipefail
packages=(g++ cmake make libgtest-dev python3)
[ "${1:-}" = "--tests" ] && packages+=(chromium)
[ "${1:-}" = "--with-checks" ] && packages+=(clang libclang-rt-dev clang-tidy clang-format cppcheck)
[ "${1:-}" = "--windows" ] && packages+=(g++-mingw-w64-x86-64-posix wine64 wine)
missing=()
for p in "${packages[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
as_root=()
[ "$(id -u)" -ne 0 ] && as_root=(sudo)
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq "${missing[@]}"
