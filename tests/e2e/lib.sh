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
cp "$binary" "$scratch_root/wgnrain"
chmod 755 "$scratch_root/wgnrain"
binary="$scratch_root/wgnrain"

new_workspace() {  # sets work, run, tmp
    work=$(mktemp -d -p "$scratch_root")
    chmod 755 "$work"
    run="$work/run"
    tmp="$work/tmp"
    mkdir -m 777 "$run" "$tmp"
}

pass() { passed=$((passed + 1)); echo "ok: $1"; }
fail() { failed=$((failed + 1)); echo "FAIL: $1: $2"; }

# The expected text with its placeholders filled in, as a glob pattern:
# @WORK@ the working directory, @SCRATCH@ any temporary file of the run.
pattern_of() {
    local text=$1
    text=${text//\\/\\\\}
    text=${text//\*/\\*}
    text=${text//\?/\\?}
    text=${text//\[/\\[}
    text=${text//@WORK@/$run}
    text=${text//@SCRATCH@/$tmp/*}
    text=${text//@TMP@/$tmp}
    text=${text//@MONTH_UNIT@/1[01][0-9]}
    printf '%sx' "$text"
}

no_temporary_files() { [ -z "$(ls -A "$tmp")" ]; }

finish() {
    echo "$passed passed, $failed failed"
    [ "$failed" -eq 0 ]
}
