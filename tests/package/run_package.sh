#!/bin/sh
# Unpacks the built package into a temporary root and starts the program there from its
# /usr/bin link, in another folder, under the offscreen platform. A probe plugin prints the
# tests the window lists; they must be the test files of the package's program folder.
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
echo "package: $deb"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"

link="$root/usr/bin/corvane-maths"
target=$(readlink "$link")
if [ "$target" != /opt/corvane-maths/corvane-maths ]; then
    echo "FAIL: /usr/bin/corvane-maths links to '$target'"
    exit 1
fi
# Debian wants links between top-level folders absolute; here it is turned into the unpacked root.
ln -sfn "$root$target" "$link"

expected=$(find "$root/opt/corvane-maths/test" -mindepth 1 -maxdepth 1 -iname '*.txt' \
    -printf 'listed: %f\n' | sort)
if [ -z "$expected" ]; then
    echo "FAIL: the package has no sample tests"
    exit 1
fi

mkdir "$root/elsewhere" "$root/home" "$root/run"
chmod 700 "$root/run"
cd "$root/elsewhere"
status=0
shown=$(env -u DISPLAY -u WAYLAND_DISPLAY HOME="$root/home" XDG_RUNTIME_DIR="$root/run" QT_QPA_PLATFORM=offscreen \
    QT_PLUGIN_PATH="$plugins" QT_QPA_GENERIC_PLUGINS=corvanelistprobe \
    timeout 60 "$link" 2>&1) || status=$?
echo "$shown"
if [ "$status" -ne 0 ]; then
    echo "FAIL: the program ended with $status"
    exit 1
fi
if ! echo "$shown" | grep -qx "window: Corvane Maths"; then
    echo "FAIL: no window captioned Corvane Maths"
    exit 1
fi
listed=$(echo "$shown" | grep '^listed: ' | sort)
if [ "$listed" != "$expected" ]; then
    printf 'FAIL: the list differs from the package'"'"'s tests:\n%s\n' "$expected"
    exit 1
fi
echo "the program started from /usr/bin lists the package's tests"
