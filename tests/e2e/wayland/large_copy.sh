#!/usr/bin/env bash
# A 5 MB text over Wayland. Another program's copy comes through the pipe in pieces and becomes
# its file byte for byte; handed back with Ctrl+T, the text reaches a reader that takes it slowly
# whole; a reader that never reads holds nothing up, and a copy made meanwhile is kept.
. "$(dirname "$0")/lib.sh"
wl_begin "$@"
wl_start
wl_focus
wl_switch_reading_on wl_keys ctrl+k

text="$e2e_dir/large.txt"
e2e_large_text "$text"
"${wayland_as[@]}" wl-copy --foreground --type 'text/plain;charset=utf-8' <"$text" \
    >/dev/null 2>&1 &
e2e_clipboard_pids+=($!)
e2e_expect_large_capture "$text" 20 "a 5 MB text copied on sway"

# The pane shows the text just kept; Ctrl+T offers it in the program's own types.
wl_keys ctrl+t
ours() { wayland_run timeout 2 wl-paste --list-types | grep -qx UTF8_STRING; }
e2e_wait_until 5 ours || e2e_fail "Ctrl+T did not put the pane's text on the clipboard"
# 64 KiB every 20 ms: about a second and a half for the whole text.
wayland_run timeout 60 wl-paste --no-newline | /usr/bin/python3 -c '
import sys, time
while True:
    piece = sys.stdin.buffer.read(65536)
    if not piece:
        break
    sys.stdout.buffer.write(piece)
    time.sleep(0.02)' >"$e2e_dir/back.txt"
cmp -s "$text" "$e2e_dir/back.txt" ||
    e2e_fail "a slow reader got $(stat -c %s "$e2e_dir/back.txt") bytes back, not the 5 MB text"

# wl-paste stops reading once the pipe to sleep is full.
wayland_run timeout 30 wl-paste --no-newline | sleep 30 &
e2e_clipboard_pids+=($!)
sleep 0.5
wl_copy 'after the stalled reader'
wl_expect_capture 'after the stalled reader' 'after the st.txt' 5 \
    "a copy made while a reader of the copy back takes nothing"
wl_pass
