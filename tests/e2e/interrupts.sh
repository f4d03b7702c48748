#!/usr/bin/env bash
# Console interrupts and kill -9 through the real program: the report line,
# the exit status 128 + signal, no temporary file left, completed records kept.
#
#   interrupts.sh path/to/wgnrain
source "$(dirname "$0")/lib.sh"

CR=$'\r'
long_series() {  # whole calendar years from 1000 on, written to in.txt
    awk -v years="$1" 'BEGIN {
        srand(7)
        for (y = 1000; y < 1000 + years; y++) {
            days = (y % 4 == 0 && (y % 100 != 0 || y % 400 == 0)) ? 366 : 365
            for (d = 0; d < days; d++) print (rand() < 0.6 ? 0 : int(rand() * 300) / 10)
        }
    }' >in.txt
}

# start_run ANSWERS: starts the program in the background on a fresh
# workspace; answers come from a FIFO that stays open, so the program waits
# for more input instead of meeting the end.
start_run() {
    new_workspace
    mkfifo "$work/answers"
    (cd "$run" && eval "$setup")
    (cd "$run" && exec env TMPDIR="$tmp" "$binary" <"$work/answers" >"$work/stdout" 2>"$work/stderr") &
    pid=$!
    exec {feed}>"$work/answers"
    printf '%b' "$1" >&"$feed"
}

wait_until() {  # CONDITION: polls for up to 20 seconds
    for _ in $(seq 2000); do
        eval "$1" && return 0
        kill -0 "$pid" 2>/dev/null || return 1
        sleep 0.01
    done
    return 1
}

# finish_check NAME SIGNAL EVENT [AFTER]: sends the signal unless SENT is set
finish_check() {
    local name=$1 signal=$2 event=$3 after=${4:-true}
    [ -n "${sent:-}" ] || kill -s "$signal" "$pid"
    wait "$pid"
    local status=$?
    exec {feed}>&-
    local want_status want_err
    case $signal in
        INT) want_status=130 ;; QUIT) want_status=131 ;; HUP) want_status=129 ;; TERM) want_status=143 ;; KILL) want_status=137 ;;
    esac
    want_err=""
    [ -n "$event" ] && want_err="runlib: error (200): program aborting due to $event event$CR"$'\n'
    if [ "$status" -ne "$want_status" ]; then fail "$name" "exit status $status, expected $want_status"
    elif [ "$(cat "$work/stderr")" != "${want_err%$'\n'}" ]; then fail "$name" "stderr $(od -c "$work/stderr" | head -3)"
    elif ! no_temporary_files; then fail "$name" "temporary files left: $(ls "$tmp")"
    elif ! (cd "$run" && eval "$after"); then fail "$name" "files afterwards: $(ls -l "$run")"
    else pass "$name"; fi
}

# At a prompt of the dialogue.
setup=""
for pair in INT:control-C QUIT:control-BREAK HUP:menu-CLOSE TERM:unknown; do
    start_run 'in.txt\n'
    wait_until '[ -s "$work/stdout" ] && grep -q "Output Filename" "$work/stdout"' || fail "prompt" "never shown"
    finish_check "${pair%%:*} at the output prompt" "${pair%%:*}" "${pair#*:}"
done

# During the month analyses of a long series: the scratch files are open.
# A busy run is seen from outside by a watcher that signals as soon as the
# scratch files are open; a loaded machine can hide the short month phase
# from it, so a run that ends first is tried again (three times at most).
setup="long_series 1400"
for pair in INT:control-C TERM:unknown HUP:menu-CLOSE KILL:; do
    busy_signal "start_run ''" '"$pid" "${pair%%:*}" "$tmp"'
    if [ -n "$caught" ]; then
        sent=1 finish_check "${pair%%:*} during the month files" "${pair%%:*}" "${pair#*:}" \
            '[ ! -e out.txt ] && [ ! -e mean_pcp.sta ]'
    else
        fail "${pair%%:*} during the month files" "the run ended before its month files were seen, three times"
    fi
done

# While a table is being written: the report is complete and stays so.
setup="long_series 1400; mkfifo mean_pcp.sta"
start_run 'in.txt\nout.txt\n1000\n-99\n'
wait_until '[ -f "$run/out.txt" ] && [ "$(wc -l <"$run/out.txt")" -eq 37 ]' || fail "table" "report not completed"
sleep 0.2
finish_check "TERM while a table is written" TERM unknown \
    '[ "$(wc -l <out.txt)" -eq 37 ] && tail -c 50 out.txt | grep -q "(wgnrain: weather generator precipitation input)"'

finish
