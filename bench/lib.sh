# Helpers of the benchmark scripts (sourced): the repository's top, a
# Release build made when the script's programs are missing, and a scratch
# folder removed at the end.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# ensure_built BUILD_DIR PROGRAM: configures and builds BUILD_DIR unless
# PROGRAM (relative to it) is there already.
ensure_built() {
    [ -x "$1/$2" ] && return
    cmake -S "$top" -B "$1" -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$1" -j"$(nproc)" >/dev/null
}

# median: the middle of the numbers on standard input, one a line.
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# batch_seconds BUILD LIST OUTDIR: the wall-clock seconds of one wgnrain-batch
# -j 2 run of LIST into OUTDIR, which must not exist (its status is the
# benchmark's to check).  Each run gets a folder of its own and nothing is
# deleted until the script ends: ext4 passes over the inodes of files deleted
# in the last minutes when it makes new ones, which after a deleted folder of
# thousands of files costs more than the batch itself.
batch_seconds() {
    local start end
    [ ! -e "$3" ] || { echo "batch_seconds: $3 exists" >&2; exit 1; }
    start=$(date +%s%N)
    "$1/wgnrain-batch" "$2" -o "$3" -j 2 >/dev/null 2>&1 || true
    end=$(date +%s%N)
    awk -v ns=$((end - start)) 'BEGIN { printf "%.3f", ns / 1e9 }'
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
