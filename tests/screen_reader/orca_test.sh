#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A pupil with a keyboard and a real screen reader (Orca) takes the sample test "Number Puzzles"
# in the real pupil's window, on a private X server, with speech synthesised into nothing and
# Orca writing every phrase it speaks to its debug log. The checks are on what Orca says.
#   usage: orca_test.sh PATH/TO/corvane-maths     (the sample library lies beside it as test/)
# Exits 77 (skipped) when Orca or the X tools are not installed.
set -u
APP=${1:?usage: orca_test.sh PATH/TO/corvane-maths}

for tool in orca Xvfb openbox xdotool xdpyinfo xprop dbus-run-session gdbus; do
    command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is not installed"; exit 77; }
done
[ -x /usr/libexec/at-spi-bus-launcher ] || { echo "SKIP: at-spi2-core is not installed"; exit 77; }

# Everything runs inside a D-Bus session of its own.
if [ -z "${ORCA_TEST_IN_SESSION:-}" ]; then
    ORCA_TEST_IN_SESSION=1 exec dbus-run-session -- "$0" "$@"
fi

export QTWEBENGINE_DISABLE_SANDBOX=1
# A real window on the X server below, whatever platform the rest of the suite runs on.
export QT_QPA_PLATFORM=xcb
WORK=$(mktemp -d)
export HOME=$WORK/home XDG_RUNTIME_DIR=$WORK/xdg XDG_CONFIG_HOME=$WORK/home/.config
mkdir -p "$HOME/.config/speech-dispatcher" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
PIDS=()
cleanup() {
    for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT

# A private X server (it picks a free display) and a window manager.
Xvfb -displayfd 1 -screen 0 800x600x24 -nolisten tcp >"$WORK/display" 2>/dev/null &
PIDS+=($!)
for _ in $(seq 100); do [ -s "$WORK/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -1 "$WORK/display")
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
PIDS+=($!)
for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
done

# The accessibility bus, turned on for screen readers.
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
PIDS+=($!)
sleep 1
for property in IsEnabled ScreenReaderEnabled; do
    gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
        --method org.freedesktop.DBus.Properties.Set org.a11y.Status "$property" '<true>' \
        >/dev/null 2>&1
done

# No sound card: speech goes through libao's null driver.
echo default_driver=null >"$HOME/.libao"
if [ -r /etc/speech-dispatcher/speechd.conf ]; then
    sed 's/^#\? *AudioOutputMethod .*/AudioOutputMethod "libao"/' \
        /etc/speech-dispatcher/speechd.conf >"$HOME/.config/speech-dispatcher/speechd.conf"
fi

# Orca, with its debug log written line by line.
ORCA=$(command -v orca)
sed 's/open(args.debug_file, .w.)/open(args.debug_file, "w", buffering=1)/' "$ORCA" >"$WORK/orca"
LOG=$WORK/orca.log
PYTHON=$(sed -n '1s/^#! *//p' "$ORCA")   # Orca's own Python, with its modules
$PYTHON "$WORK/orca" --debug-file="$LOG" >"$WORK/orca.out" 2>&1 &
PIDS+=($!)
for _ in $(seq 100); do grep -qa 'SPEECH OUTPUT' "$LOG" 2>/dev/null && break; sleep 0.2; done
grep -qa "SPEECH OUTPUT" "$LOG" 2>/dev/null || { echo "SKIP: Orca did not start:"; tail -5 "$WORK/orca.out"; exit 77; }

# ---- What Orca says -------------------------------------------------------------------------
mark() { wc -l <"$LOG"; }
said() { # said MARK: every phrase since MARK, one a line
    tail -n +"$1" "$LOG" | grep -a 'SPEECH OUTPUT' |
        sed -e 's/^.*SPEECH OUTPUT: //' -e "s/{'established'.*//"
}
# waits up to SECONDS for PATTERN (grep -E) to be said since MARK
hears() { # hears MARK PATTERN [SECONDS]
    local tries=$((${3:-15} * 5))
    for _ in $(seq "$tries"); do said "$1" | grep -qE "$2" && return 0; sleep 0.2; done
    return 1
}
FAILED=0
check() { # check WHAT MARK PATTERN [SECONDS]
    if hears "$2" "$3" "${4:-15}"; then
        echo "ok: $1"
    else
        echo "FAIL: $1: expected /$3/; Orca said:"; said "$2" | sed 's/^/    /'
        FAILED=1
        return 1
    fi
}
refuse() { # refuse WHAT MARK PATTERN: PATTERN was never said since MARK
    if said "$2" | grep -qiE "$3"; then
        echo "FAIL: $1: /$3/ was said:"; said "$2" | grep -iE "$3" | sed 's/^/    /'
        FAILED=1
    else
        echo "ok: $1"
    fi
}
press() { xdotool key --clearmodifiers "$@"; }
tab_to() { # tab_to PATTERN: Tab until the control said matches
    local m
    for _ in $(seq 40); do
        m=$(mark); press Tab
        hears "$m" "$1" 1 && return 0
    done
    echo "FAIL: no Tab stop says /$1/"; FAILED=1; return 1
}

# ---- The pupil's run ------------------------------------------------------------------------
START=$(mark)
"$APP" >"$WORK/app.log" 2>&1 &
PIDS+=($!)
# The window manager gives the new window the focus; on a busy machine it may miss it, so the
# window is raised as a pupil's click would.
WINDOW=""
for _ in $(seq 600); do
    WINDOW=$(xdotool search --onlyvisible --name '^Corvane Maths$' 2>/dev/null | head -1)
    [ -n "$WINDOW" ] && break
    sleep 0.1
done
[ -n "$WINDOW" ] || { echo "FAIL: the window never showed"; tail -5 "$WORK/app.log"; exit 1; }
hears "$START" "Name text" 5 || xdotool windowactivate "$WINDOW" 2>/dev/null
hears "$START" "Name text" 3 || xdotool windowfocus "$WINDOW" 2>/dev/null
if ! hears "$START" "Name text" 60; then
    echo "FAIL: the name box was never spoken; Orca said:"; said "$START" | sed 's/^/    /'
    echo "focused window: $(xdotool getwindowfocus getwindowname 2>&1)"
    tail -5 "$WORK/app.log"; tail -5 "$WORK/orca.out"
    exit 1
fi
sleep 1
xdotool type --delay 30 Ann
sleep 0.5
m=$(mark); press Tab; hears "$m" "List with" 5
press Down; press Down
check "the test is picked from the list" "$m" "Number Puzzles\.txt"

m=$(mark); press Return
check "Enter opens the front page" "$m" "There are 5 questions" 30
refuse "the first question is not spoken ahead" "$m" "3 times table"

m=$(mark); press Return
check "Enter starts the test: question 1's heading" "$m" \
    "Question 1 of 5\..*Which numbers are in the 3 times table\?" 30
refuse "question 2 is not spoken with question 1" "$m" "Four tens"

m=$(mark); press c
check "C ticks option C" "$m" "Option C check box checked"

m=$(mark); press Return
check "Next: question 2's heading" "$m" "Question 2 of 5\..*Four tens make this number" 30

TEST_RUN=$(mark)
tab_to "Finish push button" || exit 1
m=$(mark); press space
check "Finish asks about the unanswered questions" "$m" "answered all the questions" || exit 1
hears "$m" "Yes push button" 10
m=$(mark); press Return
check "the score is spoken" "$m" "Score: [0-9]+ out of 5" 20
check "with the test and the pupil" "$m" "Test Result for :?Ann"
refuse "no right answer was spoken during the test" "$TEST_RUN" "Right Answer|FORTY|D B A C"

tab_to "Review push button" || exit 1
m=$(mark); press space
check "the review asks for the password" "$m" "password text" || exit 1
m=$(mark)
xdotool type --delay 60 MARBLETS
sleep 2
refuse "the password is not spoken" "$m" "^'?[marblets] *'? *$|marblets"
m=$(mark); press Return
check "the review opens on question 1 with its verdict" "$m" \
    "Question 1 of 5\..*Marked (correct|wrong)" 30

exit "$FAILED"
