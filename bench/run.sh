#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs every benchmark against the Release build in BUILD and prints one line per figure:
# name, value, unit, the reference measured in the same run, and the goal. A figure measured
# over several runs shows their median, and on a second line min / median / max of it and of
# its reference.
#   bench/run.sh BUILD [RUNS [MEMORY_RUNS]]
set -euo pipefail

BUILD=$(cd "${1:?usage: bench/run.sh BUILD [RUNS [MEMORY_RUNS]]}" && pwd)
RUNS=${2:-7}
MEMORY_RUNS=${3:-3}
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
# black root, so that nothing is taken for painted before the program paints it. The server
# picks a free display number itself: other servers on this machine may hold any of them; it
# keeps running between clients instead of resetting, when a new client would be refused.
start_x() {
    local number
    Xvfb -displayfd 3 -screen 0 800x600x24 -br -noreset -nolisten tcp 3>"$WORK/display" >/dev/null 2>&1 &
    XPID=$!
    for _ in $(seq 100); do
        number=$(cat "$WORK/display")
        if [ -n "$number" ]; then
            export DISPLAY=":$number"
            xdpyinfo >/dev/null 2>&1 && return 0
        fi
        sleep 0.05
    done
    echo "Xvfb did not start" >&2
    exit 1
}

figure() { # name value unit reference-name reference-value goal
    printf '%-24s %10.3f %-3s  reference %-26s %10.3f %-3s  goal %s\n' "$1" "$2" "$3" "$4" "$5" "$3" "$6"
}

# "MIN MEDIAN MAX COUNT" of the numbers on stdin.
stats() {
    sort -g | awk '{ v[NR] = $1 }
        END { printf "%s %s %s %d\n", v[1], (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2, v[NR], NR }'
}
median() { stats | cut -d' ' -f2; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f x", a / b }'; }

# figure_runs NAME UNIT "SAMPLES" REFERENCE-NAME "REFERENCE-SAMPLES" GOAL
figure_runs() {
    local min mid max n rmin=0 rmid=0 rmax=0 rn=0
    read -r min mid max n < <(printf '%s\n' $3 | stats)
    [ -n "$5" ] && read -r rmin rmid rmax rn < <(printf '%s\n' $5 | stats)
    figure "$1" "$mid" "$2" "$4" "$rmid" "$6"
    printf '    min / median / max %.1f / %.1f / %.1f %s over %d' "$min" "$mid" "$max" "$2" "$n"
    [ -n "$5" ] && printf ', reference %.1f / %.1f / %.1f over %d' "$rmin" "$rmid" "$rmax" "$rn"
    echo
}

# The samples NAME in FILE (lines "name value").
samples() { awk -v name="$1" '$1 == name { print $2 }' "$2"; }

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

# "PSS DIRTY processes": the summed PSS and private dirty memory of the tree, in MiB, and how
# many processes it holds. PSS splits a library's pages among all processes that map it, also
# those of other programs running at the time; the private dirty pages (heaps, stacks, buffers)
# are the tree's own whatever else runs.
tree_pss() {
    local pid
    for pid in $(tree_pids "$1"); do
        awk '/^Pss:/ { pss = $2 } /^Private_Dirty:/ { dirty = $2 } END { print pss, dirty }' \
            "/proc/$pid/smaps_rollup" 2>/dev/null || true
    done | awk '{ pss += $1; dirty += $2; n++ } END { printf "%.1f %.1f %d\n", pss / 1024, dirty / 1024, n }'
}

start_x

# The 30-question test lies in the program's own test library, beside the sample tests.
"$BENCH/offscreen_bench" --write-test "$BUILD/test" "$SAMPLE_PAGE" >/dev/null
# A 30-question source of every kind, for the teacher's window.
"$BENCH/teacher_bench" --write-source "$WORK/Bench Teacher.md" 2>/dev/null

# 1. Start-up: process start until the window shows what it should. For the program: the first
# entry of the test list drawn (dark text pixels in the list's first row). For the reference:
# the bare window painted white.
# The bare window with the engine's libraries linked (drawing in software, as the program does)
# shows what loading them costs. The teacher's window opened on the 30-question source: until
# the editor, painted with the source, covers its corner (the screen is black before).
program_times=() bare_times=() engine_times=() teacher_times=()
for _ in $(seq "$RUNS"); do
    bare_times+=("$("$BENCH/startup_probe" "Bare Window" 10 10 770 544 light 397000 -- "$BENCH/bare_window")")
    program_times+=("$("$BENCH/startup_probe" "Corvane Maths" 194 229 383 24 dark 40 -- "$BUILD/corvane-maths")")
    engine_times+=("$(QT_XCB_GL_INTEGRATION=none "$BENCH/startup_probe" "Bare Window" 10 10 770 544 light 397000 -- "$BENCH/bare_window_engine")")
    teacher_times+=("$("$BENCH/startup_probe" "Bench Teacher.md – Corvane Maths for Teachers" 50 50 380 150 light 45000 -- "$BUILD/corvane-teacher" "$WORK/Bench Teacher.md")")
done
program=$(printf '%s\n' "${program_times[@]}" | median)
bare=$(printf '%s\n' "${bare_times[@]}" | median)
engine=$(printf '%s\n' "${engine_times[@]}" | median)
figure_runs startup ms "${program_times[*]}" "bare Qt window" "${bare_times[*]}" \
    "<= 1.2 x reference ($(ratio "$program" "$bare"))"
figure_runs startup_bare_engine_libs ms "${engine_times[*]}" "bare Qt window" "${bare_times[*]}" \
    "(information: bare window + engine libraries, $(ratio "$engine" "$bare"))"
teacher=$(printf '%s\n' "${teacher_times[@]}" | median)
figure_runs teacher_startup_30 ms "${teacher_times[*]}" "pupil's window start-up" "${program_times[*]}" \
    "<= 2 x reference ($(ratio "$teacher" "$program"))"

# 2, 3 (panel) and 5: offscreen, with the fake desktop.
"$BENCH/offscreen_bench"

# 3 (page), the front page and question 1, and how long the window's thread is kept from its
# events: a pupil's run with the real browser views, RUNS times, and three times without the
# engine's warm-up (it then starts at the list click). The engine's start-up chatter is shown
# only when a run fails.
for run in $(seq "$RUNS") x y z; do
    mode=()
    [[ "$run" == [xyz] ]] && mode=(--no-warm-up)
    "$BENCH/browser_bench" "${mode[@]}" >>"$WORK/browser" 2>"$WORK/browser.err" ||
        { cat "$WORK/browser.err" >&2; exit 1; }
done
browser() { # NAME GOAL
    figure_runs "$1" ms "$(samples "$1" "$WORK/browser")" "(none)" "" "$2"
}
browser front_page "<= 100 ms (OK on the name until the front page is painted, first time in the run)"
browser first_question_page "<= 100 ms (start image until question 1 is painted)"
browser next_question_page "<= 50 ms (Next until the next page is painted; every move of every run)"
browser longest_block "<= 50 ms (the window's thread kept from its events, after first paint)"
browser warm_up_block "(information: the longest of those during the engine's warm-up)"
browser front_page_no_warm_up "(information: the engine started only at the list click)"
browser longest_block_no_warm_up "(information: the same, without the warm-up)"

# 4. Memory on the question screen of the 30-question test: the program driven as a pupil
# would, against headless Chromium showing the same question page, MEMORY_RUNS times each.
# Notes "PSS DIRTY processes" of the tree under PID in the file memory-WHO, then ends it.
note_memory() { # WHO PID
    tree_pss "$2" >>"$WORK/memory-$1"
    kill "$2"
    wait "$2" 2>/dev/null || true
}
for _ in $(seq "$MEMORY_RUNS"); do
    "$BUILD/corvane-maths" >/dev/null 2>&1 &
    APP=$!
    # Each step waits until the screen shows it: the list's first entry, then the caption of
    # question 1 (dark text in the strip under the page).
    "$BENCH/startup_probe" "Corvane Maths" 194 229 383 24 dark 40 >/dev/null
    WID=$(xdotool search --onlyvisible --name "Corvane Maths" | head -1)
    xdotool mousemove --window "$WID" 290 240 click 1 # the first test: Bench Thirty
    sleep 0.5
    xdotool mousemove --window "$WID" 425 140 click 1 # the name box
    xdotool type --delay 30 "Ann"
    xdotool key Return
    sleep 2
    xdotool key Return
    "$BENCH/startup_probe" "Corvane Maths" 12 532 200 18 dark 40 >/dev/null ||
        { echo "the program did not reach question 1" >&2; exit 1; }
    sleep 5
    note_memory program $APP
    APP=""

    rm -rf "$WORK/chromium"
    chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
        --disable-background-networking --disable-component-update --disable-sync \
        --user-data-dir="$WORK/chromium" "file://$BUILD/test/Bench Thirty/question1.htm" >/dev/null 2>&1 &
    CHROMIUM=$!
    sleep 8
    note_memory chromium $CHROMIUM
    CHROMIUM=""
done
column() { cut -d' ' -f"$1" "$WORK/memory-$2"; } # FIELD WHO
program=$(column 1 program | median)
chromium=$(column 1 chromium | median)
figure_runs memory_pss MiB "$(column 1 program)" "headless Chromium" "$(column 1 chromium)" \
    "<= 0.6 x reference ($(ratio "$program" "$chromium"); $(column 3 program | tail -1) vs $(column 3 chromium | tail -1) processes)"
figure_runs memory_private_dirty MiB "$(column 2 program)" "headless Chromium" "$(column 2 chromium)" \
    "(information: the private dirty pages, whatever else runs)"

# 6. Making a 30-question test of every type from its source, against writing its files.
"$BENCH/make_bench"

# 7. The teacher's window: a keystroke in a 30-question source to its problems and preview.
"$BENCH/teacher_bench"

# 8. The teacher's Results page opening 20,000 records, and its rescans.
"$BENCH/results_bench" 20000

# 9. "Read it to me": the press of the control on a sample question until the real speech engine
# speaks, against the engine alone given the same words; the sound goes nowhere.
"$(dirname "$0")/../tests/speech_home.sh" "$BENCH/speech_bench"
