#!/bin/sh
# Installs the Debian packages the project needs that are not on the machine yet.
# Safe to run again: does nothing when everything is present.
set -eu

PACKAGES="cmake ninja-build g++ make qt6-base-dev qt6-base-dev-tools qt6-webengine-dev \
qt6-webengine-dev-tools libqt6webenginecore6-bin libxrandr-dev libx11-dev \
fonts-liberation fonts-comic-neue xvfb xauth xdotool imagemagick x11-utils poppler-utils \
libgl-dev xserver-xorg-core xserver-xorg-video-dummy clang libclang-rt-14-dev chromium"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

[ -z "$missing" ] && exit 0

echo "Installing:$missing"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
# shellcheck disable=SC2086
$SUDO apt-get install -y -q --no-install-recommends $missing
