#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Stress test of the class record, with the program's own record writer and corvane-results.
#   usage: scripts/stress-records.sh BUILD_FOLDER   (holding record_writer and corvane-results)
# 1. PROCESSES writers save RECORDS records each into one folder at the same time: every one of
#    them must be there, complete, and read back as a record of its own.
# 2. KILL_ROUNDS times, writers saving into one folder are killed (SIGKILL) at a random moment:
#    whatever they leave, corvane-results must read nothing of it as a record but the complete
#    records, naming the rest as temporary files.
# Prints the figures; exits 1 when a check fails.
set -eu

build=${1:?usage: stress-records.sh BUILD_FOLDER}
processes=${PROCESSES:-20}
records=${RECORDS:-100}
kill_rounds=${KILL_ROUNDS:-20}
writer=$(find "$build" -name record_writer -type f -perm -u+x | head -n 1)
results="$build/corvane-results"
[ -n "$writer" ] && [ -x "$results" ] || { echo "stress: build record_writer and corvane-results first" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
now_ms() { date +%s%3N; }
# Record files (named *.csv, not hidden) and everything else, under a folder.
count_records() { find "$1" -type f -name '*.csv' ! -name '.*' | wc -l; }
count_others() { find "$1" -type f \( ! -name '*.csv' -o -name '.*' \) | wc -l; }

# Runs corvane-results on $1: its exit status in $status, the records it read in $summed (the
# attempts in its tables, summed), what it skipped in $work/skipped.txt.
read_records() {
    status=0
    "$results" "$1" >"$work/summary.txt" 2>"$work/skipped.txt" || status=$?
    summed=$(awk '/^  Pupil +Score +Finished +Attempts$/ {t=1; next} t && NF==0 {t=0} t {s += $NF} END {print s + 0}' \
        "$work/summary.txt")
}

# Starts $processes writers of $2 records each into $1; their ids are in $pids.
start_writers() {
    pids=""
    i=0
    while [ "$i" -lt "$processes" ]; do
        "$writer" "$1" "$2" >/dev/null 2>&1 &
        pids="$pids $!"
        i=$((i + 1))
    done
}

# --- 1. all at once ---------------------------------------------------------------------------
together="$work/together"
mkdir "$together"
start=$(now_ms)
start_writers "$together" "$records"
writers_failed=0
for pid in $pids; do wait "$pid" || writers_failed=$((writers_failed + 1)); done
elapsed=$(($(now_ms) - start))
expected=$((processes * records))
found=$(count_records "$together")
read_records "$together"
distinct=$(find "$together" -type f -name '*.csv' -exec awk 'FNR == 2' {} + | sort -u | wc -l)

echo "$processes processes x $records records into one folder: $found record files in ${elapsed} ms"
echo "  read as records by corvane-results: $summed (attempts summed), skipped: $(wc -l <"$work/skipped.txt"), exit status $status"
echo "  distinct data lines: $distinct; other files left: $(count_others "$together"); writers failed: $writers_failed"
[ "$writers_failed" -eq 0 ] || fail "$writers_failed writer(s) failed"
[ "$found" -eq "$expected" ] || fail "$found record files, expected $expected"
[ "$status" -eq 0 ] || fail "corvane-results exit status $status: $(head -n 3 "$work/skipped.txt")"
[ "$summed" -eq "$expected" ] || fail "corvane-results read $summed records, expected $expected"
[ "$distinct" -eq "$expected" ] || fail "$distinct distinct records, expected $expected"
[ "$(count_others "$together")" -eq 0 ] || fail "files other than records were left"

# --- 2. killed while saving -------------------------------------------------------------------
killed="$work/killed"
mkdir "$killed"
round=0
while [ "$round" -lt "$kill_rounds" ]; do
    start_writers "$killed" 100000
    # 20 to 300 ms: inside start-up for some rounds, in the middle of saving for most.
    sleep "0.$(printf '%03d' $((20 + $(od -An -N2 -tu2 /dev/urandom) % 280)))"
    for pid in $pids; do kill -KILL "$pid" 2>/dev/null || true; done
    for pid in $pids; do wait "$pid" 2>/dev/null || true; done
    round=$((round + 1))
done
found=$(count_records "$killed")
left=$(count_others "$killed")
read_records "$killed"
not_temporary=$(grep -cv ': temporary file, skipped$' "$work/skipped.txt" || true)

echo "$kill_rounds rounds of $processes writers killed at a random moment: $found record files, $left other files left"
echo "  read as records by corvane-results: $summed; named as temporary files: $(grep -c ': temporary file, skipped$' "$work/skipped.txt" || true); anything else: $not_temporary"
[ "$summed" -eq "$found" ] || fail "corvane-results read $summed records of $found record files"
[ "$not_temporary" -eq 0 ] || fail "skipped other than temporary files: $(grep -v ': temporary file, skipped$' "$work/skipped.txt" | head -n 3)"
[ "$status" -le 1 ] || fail "corvane-results exit status $status"

[ "$failures" -eq 0 ] && echo "stress: all checks passed" || exit 1
