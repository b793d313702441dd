#!/usr/bin/env bash
# The program runs with Qt on an X server of its own (Xvfb) and watches the clipboard of sway
# through data control, on a connection of its own; sway then crashes and comes back on its
# socket while the program runs on, as a compositor restarted in a running session. The user is
# told once, in a box titled Quillbox; once sway is back, copies made there are kept again
# without a word, and sway's second crash shows no second box.
. "$(dirname "$0")/lib.sh"
wl_begin "${1:-}" xcb
socket=$WAYLAND_DISPLAY
e2e_tray=notray
e2e_start_desktop
export WAYLAND_DISPLAY=$socket
trap 'e2e_cleanup; wayland_stop' EXIT
# The session's user reads the X server's cookie from a copy of its own.
cp "$XAUTHORITY" "$e2e_dir/Xauthority"
wayland_give "$e2e_dir/Xauthority"

# sway comes back with the environment it first had; the test's own stays on the X server.
restart_sway() {
    local display=$DISPLAY xauthority=$XAUTHORITY home=$HOME
    unset DISPLAY XAUTHORITY QT_QPA_PLATFORM
    HOME=$wayland_home/home
    wayland_start_sway || e2e_fail "sway did not start again"
    export DISPLAY=$display XAUTHORITY=$xauthority HOME=$home QT_QPA_PLATFORM=xcb
    [ "$WAYLAND_DISPLAY" = "$socket" ] ||
        e2e_fail "sway came back on socket $WAYLAND_DISPLAY, not $socket"
}
boxes() { e2e_message_boxes_of "$e2e_pid" Quillbox; }
box_shown() { boxes | grep -q .; }
no_box() { ! box_shown; }

wl_launch XAUTHORITY="$e2e_dir/Xauthority" HOME="$wayland_home/home"
e2e_wait_until 15 e2e_main_window_shown || e2e_fail "the main window did not appear on Xvfb"
e2e_window=$(e2e_main_window_of "$e2e_pid")
wl_copy_and_wait 'before reading'
e2e_keys ctrl+k
e2e_wait_until 3 wl_clipboard_is '' ||
    e2e_fail "Ctrl+K did not empty sway's clipboard: the program does not hold it through data control"
wl_copy 'before the crash'
e2e_expect_file "$e2e_folder/before the c.txt" 3 "a copy made in sway"

wayland_kill_sway
if e2e_wait_until 5 box_shown; then
    e2e_focus "$(boxes | head -n 1)"
    e2e_keys_to_focus Return
    e2e_wait_until 2 no_box || e2e_fail "Enter did not close the box"
else
    wl_fail_later "sway's crash was not told: no box titled Quillbox"
fi
e2e_alive || e2e_fail "the program ended with sway"

restart_sway
wl_copy 'after the return'
e2e_expect_file "$e2e_folder/after the re.txt" 5 "a copy made once sway was back"
e2e_expect_capture_bytes "$e2e_folder/after the re.txt" 'after the return' \
    "a copy made once sway was back"

wayland_kill_sway
sleep 2
box_shown && e2e_fail "sway's second crash was told once more"
restart_sway
wl_copy 'second return'
e2e_expect_file "$e2e_folder/second retur.txt" 5 "a copy made once sway was back a second time"
no_box || e2e_fail "sway's second crash was told once more"
e2e_end_through_menu
wl_pass
