#!/usr/bin/env bash
# The tray icon of the zip's Quillbox.exe under Wine: "画面を閉じる(&C)" hides the window, a left
# click on the icon shows it again, on top of other windows as a first start has it, a right click
# opens the tray menu, whose "常駐終了" ends the program. "Quillboxﾍﾙﾌﾟ" opens the help viewer,
# which Alt+F4 closes without ending the program.
. "$(dirname "$0")/lib.sh"
wine_e2e_begin "${1:-}" "${2:-}"
wine_e2e_start

e2e_keys alt+f c
e2e_wait_until 5 sh -c "! xwininfo -id $e2e_window | grep -q IsViewable" ||
    e2e_fail "画面を閉じる did not hide the window"

window_shown() { wine_e2e_main_window_shown; }
menu_shown() { [ "$(wine_e2e_popup_count)" -gt 0 ]; }
wine_e2e_click_tray_icon 1 window_shown || e2e_fail "a left click on the tray icon did not show the window"
e2e_window=$(wine_e2e_main_window_of "$e2e_pid")
xprop -id "$e2e_window" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE ||
    e2e_fail "the window shown from the tray is not on top: $(xprop -id "$e2e_window" _NET_WM_STATE)"

help_shown() { e2e_visible_windows "$e2e_pid" 'Quillboxﾍﾙﾌﾟ' | grep -q .; }
e2e_keys alt+h Return
e2e_wait_until 10 help_shown || e2e_fail "Quillboxﾍﾙﾌﾟ opened no help viewer"
e2e_focus "$(e2e_visible_windows "$e2e_pid" 'Quillboxﾍﾙﾌﾟ' | head -1)"
# Closed from its system menu's key, as from its close box: the viewer goes, the program stays.
e2e_keys_to_focus alt+F4
help_gone() { ! help_shown; }
e2e_wait_until 5 help_gone || e2e_fail "Alt+F4 did not close the help viewer"
e2e_alive || e2e_fail "closing the help viewer ended the program"
wine_e2e_click_tray_icon 3 menu_shown || e2e_fail "a right click on the tray icon opened no menu"
# The menu's last item is 常駐終了.
e2e_keys_to_focus Up Return
e2e_wait_exit "$e2e_pid" 10 || e2e_fail "常駐終了 from the tray menu did not end the program"
[ "$e2e_exit_status" = 0 ] || e2e_fail "the program ended with status $e2e_exit_status"
e2e_pass
