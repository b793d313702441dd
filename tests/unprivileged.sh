#!/usr/bin/env bash
# Runs the named functions of a QtTest program as a user whom file permissions bind, so that the
# tests of read-only files and folders run also where the suite runs as root, as CI does. Passes
# only when every one of them ran and passed: a skip here is a failure.
#
#   unprivileged.sh PROGRAM FUNCTION[:DATA TAG]...
set -euo pipefail

program=$1
shift
run=("$program")
if [ "$(id -u)" -eq 0 ]; then
    # The user gets a folder of its own with a copy of the program, wherever the build lies.
    home=$(mktemp -d /tmp/quillbox-unprivileged.XXXXXX)
    trap 'rm -rf "$home"' EXIT
    cp "$program" "$home/"
    chown -R nobody:nogroup "$home"
    run=(setpriv --reuid=nobody --regid=nogroup --clear-groups --
        env HOME="$home" TMPDIR="$home" XDG_RUNTIME_DIR="$home" "$home/$(basename "$program")")
fi

status=0
output=$("${run[@]}" "$@" 2>&1) || status=$?
printf '%s\n' "$output"
[ "$status" -eq 0 ] || exit "$status"
grep -Eq '^Totals: [1-9][0-9]* passed, 0 failed, 0 skipped' <<<"$output" || {
    echo "unprivileged.sh: a test was skipped, or none ran" >&2
    exit 1
}
