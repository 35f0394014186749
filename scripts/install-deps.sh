#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages that one or more jobs need and that are not on the machine yet.
#   usage: install-deps.sh JOB...   (JOB: build, test, bench, fuzz, package)
# Every job needs the build packages too. Safe to run again: does nothing when all are present.
set -eu

BUILD="cmake ninja-build g++ make qt6-base-dev qt6-base-dev-tools qt6-webengine-dev \
qt6-webengine-dev-tools libqt6webenginecore6-bin libxrandr-dev libx11-dev libgl-dev \
fonts-liberation fonts-comic-neue libcsv-dev"
# corvane-make renders test sources' Markdown with md4c.
BUILD="$BUILD pkg-config libmd4c-dev libmd4c-html0-dev"
# corvane-make typesets maths with KaTeX in Qt's JavaScript engine (Qt Qml), and puts KaTeX's
# style sheet and fonts beside the pages.
BUILD="$BUILD qt6-declarative-dev libjs-katex fonts-katex"
# corvane-results and the teacher's window read question headings with libxml2's HTML parser.
BUILD="$BUILD libxml2-dev"
# The spreadsheet export of corvane-results and the Results page (.xlsx).
BUILD="$BUILD libxlsxwriter-dev"
# Reading the questions aloud: Qt's text-to-speech, speaking through speech-dispatcher with
# espeak-ng (also what `make run` speaks with).
BUILD="$BUILD qt6-speech-dev qt6-speech-speechd-plugin speech-dispatcher \
speech-dispatcher-espeak-ng speech-dispatcher-audio-plugins espeak-ng"
# The window tests, the dummy-Xorg display-mode test and the short fuzz run inside the suite.
TEST="xvfb xauth xdotool imagemagick x11-utils poppler-utils xserver-xorg-core \
xserver-xorg-video-dummy clang libclang-rt-14-dev"
# The spreadsheet export is read back by unzip and opened by LibreOffice, as a teacher would.
TEST="$TEST unzip libreoffice-calc-nogui"
# The real speech engine check also tries the flite plugin.
TEST="$TEST qt6-speech-flite-plugin"
# The screen-reader test: the pupil's window under Orca, speech synthesised into nothing.
TEST="$TEST orca speech-dispatcher espeak-ng at-spi2-core openbox dbus-x11"
# The benchmarks drive the program under Xvfb and compare with headless Chromium.
BENCH="xvfb xauth xdotool x11-utils chromium"
FUZZ="clang libclang-rt-14-dev"
# Packing and checking the .debs (make package) and their apt repository's signed Release file
# (make repo: apt-ftparchive, gpg).
PACKAGE="dpkg-dev file lintian desktop-file-utils appstream man-db apt-utils gpg xz-utils"

[ $# -gt 0 ] || set -- build
wanted="$BUILD"
for job in "$@"; do
    case "$job" in
    build) ;;
    test) wanted="$wanted $TEST" ;;
    bench) wanted="$wanted $BENCH" ;;
    fuzz) wanted="$wanted $FUZZ" ;;
    package) wanted="$wanted $PACKAGE" ;;
    *) echo "install-deps.sh: unknown job '$job' (build, test, bench, fuzz, package)" >&2; exit 2 ;;
    esac
done

missing=""
for p in $wanted; do
    case " $missing " in *" $p "*) continue ;; esac
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

[ -z "$missing" ] && exit 0

# As root apt-get runs as it is; otherwise through sudo where there is one. A minimal Debian
# has no sudo: then say what to install and how.
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null 2>&1; then
        echo "install-deps.sh: these Debian packages are missing:$missing" >&2
        echo "This account is not root and there is no sudo. Install them as root, then run" >&2
        echo "the command again:" >&2
        echo "    su -c 'apt-get update && apt-get install --no-install-recommends$missing'" >&2
        exit 1
    fi
    SUDO="sudo"
fi
echo "Installing:$missing"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
# shellcheck disable=SC2086
$SUDO apt-get install -y -q --no-install-recommends $missing
