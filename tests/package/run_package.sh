#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The built package as a school's technician uses it:
#  1. unpacked, the program started from its /usr/bin link in another folder lists the samples;
#  2. with /etc/corvane-maths/corvane-maths.ini (the shipped template, its settings filled in)
#     naming a read-only shared library and a results folder, it lists the shared tests, and
#     the samples too when asked; corvane-results finds the results folder there;
#  3. installed with dpkg into a throwaway root, upgraded to a higher version, removed and
#     purged: the shared folders stay byte-identical and the technician's settings stay, and
#     after removal nothing but the conffile is left, after purge nothing.
# A probe plugin prints the tests the window lists (QT_QPA_GENERIC_PLUGINS), so the program
# needs no test hook. Parts 2 and 3 run in a private mount namespace as root (the read-only
# folder, the test's /etc); without one they are skipped with a message.
#   usage: run_package.sh PACKAGE_BUILD PROBE_PLUGIN_PATH
# Exits with 77 (skipped) when dpkg-deb is missing or no package has been built.
set -eu
build=$1
plugins=$(cd "$2" && pwd)

if ! command -v dpkg-deb >/dev/null; then
    echo "skipped: dpkg-deb is not installed"
    exit 77
fi
deb=$(find "$build" -maxdepth 1 -name 'corvane-maths_*.deb' 2>/dev/null | head -n 1)
if [ -z "$deb" ]; then
    echo "skipped: no package in $build (make package builds it)"
    exit 77
fi
deb=$(cd "$(dirname "$deb")" && pwd)/$(basename "$deb")
# Parts 2 and 3 mount folders: the script goes on in a mount namespace of its own, whose
# mounts end with it.
if [ -z "${CORVANE_NAMESPACE:-}" ] && [ "$(id -u)" -eq 0 ] && unshare -m true 2>/dev/null; then
    exec env CORVANE_NAMESPACE=1 unshare -m --propagation private "$0" "$@"
fi
echo "package: $deb"

work=$(mktemp -d)
cleanup() {
    [ -n "${CORVANE_NAMESPACE:-}" ] && umount "$work/target/srv/library" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
root="$work/unpacked"
dpkg-deb -x "$deb" "$root"
mkdir "$work/elsewhere" "$work/home" "$work/run"
chmod 700 "$work/run"

# Prints what the window lists, one "listed: NAME" line each, sorted.
listed() {
    shown=$(cd "$work/elsewhere" && env -u DISPLAY -u WAYLAND_DISPLAY HOME="$work/home" \
        XDG_RUNTIME_DIR="$work/run" QT_QPA_PLATFORM=offscreen QT_PLUGIN_PATH="$plugins" \
        QT_QPA_GENERIC_PLUGINS=corvanelistprobe timeout 60 "$root/usr/bin/corvane-maths" 2>&1) || {
        echo "FAIL: the program ended with $?: $shown" >&2
        exit 1
    }
    if ! echo "$shown" | grep -qx "window: Corvane Maths"; then
        echo "FAIL: no window captioned Corvane Maths: $shown" >&2
        exit 1
    fi
    echo "$shown" | grep '^listed: ' | sort
}
# The "listed:" lines of the test files in the folders given.
tests_in() {
    find "$@" -mindepth 1 -maxdepth 1 -iname '*.txt' -printf 'listed: %f\n' | sort
}
expect_list() { # WHAT EXPECTED
    got=$(listed)
    if [ "$got" != "$2" ]; then
        printf 'FAIL: %s: the window lists\n%s\ninstead of\n%s\n' "$1" "$got" "$2"
        exit 1
    fi
    echo "ok: $1"
}

# 1. Unpacked, from the link in /usr/bin.
target=$(readlink "$root/usr/bin/corvane-maths")
if [ "$target" != ../lib/corvane-maths/corvane-maths ]; then
    echo "FAIL: /usr/bin/corvane-maths links to '$target'"
    exit 1
fi
samples="$root/usr/lib/corvane-maths/test"
[ -n "$(tests_in "$samples")" ] || { echo "FAIL: the package has no sample tests"; exit 1; }
expect_list "started from /usr/bin, the program lists the package's sample tests" \
    "$(tests_in "$samples")"

if [ -z "${CORVANE_NAMESPACE:-}" ]; then
    echo "skipped: the shared library, /etc settings, upgrade and removal need root and a" \
        "private mount namespace (unshare -m)"
    exit 0
fi

# The shared folders, in the /srv of the root that dpkg installs into in part 3: a read-only
# library with a test of its own, and a results folder.
target="$work/target"
shared="$target/srv"
library="$shared/library"
results="$shared/results"
mkdir -p "$library" "$results"
cp -r "$samples/Number Puzzles.txt" "$library/Class 4B Puzzles.txt"
cp -r "$samples/Number Puzzles" "$library/Class 4B Puzzles"
mount --bind "$library" "$library"
mount -o remount,bind,ro "$library"
if touch "$library/written" 2>/dev/null; then echo "FAIL: the library is not read-only"; exit 1; fi
fingerprint() {
    (cd "$shared" && find . -printf '%p %m %s %T@\n' | sort &&
        find . -type f -exec sha256sum {} + | sort)
}
before=$(fingerprint)

# 2. The settings in /etc: the shipped template with its settings filled in, shown to the
# program through an overlay on /etc that only this namespace sees.
etc="$work/etc"
mkdir -p "$etc/corvane-maths"
settings() { # SAMPLES
    sed -e 's/^;\(samples=\).*/\1'"$1"'/' -e 's/^;\(offer=\).*/\1never/' \
        -e 's|^;folder=/srv/corvane-maths/tests|folder='"$library"'|' \
        -e 's|^;folder=/srv/corvane-maths/results|folder='"$results"'|' \
        "$root/etc/corvane-maths/corvane-maths.ini" >"$etc/corvane-maths/corvane-maths.ini"
}
settings no
mount -t overlay overlay -o lowerdir="$etc:/etc" /etc
expect_list "with /etc settings, the program lists the shared library alone" "$(tests_in "$library")"
settings yes
expect_list "with library/samples=yes, the shared tests and the samples" \
    "$(tests_in "$library" "$samples")"
report=$("$root/usr/bin/corvane-results" 2>&1) || { echo "FAIL: corvane-results: $report"; exit 1; }
if [ "$report" != "No records in $results" ]; then
    echo "FAIL: corvane-results did not read the results folder of the settings: $report"
    exit 1
fi
echo "ok: corvane-results reads results/folder from /etc, and the filled-in template has no mistake"
umount /etc

# 3. dpkg in the throwaway root: install, upgrade, remove, purge.
mkdir -p "$target/var/lib/dpkg/info" "$target/var/lib/dpkg/updates" "$target/var/lib/dpkg/triggers"
touch "$target/var/lib/dpkg/status" "$target/var/lib/dpkg/available"
in_target() { dpkg --root="$target" --force-depends --force-confold "$@" >"$work/dpkg.log" 2>&1 ||
    { cat "$work/dpkg.log"; echo "FAIL: dpkg $*"; exit 1; }; }
left() { (cd "$target" && find . \( -path ./var/lib/dpkg -o -path ./srv \) -prune -o -print | sort); }
empty=$(left)

version=$(dpkg-deb -f "$deb" Version)
higher="$version.1"
dpkg --compare-versions "$higher" gt "$version"
dpkg-deb -R "$deb" "$work/next"
sed -i "s/^Version: .*/Version: $higher/" "$work/next/DEBIAN/control"
echo "a changed sample" >>"$work/next/usr/lib/corvane-maths/test/Number Puzzles/front.htm"
dpkg-deb -b --root-owner-group "$work/next" "$work/next.deb" >/dev/null

in_target -i "$deb"
ini="$target/etc/corvane-maths/corvane-maths.ini"
printf '[library]\nfolder=%s\n' "$library" >>"$ini"
mine=$(cat "$ini")
in_target -i "$work/next.deb"
installed=$(dpkg-query --admindir="$target/var/lib/dpkg" -W -f='${Version}' corvane-maths)
[ "$installed" = "$higher" ] || { echo "FAIL: the upgrade left version $installed"; exit 1; }
grep -q "a changed sample" "$target/usr/lib/corvane-maths/test/Number Puzzles/front.htm" ||
    { echo "FAIL: the upgrade did not replace the samples"; exit 1; }
[ "$(cat "$ini")" = "$mine" ] || { echo "FAIL: the upgrade changed the technician's settings"; exit 1; }
echo "ok: upgraded from $version to $higher, the settings kept"

in_target -r corvane-maths
expected=$(printf '%s\n./etc\n./etc/corvane-maths\n./etc/corvane-maths/corvane-maths.ini' "$empty" | sort)
if [ "$(left)" != "$expected" ]; then
    printf 'FAIL: after removal the root holds\n%s\n' "$(left)"
    exit 1
fi
echo "ok: after removal only the conffile is left"
in_target -P corvane-maths
if [ "$(left)" != "$empty" ]; then
    printf 'FAIL: after purge the root holds\n%s\n' "$(left)"
    exit 1
fi
echo "ok: after purge nothing is left"

if [ "$(fingerprint)" != "$before" ]; then
    echo "FAIL: the shared folders changed"
    exit 1
fi
echo "ok: the shared library and results folder are byte-identical"
