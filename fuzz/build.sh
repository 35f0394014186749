#!/bin/sh
# Builds a fuzzer with clang, libFuzzer, AddressSanitizer and UBSan.
# Usage: fuzz/build.sh OUTPUT_FOLDER [TARGET]   (TARGET: reader, the default, or record; the
# program is OUTPUT_FOLDER/TARGET_fuzzer)
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:?usage: build.sh OUTPUT_FOLDER [reader|record]}
target=${2:-reader}
mkdir -p "$out"

core="src/content/reader.cpp src/content/line_source.cpp src/content/numbers.cpp
src/content/question_store.cpp src/content/text.cpp"
libs=""
case "$target" in
reader) sources="fuzz/reader_fuzzer.cpp $core" ;;
record)
    sources="fuzz/record_fuzzer.cpp tools/results/record.cpp tools/results/csv.cpp
    src/taking/class_record.cpp src/taking/report.cpp src/taking/panel_texts.cpp
    src/content/text.cpp"
    libs="-lcsv" ;;
*) echo "build.sh: unknown fuzz target '$target' (reader, record)" >&2; exit 2 ;;
esac

# shellcheck disable=SC2046,SC2086
clang++ -std=c++20 -g -O1 -fPIC -Wall -Wextra -Werror \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -fno-omit-frame-pointer \
    -I"$root" -I"$root/src" $(pkg-config --cflags Qt6Core) \
    $(for f in $sources; do echo "$root/$f"; done) \
    $(pkg-config --libs Qt6Core) $libs \
    -o "$out/${target}_fuzzer"
