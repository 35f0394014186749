#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the packages built in BUILD the way Debian checks packages: each desktop entry, each
# AppStream metainfo and each .deb (the pupil's corvane-maths and corvane-maths-teacher) with
# lintian. Fails on any error or warning, or when a package is missing.
#   usage: packaging/check.sh BUILD
set -eu
build=${1:?usage: check.sh BUILD}
here=$(dirname "$0")

debs=""
for package in corvane-maths corvane-maths-teacher; do
    deb=$(find "$build" -maxdepth 1 -name "${package}_*.deb" | head -n 1)
    [ -n "$deb" ] || { echo "check.sh: no ${package}_*.deb in $build" >&2; exit 1; }
    debs="$debs $deb"
done
for entry in "$here"/*.desktop; do
    echo "== desktop-file-validate $entry"
    desktop-file-validate "$entry"
done
for template in "$here"/*.metainfo.xml.in; do
    info="$build/packaging/$(basename "$template" .in)"
    echo "== appstreamcli validate $info"
    appstreamcli validate --no-net "$info"
done
for deb in $debs; do
    echo "== lintian $deb"
    lintian --fail-on error,warning --display-info "$deb"
    echo "package checked: $deb"
done
