#!/bin/sh
# Builds a fuzzer with clang, libFuzzer, AddressSanitizer and UBSan.
# Usage: fuzz/build.sh OUTPUT_FOLDER [TARGET]   (TARGET: reader, the default, or gift; the
# program is OUTPUT_FOLDER/TARGET_fuzzer)
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:?usage: build.sh OUTPUT_FOLDER [reader|gift]}
target=${2:-reader}
mkdir -p "$out"

core="src/content/reader.cpp src/content/line_source.cpp src/content/numbers.cpp
src/content/question_store.cpp src/content/text.cpp"
case "$target" in
reader) sources="fuzz/reader_fuzzer.cpp $core" ;;
gift)
    sources="fuzz/gift_fuzzer.cpp $core src/taking/marking_rules.cpp src/taking/normalise.cpp
    tools/make/answers.cpp tools/make/test_source.cpp $(cd "$root" && ls tools/make/gift_*.cpp)" ;;
*) echo "build.sh: unknown fuzz target '$target' (reader, gift)" >&2; exit 2 ;;
esac

# shellcheck disable=SC2046,SC2086
clang++ -std=c++20 -g -O1 -fPIC -Wall -Wextra -Werror \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -fno-omit-frame-pointer \
    -I"$root" -I"$root/src" $(pkg-config --cflags Qt6Core) \
    $(for f in $sources; do echo "$root/$f"; done) \
    $(pkg-config --libs Qt6Core) \
    -o "$out/${target}_fuzzer"
