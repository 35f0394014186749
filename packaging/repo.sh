#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Adds the packages built in BUILD to the flat apt repository REPO and indexes it: Packages,
# Packages.gz and Packages.xz of every version there (apt takes the highest), a Release file
# with their checksums and the Origin and Label given (which unattended-upgrades matches), and
# its signatures InRelease and Release.gpg, so that apt finds every file it asks for. The
# signing key is made on first use in KEY_HOME (a GnuPG home outside the repository: keep it,
# and keep it private); its public half is REPO/corvane-maths.gpg, which the computers trust.
#   usage: packaging/repo.sh BUILD REPO ORIGIN LABEL KEY_HOME
set -eu
build=$1
repo=$2
origin=$3
label=$4
mkdir -p "$5"
key_home=$(cd "$5" && pwd)
mkdir -p "$repo"
found=0
for deb in "$build"/corvane-maths_*.deb "$build"/corvane-maths-teacher_*.deb; do
    [ -e "$deb" ] || continue
    cp "$deb" "$repo/"
    found=1
done
[ $found -eq 1 ] || { echo "repo.sh: no package in $build" >&2; exit 1; }

export GNUPGHOME="$key_home"
chmod 700 "$GNUPGHOME"
if ! gpg --batch --list-secret-keys 2>/dev/null | grep -q '^sec'; then
    echo "repo.sh: making the repository's signing key in $GNUPGHOME"
    gpg --batch --quiet --passphrase '' --quick-gen-key \
        "$origin repository <corvane-maths@localhost>" ed25519 sign never
fi

cd "$repo"
release=$(mktemp) # outside the folder, which apt-ftparchive lists
trap 'rm -f "$release"; gpgconf --kill gpg-agent' EXIT
rm -f Release InRelease Release.gpg
dpkg-scanpackages --multiversion . /dev/null >Packages 2>/dev/null
gzip -9nkf Packages
xz -kf Packages
apt-ftparchive \
    -o "APT::FTPArchive::Release::Origin=$origin" \
    -o "APT::FTPArchive::Release::Label=$label" \
    -o "APT::FTPArchive::Release::Architectures=$(dpkg --print-architecture) all" \
    -o "APT::FTPArchive::Release::Description=Corvane Maths for the school's computers" \
    release . >"$release"
mv "$release" Release
chmod 644 Release
gpg --batch --quiet --yes --export >corvane-maths.gpg
gpg --batch --quiet --yes --clearsign -o InRelease Release
gpg --batch --quiet --yes --detach-sign -o Release.gpg Release
chmod 644 InRelease Release.gpg corvane-maths.gpg
echo "repository: $(pwd), $(grep -c '^Package:' Packages) package version(s), signed by" \
    "$(gpg --batch --with-colons --list-keys | awk -F: '/^fpr/ { print $10; exit }')"
