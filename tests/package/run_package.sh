#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The built packages (corvane-maths, the pupil's; corvane-maths-teacher) as a school's
# technician uses them:
#  1. the teacher's window and tools are in the teacher's package alone, which needs the
#     pupil's of the same version; unpacked, the program started from its /usr/bin link in
#     another folder lists the samples;
#  2. with /etc/corvane-maths/corvane-maths.ini (the shipped template, its settings filled in)
#     naming a read-only shared library and a results folder, it lists the shared tests, and
#     the samples too when asked; corvane-results finds the results folder there; a drop-in in
#     conf.d/ replaces a setting, and corvane-check --settings names a broken drop-in's lines;
#  3. installed with dpkg into a throwaway root, upgraded to a higher version, removed and
#     purged: the shared folders stay byte-identical and the technician's settings stay, and
#     after removal nothing but the conffile and the drop-in is left, after purge the drop-in.
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
teacher_deb=$(find "$(dirname "$deb")" -maxdepth 1 -name 'corvane-maths-teacher_*.deb' | head -n 1)
if [ -z "$teacher_deb" ]; then
    echo "FAIL: no corvane-maths-teacher_*.deb beside $deb"
    exit 1
fi
# Parts 2 and 3 mount folders: the script goes on in a mount namespace of its own, whose
# mounts end with it.
if [ -z "${CORVANE_NAMESPACE:-}" ] && [ "$(id -u)" -eq 0 ] && unshare -m true 2>/dev/null; then
    exec env CORVANE_NAMESPACE=1 unshare -m --propagation private "$0" "$@"
fi
echo "packages: $deb $teacher_deb"

work=$(mktemp -d)
cleanup() {
    [ -n "${CORVANE_NAMESPACE:-}" ] && umount "$work/target/srv/library" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
root="$work/unpacked"
dpkg-deb -x "$deb" "$root"
dpkg-deb -x "$teacher_deb" "$root"
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

# 1. What each package holds and needs.
version=$(dpkg-deb -f "$deb" Version)
depends=$(dpkg-deb -f "$teacher_deb" Depends)
case ", $depends," in
*", corvane-maths (= $version),"*) echo "ok: the teacher's package depends on corvane-maths (= $version)" ;;
*) echo "FAIL: the teacher's package depends on: $depends"; exit 1 ;;
esac
[ "$(dpkg-deb -f "$teacher_deb" Version)" = "$version" ] ||
    { echo "FAIL: the two packages' versions differ"; exit 1; }
files_of() { dpkg-deb -c "$1" | sed -E -e 's/^([^ ]+ +){5}//' -e 's/ -> .*//'; }
teacher_files=$(files_of "$teacher_deb")
pupil_files=$(files_of "$deb")
for command in corvane-teacher corvane-make corvane-results; do
    echo "$teacher_files" | grep -qx "./usr/lib/corvane-maths/$command" ||
        { echo "FAIL: $command is not in the teacher's package"; exit 1; }
    if echo "$pupil_files" | grep -q "/$command\(\.1\.gz\)\{0,1\}$"; then
        echo "FAIL: the pupil's package holds $command"
        exit 1
    fi
done
echo "$pupil_files" | grep -qx ./usr/lib/corvane-maths/corvane-check ||
    { echo "FAIL: corvane-check is not in the pupil's package"; exit 1; }
if echo "$pupil_files" | grep -q org.corvane.Teacher; then
    echo "FAIL: the pupil's package holds the teacher's menu entry"
    exit 1
fi
shared=$(printf '%s\n' "$pupil_files" "$teacher_files" | grep -v '/$' | sort | uniq -d)
[ -z "$shared" ] || { echo "FAIL: files in both packages: $shared"; exit 1; }
echo "ok: the teacher's window, corvane-make and corvane-results are in the teacher's package alone"

# Unpacked, from the link in /usr/bin.
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
chmod 3773 "$results" # a drop box, which the settings check asks for
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
# A drop-in replaces a setting of the main file; a broken one is named by the settings check.
# (The overlay is mounted again after each change below it, which it may not show otherwise.)
mkdir "$etc/corvane-maths/conf.d"
printf '[library]\nsamples=no\n' >"$etc/corvane-maths/conf.d/50-school.ini"
umount /etc
mount -t overlay overlay -o lowerdir="$etc:/etc" /etc
expect_list "a drop-in in conf.d/ replaces library/samples=yes" "$(tests_in "$library")"
check=$("$root/usr/bin/corvane-check" --settings 2>&1) ||
    { echo "FAIL: corvane-check --settings finds problems in good settings: $check"; exit 1; }
printf '[display]\noffer=off\n[results]\nfodler=/srv\n' >"$etc/corvane-maths/conf.d/60-typo.ini"
umount /etc
mount -t overlay overlay -o lowerdir="$etc:/etc" /etc
if check=$("$root/usr/bin/corvane-check" --settings 2>&1); then
    echo "FAIL: corvane-check --settings accepts a broken drop-in: $check"
    exit 1
fi
for line in "/etc/corvane-maths/conf.d/60-typo.ini line 2: \"offer\" must be ask or never, not \"off\"" \
    "/etc/corvane-maths/conf.d/60-typo.ini line 4: \"fodler\" is not a setting of [results] (did you mean \"folder\"?)"; do
    echo "$check" | grep -qxF "$line" ||
        { printf 'FAIL: corvane-check --settings does not say\n%s\nbut\n%s\n' "$line" "$check"; exit 1; }
done
echo "ok: corvane-check --settings names each line of a broken drop-in"
rm -r "$etc/corvane-maths/conf.d"
umount /etc

# 3. dpkg in the throwaway root: install, upgrade, remove, purge.
mkdir -p "$target/var/lib/dpkg/info" "$target/var/lib/dpkg/updates" "$target/var/lib/dpkg/triggers"
touch "$target/var/lib/dpkg/status" "$target/var/lib/dpkg/available"
in_target() { dpkg --root="$target" --force-depends --force-confold "$@" >"$work/dpkg.log" 2>&1 ||
    { cat "$work/dpkg.log"; echo "FAIL: dpkg $*"; exit 1; }; }
left() { (cd "$target" && find . \( -path ./var/lib/dpkg -o -path ./srv \) -prune -o -print | sort); }
empty=$(left)

higher="$version.1"
dpkg --compare-versions "$higher" gt "$version"
repack() { # DEB NAME: the package at version $higher, as $work/NAME.deb
    dpkg-deb -R "$1" "$work/$2"
    sed -i -e "s/^Version: .*/Version: $higher/" -e "s/(= $version)/(= $higher)/" \
        "$work/$2/DEBIAN/control"
}
repack "$deb" next
echo "a changed sample" >>"$work/next/usr/lib/corvane-maths/test/Number Puzzles/front.htm"
dpkg-deb -b --root-owner-group "$work/next" "$work/next.deb" >/dev/null
repack "$teacher_deb" next-teacher
dpkg-deb -b --root-owner-group "$work/next-teacher" "$work/next-teacher.deb" >/dev/null

in_target -i "$deb" "$teacher_deb"
ini="$target/etc/corvane-maths/corvane-maths.ini"
printf '[library]\nfolder=%s\n' "$library" >>"$ini"
mine=$(cat "$ini")
dropin="$target/etc/corvane-maths/conf.d/50-school.ini"
mkdir -p "$(dirname "$dropin")"
printf '[display]\noffer=never\n' >"$dropin"
in_target -i "$work/next.deb" "$work/next-teacher.deb"
for package in corvane-maths corvane-maths-teacher; do
    installed=$(dpkg-query --admindir="$target/var/lib/dpkg" -W -f='${Version}' $package)
    [ "$installed" = "$higher" ] || { echo "FAIL: the upgrade left $package $installed"; exit 1; }
done
[ "$(cat "$dropin")" = "$(printf '[display]\noffer=never')" ] ||
    { echo "FAIL: the upgrade changed the drop-in"; exit 1; }
grep -q "a changed sample" "$target/usr/lib/corvane-maths/test/Number Puzzles/front.htm" ||
    { echo "FAIL: the upgrade did not replace the samples"; exit 1; }
[ "$(cat "$ini")" = "$mine" ] || { echo "FAIL: the upgrade changed the technician's settings"; exit 1; }
echo "ok: upgraded from $version to $higher, the settings kept"

in_target -r corvane-maths-teacher corvane-maths
kept=$(printf '%s\n./etc\n./etc/corvane-maths\n./etc/corvane-maths/conf.d\n%s' "$empty" \
    ./etc/corvane-maths/conf.d/50-school.ini | sort)
expected=$(printf '%s\n./etc/corvane-maths/corvane-maths.ini' "$kept" | sort)
if [ "$(left)" != "$expected" ]; then
    printf 'FAIL: after removal the root holds\n%s\n' "$(left)"
    exit 1
fi
echo "ok: after removal only the conffile and the technician's drop-in are left"
in_target -P corvane-maths
if [ "$(left)" != "$kept" ]; then
    printf 'FAIL: after purge the root holds\n%s\n' "$(left)"
    exit 1
fi
echo "ok: after purge only the technician's drop-in is left"

if [ "$(fingerprint)" != "$before" ]; then
    echo "FAIL: the shared folders changed"
    exit 1
fi
echo "ok: the shared library and results folder are byte-identical"
