#!/usr/bin/env bash
# Ctrl+T hands the pane's text, edits included, to the clipboard, where other programs can paste
# it, and the program does not capture its own copy; capture goes on afterwards.
. "$(dirname "$0")/lib.sh"
wl_begin "$@"
wl_start
wl_focus
wl_switch_reading_on wl_keys ctrl+k
wl_copy 'focused'
wl_expect_capture 'focused' 'focused.txt' 2 "a copy made while our window is focused"

# Tab moves along the window's controls up to the pane, where a Tab is typed as text and the
# focus stays; its text is then replaced by a typed one. (sway has no pointer to press a file
# entry with.)
wl_keys Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab ctrl+End ctrl+shift+Home
wl_type 'typed back'
before=$(e2e_text_file_count)
wl_keys ctrl+t
e2e_wait_until 2 wl_clipboard_is 'typed back' ||
    e2e_fail "Ctrl+T did not put the pane's text 'typed back' on the clipboard (it holds '$(wl_clipboard)')"
sleep 1.8
[ "$(e2e_text_file_count)" = "$before" ] ||
    e2e_fail "the program captured its own copy back: $(e2e_listing)"
e2e_forbid 'typed back.txt' "the program captured its own copy back"
wl_copy 'after copy back'
wl_expect_capture 'after copy back' 'after copy b.txt' 2 "capture goes on after the copy back"
wl_pass
