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

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
