#!/bin/sh
# Checks the package built in BUILD the way Debian checks packages: the desktop entry, the
# AppStream metainfo and the .deb itself with lintian. Fails on any error; prints warnings.
#   usage: packaging/check.sh BUILD
set -eu
build=${1:?usage: check.sh BUILD}
here=$(dirname "$0")

deb=$(find "$build" -maxdepth 1 -name 'corvane-maths_*.deb' | head -n 1)
[ -n "$deb" ] || { echo "check.sh: no corvane-maths_*.deb in $build" >&2; exit 1; }
echo "== desktop-file-validate"
desktop-file-validate "$here/corvane-maths.desktop" "$here/corvane-teacher.desktop"
echo "== appstreamcli validate"
# It fails on warnings too; the one it gives (the id is not a reversed domain name) is
# explained in the README, so only errors fail here.
report=$(appstreamcli validate --no-net "$build/packaging/corvane-maths.metainfo.xml") || true
echo "$report"
if echo "$report" | grep -q '^E:'; then exit 1; fi
echo "== lintian $deb"
lintian --fail-on error --display-info "$deb"
echo "package checked: $deb"
