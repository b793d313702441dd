#!/usr/bin/env bash
# On sway, reading switched on with Ctrl+K keeps what other programs copy while another window
# has the focus, as a resident program must: each text becomes its file byte for byte, a taken
# name is numbered, and ten copies 50 ms apart all become files; the primary selection does not.
. "$(dirname "$0")/lib.sh"
wl_begin "$@"
wl_start_other_window
wl_start
wl_focus
wl_switch_reading_on wl_keys ctrl+k
# While our window has the focus a copy is kept even without a watcher: this shows that reading
# is on, so that a miss below is the watcher's.
wl_copy 'focused'
wl_expect_capture 'focused' 'focused.txt' 2 "a copy made while our window is focused"

wl_focus "$wl_other"
# A selection (pasted with the middle button) is not a copy: it never becomes a file, which the
# end of the test looks for once the copies below have been kept.
printf 'selected only' | "${wayland_as[@]}" wl-copy --primary --foreground >/dev/null 2>&1 &
e2e_clipboard_pids+=($!)
selected() { [ "$(wayland_run timeout 2 wl-paste --primary --no-newline)" = 'selected only' ]; }
e2e_wait_until 2 selected || e2e_fail "wl-copy did not take the primary selection"
e2e_forbid 'selected onl.txt' "the primary selection was kept as a copy"
# Rows: the text copied, the file it must become, the file's text, and what is checked.
while IFS='|' read -r text file content what; do
    wl_copy "$text"
    wl_expect_capture "$content" "$file" 2 "$what"
done <<'EOF'
memo|memo.txt|memo|an ASCII text copied while another window has the focus
日本語のテキストを保存するテスト|日本語のテキストを保存す.txt|日本語のテキストを保存するテスト|a Japanese text is named by its first 12 characters and written in UTF-8
  memo|memo 1.txt|memo|a taken name is numbered, and leading blanks are trimmed
EOF

# Each copy is complete (the clipboard serves it) before the 50 ms to the next one begin.
for i in 0 1 2 3 4 5 6 7 8 9; do
    wl_copy_and_wait "burst $i"
    sleep 0.05
done
for i in 0 1 2 3 4 5 6 7 8 9; do
    wl_expect_capture "burst $i" "burst $i.txt" 2 "ten texts copied 50 ms apart"
done
wl_pass
