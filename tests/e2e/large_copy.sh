#!/usr/bin/env bash
# A 5 MB text that another program hands over slowly, in increments, while reading is on: the
# window answers a key while the text arrives (the about box opens and closes), and the text then
# becomes its file byte for byte.
. "$(dirname "$0")/lib.sh"
e2e_begin "${1:-}"
slow_owner=${2:-}
[ -x "$slow_owner" ] || e2e_fail "no slow clipboard owner given (got '$slow_owner')"
e2e_start
e2e_switch_reading_on e2e_keys ctrl+k

text="$e2e_dir/large.txt"
e2e_large_text "$text"
# 64 KiB pieces, 25 ms apart: about two seconds for the whole text.
"$slow_owner" "$text" 65536 25 >"$e2e_dir/owner.log" 2>&1 &
e2e_clipboard_pids+=($!)
e2e_wait_until 2 grep -q owned "$e2e_dir/owner.log" || e2e_fail "the slow owner did not take the clipboard"
sleep 0.3

about_shown() {
    e2e_visible_windows "$e2e_pid" ﾊﾞｰｼﾞｮﾝ情報 | grep -q .
}
about_gone() {
    ! about_shown
}
e2e_keys alt+h a
e2e_wait_until 1 about_shown || e2e_fail "the about box did not open while the text arrived"
grep -q done "$e2e_dir/owner.log" &&
    e2e_fail "the text had arrived before the key was answered: nothing was shown"
e2e_focus "$(e2e_visible_windows "$e2e_pid" ﾊﾞｰｼﾞｮﾝ情報 | head -1)"
e2e_keys_to_focus alt+F4
e2e_wait_until 2 about_gone || e2e_fail "the about box did not close"

e2e_expect_large_capture "$text" 10 "a 5 MB text handed over slowly"
e2e_end_through_menu
e2e_pass
