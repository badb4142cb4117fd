#!/bin/bash
# Start-up, memory and idle CPU of the real game under Xvfb, beside a bare SDL window and two
# games players already know, in one run on this machine:
#   bench/startup.sh BUILD_DIR [RUNS]
# Needs Xvfb and xdotool; gbrainy and tuxmath are measured when installed (apt-get install them
# for the measurement; they are not build dependencies). Each figure is the median of RUNS runs
# (default 3). Times are from just before exec to the moment, taken from the programs' own
# traces (QUORVANE_TRACE=1, BARE_SDL_TRACE=1) or, for the peers, to their first mapped window.
set -u
if [ $# -lt 1 ]; then
    echo "usage: bench/startup.sh BUILD_DIR [RUNS]" >&2
    exit 2
fi
build_dir=$(cd "$1" && pwd) || exit 2
runs=${2:-3}
idle_seconds=${IDLE_SECONDS:-10}
game=$build_dir/quorvane
bare=$build_dir/bench/bare_sdl_window
for tool in Xvfb xdotool; do
    command -v $tool >/dev/null || { echo "startup.sh: $tool is not installed" >&2; exit 2; }
done
for program in "$game" "$bare"; do
    [ -x "$program" ] || { echo "startup.sh: build $program first" >&2; exit 2; }
done

work=$(mktemp -d /tmp/qv-startup.XXXXXX)
xvfb_pid=
child=
cleanup() {
    [ -n "$child" ] && kill "$child" 2>/dev/null && wait "$child" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# A display nobody else uses.
display=
for n in $(seq 90 120); do
    if [ ! -e /tmp/.X$n-lock ] && [ ! -e /tmp/.X11-unix/X$n ]; then display=:$n; break; fi
done
[ -n "$display" ] || { echo "startup.sh: no free X display" >&2; exit 1; }
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.05; done
unset SDL_VIDEODRIVER SDL_AUDIODRIVER
export PATH=$PATH:/usr/games

now_ms() { date +%s%3N; }
clk_tck=$(getconf CLK_TCK)

# utime + stime of a process, in clock ticks.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat" 2>/dev/null || echo 0; }
vm_hwm_mb() { awk '/^VmHWM/ { printf "%.1f", $2 / 1024 }' "/proc/$1/status" 2>/dev/null; }
# Percent of one core used by a process over idle_seconds.
idle_cpu() {
    local before after
    before=$(cpu_ticks "$1")
    sleep "$idle_seconds"
    after=$(cpu_ticks "$1")
    awk -v a="$before" -v b="$after" -v t="$clk_tck" -v s="$idle_seconds" 'BEGIN { printf "%.2f", (b - a) * 100 / (t * s) }'
}
# The epoch milliseconds of a trace moment in a log, or nothing yet.
moment() { awk -v m="$2" '$1 ~ /_TRACE$/ && $2 == m { for (i = 1; i < NF; ++i) if ($i == "epoch_ms") { printf "%.0f\n", $(i + 1); exit } }' "$1"; }
wait_moment() { # log moment timeout_s
    local deadline=$(( $(now_ms) + $3 * 1000 ))
    while [ "$(now_ms)" -lt $deadline ]; do
        [ -n "$(moment "$1" "$2")" ] && return 0
        kill -0 "$child" 2>/dev/null || return 1
        # The moments come from the program's own trace, so polling slowly loses no precision
        # and keeps this script's forks from competing with the start-up it measures.
        sleep 0.2
    done
    return 1
}
stop_child() {
    if [ -n "$child" ]; then
        kill "$child" 2>/dev/null
        for _ in $(seq 100); do kill -0 "$child" 2>/dev/null || break; sleep 0.05; done
        kill -9 "$child" 2>/dev/null
        wait "$child" 2>/dev/null
        child=
    fi
}
median() { sort -n | awk '{ v[NR] = $1 } END { if (NR == 0) print "n/a"; else if (NR % 2) print v[(NR + 1) / 2]; else printf "%.2f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

declare -A samples
add() { samples[$1]+="$2"$'\n'; }
figure() { printf '%s' "${samples[$1]:-}" | grep -v '^$' | median; }

echo "startup.sh: $runs runs on $display, idle CPU over ${idle_seconds} s" >&2

# One start of the game, windowed, on the home $1, its figures added under the prefix $2; with
# $3 = idle, CPU is measured while the title and the main menu sit still.
measure_game() {
    local home=$1 prefix=$2 log=$work/$2-$run.log t0 window
    mkdir -p "$home/userdata" "$work/xdg-$run"
    printf '\000' >"$home/userdata/fscreen.dat"
    t0=$(now_ms)
    QUORVANE_HOME=$home XDG_CONFIG_HOME=$work/xdg-$run XDG_DATA_HOME=$work/xdg-$run \
        XDG_CACHE_HOME=$work/xdg-$run QUORVANE_TRACE=1 "$game" 2>"$log" >/dev/null &
    child=$!
    if wait_moment "$log" continue_offered 30; then
        add ${prefix}_first $(( $(moment "$log" first_frame) - t0 ))
        add ${prefix}_loaded $(( $(moment "$log" loading_done) - t0 ))
        add ${prefix}_continue $(( $(moment "$log" continue_offered) - t0 ))
        sleep 0.5
        [ "${3:-}" = idle ] && add ${prefix}_cpu_title "$(idle_cpu $child)"
        # The link sits centred near the bottom of the 800 x 600 window.
        window=$(xdotool search --pid $child --onlyvisible 2>/dev/null | head -1)
        if [ -n "$window" ]; then
            xdotool mousemove --window "$window" 400 540 click 1
            if wait_moment "$log" main_menu 10; then
                # Away from the buttons, then let the owl finish its greeting.
                xdotool mousemove --window "$window" 790 590
                sleep "${MENU_SETTLE_SECONDS:-15}"
                [ "${3:-}" = idle ] && add ${prefix}_cpu_menu "$(idle_cpu $child)"
            else
                echo "run $run: the click did not reach the main menu" >&2
            fi
        fi
        add ${prefix}_hwm "$(vm_hwm_mb $child)"
    else
        echo "run $run: the game did not offer CLICK TO CONTINUE; its log:" >&2
        cat "$log" >&2
    fi
    stop_child
}

for run in $(seq "$runs"); do
    # A first start on a fresh home (no player file yet), then a returning player's start on
    # the same home, which now holds the player file the first start saved.
    measure_game "$work/home-$run" game idle
    measure_game "$work/home-$run" again

    # The bare SDL window.
    log=$work/bare-$run.log
    t0=$(now_ms)
    BARE_SDL_TRACE=1 "$bare" 2>"$log" &
    child=$!
    if wait_moment "$log" first_frame 10; then
        add bare_first $(( $(moment "$log" first_frame) - t0 ))
        sleep 0.3
        add bare_hwm "$(vm_hwm_mb $child)"
        [ "$run" -eq 1 ] && add bare_cpu "$(idle_cpu $child)"
    fi
    stop_child

    # The peers, to their first visible window.
    for peer in gbrainy tuxmath; do
        command -v $peer >/dev/null || continue
        args=
        [ $peer = tuxmath ] && args=--windowed
        t0=$(now_ms)
        $peer $args >/dev/null 2>&1 &
        child=$!
        found=
        deadline=$(( t0 + 30000 ))
        while [ "$(now_ms)" -lt $deadline ]; do
            if xdotool search --pid $child --onlyvisible >/dev/null 2>&1; then found=$(now_ms); break; fi
            kill -0 $child 2>/dev/null || break
            sleep 0.01
        done
        if [ -n "$found" ]; then
            add ${peer}_first $(( found - t0 ))
            sleep 2
            # Idle CPU once, on the first run the peer came up in.
            [ -z "${samples[${peer}_cpu]:-}" ] && add ${peer}_cpu "$(idle_cpu $child)"
            add ${peer}_hwm "$(vm_hwm_mb $child)"
        else
            echo "run $run: $peer showed no window" >&2
        fi
        stop_child
    done
done

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a == "n/a" || b == "n/a" || b == 0) print "n/a"; else printf "%.2f", a / b }'; }
row() { # label game-figure peer-label peer-figure
    printf '%-34s %10s   %-26s %10s   %8s\n' "$1" "$2" "$3" "$4" "$(ratio "$2" "$4")"
}
gf=$(figure game_first); bf=$(figure bare_first); gb=$(figure gbrainy_first); tm=$(figure tuxmath_first)
printf '%-34s %10s   %-26s %10s   %8s\n' "figure (median of $runs)" "game" "beside" "value" "ratio"
row "first frame of the title, ms" "$gf" "bare SDL first paint, ms" "$bf"
row "first frame of the title, ms" "$gf" "gbrainy first window, ms" "$gb"
row "first frame of the title, ms" "$gf" "tuxmath first window, ms" "$tm"
row "loading done, ms" "$(figure game_loaded)" "goal, ms" 500
row "returning player: first frame, ms" "$(figure again_first)" "bare SDL first paint, ms" "$bf"
row "returning player: loading done, ms" "$(figure again_loaded)" "goal, ms" 500
row "CLICK TO CONTINUE offered, ms" "$(figure game_continue)" "-" "n/a"
row "peak memory (VmHWM), MB" "$(figure game_hwm)" "bare SDL window, MB" "$(figure bare_hwm)"
row "returning player: VmHWM, MB" "$(figure again_hwm)" "goal, MB" 80
row "peak memory (VmHWM), MB" "$(figure game_hwm)" "gbrainy, MB" "$(figure gbrainy_hwm)"
row "peak memory (VmHWM), MB" "$(figure game_hwm)" "tuxmath, MB" "$(figure tuxmath_hwm)"
row "CPU, title sitting still, %" "$(figure game_cpu_title)" "bare SDL window idle, %" "$(figure bare_cpu)"
row "CPU, main menu sitting still, %" "$(figure game_cpu_menu)" "tuxmath idle, %" "$(figure tuxmath_cpu)"
row "CPU, main menu sitting still, %" "$(figure game_cpu_menu)" "gbrainy idle, %" "$(figure gbrainy_cpu)"
