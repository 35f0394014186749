#!/bin/sh
# Builds the reader fuzzer and runs it for SECONDS seconds in WORK_FOLDER.
# Usage: fuzz/run.sh SECONDS WORK_FOLDER
# The corpus grows in WORK_FOLDER/corpus (seeded from fuzz/corpus and the bundled tests), so
# the committed seeds never change; inputs that fail are kept in WORK_FOLDER/findings.
# Exits non-zero when the fuzzer finds a crash, a sanitizer report, a wrong message or a hang.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:?usage: run.sh SECONDS WORK_FOLDER}
work=${2:?usage: run.sh SECONDS WORK_FOLDER}

"$root/fuzz/build.sh" "$work"
mkdir -p "$work/corpus" "$work/findings"
cp "$root"/fuzz/corpus/* "$root"/data/test/*.txt "$work/corpus/"

# -timeout=1: an input that takes over a second is a hang. Inputs up to 10000 bytes reach
# past the reader's 4096-byte buffer.
"$work/reader_fuzzer" "$work/corpus" \
    -dict="$root/fuzz/keywords.dict" \
    -max_total_time="$seconds" -timeout=1 -max_len=10000 \
    -artifact_prefix="$work/findings/" -print_final_stats=1
