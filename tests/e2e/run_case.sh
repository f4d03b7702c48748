#!/usr/bin/env bash
# Runs wgnrain on one end-to-end case folder and compares every output byte.
#
#   run_case.sh path/to/wgnrain path/to/case
#   run_case.sh path/to/wgnrain.exe path/to/case path/to/launch.exe    (Windows, under Wine)
#
# A case folder holds:
#   stdin              the answers of the dialogue, fed to standard input
#   args               optional: the program's arguments, one a line
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
# In Windows mode expected/stdout.windows, stderr.windows and status.windows
# take the place of their plain files where they exist, and every line end of
# the expected texts is CR LF (the Windows programs write their texts so).
# The run gets a fresh working directory and a fresh temporary folder, which
# must be empty again afterwards.
#
# Windows mode runs the exe under Wine through the launcher, which gives it
# its temporary folder (TMP) and records the full 32-bit exit status: a
# failure's status there is C0000000 plus the number that expected/status
# holds.  "@WORK@/" stands for the working folder as Windows names it
# (Z:\...\run\).  Neither that folder nor the prefix's own temporary folder
# may hold a scratch file afterwards.
set -u
binary=$(realpath "$1")
case_dir=$(realpath "$2")
launcher=${3:+$(realpath "$3")}
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

arguments=()
[ -f "$case_dir/args" ] && mapfile -t arguments <"$case_dir/args"
expected() {  # the expected file of this system: name.windows in Windows mode, where it exists
    if [ -n "$launcher" ] && [ -f "$case_dir/expected/$1.windows" ]; then echo "$case_dir/expected/$1.windows"; else
        echo "$case_dir/expected/$1"; fi
}
expected_status=0
[ -f "$(expected status)" ] && expected_status=$(cat "$(expected status)")
if [ -n "$launcher" ]; then
    mapfile -t windows_name < <(winepath -w "$run" "$work/tmp" "$work/status" "$binary")
    # The prefix's own temporary folder, as it was: others' files may be there.
    prefix_files() { ls -A "$WINEPREFIX"/drive_c/users/*/Temp 2>/dev/null | grep '^wgnrain-' | sort || true; }
    prefix_before=$(prefix_files)
    (cd "$run" && env -u TMPDIR wine "$launcher" "${windows_name[2]}" "TMP=${windows_name[1]}" "TEMP=${windows_name[1]}" \
        -- "${windows_name[3]}" "${arguments[@]}" <"$case_dir/stdin" >"$work/stdout" 2>"$work/stderr")
    status=$(tr -d '\r\n' <"$work/status")
    case $expected_status in
        0 | 2 | 3) expected_status=$(printf '%08X' "$expected_status") ;;  # success, arguments, math
        *) expected_status=$(printf '%08X' $((0xC0000000 + expected_status))) ;;
    esac
else
    (cd "$run" && TMPDIR="$work/tmp" "$binary" "${arguments[@]}" <"$case_dir/stdin" >"$work/stdout" 2>"$work/stderr")
    status=$?
fi

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect_text() {  # expected-file actual-file what
    local expected="$work/expected.$3" text=""
    [ -f "$1" ] && text=$(cat "$1"; echo x)
    text=${text%x}
    if [ -n "$launcher" ]; then text=${text//@WORK@\//"${windows_name[0]}\\"}; else text=${text//@WORK@/"$run"}; fi
    printf '%s' "$text" >"$expected"
    [ -n "$launcher" ] && perl -0pi -e 's/(?<!\r)\n/\r\n/g' "$expected"
    cmp -s "$expected" "$2" || { fail "$3 differs"; diff <(od -c "$expected") <(od -c "$2") | head -20; }
}

[ "$status" = "$expected_status" ] || fail "exit status $status, expected $expected_status"
expect_text "$(expected stdout)" "$work/stdout" stdout
expect_text "$(expected stderr)" "$work/stderr" stderr

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
if [ -n "$launcher" ]; then  # nor in the prefix's own temporary folder
    # A test beside this one that runs a program at a console (without a TMP
    # of its own) has its files there for a moment: a file left by this run
    # is one new since it started and still there five seconds on.
    left=$(comm -13 <(printf '%s\n' "$prefix_before") <(prefix_files) | sed '/^$/d')
    for _ in 1 2 3 4 5; do
        [ -z "$left" ] && break
        sleep 1
        left=$(comm -12 <(printf '%s\n' "$left") <(prefix_files))
    done
    [ -z "$left" ] || fail "temporary files left in the prefix: $left"
fi

[ "$failures" -eq 0 ] && echo "ok: $(basename "$case_dir")"
exit $((failures > 0))
