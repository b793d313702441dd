#!/usr/bin/env bash
# The tray icon: the main window is a tool window without a task-bar button; a left click on the
# icon shows the hidden window, with the keyboard focus, restores a minimized one and leaves a
# shown one alone; the close box answered No only hides it; the icon's menu starts reading while
# the window is hidden; a tray that goes away gives the window a task-bar button, and one that
# comes back takes the icon in again; the icon's menu ends the program.
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

# Another program has the keyboard focus when the user clicks the tray icon.
xmessage -geometry +600+10 'another program' >/dev/null 2>&1 &
e2e_program_pids+=($!)
other_window() { xdotool search --onlyvisible --class xmessage 2>/dev/null | head -1 | grep .; }
e2e_wait_until 5 other_window || e2e_fail "xmessage showed no window"
e2e_focus "$(other_window)"
click_tray 1
e2e_wait_until 2 e2e_main_window_shown ||
    e2e_fail "a left click on the tray icon did not show the hidden main window"
e2e_window=$(e2e_main_window_of "$e2e_pid")
[ "$(e2e_window_place)" = "$place" ] ||
    e2e_fail "the window came back from the tray at $(e2e_window_place), not where it was ($place)"
focused() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$e2e_window" ]; }
e2e_wait_until 2 focused ||
    e2e_fail "the window came back from the tray without the keyboard focus (active: $(xdotool getactivewindow 2>/dev/null))"

# A minimized window has no task-bar button: the tray icon brings it back.
minimized() { xprop -id "$e2e_window" WM_STATE | grep -q Iconic; }
timeout 5 xdotool windowminimize "$e2e_window" || e2e_fail "xdotool could not minimize the window"
e2e_wait_until 2 minimized || e2e_fail "the window manager did not minimize the window"
click_tray 1
e2e_wait_until 2 e2e_main_window_shown ||
    e2e_fail "a left click on the tray icon did not restore the minimized window"
minimized && e2e_fail "after a left click on the tray icon the window is still minimized"

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
start_from_tray_menu() {
    click_tray 3
    e2e_wait_until 2 menu_shown || e2e_fail "a right click on the tray icon opened no menu"
    e2e_keys_to_focus Down Return
}
e2e_switch_reading_on start_from_tray_menu
e2e_copy 'read while hidden'
e2e_expect_file "$e2e_folder/read while h.txt" 1 "reading switched on from the tray menu"
e2e_expect_capture_bytes "$e2e_folder/read while h.txt" 'read while hidden' \
    "reading switched on from the tray menu"
hidden || e2e_fail "capturing showed the hidden window"

# The tray goes away (a panel restarts) while the window is shown: closing it now minimizes it into
# the task bar, where the user finds it.
# A new window type may come with a new native window.
shown_window() {
    e2e_window=$(e2e_main_window_of "$e2e_pid")
}
task_bar_entry() {
    local type
    type=$(xprop -id "$e2e_window" _NET_WM_WINDOW_TYPE _NET_WM_STATE WM_TRANSIENT_FOR 2>&1)
    [[ $type == *_NET_WM_WINDOW_TYPE_NORMAL* && $type != *UTILITY* && $type != *SKIP_TASKBAR* &&
        $type == *'WM_TRANSIENT_FOR:  not found'* ]]
}
click_tray 1
e2e_wait_until 2 e2e_main_window_shown || e2e_fail "a left click on the tray icon showed no window"
kill "${desktop_pids[2]}"
shown_with_task_bar_entry() { shown_window && task_bar_entry; }
e2e_wait_until 10 shown_with_task_bar_entry ||
    e2e_fail "with the tray gone the window has no task-bar button: $(xprop -id "$e2e_window" _NET_WM_WINDOW_TYPE WM_TRANSIENT_FOR)"
e2e_keys alt+f c
e2e_wait_until 2 minimized || e2e_fail "without a tray 画面を閉じる(&C) did not minimize the window"
task_bar_entry ||
    e2e_fail "without a tray 画面を閉じる(&C) minimized a window with no task-bar button: $(xprop -id "$e2e_window" _NET_WM_WINDOW_TYPE WM_TRANSIENT_FOR)"

# The tray comes back: the icon docks again and the window gives up its task-bar button.
desktop_spawn trayer --edge bottom --align right --widthtype request --height 24 \
    --SetDockType true --transparent false
e2e_wait_until 10 e2e_icon_docked || e2e_fail "the icon did not come back to the tray"
tool_window() {
    local window
    for window in $(xdotool search --pid "$e2e_pid" --name '^Quillbox$' 2>/dev/null); do
        xprop -id "$window" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q UTILITY &&
            e2e_window=$window && return 0
    done
    return 1
}
e2e_wait_until 5 tool_window || e2e_fail "with the tray back the window kept its task-bar button"
e2e_focus "$(other_window)"
click_tray 1
e2e_wait_until 2 e2e_main_window_shown || e2e_fail "the icon back in the tray did not show the window"
e2e_window=$(e2e_main_window_of "$e2e_pid")
e2e_wait_until 2 focused ||
    e2e_fail "the window came back from the tray without the keyboard focus (active: $(xdotool getactivewindow 2>/dev/null))"

click_tray 3
e2e_wait_until 2 menu_shown || e2e_fail "a second right click on the tray icon opened no menu"
e2e_keys_to_focus Up Return
e2e_expect_end "$e2e_pid" 5 "常駐終了 of the tray menu"
[ "$e2e_exit_status" = 0 ] || e2e_fail "the program ended with status $e2e_exit_status after 常駐終了 of the tray menu"
e2e_pass
