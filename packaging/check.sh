#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the package built in BUILD the way Debian checks packages: each desktop entry, each
# AppStream metainfo and the .deb itself with lintian. Fails on any error or warning.
#   usage: packaging/check.sh BUILD
set -eu
build=${1:?usage: check.sh BUILD}
here=$(dirname "$0")

deb=$(find "$build" -maxdepth 1 -name 'corvane-maths_*.deb' | head -n 1)
[ -n "$deb" ] || { echo "check.sh: no corvane-maths_*.deb in $build" >&2; exit 1; }
for entry in "$here"/*.desktop; do
    echo "== desktop-file-validate $entry"
    desktop-file-validate "$entry"
done
for template in "$here"/*.metainfo.xml.in; do
    info="$build/packaging/$(basename "$template" .in)"
    echo "== appstreamcli validate $info"
    appstreamcli validate --no-net "$info"
done
echo "== lintian $deb"
lintian --fail-on error,warning --display-info "$deb"
echo "package checked: $deb"
