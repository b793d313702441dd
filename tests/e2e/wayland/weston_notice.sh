#!/usr/bin/env bash
# On weston, which offers no way to watch the clipboard without the focus, switching reading on
# says so once per run in a box titled Quillbox, and reading is on all the same. weston runs as
# a window of sway, which only lends it a keyboard: the program sees weston alone.
. "$(dirname "$0")/lib.sh"
wl_begin "$@"
wayland_start_weston || e2e_fail "weston did not start inside sway"

# The program's open windows titled Quillbox. weston has no tool that lists windows: on wayland
# they are read from the program's own protocol log, on xcb from weston's XWayland.
if [ "$wl_platform" = wayland ]; then
    wl_launch WAYLAND_DISPLAY="$weston_socket" DISPLAY="$weston_display" WAYLAND_DEBUG=client
    windows_open() {
        awk '{ if (!match($0, /xdg_toplevel@[0-9]+/)) next; id = substr($0, RSTART, RLENGTH) }
            /get_toplevel\(new id/ { fresh[id] = 1 }
            /\.set_title\("Quillbox"\)/ && (id in fresh) { open[id] = 1; delete fresh[id] }
            /\.destroy\(\)/ { delete open[id] }
            END { n = 0; for (id in open) n++; print n }' "$e2e_dir/program.log"
    }
else
    wl_launch WAYLAND_DISPLAY="$weston_socket" DISPLAY="$weston_display"
    # weston's XWayland admits its own user's clients only.
    x11() { DISPLAY=$weston_display wayland_run "$@" 2>/dev/null; }
    windows_open() {
        local window count=0
        for window in $(x11 xdotool search --onlyvisible --pid "$e2e_pid"); do
            [ "$(x11 xdotool getwindowname "$window")" = Quillbox ] && count=$((count + 1))
        done
        echo "$count"
    }
fi
open_is() { [ "$(windows_open)" = "$1" ]; }
e2e_wait_until 15 open_is 1 || e2e_fail "the main window did not appear in weston within 15 s"

# weston gives a new window the focus, so the keys reach ours once it is on the screen.
sleep 1
wl_keys ctrl+k
if e2e_wait_until 3 open_is 2; then
    wl_keys Return
    e2e_wait_until 2 open_is 1 || e2e_fail "Enter did not close the message box"
else
    wl_fail_later "switching reading on showed no message box ($(windows_open) window(s) titled Quillbox)"
fi
# Our window has the focus again: a copy made in weston is kept, so reading is on.
WAYLAND_DISPLAY=$weston_socket wl_copy 'kept on weston'
e2e_wait_until 5 e2e_file_exists "$e2e_folder/kept on west.txt" ||
    e2e_fail "reading is not on after Ctrl+K: a copy made with our window focused was not kept ($(e2e_listing))"
wl_keys ctrl+k ctrl+k
sleep 2
open_is 1 || wl_fail_later "switching reading on a second time showed the message again"
wl_pass
