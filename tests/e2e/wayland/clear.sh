#!/usr/bin/env bash
# Switching reading on empties the clipboard: with our window focused (Ctrl+K), and from the tray
# menu while the window is hidden and another window has the focus, where a copy is then kept and
# the window stays hidden. The tray is tests/tray/sni_host.py, a StatusNotifier host of our own.
. "$(dirname "$0")/lib.sh"
wl_begin "$@"
# The session's user runs its own copy: the source tree may be closed to it.
sni_host="$e2e_dir/sni_host.py"
cp "$e2e_source_dir/../tray/sni_host.py" "$sni_host"
sni() { wayland_run timeout 10 /usr/bin/python3 "$sni_host" "$@" 2>>"$e2e_dir/tray.log"; }
wl_start_other_window
wayland_log="$e2e_dir/tray.log" wayland_spawn /usr/bin/python3 -u "$sni_host" watch
e2e_wait_until 5 grep -q '^watching' "$e2e_dir/tray.log" || e2e_fail "the tray host did not start"
wl_start

wl_copy_and_wait 'before'
wl_focus
wl_keys ctrl+k
e2e_wait_until 2 wl_clipboard_is '' ||
    wl_fail_later "Ctrl+K in our focused window did not empty the clipboard (it holds '$(wl_clipboard)')"
wl_keys ctrl+k

sni wait 10 >/dev/null || e2e_fail "the program put no item in the tray"
# The close box asks whether to end; Enter answers No, which hides the window. (Alt+F does not
# reach Qt on xcb: wtype's keymap maps no key to Alt.)
hidden() { ! wl_main_window_shown; }
question_shown() { wl_boxes Quillbox | grep -q .; }
wayland_run swaymsg "[con_id=$wl_window] kill" >/dev/null
e2e_wait_until 3 question_shown || e2e_fail "the close box asked no question"
wl_focus "$(wl_boxes Quillbox | head -n 1)"
wl_keys Return
e2e_wait_until 2 hidden || e2e_fail "the close box answered No did not hide the window"
wl_copy_and_wait 'before hidden'
wl_focus "$wl_other"
sni click 読込み開始 ||
    e2e_fail "the tray menu's item 読込み開始 could not be clicked: $(tail -n 1 "$e2e_dir/tray.log")"
e2e_wait_until 2 wl_clipboard_is '' ||
    wl_fail_later "reading switched on from the tray menu did not empty the clipboard (it holds '$(wl_clipboard)')"
wl_copy 'read while hidden'
e2e_wait_until 2 e2e_file_exists "$e2e_folder/read while h.txt" ||
    wl_fail_later "a copy made after reading was switched on from the tray menu was not kept ($(e2e_listing))"
hidden || wl_fail_later "reading from the tray menu showed the hidden window"
wl_pass
