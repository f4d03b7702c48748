#!/usr/bin/env bash
# The Windows build under Wine: every failure Wine lets us reach, with the
# system's own message line, the full 32-bit exit status, the files left
# behind, and no temporary file; then the console events.
#
#   failures_windows.sh path/to/wgnrain.exe path/to/launch.exe path/to/console_event.exe
#
# Needs WINEPREFIX (an initialised prefix) and wine on the PATH.
source "$(dirname "$0")/lib.sh"
# An immutable file left by a failed check must not stop the clean-up.
trap 'chattr -R -f -i "$scratch_root" 2>/dev/null; rm -rf "$scratch_root"' EXIT
cp "$2" "$3" "$scratch_root/"
launcher="$scratch_root/$(basename "$2")"
event_helper="$scratch_root/$(basename "$3")"
mapfile -t shown < <(winepath -w "$scratch_root" "$binary" "$launcher" "$event_helper")
root_shown=${shown[0]}
binary_shown=${shown[1]}
launcher_shown=${shown[2]}
event_helper_shown=${shown[3]}
# The prefix's own temporary folder, used by runs that are not given one.
prefix_temp=$(ls -d "$WINEPREFIX"/drive_c/users/*/Temp | head -1)

ONE_YEAR=$(printf '1.0\n%.0s' $(seq 365))
CR=$'\r'

windows_workspace() {  # new_workspace, with the Windows names of its folders
    new_workspace
    local leaf=${work#"$scratch_root"/}
    run_shown="$root_shown\\$leaf\\run"
    tmp_shown="$root_shown\\$leaf\\tmp"
    status_shown="$root_shown\\$leaf\\status"
}

expect() {  # NAME STATUS EXPECTED-STDERR AFTER: compares one finished run (STATUS a pattern)
    local name=$1 status=$2 expected=$3 after=$4
    local got want="" actual pattern
    got=$(tr -d '\r\n' <"$work/status" 2>/dev/null)
    if [ -n "$expected" ]; then
        while IFS= read -r line; do want+="$line$CR"$'\n'; done <<<"$expected"
    fi
    actual=$(cat "$work/stderr"; echo x)
    actual=${actual%x}
    pattern=$(pattern_of "$want")
    pattern=${pattern%x}
    if [[ "$got" != $status ]]; then fail "$name" "exit status ${got:-none}, expected $status ($(cat "$work/stderr"))"
    elif [[ "$actual" != $pattern ]]; then fail "$name" "stderr $(od -c "$work/stderr" | head -5)"
    elif ! no_temporary_files; then fail "$name" "temporary files left: $(ls -A "$tmp")"
    elif ! (cd "$run" && eval "$after"); then fail "$name" "files afterwards: $(ls "$run")"
    else pass "$name"; fi
}

# check NAME STATUS ANSWERS STDERR [SETUP] [AFTER] [OPTIONS]
#   STATUS   the full exit status, eight hexadecimal digits
#   ANSWERS  standard input (printf %b escapes allowed)
#   STDERR   expected standard error, lines separated by \n (each gets CR LF);
#            @WORK@ is the working folder as Windows names it
#   SETUP    shell code run in the working folder before the run; it may
#            touch ../stdout_full to send standard output to /dev/full
#   AFTER    shell code that must succeed in the working folder afterwards
#   OPTIONS  more launcher options, evaluated ("--hold in.txt", "TMP=...");
#            the run's temporary folder is its own unless an option says otherwise
check() {
    local name=$1 status=$2 answers=$3 expected=$4 setup=${5:-} after=${6:-true} options=${7:-}
    windows_workspace
    (cd "$run" && eval "$setup")
    local more=() output="$work/stdout"
    eval "more=($options)"
    [ -f "$work/stdout_full" ] && output=/dev/full
    # A run that leaves no status never ran: the launcher could not start
    # the program, or Wine the launcher (short of something for a moment,
    # with many runs beside it).  It is started again, twice at most; its
    # folder is as set up, since the program never ran.
    local attempt
    for attempt in 1 2 3; do
        printf '%b' "$answers" | (cd "$run" && env -u TMPDIR wine "$launcher" "$status_shown" "TMP=$tmp_shown" \
            "TEMP=$tmp_shown" "${more[@]}" -- "$binary_shown" >"$output" 2>"$work/stderr")
        [ -f "$work/status" ] && break
    done
    expect "$name" "$status" "$4" "$after"
}

input() { printf '%s\n' "$ONE_YEAR" >in.txt; }
no_outputs='[ ! -e out.txt ] && [ ! -e mean_pcp.sta ] && [ ! -e totalpcp.sta ]'

# --- the dialogue (unit 5) ---
check "letters for the year" C0000040 'in.txt\nout.txt\nabc\n' \
    'runlib: severe (64): input conversion error, unit 5, file CONIN$'
check "malformed list answer" C000003B 'in.txt\nout.txt\n(1990\n' \
    'runlib: severe (59): list-directed I/O syntax error, unit 5, file CONIN$'
check "end of input at the input name" C0000018 '' \
    'runlib: severe (24): end-of-file during read, unit 5, file CONIN$'
check "Ctrl-Z at the NoData value" C0000018 'in.txt\nout.txt\n1990\n\x1a\r\n5\n' \
    'runlib: severe (24): end-of-file during read, unit 5, file CONIN$'
check "answers with CR LF, a Ctrl-Z inside the input file" 00000000 'in.txt\r\nout.txt\r\n1990\r\n-99\r\n' \
    'runlib: warning: lines with more than one value: 1, first on line 100; only the first value of a line is read (a decimal comma, or a date before the value?)' \
    'input; sed -i "100s/.*/1.0 \x1a/" in.txt' '[ "$(wc -l <out.txt)" -eq 37 ] && grep -q "Number of Records = *365" out.txt'

# --- names and connecting the input (unit 10) ---
check "input in a missing folder" C000001D 'nodir/in.txt\nout.txt\n1990\n-99\n' \
    'runlib: Path not found.
runlib: severe (29): file not found, unit 10, file @WORK@\nodir\in.txt' '' "$no_outputs"
check "input name is a folder" C0000009 'sub\nout.txt\n1990\n-99\n' \
    'runlib: Access denied.
runlib: severe (9): permission to access file denied, unit 10, file @WORK@\sub' 'mkdir sub' "$no_outputs"
check "input held open without sharing" C000001E 'in.txt\nout.txt\n1990\n-99\n' \
    'runlib: Sharing violation.
runlib: severe (30): open failure, unit 10, file @WORK@\in.txt' input "$no_outputs" '--hold in.txt'
check "drive that does not exist" C000002A 'Q:\\in.txt\nout.txt\n1990\n-99\n' \
    'runlib: severe (42): no such device, unit 10, file Q:\in.txt' '' "$no_outputs"
for forbidden in 'a<b.txt' 'a>b.txt' 'a|b.txt' 'what?.txt' 'all*.txt' 'ab:c.txt'; do
    check "character no name may hold: $forbidden" C000002B "$forbidden\nout.txt\n1990\n-99\n" \
        "runlib: severe (43): file name specification error, unit 10, file @WORK@\\$forbidden" '' "$no_outputs"
done
long=$(printf 'n%.0s' $(seq 300))
check "name longer than 255 characters, refused whole" C000002B "$long\nout.txt\n1990\n-99\n" \
    "runlib: severe (43): file name specification error, unit 10, file @WORK@\\$long" '' "$no_outputs"
check "input name never given" C000002B ',\nout.txt\n1990\n-99\n' \
    'runlib: severe (43): file name specification error, unit 10, file ' '' "$no_outputs"
check "missing input file is created empty" C0000018 'typo.txt\nout.txt\n1990\n-99\n' \
    'runlib: severe (24): end-of-file during read, unit 10, file @WORK@\typo.txt' '' \
    "[ -f typo.txt ] && [ ! -s typo.txt ] && [ ! -e out.txt ]"
check "header line first" C0000040 'in.txt\nout.txt\n1990\n-99\n' \
    'runlib: severe (64): input conversion error, unit 10, file @WORK@\in.txt' \
    '{ echo "date value"; echo 1.0; } >in.txt' "$no_outputs"
check "malformed first record" C000003B 'in.txt\nout.txt\n1990\n-99\n' \
    'runlib: severe (59): list-directed I/O syntax error, unit 10, file @WORK@\in.txt' \
    '{ echo "(1.0"; echo 1.0; } >in.txt' "$no_outputs"
check "730 values from a leap year" C0000018 'in.txt\nout.txt\n2000\n-99\n' \
    'runlib: the input file holds 730 daily values, but its 2 calendar years from 2000 need 731
runlib: severe (24): end-of-file during read, unit 10, file @WORK@\in.txt' \
    'printf "1.0\n%.0s" $(seq 730) >in.txt' "$no_outputs"
check "names with slashes and accented letters (the console's code page)" 00000000 \
    'data/caf\xe9.txt\nout/r\xe9sultat.txt\n1990\n-99\n' '' 'mkdir data out; input; mv in.txt data/café.txt' \
    '[ "$(wc -l <out/résultat.txt)" -eq 37 ] && [ -s data/café.txt ]'
check "table names in any letter case are refused" 00000000 \
    'MEAN_PCP.STA\nin.txt\nTotalPcp.Sta\nout.txt\n1990\n-99\n' '' input \
    '[ "$(grep -c "Please choose another" ../stdout)" -eq 2 ] && [ "$(wc -l <out.txt)" -eq 37 ]'

# --- the month files (units 101 ... 112) ---
check "fewer than 365 values" C0000018 'in.txt\nout.txt\n1990\n-99\n' \
    'runlib: severe (24): end-of-file during read, unit 101, file @SCRATCH@' \
    'printf "1.0\n%.0s" $(seq 364) >in.txt' "$no_outputs"
check "missing temporary folder" C000001D 'in.txt\nout.txt\n1990\n-99\n' \
    'runlib: Path not found.
runlib: severe (29): file not found, unit 101, file @WORK@\gone\@ANY@' input "$no_outputs" 'TMP="$run_shown\\gone"'
check "infinite values: square root of a NaN" 00000003 'in.txt\nout.txt\n1990\n-99\n' 'runlib: warning: infinite values: 1, first on line 1; no statistic of their months can be computed

run-time error M6201: MATH
- sqrt: DOMAIN error' 'input; sed -i "1s/.*/Infinity/" in.txt' "$no_outputs"
check "values too wide for the month file" C0000040 'in.txt\nout.txt\n1990\n-99\n' \
    'runlib: warning: values too large for the month files (F12.2): 1, first on line 1: 1e+10; the run will end with a failure on them
runlib: severe (64): input conversion error, unit 101, file @SCRATCH@' \
    'input; sed -i "1s/.*/1e10/" in.txt' "$no_outputs"

# --- the outputs ---
check "report on a full disk" C0000026 'in.txt\n/dev/full\n1990\n-99\n' \
    'runlib: Disk full.
runlib: severe (38): error during write, unit 400, file Z:\dev\full' input \
    '[ ! -e mean_pcp.sta ] && [ ! -e totalpcp.sta ]'
check "table in a full location" C0000026 'in.txt\nout.txt\n1990\n-99\n' \
    'runlib: Disk full.
runlib: severe (38): error during write, unit 202, file @WORK@\totalpcp.sta' \
    'input; ln -s /dev/full totalpcp.sta' \
    '[ "$(wc -l <out.txt)" -eq 37 ] && [ "$(wc -l <mean_pcp.sta)" -eq 8 ]'
check "console output on a full disk" C0000026 'in.txt\nout.txt\n1990\n-99\n' \
    'runlib: Disk full.
runlib: severe (38): error during write, unit 6, file CONOUT$' 'input; touch ../stdout_full'
# Wine lets root write any file, whatever its attributes; an immutable file
# is one that even root may only read.
if chattr -f +i "$scratch_root" 2>/dev/null && chattr -f -i "$scratch_root"; then
    check "read-only report" C000002F 'in.txt\nout.txt\n1990\n-99\n' \
        'runlib: severe (47): write to READONLY file, unit 400, file @WORK@\out.txt' \
        'input; echo old >out.txt; chattr +i out.txt' \
        '[ "$(cat out.txt)" = old ] && chattr -i out.txt && [ ! -e mean_pcp.sta ]'
else
    echo "skipped: read-only report (no immutable files on this file system)"
fi

# --- console events delivered in-process: the report, the status, the files ---
# (Wine cannot send Ctrl-Break, a closed console or a logoff from outside.)
for row in "1 control-BREAK 00000001" "2 menu-CLOSE 00000002" "5 unknown 00000005" "6 unknown 00000006" \
    "0 control-C C000013A"; do
    read -r event event_name status <<<"$row"
    windows_workspace
    (cd "$run" && env -u TMPDIR wine "$launcher" "$status_shown" "TMP=$tmp_shown" -- "$event_helper_shown" "$event" \
        </dev/null >"$work/stdout" 2>"$work/stderr")
    expect "console event $event ($event_name)" "$status" "runlib: error (200): program aborting due to $event_name event" \
        '[ "$(cat events.txt)" = " completed record$CR" ] && [ "$(ls)" = events.txt ]'
done

# --- Ctrl-C from outside: Wine turns SIGINT into the console's Ctrl-C event ---
# The launcher starts the program and records its status; the signal goes to
# the program's own process, found by its command line.  These runs use the
# prefix's own temporary folder.
leftovers() { ls -A "$prefix_temp" | grep '^wgnrain-'; }
program_pid() { pgrep -f -x "$(printf '%s' "$binary_shown" | sed 's/[][\\.^$*]/\\&/g')"; }
start_launched() {  # SETUP: a run fed from a FIFO that stays open
    windows_workspace
    (cd "$run" && eval "$1")
    mkfifo "$work/answers"
    (cd "$run" && exec env -u TMPDIR wine "$launcher" "$status_shown" -- "$binary_shown" \
        <"$work/answers" >"$work/stdout" 2>"$work/stderr") &
    pid=$!
    exec {feed}>"$work/answers"
}
ended() {  # NAME STATUS STDERR AFTER: waits for the run and checks it
    wait "$pid"
    exec {feed}>&-
    for _ in $(seq 500); do [ -z "$(leftovers)" ] && break; sleep 0.01; done
    if [ -n "$(leftovers)" ]; then
        fail "$1" "temporary files left in the prefix: $(leftovers)"
        return
    fi
    expect "$@"
}

start_launched input
printf 'in.txt\n' >&"$feed"
for _ in $(seq 2000); do grep -q "Output Filename" "$work/stdout" 2>/dev/null && break; sleep 0.01; done
kill -INT "$(program_pid)"
ended "Ctrl-C at the output prompt" C000013A "runlib: error (200): program aborting due to control-C event" \
    '[ ! -e out.txt ]'

# During the month files of a long series: a watcher signals as soon as a
# scratch file appears in the temporary folder.
# 1400 whole calendar years from 1000: 365 days each and the 339 leap days.
start_long() { start_launched "awk 'BEGIN { for (i = 0; i < 1400 * 365 + 339; i++) print (i % 3) * 1.5 }' >in.txt"; }
for row in "INT C000013A" "KILL *"; do
    read -r kind status <<<"$row"
    busy_signal start_long '--named "$pid" "$binary_shown" "$kind" "$prefix_temp"'
    report="runlib: error (200): program aborting due to control-C event"
    [ "$kind" = KILL ] && report=""
    if [ -n "$caught" ]; then
        ended "$kind during the month files" "$status" "$report" '[ ! -e out.txt ] && [ ! -e mean_pcp.sta ]'
    else
        fail "$kind during the month files" "the run ended before its month files were seen, three times"
    fi
done

finish
