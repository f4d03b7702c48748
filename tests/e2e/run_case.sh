#!/usr/bin/env bash
# Runs wgnrain on one end-to-end case folder and compares every output byte.
#
#   run_case.sh path/to/wgnrain path/to/case
#
# A case folder holds:
#   stdin              the answers of the dialogue, fed to standard input
#   files/             files placed in the working directory before the run
#                      (the input series, a pre-existing report, ...)
#   copy               optional lines "SOURCE TARGET": a file of the repository
#                      (path from its top) copied into the working directory;
#                      it must be unchanged afterwards
#   expected/stdout    expected standard output
#   expected/stderr    expected standard error (absent: empty)
#   expected/status    expected exit status (absent: 0)
#   expected/files/    every file the working directory must hold afterwards,
#                      byte for byte; no other file may be there
# "@WORK@" in the expected texts stands for the working directory's full path.
# The run gets a fresh working directory and a fresh TMPDIR, which must be
# empty again afterwards.
set -u
binary=$(realpath "$1")
case_dir=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/run" "$work/tmp"
run="$work/run"
[ -d "$case_dir/files" ] && cp -R "$case_dir/files/." "$run/"
repo=$(realpath "$(dirname "$0")/../..")
copied=()
if [ -f "$case_dir/copy" ]; then
    while read -r source target; do
        cp "$repo/$source" "$run/$target"
        copied+=("./$target:$repo/$source")
    done <"$case_dir/copy"
fi

(cd "$run" && TMPDIR="$work/tmp" "$binary" <"$case_dir/stdin" >"$work/stdout" 2>"$work/stderr")
status=$?

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect_text() {  # expected-file actual-file what
    local expected="$work/expected.$3"
    if [ -f "$1" ]; then sed "s|@WORK@|$run|g" "$1" >"$expected"; else : >"$expected"; fi
    cmp -s "$expected" "$2" || { fail "$3 differs"; diff <(od -c "$expected") <(od -c "$2") | head -20; }
}

expected_status=0
[ -f "$case_dir/expected/status" ] && expected_status=$(cat "$case_dir/expected/status")
[ "$status" -eq "$expected_status" ] || fail "exit status $status, expected $expected_status"
expect_text "$case_dir/expected/stdout" "$work/stdout" stdout
expect_text "$case_dir/expected/stderr" "$work/stderr" stderr

expected_files=$( (cd "$case_dir/expected/files" 2>/dev/null && find . -type f | sort) )
actual_files=$( (cd "$run" && find . -type f | sort) )
for entry in "${copied[@]}"; do
    cmp -s "$run/${entry%%:*}" "${entry#*:}" || fail "${entry%%:*} changed"
    actual_files=$(grep -v -x -F "${entry%%:*}" <<<"$actual_files")
done
[ "$expected_files" = "$actual_files" ] || fail "files differ: expected [$expected_files] got [$actual_files]"
for f in $expected_files; do
    [ -f "$run/$f" ] && { cmp -s "$case_dir/expected/files/$f" "$run/$f" || {
        fail "$f differs"; diff "$case_dir/expected/files/$f" "$run/$f" | head -10; }; }
done
[ -z "$(ls -A "$work/tmp")" ] || fail "temporary files left: $(ls -A "$work/tmp")"

[ "$failures" -eq 0 ] && echo "ok: $(basename "$case_dir")"
exit $((failures > 0))
