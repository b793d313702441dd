#!/usr/bin/env bash
# One running copy per program folder: a second start shows "既に起動されています" and ends, the
# first runs on alone; after the first was killed (kill -9) a new start runs normally; SIGTERM
# ends the program without a question.
. "$(dirname "$0")/lib.sh"
e2e_begin "${1:-}"
e2e_start
first=$e2e_pid first_window=$e2e_window

e2e_launch
second=$e2e_pid
box_shown() { e2e_message_boxes_of "$second" Quillbox | grep -q .; }
e2e_wait_until 10 box_shown || {
    e2e_alive "$second" || e2e_fail "the second start ended without its message"
    e2e_fail "the second start showed no message box"
}
e2e_main_window_of "$second" >/dev/null && e2e_fail "the second start showed a main window"
e2e_tray_icon_of "$second" >/dev/null && e2e_fail "the second start added a tray icon"
e2e_focus "$(e2e_message_boxes_of "$second" Quillbox | head -1)"
e2e_keys_to_focus Return
e2e_wait_exit "$second" 5 || e2e_fail "the second start did not end after its message"
[ "$e2e_exit_status" = 0 ] || e2e_fail "the second start ended with status $e2e_exit_status"

e2e_alive "$first" || e2e_fail "the first copy ended when the second started"
[ "$(e2e_main_window_of "$first")" = "$first_window" ] ||
    e2e_fail "the first copy's main window is gone after the second start"
[ "$(e2e_main_window_count)" = 1 ] ||
    e2e_fail "$(e2e_main_window_count) main windows are shown after the second start"
e2e_tray_icon_of "$first" >/dev/null || e2e_fail "the first copy's tray icon is gone"

kill -9 "$first"
e2e_pid=$first
e2e_expect_end "$first" 5 "kill -9 of the first copy"
e2e_start
e2e_message_boxes_of "$e2e_pid" Quillbox | grep -q . &&
    e2e_fail "the start after a killed copy was refused as a second one"
e2e_switch_reading_on e2e_keys ctrl+k
e2e_copy 'after kill'
e2e_expect_file "$e2e_folder/after kill.txt" 1 "the start after a killed copy"

kill -TERM "$e2e_pid"
e2e_expect_end "$e2e_pid" 5 "SIGTERM (a question?)"
[ "$e2e_exit_status" = 0 ] || e2e_fail "the program ended with status $e2e_exit_status after SIGTERM"
e2e_pass
