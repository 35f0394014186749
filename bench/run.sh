#!/bin/bash
# Runs every benchmark against the Release build in BUILD and prints one line per figure:
# name, value, unit, the reference measured in the same run, and the goal.
#   bench/run.sh BUILD [RUNS]
set -euo pipefail

BUILD=$(cd "${1:?usage: bench/run.sh BUILD [RUNS]}" && pwd)
RUNS=${2:-7}
BENCH="$BUILD/bench"
SAMPLE_PAGE="$(cd "$(dirname "$0")/.." && pwd)/data/test/Money and Time/question1.htm"
WORK=$(mktemp -d)
export XDG_RUNTIME_DIR="$WORK/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
[ "$(id -u)" -eq 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1
export QT_LOGGING_RULES="qt.webenginecontext.info=false"

XPID="" APP="" CHROMIUM=""
cleanup() {
    local pid
    for pid in $APP $CHROMIUM $XPID; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT

# A private X server with an 800 x 600 screen (the window then needs no display offer) and a
# black root, so that nothing is taken for painted before the program paints it.
start_x() {
    local n
    for n in $(seq 200 260); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 800x600x24 -br -nolisten tcp >/dev/null 2>&1 &
        XPID=$!
        export DISPLAY=":$n"
        for _ in $(seq 100); do
            xdpyinfo >/dev/null 2>&1 && return 0
            sleep 0.05
        done
        kill "$XPID" 2>/dev/null
    done
    echo "Xvfb did not start" >&2
    exit 1
}

figure() { # name value unit reference-name reference-value goal
    printf '%-24s %10.3f %-3s  reference %-26s %10.3f %-3s  goal %s\n' "$1" "$2" "$3" "$4" "$5" "$3" "$6"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# A process and all its descendants (the browser engine's helper processes).
tree_pids() {
    local pids=" $1 " grew=1 pid parent stat
    while [ $grew -eq 1 ]; do
        grew=0
        for stat in /proc/[0-9]*/stat; do
            pid=${stat#/proc/}; pid=${pid%/stat}
            parent=$(awk '{ sub(/.*\) /, ""); print $2 }' "$stat" 2>/dev/null) || continue
            if [[ "$pids" == *" $parent "* && "$pids" != *" $pid "* ]]; then
                pids="$pids$pid "
                grew=1
            fi
        done
    done
    echo $pids
}

# "MiB processes": the summed PSS of the tree and how many processes it holds.
tree_pss() {
    local pid
    for pid in $(tree_pids "$1"); do
        awk '/^Pss:/ { print $2 }' "/proc/$pid/smaps_rollup" 2>/dev/null || true
    done | awk '{ kib += $1; n++ } END { printf "%.1f %d\n", kib / 1024, n }'
}

start_x

# The 30-question test lies in the program's own test library, beside the sample tests.
"$BENCH/offscreen_bench" --write-test "$BUILD/test" "$SAMPLE_PAGE" >/dev/null

# 1. Start-up: process start until the window shows what it should. For the program: the first
# entry of the test list drawn (dark text pixels in the list's first row). For the reference:
# the bare window painted white.
# The bare window with the engine's libraries linked (drawing in software, as the program does)
# shows what loading them costs.
program_times=() bare_times=() engine_times=()
for _ in $(seq "$RUNS"); do
    bare_times+=("$("$BENCH/startup_probe" "Bare Window" 10 10 770 544 light 397000 -- "$BENCH/bare_window")")
    program_times+=("$("$BENCH/startup_probe" "Corvane Maths" 194 229 383 24 dark 40 -- "$BUILD/corvane-maths")")
    engine_times+=("$(QT_XCB_GL_INTEGRATION=none "$BENCH/startup_probe" "Bare Window" 10 10 770 544 light 397000 -- "$BENCH/bare_window_engine")")
done
program=$(printf '%s\n' "${program_times[@]}" | median)
bare=$(printf '%s\n' "${bare_times[@]}" | median)
engine=$(printf '%s\n' "${engine_times[@]}" | median)
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f x", a / b }'; }
figure startup "$program" ms "bare Qt window" "$bare" "<= 1.5 x reference ($(ratio "$program" "$bare"))"
figure startup_bare_engine_libs "$engine" ms "bare Qt window" "$bare" "(information: bare window + engine libraries, $(ratio "$engine" "$bare"))"

# 2, 3 (panel) and 5: offscreen, with the fake desktop.
"$BENCH/offscreen_bench"

# 3 (page) and the front page with and without the engine started ahead.
# The engine's start-up chatter is shown only when a run fails.
for mode in --cold --warm; do
    "$BENCH/browser_bench" $mode 2>"$WORK/browser.err" || { cat "$WORK/browser.err" >&2; exit 1; }
done

# 4. Memory on the question screen of the 30-question test: the program driven as a pupil
# would, against headless Chromium showing the same question page.
"$BUILD/corvane-maths" >/dev/null 2>&1 &
APP=$!
WID=""
for _ in $(seq 100); do
    WID=$(xdotool search --onlyvisible --name "Corvane Maths" 2>/dev/null | head -1) && [ -n "$WID" ] && break
    sleep 0.1
done
sleep 1
xdotool mousemove --window "$WID" 290 240 click 1 # the first test: Bench Thirty
sleep 0.5
xdotool mousemove --window "$WID" 425 140 click 1 # the name box
xdotool type --delay 30 "Ann"
xdotool key Return
sleep 3
xdotool key Return
sleep 5
read -r program_mib program_procs < <(tree_pss $APP)
kill $APP; wait $APP 2>/dev/null || true
APP=""

chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$WORK/chromium" "file://$BUILD/test/Bench Thirty/question1.htm" >/dev/null 2>&1 &
CHROMIUM=$!
sleep 8
read -r chromium_mib chromium_procs < <(tree_pss $CHROMIUM)
kill $CHROMIUM; wait $CHROMIUM 2>/dev/null || true
CHROMIUM=""
figure memory_pss "$program_mib" MiB "headless Chromium" "$chromium_mib" "<= reference ($program_procs vs $chromium_procs processes)"

# 6. Making a 30-question test of every type from its source, against writing its files.
"$BENCH/make_bench"

# 7. The teacher's window: a keystroke in a 30-question source to its problems and preview.
"$BENCH/teacher_bench"
