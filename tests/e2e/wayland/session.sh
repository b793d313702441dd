#!/usr/bin/env bash
# The private session itself: sway with XWayland and weston inside it start, the program's window
# and another one take the focus in turn, and when the session stops none of its processes, nor
# any that they started, is left.
. "$(dirname "$0")/lib.sh"
wl_begin "$@"
wayland_start_weston || e2e_fail "weston did not start inside sway"
[ -n "$DISPLAY" ] && [ -n "$weston_display" ] && [ "$DISPLAY" != "$weston_display" ] ||
    e2e_fail "sway's XWayland ('$DISPLAY') and weston's ('$weston_display') are not two displays"
wl_start_other_window
wl_start
wl_focus
wl_focus "$wl_other"
wl_focus

# Every process of the session has the session's runtime folder in its environment (the scan's
# own commands are not given it).
runtime=$XDG_RUNTIME_DIR
session_processes() (
    export -n XDG_RUNTIME_DIR
    grep -lsz "^XDG_RUNTIME_DIR=$runtime\$" /proc/[0-9]*/environ | cut -d/ -f3 |
        while read -r pid; do echo "$pid $(ps -o stat=,args= -p "$pid")"; done
)
[ -n "$(session_processes)" ] || e2e_fail "no process of the session was found"
e2e_cleanup
wayland_stop
# The compositors' own helpers end when they notice that the compositor has gone.
none_left() { [ -z "$(session_processes)" ]; }
e2e_wait_until 3 none_left ||
    e2e_fail "processes outlived the session: $(session_processes | tr '\n' '|')"
e2e_pass
