# Helpers of the end-to-end scripts: a fresh working directory and TMPDIR per
# run, and one line per check.
set -u
binary=$(realpath "$1")
passed=0
failed=0
scratch_root=$(mktemp -d)
chmod 755 "$scratch_root"
trap 'rm -rf "$scratch_root"' EXIT
# A copy of the program that an unprivileged user may run too.
cp "$binary" "$scratch_root/"
binary="$scratch_root/$(basename "$binary")"
chmod 755 "$binary"

new_workspace() {  # sets work, run, tmp, and run_shown and tmp_shown as reports show them
    work=$(mktemp -d -p "$scratch_root")
    chmod 755 "$work"
    run="$work/run"
    tmp="$work/tmp"
    mkdir -m 777 "$run" "$tmp"
    run_shown=$run
    tmp_shown=$tmp
}

pass() { passed=$((passed + 1)); echo "ok: $1"; }
fail() { failed=$((failed + 1)); echo "FAIL: $1: $2"; }

glob_escaped() {
    local text=$1
    text=${text//\\/\\\\}
    text=${text//\*/\\*}
    text=${text//\?/\\?}
    text=${text//\[/\\[}
    printf '%s' "$text"
}

# The expected text with its placeholders filled in, as a glob pattern:
# @WORK@ the working directory, @SCRATCH@ any temporary file of the run,
# @ANY@ any text.
pattern_of() {
    local text separator=/ shown_run shown_tmp
    text=$(glob_escaped "$1"; echo x)
    text=${text%x}
    shown_run=$(glob_escaped "$run_shown")
    shown_tmp=$(glob_escaped "$tmp_shown")
    [ "$run_shown" != "$run" ] && separator='\\'
    # Quoted, so that the escapes of the names stay as they are.
    text=${text//@WORK@/"$shown_run"}
    text=${text//@SCRATCH@/"$shown_tmp$separator"*}
    text=${text//@TMP@/"$shown_tmp"}
    text=${text//@ANY@/*}
    text=${text//@MONTH_UNIT@/1[01][0-9]}
    printf '%sx' "$text"
}

no_temporary_files() { [ -z "$(ls -A "$tmp")" ]; }

finish() {
    echo "$passed passed, $failed failed"
    [ "$failed" -eq 0 ]
}
