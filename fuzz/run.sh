#!/bin/sh
# Builds a fuzzer and runs it for SECONDS seconds in WORK_FOLDER.
# Usage: fuzz/run.sh SECONDS WORK_FOLDER [TARGET]   (TARGET: reader, the default, or record)
# The corpus grows in WORK_FOLDER/corpus (seeded from the committed seeds and samples), so
# the committed seeds never change; inputs that fail are kept in WORK_FOLDER/findings.
# Exits non-zero when the fuzzer finds a crash, a sanitizer report, a wrong result or a hang.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:?usage: run.sh SECONDS WORK_FOLDER [reader|record]}
work=${2:?usage: run.sh SECONDS WORK_FOLDER [reader|record]}
target=${3:-reader}

"$root/fuzz/build.sh" "$work" "$target"
mkdir -p "$work/corpus" "$work/findings"
case "$target" in
reader)
    cp "$root"/fuzz/corpus/* "$root"/data/test/*.txt "$work/corpus/"
    dict="$root/fuzz/keywords.dict" ;;
record)
    cp "$root"/fuzz/record_corpus/* "$work/corpus/"
    dict="$root/fuzz/record.dict" ;;
esac

# -timeout=1: an input that takes over a second is a hang. Inputs up to 10000 bytes reach
# past the reader's 4096-byte buffer.
"$work/${target}_fuzzer" "$work/corpus" \
    -dict="$dict" \
    -max_total_time="$seconds" -timeout=1 -max_len=10000 \
    -artifact_prefix="$work/findings/" -print_final_stats=1
