#!/usr/bin/env bash
# bench/judge on figures made up for it: a figure whose benchmark's own check failed is missed,
# and so is the memory of a process that had died (0 MB); the others are judged by their targets.
set -uo pipefail

judge=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cat >"$work/figures" <<'END'
press_to_pane_10mb_utf8_with_bar 40 ms
delete_1000_of_10000_files 300 ms
list_10000_files 20 ms
rss_at_rest 0 MB
rss_after_1000_captures 35.5 MB
bare_qt_window_rss 0 MB
END
cat >"$work/checks" <<'END'
press_to_pane_10mb_utf8_with_bar: the pane stayed empty
delete_1000_of_10000_files: delete left 9100 files, not 9000
a warning that names no figure
END

table=$("$judge" "$work/figures" "$work/checks")
echo "$table"
failed=0
expect() { # figure, result, why
    local found
    found=$(awk -v name="$1" '$1 == name {print $NF}' <<<"$table")
    [ "$found" = "$2" ] || {
        echo "FAIL: $1 is judged '$found', not '$2': $3"
        failed=1
    }
}
expect press_to_pane_10mb_utf8_with_bar missed "its benchmark's check failed"
expect delete_1000_of_10000_files missed "its benchmark's check failed"
expect list_10000_files ok "it is within its target and no check failed"
expect rss_at_rest missed "0 MB is the memory of a process that has died"
expect rss_after_1000_captures ok "a living process within its target"
expect bare_qt_window_rss missed "0 MB is the memory of a process that has died, target or not"
[ "$failed" = 0 ] && echo "PASS"
exit "$failed"
