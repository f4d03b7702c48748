#!/usr/bin/env bash
# NetCDF-C for the Windows build: Debian's own source package of netcdf,
# cross-compiled with mingw-w64 into a static library, once.
#
#   tools/netcdf-windows.sh [FOLDER]     (default build-windows/netcdf)
#
# FOLDER receives the source package (FOLDER/source), then include/netcdf.h
# and lib/libnetcdf.a; a second run finds them and does nothing.  Classic
# formats only (CDF-1, CDF-2 and CDF-5): no HDF5 (NetCDF-4 files), no DAP,
# NCZarr, byte-range or plugins, so nothing beyond the C runtime and the
# Windows system libraries.  Needs the deb-src entry that
# tools/install-deps.sh --windows adds.  The log of the build is
# FOLDER/source/build.log.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
folder=$(realpath -m "${1:-build-windows/netcdf}")
[ -f "$folder/lib/libnetcdf.a" ] && [ -f "$folder/include/netcdf.h" ] && exit 0
fail() {
    echo "netcdf-windows.sh: $1 (see $log)" >&2
    exit 1
}
rm -rf "$folder/source" "$folder/include" "$folder/lib" "$folder/bin"
mkdir -p "$folder/source"
log=$folder/source/build.log
: >"$log"
# The version this machine's libnetcdf-dev has (less a binary-only rebuild's
# +bN, which the source package does not carry), so both builds use one NetCDF.
version=$(dpkg-query -W -f='${Version}' libnetcdf-dev 2>/dev/null || true)
version=${version%+b[0-9]*}
(cd "$folder/source" && { apt-get source -qq "netcdf${version:+=$version}" >>"$log" 2>&1 ||
    apt-get source -qq netcdf >>"$log" 2>&1; }) || fail "apt-get source netcdf failed"
tree=$(find "$folder/source" -mindepth 1 -maxdepth 1 -type d -name 'netcdf-*' | head -n 1)
[ -n "$tree" ] || fail "apt-get source netcdf left no source tree"

# NetCDF-4's data model (libsrc4) is built without HDF5 under it: 4.9.0 with
# ENABLE_NETCDF_4=OFF leaves libdispatch calling into libsrc4 all the same
# (NC_getglobalstate, NC4_inq_type_fixed_size: no link), and the API is then
# the one Debian's libnetcdf-dev has; a NetCDF-4 (HDF5) file is refused with
# NC_ENOTNC, "Unknown file format".  zlib and curl are looked for even when
# nothing uses them, and a NOTFOUND zlib would be linked in: both are kept out.
cmake -S "$tree" -B "$folder/source/build" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$folder" \
    -DBUILD_SHARED_LIBS=OFF -DENABLE_DLL=OFF -DNC_FIND_SHARED_LIBS=OFF \
    -DENABLE_NETCDF_4=ON -DENABLE_NETCDF4=ON -DENABLE_HDF5=OFF -DENABLE_NCZARR=OFF \
    -DENABLE_DAP=OFF -DENABLE_BYTERANGE=OFF -DENABLE_PLUGINS=OFF -DENABLE_LIBXML2=OFF \
    -DENABLE_TESTS=OFF -DENABLE_FILTER_TESTING=OFF -DENABLE_EXAMPLES=OFF -DBUILD_UTILITIES=OFF \
    -DENABLE_DOXYGEN=OFF -DENABLE_MMAP=OFF \
    -DCMAKE_DISABLE_FIND_PACKAGE_ZLIB=TRUE -DCMAKE_DISABLE_FIND_PACKAGE_CURL=TRUE \
    >>"$log" 2>&1 || fail "configuring NetCDF-C failed"
cmake --build "$folder/source/build" -j"$(nproc)" >>"$log" 2>&1 || fail "building NetCDF-C failed"
cmake --install "$folder/source/build" >>"$log" 2>&1 || fail "installing NetCDF-C failed"
[ -f "$folder/lib/libnetcdf.a" ] && [ -f "$folder/include/netcdf.h" ] || fail "no lib/libnetcdf.a after the build"
echo "Written: $folder/lib/libnetcdf.a (NetCDF-C $(sed -n 's/^#define NC_VERSION *"\(.*\)"/\1/p' "$folder/include/netcdf_meta.h"), classic formats)"
