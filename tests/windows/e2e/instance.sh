#!/usr/bin/env bash
# One running copy: a second start of the zip's Quillbox.exe under Wine shows "既に起動されています"
# and ends when it is answered, adding no tray icon, while the first runs on; a task manager's
# request to close (taskkill without /f) ends the program at once, without a question.
. "$(dirname "$0")/lib.sh"
wine_e2e_begin "${1:-}" "${2:-}"
wine_e2e_start
first=$e2e_pid first_window=$e2e_window
icons=$(wine_e2e_tray_icon_count)

wine_e2e_launch
second=$e2e_pid
box_shown() { e2e_visible_windows "$second" Quillbox | grep -q .; }
e2e_wait_until 30 box_shown || {
    e2e_alive "$second" || e2e_fail "the second start ended without its message"
    e2e_fail "the second start showed no window titled Quillbox"
}
[ "$(e2e_visible_windows "$second" Quillbox | wc -l)" = 1 ] ||
    e2e_fail "the second start showed more than its message"
[ "$(wine_e2e_tray_icon_count)" = "$icons" ] || e2e_fail "the second start added a tray icon"
e2e_focus "$(e2e_visible_windows "$second" Quillbox | head -1)"
e2e_keys_to_focus Return
e2e_wait_exit "$second" 10 || e2e_fail "the second start did not end after its message"
[ "$e2e_exit_status" = 0 ] || e2e_fail "the second start ended with status $e2e_exit_status"
e2e_alive "$first" || e2e_fail "the first copy ended when the second started"
[ "$(wine_e2e_main_window_of "$first")" = "$first_window" ] ||
    e2e_fail "the first copy's main window is gone after the second start"

wine_e2e_run taskkill /im Quillbox.exe >/dev/null 2>&1
e2e_wait_exit "$first" 10 || e2e_fail "the program did not end when taskkill asked it to close"
[ "$e2e_exit_status" = 0 ] || e2e_fail "the program ended with status $e2e_exit_status"
e2e_pass
