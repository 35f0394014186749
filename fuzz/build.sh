#!/bin/sh
# Builds the test file reader fuzzer with clang, libFuzzer, AddressSanitizer and UBSan.
# Usage: fuzz/build.sh OUTPUT_FOLDER   (the program is OUTPUT_FOLDER/reader_fuzzer)
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:?usage: build.sh OUTPUT_FOLDER}
mkdir -p "$out"

# shellcheck disable=SC2046
clang++ -std=c++20 -g -O1 -fPIC -Wall -Wextra -Werror \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -fno-omit-frame-pointer \
    -I"$root/src" $(pkg-config --cflags Qt6Core) \
    "$root/fuzz/reader_fuzzer.cpp" \
    "$root/src/content/reader.cpp" \
    "$root/src/content/line_source.cpp" \
    "$root/src/content/app_error.cpp" \
    "$root/src/content/numbers.cpp" \
    "$root/src/content/question_store.cpp" \
    "$root/src/content/text.cpp" \
    $(pkg-config --libs Qt6Core) \
    -o "$out/reader_fuzzer"
