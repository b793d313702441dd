#!/usr/bin/env bash
# The menus through their access keys: reading switched on and off through "ﾌｧｲﾙ(&F)", the about
# box opened through "ﾍﾙﾌﾟ(&H)" / "ﾊﾞｰｼﾞｮﾝ情報(&A)" and closed with its close box, and the end through
# "常駐終了(&X)".
. "$(dirname "$0")/lib.sh"
e2e_begin "${1:-}"
e2e_start

e2e_switch_reading_on e2e_toggle_reading_through_menu
e2e_copy 'read by menu'
e2e_expect_file "$e2e_folder/read by menu.txt" 1 "reading switched on through ﾌｧｲﾙ(&F)"
e2e_expect_capture_bytes "$e2e_folder/read by menu.txt" 'read by menu' \
    "reading switched on through ﾌｧｲﾙ(&F)"

e2e_toggle_reading_through_menu
before=$(e2e_text_file_count)
e2e_copy_and_wait 'not read any more'
sleep 1.8
[ "$(e2e_text_file_count)" = "$before" ] ||
    e2e_fail "reading switched off through ﾌｧｲﾙ(&F) still captured: $(e2e_listing)"
e2e_forbid 'not read any.txt' "reading switched off through ﾌｧｲﾙ(&F) still captured"

about_shown() {
    e2e_visible_windows "$e2e_pid" ﾊﾞｰｼﾞｮﾝ情報 | grep -q .
}
e2e_keys alt+h a
e2e_wait_until 3 about_shown || e2e_fail "ﾍﾙﾌﾟ(&H) / ﾊﾞｰｼﾞｮﾝ情報(&A) showed no about box"
about=$(e2e_visible_windows "$e2e_pid" ﾊﾞｰｼﾞｮﾝ情報 | head -1)
[ "$(e2e_visible_windows "$e2e_pid" ﾊﾞｰｼﾞｮﾝ情報 | wc -l)" = 1 ] ||
    e2e_fail "more than one about box is shown"
e2e_main_window_shown || e2e_fail "the main window vanished behind the about box"
geometry=$(xwininfo -id "$about")
about_x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$geometry")
about_width=$(sed -n 's/.*Width: *//p' <<<"$geometry")
# Centred on the 1024 pixels wide screen, give or take the frame.
centre=$((about_x + about_width / 2))
[ "$centre" -ge 500 ] && [ "$centre" -le 524 ] ||
    e2e_fail "the about box is not centred on the screen (its middle is at x = $centre)"
# The window manager's close binding stands for the close box.
e2e_focus "$about"
e2e_keys_to_focus alt+F4
e2e_wait_until 3 sh -c "! xwininfo -id $about 2>/dev/null | grep -q IsViewable" ||
    e2e_fail "the about box did not close with its close box"
e2e_alive || e2e_fail "closing the about box ended the program"
e2e_main_window_shown || e2e_fail "the main window is not shown after the about box closed"

# The main window answers its menus again after the about box.
e2e_switch_reading_on e2e_toggle_reading_through_menu
e2e_copy 'after the about box'
e2e_expect_file "$e2e_folder/after the ab.txt" 1 "reading switched on again after the about box"

e2e_end_through_menu
e2e_pass
