#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The package's version only rises: in a throwaway repository, each commit, a release tag on a
# commit, a commit after it, a shallow clone of that commit and a release that raises the
# changelog's version each give a Debian version (packaging/version.cmake) that dpkg ranks
# above the one before; a tag never lowers it and a shallow clone gives the full clone's.
#   usage: version_order.sh VERSION_CMAKE
# Exits with 77 (skipped) without git or dpkg.
set -eu
script=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
for tool in git dpkg; do
    command -v $tool >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export GIT_CONFIG_GLOBAL=/dev/null GIT_CONFIG_SYSTEM=/dev/null HOME="$work"
export GIT_AUTHOR_NAME=t GIT_AUTHOR_EMAIL=t@example.org GIT_COMMITTER_NAME=t
export GIT_COMMITTER_EMAIL=t@example.org
repo="$work/repo"
git init -q "$repo"

version() { # CHANGELOG_VERSION [CHECKOUT]
    cmake -DCHANGELOG_VERSION="$1" -DVERSION_SOURCE_DIR="${2:-$repo}" -P "$script" 2>&1
}
commit() { # TIME (seconds since 1970; the zone must not matter)
    echo "$1" >>"$repo/file"
    git -C "$repo" add file
    GIT_COMMITTER_DATE="@$1 +1300" GIT_AUTHOR_DATE="@$1 +1300" git -C "$repo" commit -qm "at $1"
}

failed=0
previous=""
previous_what=""
expect_rise() { # WHAT VERSION
    case $2 in
    *[!0-9A-Za-z.+~-]* | "") echo "FAIL: $1: not a version: $2"; failed=1; return ;;
    esac
    if [ -n "$previous" ] && ! dpkg --compare-versions "$2" gt "$previous"; then
        echo "FAIL: $1 gives $2, not above $previous_what's $previous"
        failed=1
    else
        echo "ok: $1: $2"
    fi
    previous=$2
    previous_what=$1
}

# Computers may hold a build of the earlier scheme, the commit count after the tag.
previous=1.0.0+99999.gffffffff
previous_what="the earlier scheme"
commit 1765300000
expect_rise "the first commit" "$(version 1.0.0)"
commit 1765300001
expect_rise "a commit one second later" "$(version 1.0.0)"
# Many commits later, in another year: the date's digits are compared as numbers.
commit 1796836000
untagged=$(version 1.0.0)
expect_rise "a commit a year later" "$untagged"
git -C "$repo" tag v1.0.0
tagged=$(version 1.0.0)
if dpkg --compare-versions "$tagged" lt "$untagged"; then
    echo "FAIL: tagging lowered the version from $untagged to $tagged"
    failed=1
else
    echo "ok: the tag keeps $tagged"
fi
commit 1796836100
full=$(version 1.0.0)
expect_rise "a commit after the tag" "$full"
git clone -q --depth 1 "file://$repo" "$work/shallow"
shallow=$(version 1.0.0 "$work/shallow")
if [ "$shallow" != "$full" ]; then
    echo "FAIL: a shallow clone gives $shallow, the full clone $full"
    failed=1
else
    echo "ok: a shallow clone gives the same $shallow"
fi
commit 1796836200
expect_rise "a release that raises the changelog to 1.1.0" "$(version 1.1.0)"
commit 1796836300
expect_rise "a commit after that release" "$(version 1.1.0)"
expect_rise "outside git, the changelog's newer version" "$(version 1.2.0 "$work/nowhere")"
exit $failed
