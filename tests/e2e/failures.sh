#!/usr/bin/env bash
# Every failure a run can reach, provoked through the real program: exact
# standard error, exit status, the files left behind, and no temporary file.
#
#   failures.sh path/to/wgnrain path/to/libno_tmpfile.so path/to/wgnrain_dynamic
# (the last: the same program linked dynamically, for the runs with a
# preloaded library, which cannot reach into a static program)
source "$(dirname "$0")/lib.sh"
no_tmpfile=$(realpath "$2")
dynamic=$(realpath "${3:-$1}")

ONE_YEAR=$(printf '1.0\n%.0s' $(seq 365))
CR=$'\r'

# check NAME STATUS ANSWERS STDERR [SETUP] [AFTER] [USER]
#   ANSWERS  standard input (printf %b escapes allowed)
#   STDERR   expected standard error, lines separated by \n (each gets CR LF)
#   SETUP    shell code run in the working directory before the run
#   AFTER    shell code that must succeed in the working directory afterwards
#   USER     run as this user instead of root
check() {
    local name=$1 status=$2 answers=$3 expected=$4 setup=${5:-} after=${6:-true} user=${7:-}
    new_workspace
    (cd "$run" && eval "$setup")
    local prefix=()
    [ -n "$user" ] && prefix=(setpriv --reuid="$user" --regid=nogroup --clear-groups)
    # Setups leave these in the workspace: another TMPDIR, a closed or full
    # standard output, a closed standard error, a resource limit for the
    # program ("-n 10", "-v 40000"), a library to preload.
    local tmpdir=$tmp limit="-c 0"
    [ -f "$work/tmpdir" ] && tmpdir=$(cat "$work/tmpdir")
    [ -f "$work/ulimit" ] && limit=$(cat "$work/ulimit")
    local program=$binary
    if [ -f "$work/preload" ]; then
        prefix=(env LD_PRELOAD="$(cat "$work/preload")" ASAN_OPTIONS=verify_asan_link_order=0)
        program=$dynamic
    fi
    if [ -f "$work/close_stdout" ]; then
        printf '%b' "$answers" |
            (cd "$run" && ulimit $limit && TMPDIR="$tmpdir" "${prefix[@]}" "$program" >&- 2>"$work/stderr")
    elif [ -f "$work/stdout_full" ]; then
        printf '%b' "$answers" |
            (cd "$run" && ulimit $limit && TMPDIR="$tmpdir" "${prefix[@]}" "$program" >/dev/full 2>"$work/stderr")
    elif [ -f "$work/close_stderr" ]; then
        : >"$work/stderr"
        printf '%b' "$answers" |
            (cd "$run" && ulimit $limit && TMPDIR="$tmpdir" "${prefix[@]}" "$program" >"$work/stdout" 2>&-)
    else
        printf '%b' "$answers" |
            (cd "$run" && ulimit $limit && TMPDIR="$tmpdir" "${prefix[@]}" "$program" >"$work/stdout" 2>"$work/stderr")
    fi
    local got=$?
    local want=""
    if [ -n "$expected" ]; then
        while IFS= read -r line; do want+="$line$CR"$'\n'; done <<<"$expected"
    fi
    local actual
    actual=$(cat "$work/stderr"; echo x)
    actual=${actual%x}
    local pattern
    pattern=$(pattern_of "$want")
    pattern=${pattern%x}
    if [ "$got" -ne "$status" ]; then fail "$name" "exit status $got, expected $status ($(cat "$work/stderr"))"
    elif [[ "$actual" != $pattern ]]; then fail "$name" "stderr $(od -c "$work/stderr" | head -5)"
    elif ! no_temporary_files; then fail "$name" "temporary files left"
    elif ! (cd "$run" && eval "$after"); then fail "$name" "files afterwards: $(ls "$run")"
    else pass "$name"; fi
}

input() { printf '%s\n' "$ONE_YEAR" >in.txt; }
no_outputs='[ ! -e out.txt ] && [ ! -e mean_pcp.sta ] && [ ! -e totalpcp.sta ]'

# --- the dialogue (unit 5) ---
check "letters for the year" 64 'in.txt\nout.txt\nabc\n' \
    'runlib: severe (64): input conversion error, unit 5, file CONIN$'
check "malformed NoData answer" 64 'in.txt\nout.txt\n1990\n12.5mm\n' \
    'runlib: severe (64): input conversion error, unit 5, file CONIN$'
check "malformed list answer" 59 'in.txt\nout.txt\n(1990\n' \
    'runlib: severe (59): list-directed I/O syntax error, unit 5, file CONIN$'
check "end of input at the input name" 24 '' \
    'runlib: severe (24): end-of-file during read, unit 5, file CONIN$'
check "end of input at the output name" 24 'in.txt\n' \
    'runlib: severe (24): end-of-file during read, unit 5, file CONIN$'
check "end of input at the year" 24 'in.txt\nout.txt\n   \n' \
    'runlib: severe (24): end-of-file during read, unit 5, file CONIN$'
check "Ctrl-Z at the NoData value" 24 'in.txt\nout.txt\n1990\n\x1a\r\n5\n' \
    'runlib: severe (24): end-of-file during read, unit 5, file CONIN$'
check "last answer without a line end" 0 'in.txt\nout.txt\n1990\n-99' '' input '[ -s out.txt ]'

# --- connecting and reading the input (unit 10) ---
check "input in a missing directory" 29 'nodir/in.txt\nout.txt\n1990\n-99\n' \
    'runlib: No such file or directory
runlib: severe (29): file not found, unit 10, file @WORK@/nodir/in.txt' '' "$no_outputs"
check "input name is a directory" 30 'sub\nout.txt\n1990\n-99\n' \
    'runlib: Is a directory
runlib: severe (30): open failure, unit 10, file @WORK@/sub' 'mkdir sub' "$no_outputs"
long=$(printf 'n%.0s' $(seq 300))
check "name longer than 255 characters, refused whole" 43 "$long\nout.txt\n1990\n-99\n" \
    "runlib: severe (43): file name specification error, unit 10, file @WORK@/$long" '' "$no_outputs"
check "input name never given" 43 ',\nout.txt\n1990\n-99\n' \
    'runlib: severe (43): file name specification error, unit 10, file ' '' "$no_outputs"
check "missing input file is created empty" 24 'typo.txt\nout.txt\n1990\n-99\n' \
    'runlib: severe (24): end-of-file during read, unit 10, file @WORK@/typo.txt' '' \
    "[ -f typo.txt ] && [ ! -s typo.txt ] && [ ! -e out.txt ]"
check "header line first" 64 'in.txt\nout.txt\n1990\n-99\n' \
    'runlib: severe (64): input conversion error, unit 10, file @WORK@/in.txt' \
    '{ echo "date value"; echo 1.0; } >in.txt' "$no_outputs"
check "malformed first record" 59 'in.txt\nout.txt\n1990\n-99\n' \
    'runlib: severe (59): list-directed I/O syntax error, unit 10, file @WORK@/in.txt' \
    '{ echo "(1.0"; echo 1.0; } >in.txt' "$no_outputs"
check "input that cannot be read" 39 '/proc/self/mem\nout.txt\n1990\n-99\n' \
    'runlib: Input/output error
runlib: severe (39): error during read, unit 10, file /proc/self/mem' '' "$no_outputs"
check "fewer than 365 values" 24 'in.txt\nout.txt\n1990\n-99\n' \
    'runlib: severe (24): end-of-file during read, unit 101, file @SCRATCH@' \
    'printf "1.0\n%.0s" $(seq 364) >in.txt' "$no_outputs"
check "730 values from a leap year" 24 'in.txt\nout.txt\n2000\n-99\n' \
    'runlib: the input file holds 730 daily values, but its 2 calendar years from 2000 need 731
runlib: severe (24): end-of-file during read, unit 10, file @WORK@/in.txt' \
    'printf "1.0\n%.0s" $(seq 730) >in.txt' "$no_outputs"

# --- the month analyses ---
check "infinite values: square root of a NaN" 3 'in.txt\nout.txt\n1990\n-99\n' \
    'runlib: warning: infinite values: 1, first on line 1; no statistic of their months can be computed

run-time error M6201: MATH
- sqrt: DOMAIN error' 'input; sed -i "1s/.*/Infinity/" in.txt' "$no_outputs"
check "values too wide for the month file" 64 'in.txt\nout.txt\n1990\n-99\n' \
    'runlib: warning: values too large for the month files (F12.2): 1, first on line 1: 1e+10; the run will end with a failure on them
runlib: severe (64): input conversion error, unit 101, file @SCRATCH@' \
    'input; sed -i "1s/.*/1e10/" in.txt' "$no_outputs"
check "no writable temporary directory" 29 'in.txt\nout.txt\n1990\n-99\n' \
    'runlib: No such file or directory
runlib: severe (29): file not found, unit 101, file @WORK@/gone' \
    'input; echo "$PWD/gone" >../tmpdir' "$no_outputs"

# Without nameless temporary files the month files get names, removed at once.
check "no nameless files: a complete run leaves nothing" 0 'in.txt\nout.txt\n1990\n-99\n' '' \
    "input; echo '$no_tmpfile' >../preload" '[ "$(wc -l <out.txt)" -eq 37 ]'
check "no nameless files: the report names the removed file" 24 'in.txt\nout.txt\n1990\n-99\n' \
    'runlib: severe (24): end-of-file during read, unit 101, file @TMP@/wgnrain@ANY@' \
    "printf '1.0\n%.0s' \$(seq 364) >in.txt; echo '$no_tmpfile' >../preload" "$no_outputs"

check "too many open files" 30 'in.txt\nout.txt\n1990\n-99\n' \
    'runlib: Too many open files
runlib: severe (30): open failure, unit @MONTH_UNIT@, file @TMP@' 'input; echo "-n 10" >../ulimit' "$no_outputs"
if [ -z "${WGNRAIN_SANITIZED:-}" ]; then  # the sanitizers reserve more address space than any small limit
    check "memory refused for a long series" 41 'in.txt\nout.txt\n1990\n-99\n' \
        'runlib: severe (41): insufficient virtual memory' \
        'awk "BEGIN { for (i = 0; i < 4000000; i++) print 1.5 }" >in.txt; echo "-v 16000" >../ulimit' "$no_outputs"
else
    echo "skipped: memory limit case in a sanitizer build"
fi

# --- the outputs ---
check "report on a full disk" 38 'in.txt\n/dev/full\n1990\n-99\n' \
    'runlib: No space left on device
runlib: severe (38): error during write, unit 400, file /dev/full' input \
    '[ ! -e mean_pcp.sta ] && [ ! -e totalpcp.sta ]'
check "table in a full location" 38 'in.txt\nout.txt\n1990\n-99\n' \
    'runlib: No space left on device
runlib: severe (38): error during write, unit 202, file @WORK@/totalpcp.sta' \
    'input; ln -s /dev/full totalpcp.sta' \
    '[ "$(wc -l <out.txt)" -eq 37 ] && [ "$(wc -l <mean_pcp.sta)" -eq 8 ]'
check "console output on a full disk" 38 'in.txt\nout.txt\n1990\n-99\n' \
    'runlib: No space left on device
runlib: severe (38): error during write, unit 6, file CONOUT$' 'input; touch ../stdout_full' true
check "closed standard error takes no file's place" 64 'in.txt\nout.txt\n1990\n-99\n' '' \
    '{ echo "date value"; echo 1.0; } >in.txt; cp in.txt ../copy; touch ../close_stderr' \
    'cmp -s in.txt ../copy && [ ! -e out.txt ]'
check "closed standard output: the run goes on" 0 'in.txt\nout.txt\n1990\n-99\n' '' \
    'input; cp in.txt ../copy; touch ../close_stdout' 'cmp -s in.txt ../copy && [ -s out.txt ]' 

# What the program says of itself must reach standard output, or the run fails.
status=0
"$binary" --help >/dev/full 2>/dev/null || status=$?
if [ "$status" -eq 1 ]; then pass "--help on a full standard output"; else fail "--help on a full standard output" "status $status, expected 1"; fi

if [ "$(id -u)" -eq 0 ] && setpriv --reuid=nobody --regid=nogroup --clear-groups true 2>/dev/null; then
    check "input refused even for reading" 9 'in.txt\nout.txt\n1990\n-99\n' \
        'runlib: Permission denied
runlib: severe (9): permission to access file denied, unit 10, file @WORK@/in.txt' \
        'input; chmod 600 in.txt' "$no_outputs" nobody
    check "read-only input is read" 0 'in.txt\nout.txt\n1990\n-99\n' '' \
        'input; chmod 444 in.txt' '[ -s out.txt ]' nobody
    check "read-only report" 47 'in.txt\nout.txt\n1990\n-99\n' \
        'runlib: severe (47): write to READONLY file, unit 400, file @WORK@/out.txt' \
        'input; echo old >out.txt; chmod 444 out.txt' '[ "$(cat out.txt)" = old ] && [ ! -e mean_pcp.sta ]' nobody
else
    echo "skipped: permission cases need root and setpriv to run as nobody"
fi

finish
