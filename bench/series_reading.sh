#!/usr/bin/env bash
# wgnrain-series against wgnrain: one generated 30-year csv record of every
# variable (as bench/record.sh makes them), read by wgnrain-series into the
# series wgnrain reads, against wgnrain's own run on that series.  The two
# run in pairs, one right after the other, REPEAT times (default 201); the
# medians and the median of the pairs' ratios are printed.
#
#   bench/series_reading.sh [BUILD_DIR] [REPEAT]
source "$(dirname "$0")/lib.sh"
build=$(realpath "${1:-$top/build-release}")
repeat=${2:-201}
ensure_built "$build" bench/paired
cd "$work"

python3 - "$top/bench" <<'PY'
import sys

sys.path.insert(0, sys.argv[1])
from series import write_record  # noqa: E402

write_record("record.csv", "record.txt", 1991, 30, 7)
PY

series=("$build/wgnrain-series" "$work/record.csv" --format csv --nodata -99 -o "$work/series.txt")
"${series[@]}" >answers 2>/dev/null
pair=$("$build/bench/paired" "$repeat" "$work/answers" "$work" "${series[@]}" -- "$build/wgnrain" 2>/dev/null)
read -r a b ratio <<<"$(sed 's/[a-z_]*=//g' <<<"$pair")"
printf 'a 30-year csv record of every variable (10,958 rows), %d pairs:\n' "$repeat"
printf '  wgnrain-series, the record read into a series : %7.2f ms\n' "$a"
printf '  wgnrain on that series                        : %7.2f ms\n' "$b"
printf '  median of the pairs'"'"' ratios                   : %7.2f\n' "$ratio"
