#!/usr/bin/env bash
# The tray icon: the main window is a tool window without a task-bar button; a left click on the
# icon shows the hidden window and leaves a shown one alone; the close box answered No only
# hides it; the icon's menu starts reading while the window is hidden and ends the program.
. "$(dirname "$0")/lib.sh"
e2e_begin "${1:-}"
e2e_start

types=$(xprop -id "$e2e_window" _NET_WM_WINDOW_TYPE)
[[ $types == *'= _NET_WM_WINDOW_TYPE_UTILITY'* ]] ||
    e2e_fail "with a tray the main window is not a tool window (so it has a task-bar button): $types"

hidden() { ! e2e_main_window_shown; }
click_tray() { # button
    timeout 5 xdotool mousemove --window "$e2e_tray_icon" 11 11 click "$1" ||
        e2e_fail "xdotool could not click the tray icon"
}

click_tray 1
sleep 0.5
e2e_main_window_shown || e2e_fail "a left click on the tray icon hid the shown main window"
[ "$(e2e_main_window_of "$e2e_pid")" = "$e2e_window" ] ||
    e2e_fail "a left click on the tray icon made another main window"

place=$(e2e_window_place)
e2e_keys alt+f c
e2e_wait_until 2 hidden || e2e_fail "ﾌｧｲﾙ(&F) / 画面を閉じる(&C) did not hide the main window"
e2e_alive || e2e_fail "画面を閉じる(&C) ended the program"
e2e_tray_icon_of "$e2e_pid" >/dev/null || e2e_fail "the tray icon went away with the window"

click_tray 1
e2e_wait_until 2 e2e_main_window_shown ||
    e2e_fail "a left click on the tray icon did not show the hidden main window"
e2e_window=$(e2e_main_window_of "$e2e_pid")
[ "$(e2e_window_place)" = "$place" ] ||
    e2e_fail "the window came back from the tray at $(e2e_window_place), not where it was ($place)"

# The close box asks "常駐終了しますか？", No being the default: Enter only hides the window.
question_shown() {
    e2e_message_boxes_of "$e2e_pid" Quillbox | grep -q .
}
e2e_focus "$e2e_window"
e2e_keys_to_focus alt+F4
e2e_wait_until 3 question_shown || e2e_fail "the close box asked no question"
e2e_keys_to_focus Return
e2e_wait_until 2 hidden || e2e_fail "the close box answered with Enter (No) did not hide the window"
question_shown && e2e_fail "the question stayed on the screen after Enter"
e2e_alive || e2e_fail "the close box answered No ended the program"

# The tray menu: its first item switches reading on, also while the window is hidden.
# With the main window hidden, the tray icon is the program's only visible window, but for the
# menu.
menu_shown() {
    [ "$(e2e_visible_windows "$e2e_pid" | wc -l)" -gt 1 ]
}
click_tray 3
e2e_wait_until 2 menu_shown || e2e_fail "a right click on the tray icon opened no menu"
e2e_keys_to_focus Down Return
e2e_copy 'read while hidden'
e2e_expect_file "$e2e_folder/read while h.txt" 1 "reading switched on from the tray menu"
e2e_expect_capture_bytes "$e2e_folder/read while h.txt" 'read while hidden' \
    "reading switched on from the tray menu"
hidden || e2e_fail "capturing showed the hidden window"

click_tray 3
e2e_wait_until 2 menu_shown || e2e_fail "a second right click on the tray icon opened no menu"
e2e_keys_to_focus Up Return
e2e_expect_end "$e2e_pid" 5 "常駐終了 of the tray menu"
[ "$e2e_exit_status" = 0 ] || e2e_fail "the program ended with status $e2e_exit_status after 常駐終了 of the tray menu"
e2e_pass
