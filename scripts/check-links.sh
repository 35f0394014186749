#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks every relative link of the Markdown files of the checkout (or those given): the file or folder
# it names exists, and its #part, if any, is a heading of that file (GitHub's anchors: lower
# case, punctuation dropped, spaces as -). Links in code blocks and web addresses are skipped.
# Prints each broken link as FILE:LINE: LINK and exits 1 when there is one.
#   usage: scripts/check-links.sh [FILE.md...]
# Exits 77 (skipped) outside a git checkout when no file is given.
set -eu
cd "$(dirname "$0")/.."
if [ $# -eq 0 ] && ! git rev-parse --git-dir >/dev/null 2>&1; then
    echo "skipped: not a git checkout"
    exit 77
fi
exec python3 - "$@" <<'PY'
import os, re, subprocess, sys

def anchors(path):
    found, fence = set(), False
    for line in open(path, encoding='utf-8'):
        if line.startswith('```'):
            fence = not fence
        elif not fence and line.startswith('#'):
            title = line.lstrip('#').strip().lower()
            found.add(re.sub(r'[^\w\- ]', '', title).replace(' ', '-'))
    return found

sources = sys.argv[1:] or subprocess.run(
    ['git', 'ls-files', '-z', '--cached', '--others', '--exclude-standard', '*.md'],
    check=True, capture_output=True, text=True).stdout.split('\0')[:-1]
broken = 0
for source in sources:
    fence = False
    for number, line in enumerate(open(source, encoding='utf-8'), 1):
        if line.startswith('```'):
            fence = not fence
        if fence:
            continue
        line = re.sub(r'`[^`]*`', '', line)
        for target in re.findall(r'\]\(<?([^)>\s]+)>?\)', line):
            if re.match(r'[a-z]+:', target):
                continue
            path, _, part = target.partition('#')
            full = os.path.normpath(os.path.join(os.path.dirname(source), path)) if path else source
            if not os.path.exists(full):
                print(f'{source}:{number}: {target}: no such file')
                broken += 1
            elif part and full.endswith('.md') and part not in anchors(full):
                print(f'{source}:{number}: {target}: no heading "{part}"')
                broken += 1
sys.exit(1 if broken else 0)
PY
