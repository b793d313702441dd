#!/usr/bin/env bash
# Runs a test program on a private X desktop of its own (Xvfb, openbox, trayer).
set -u
. "$(dirname "$0")/../../scripts/desktop-session.sh"
desktop_start 1024x768x24 || exit 1
"$@"
