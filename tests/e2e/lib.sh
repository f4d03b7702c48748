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

lib_dir=$(dirname "${BASH_SOURCE[0]}")

# busy_signal START WATCHER-ARGUMENTS: runs START (which starts a run of a long
# series fed from $feed and sets pid), has signal_when_busy.py signal it during
# its month files, and sends the answers once the watcher watches.  A loaded
# machine can hide the short month phase from the watcher, so a run that ends
# first is tried again, three times at most.  WATCHER-ARGUMENTS is evaluated
# after START.  Sets caught when the signal was sent.
busy_signal() {
    local start=$1 arguments=$2 attempt watcher
    caught=""
    for attempt in 1 2 3; do
        eval "$start"
        eval "local watcher_arguments=($arguments)"
        WATCHER_READY="$work/watching" python3 "$lib_dir/signal_when_busy.py" "${watcher_arguments[@]}" &
        watcher=$!
        for _ in $(seq 1000); do [ -e "$work/watching" ] && break; sleep 0.01; done
        printf 'in.txt\nout.txt\n1000\n-99\n' >&"$feed"
        if wait "$watcher"; then
            caught=1
            return
        fi
        exec {feed}>&-
        wait "$pid"
    done
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
