#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command with a private home in which speech-dispatcher speaks into libao's null
# output: the real speech engine works, and nothing is heard. The speech-dispatcher started
# for it is ended afterwards by the process id it wrote.
#   tests/speech_home.sh COMMAND [ARGS...]
set -u
home=$(mktemp -d)
mkdir -p "$home/.config/speech-dispatcher" "$home/run"
chmod 700 "$home/run"
echo default_driver=null >"$home/.libao"
if [ -r /etc/speech-dispatcher/speechd.conf ]; then
    sed -e 's/^#\? *AudioOutputMethod .*/AudioOutputMethod "libao"/' \
        -e 's/^#\? *Timeout .*/Timeout 5/' /etc/speech-dispatcher/speechd.conf \
        >"$home/.config/speech-dispatcher/speechd.conf"
fi
HOME=$home XDG_RUNTIME_DIR=$home/run XDG_CONFIG_HOME=$home/.config "$@"
status=$?
for pidfile in "$home"/run/speech-dispatcher/pid/*.pid; do
    [ -f "$pidfile" ] && kill "$(cat "$pidfile")" 2>/dev/null
done
rm -rf "$home"
exit $status
