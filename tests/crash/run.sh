#!/usr/bin/env bash
# Crash and I/O-error test of the player file save.
#   tests/crash/run.sh BUILD_DIR [RANDOM_KILLS]
# 1. Kills the save (SIGKILL through strace) at each write, fsync, rename and link it makes, in
#    turn: afterwards the player file must be the whole old or the whole new file, and the
#    backup a whole earlier one.
# 2. Fails each of those calls and each close in turn with ENOSPC and then EIO: the saving
#    process must live, find the old file unchanged (it checks that itself) and succeed when
#    it saves again.
# 3. Kills a process that saves over and over at RANDOM_KILLS random moments (default 300).
# Needs strace. Prints the counts; exits non-zero on the first torn file or failed check.
set -uo pipefail

build=${1:?usage: tests/crash/run.sh BUILD_DIR [RANDOM_KILLS]}
kills=${2:-300}
harness="$build/tests/crash/crash_save"
[ -x "$harness" ] || { echo "crash harness not built: $harness (cmake --build $build --target crash_save)" >&2; exit 2; }
# 77: skipped (ctest reads it so), not failed, on a machine without strace.
command -v strace >/dev/null || { echo "strace is not installed" >&2; exit 77; }

work=$(mktemp -d /tmp/qv-crash-XXXXXX)
trap 'rm -rf "$work"' EXIT
export QUORVANE_HOME="$work/home"
trace="$work/trace"
syscalls=(write fsync rename link)
# A failing close can report a write the disk lost; a kill there is a kill at the next call.
error_syscalls=("${syscalls[@]}" close)
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# A fresh data folder holding generation 10 (and 9 as its backup).
prepare() {
    rm -rf "$QUORVANE_HOME"
    "$harness" prepare 10 || { echo "cannot prepare the player file" >&2; exit 1; }
}

# Whether strace's last run hit its injection point (when=N beyond the last call does nothing).
injected() { grep -q "INJECTED\|killed by SIGKILL" "$trace"; }

# 1. A kill at every call of the save path.
kill_points=0
for call in "${syscalls[@]}"; do
    for ((n = 1; ; n++)); do
        prepare
        (strace -f -q -o "$trace" -e trace="$call" -e inject="$call:signal=KILL:when=$n" \
            "$harness" save 11 >/dev/null 2>&1; :) 2>/dev/null
        injected || break
        kill_points=$((kill_points + 1))
        out=$("$harness" check 10 11) || fail "kill at $call #$n: $out"
    done
done

# 2. ENOSPC and EIO at every call of the save path.
error_points=0
for errno_name in ENOSPC EIO; do
    for call in "${error_syscalls[@]}"; do
        for ((n = 1; ; n++)); do
            prepare
            (strace -f -q -o "$trace" -e trace="$call" -e inject="$call:error=$errno_name:when=$n" \
                "$harness" save 11 >/dev/null 2>&1) 2>/dev/null
            status=$?
            injected || break
            # The dynamic loader's own closes come first; failing them stops the program
            # before it runs (127) and says nothing about saving.
            [ "$call" = close ] && [ $status -eq 127 ] && continue
            error_points=$((error_points + 1))
            if [ $status -ne 0 ]; then
                fail "$errno_name at $call #$n: the saving process ended with status $status"
                continue
            fi
            out=$("$harness" check 11 11) || fail "$errno_name at $call #$n: $out"
        done
    done
done

# 3. Random kills while saving again and again. Each round must find a whole file no older
# than the last round's, and the stale temporary file a kill leaves is gone after the next
# save (which the following round's first save is).
prepare
last=10
mid_write=0
for ((k = 1; k <= kills; k++)); do
    "$harness" loop >/dev/null 2>&1 &
    pid=$!
    sleep "0.$(printf '%03d' $((RANDOM % 400 + 20)))"
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    ls "$QUORVANE_HOME/userdata" | grep -q '\.tmp-' && mid_write=$((mid_write + 1))
    if ! out=$("$harness" check); then
        fail "random kill $k: $out"
        prepare
        last=10
        continue
    fi
    [ "$out" -ge "$last" ] || fail "random kill $k: generation went back from $last to $out"
    last=$out
done

# The temporary file of a killed save never outlives the next save.
"$harness" save $((last + 1)) >/dev/null 2>&1 || fail "the save after the random kills failed"
if ls "$QUORVANE_HOME/userdata" | grep -q '\.tmp-'; then
    fail "temporary files of killed saves were left behind: $(ls "$QUORVANE_HOME/userdata" | grep '\.tmp-' | tr '\n' ' ')"
fi

echo "crash harness: $kill_points kill points, $error_points error points (ENOSPC, EIO)," \
     "$kills random kills ($mid_write during a write, generation reached $last); $failures torn or failed"
[ $failures -eq 0 ]
