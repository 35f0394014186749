#!/bin/sh
# Checks the package built in BUILD the way Debian checks packages: the desktop entry, the
# AppStream metainfo and the .deb itself with lintian. Fails on any error; prints warnings.
#   usage: packaging/check.sh BUILD
set -eu
build=${1:?usage: check.sh BUILD}
here=$(dirname "$0")

deb=$(ls "$build"/corvane-maths_*.deb)
echo "== desktop-file-validate"
desktop-file-validate "$here/corvane-maths.desktop"
echo "== appstreamcli validate"
# It fails on warnings too; the one it gives (the id is not a reversed domain name) is
# explained in the README, so only errors fail here.
report=$(appstreamcli validate --no-net "$build/packaging/corvane-maths.metainfo.xml") || true
echo "$report"
if echo "$report" | grep -q '^E:'; then exit 1; fi
echo "== lintian $deb"
lintian --fail-on error --display-info "$deb"
echo "package checked: $deb"
