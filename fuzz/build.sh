#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds a fuzzer with clang, libFuzzer, AddressSanitizer and UBSan.
# Usage: fuzz/build.sh OUTPUT_FOLDER [reader|record|gift]   (the program is OUTPUT_FOLDER/NAME_fuzzer)
#   reader: the test file reader (the default); record: the record parser of corvane-results;
#   gift: corvane-make's GIFT reader
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:?usage: build.sh OUTPUT_FOLDER [reader|record|gift]}
name=${2:-reader}
mkdir -p "$out"

core="src/core/reader.cpp src/core/line_source.cpp src/core/numbers.cpp
      src/core/question_store.cpp src/core/text.cpp src/core/app_error.cpp"
libs=""
cflags=""
case "$name" in
reader) sources="$core" ;;
record)
    sources="src/core/record_reader.cpp src/core/csv_lines.cpp src/core/class_record.cpp
             src/core/report.cpp src/core/panel_texts.cpp src/core/text.cpp
             src/core/app_error.cpp"
    libs="-lcsv" ;;
gift)
    sources="$core src/core/marking_rules.cpp src/core/normalise.cpp src/core/tex_plain.cpp
             tools/make/answers.cpp tools/make/form_hints.cpp tools/make/markdown.cpp
             tools/make/html_allow_list.cpp tools/make/test_source.cpp
             $(cd "$root" && ls tools/make/gift_*.cpp)"
    cflags="$(pkg-config --cflags libxml-2.0)"
    libs="$(pkg-config --libs md4c-html md4c libxml-2.0)" ;;
*) echo "build.sh: unknown fuzzer '$name' (reader, record, gift)" >&2; exit 2 ;;
esac

# shellcheck disable=SC2046,SC2086
clang++ -std=c++20 -g -O1 -fPIC -Wall -Wextra -Werror \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -fno-omit-frame-pointer \
    -I"$root/src" -I"$root" $(pkg-config --cflags Qt6Core) $cflags \
    "$root/fuzz/${name}_fuzzer.cpp" \
    $(for s in $sources; do printf '%s/%s ' "$root" "$s"; done) \
    $(pkg-config --libs Qt6Core) $libs \
    -o "$out/${name}_fuzzer"
