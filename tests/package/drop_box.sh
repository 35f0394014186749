#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The results drop box with real accounts: a folder owned by a teacher, group teachers, mode
# 3773. Two pupils each save a record with the program's writer; neither can list the folder
# or read or remove the other's record; the records are 0640 in the teachers' group; a teacher
# reads them all with corvane-results. The accounts are user and group ids that no one on the
# machine uses, taken on with setpriv, so the machine's account list is not changed.
#   usage: drop_box.sh DROP_BOX_WRITER CORVANE_RESULTS
# Exits with 77 (skipped) where accounts cannot be taken on (not root, or no setpriv).
set -eu
if [ "$(id -u)" -ne 0 ] || ! command -v setpriv >/dev/null; then
    echo "skipped: taking on pupils' and a teacher's accounts needs root and setpriv"
    exit 77
fi

# Three free user ids and a free group id from 61000 on.
free_id() { # DATABASE FROM
    id=$2
    while getent "$1" "$id" >/dev/null; do id=$((id + 1)); done
    echo "$id"
}
teacher=$(free_id passwd 61000)
pupil1=$(free_id passwd $((teacher + 1)))
pupil2=$(free_id passwd $((pupil1 + 1)))
teachers=$(free_id group 61000)
as_teacher() { setpriv --reuid="$teacher" --regid="$teacher" --groups="$teachers" "$@"; }
as_pupil() { # ID COMMAND...
    who=$1
    shift
    setpriv --reuid="$who" --regid="$who" --clear-groups "$@"
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
mkdir "$work/bin" "$work/home"
chmod 777 "$work/home"
# The programs where every account may run them.
cp "$1" "$work/bin/writer"
cp "$2" "$work/bin/corvane-results"
chmod 755 "$work/bin" "$work/bin/"*
export HOME="$work/home" ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=offscreen

box="$work/results"
mkdir "$box"
chown "$teacher:$teachers" "$box"
chmod 3773 "$box"

failed=0
fail() {
    echo "FAIL: $*"
    failed=1
}

as_pupil "$pupil1" "$work/bin/writer" "$box" Ann || fail "the first pupil's record was not saved"
as_pupil "$pupil2" "$work/bin/writer" "$box" Ben || fail "the second pupil's record was not saved"
ann=$(find "$box" -name '*_Ann_*.csv')
ben=$(find "$box" -name '*_Ben_*.csv')
[ -n "$ann" ] && [ -n "$ben" ] || { echo "FAIL: records missing: $(ls -A "$box")"; exit 1; }
[ "$(find "$box" -name '.*' | wc -l)" -eq 0 ] || fail "temporary files were left"

for record in "$ann" "$ben"; do
    rights=$(stat -c '%a %g' "$record")
    [ "$rights" = "640 $teachers" ] || fail "$record has mode and group '$rights', not '640 $teachers'"
done
if as_pupil "$pupil1" ls "$box" >/dev/null 2>&1; then fail "a pupil can list the drop box"; fi
if as_pupil "$pupil1" cat "$ben" >/dev/null 2>&1; then fail "a pupil can read another's record"; fi
if as_pupil "$pupil1" rm -f "$ben" 2>/dev/null && [ ! -e "$ben" ]; then
    fail "a pupil can remove another's record"
fi
as_pupil "$pupil1" cat "$ann" >/dev/null || fail "a pupil cannot read back her own record"

summary=$(as_teacher "$work/bin/corvane-results" "$box" 2>&1) || fail "corvane-results as the teacher: $summary"
for pupil in Ann Ben; do
    echo "$summary" | grep -q "$pupil" || fail "the teacher's summary lacks $pupil"
done
echo "$summary"
[ "$failed" -eq 0 ] || exit 1
echo "the drop box takes each pupil's record, hides them from other pupils and shows them to the teacher"
