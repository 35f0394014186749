#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds a fuzzer and runs it for SECONDS seconds in WORK_FOLDER.
# Usage: fuzz/run.sh SECONDS WORK_FOLDER [reader|record|gift]   (reader by default)
# The corpus grows in WORK_FOLDER/corpus (seeded from the committed seeds: fuzz/corpus and the
# bundled tests for the reader, fuzz/record_corpus for the record parser, fuzz/gift_corpus and
# the GIFT test files for the GIFT reader), so the committed seeds never change; inputs that
# fail are kept in WORK_FOLDER/findings.
# Exits non-zero when the fuzzer finds a crash, a sanitizer report, a broken promise or a hang.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:?usage: run.sh SECONDS WORK_FOLDER [reader|record|gift]}
work=${2:?usage: run.sh SECONDS WORK_FOLDER [reader|record|gift]}
name=${3:-reader}

"$root/fuzz/build.sh" "$work" "$name"
mkdir -p "$work/corpus" "$work/findings"
case "$name" in
record)
    cp "$root"/fuzz/record_corpus/* "$work/corpus/"
    dict="$root/fuzz/record.dict" ;;
gift)
    cp "$root"/fuzz/gift_corpus/* "$root"/tests/data/gift/*.gift "$work/corpus/"
    dict="$root/fuzz/gift.dict" ;;
*)
    cp "$root"/fuzz/corpus/* "$root"/data/test/*.txt "$work/corpus/"
    dict="$root/fuzz/keywords.dict" ;;
esac

# -timeout=1: an input that takes over a second is a hang. Inputs up to 10000 bytes reach
# past the reader's 4096-byte buffer and hold records of 30 questions with long answers.
"$work/${name}_fuzzer" "$work/corpus" \
    -dict="$dict" \
    -max_total_time="$seconds" -timeout=1 -max_len=10000 \
    -artifact_prefix="$work/findings/" -print_final_stats=1
