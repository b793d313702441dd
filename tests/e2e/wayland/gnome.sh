#!/usr/bin/env bash
# GNOME's Wayland session: mutter offers no data control, but hands every clipboard change to X11
# programs. Started there without QT_QPA_PLATFORM, the program makes itself an X11 program on
# XWayland and keeps what other programs copy, X11 ones (xclip) and Wayland ones (wl-copy)
# alike. Reading is switched on, and the program ended, from the tray menu of
# tests/tray/sni_host.py.
. "$(dirname "$0")/lib.sh"
program=${1:-}
[ -x "$program" ] || e2e_fail "no built program given (got '$program')"
for tool in mutter Xwayland xclip xdotool wl-copy dbus-daemon; do
    command -v "$tool" >/dev/null || e2e_fail "the tool '$tool' is not installed"
done
wayland_start_mutter || e2e_fail "the private mutter session did not start"
wl_copy_program "$program"
sni_host="$e2e_dir/sni_host.py"
cp "$e2e_source_dir/../tray/sni_host.py" "$sni_host"
wayland_give "$sni_host"
sni() { wayland_run timeout 10 /usr/bin/python3 "$sni_host" "$@" 2>>"$e2e_dir/tray.log"; }
wayland_log="$e2e_dir/tray.log" wayland_spawn /usr/bin/python3 -u "$sni_host" watch
e2e_wait_until 5 grep -q '^watching' "$e2e_dir/tray.log" || e2e_fail "the tray host did not start"

# The headless seat has a keyboard only once a remote desktop session has typed a key, and
# without one wl-copy cannot copy. The session lasts as long as the process that opened it.
wayland_log="$e2e_dir/keyboard.log" wayland_spawn /usr/bin/python3 -u -c '
import dbus
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib
DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
service = "org.gnome.Mutter.RemoteDesktop"
path = bus.get_object(service, "/org/gnome/Mutter/RemoteDesktop").CreateSession(
    dbus_interface=service)
session = dbus.Interface(bus.get_object(service, path), service + ".Session")
session.Start()
shift = dbus.UInt32(0xffe1)
session.NotifyKeyboardKeysym(shift, True)
session.NotifyKeyboardKeysym(shift, False)
print("typed", flush=True)
GLib.MainLoop().run()'
e2e_wait_until 5 grep -q '^typed' "$e2e_dir/keyboard.log" ||
    e2e_fail "no remote desktop session typed a key: $(cat "$e2e_dir/keyboard.log")"

"${wayland_as[@]}" "$e2e_folder/quillbox" >>"$e2e_dir/program.log" 2>&1 &
e2e_pid=$!
e2e_program_pids+=("$e2e_pid")
x11_window() { [ -n "$(xdotool search --onlyvisible --pid "$e2e_pid" 2>/dev/null)" ]; }
e2e_wait_until 15 x11_window || {
    e2e_alive || e2e_fail "the program ended at start-up"
    e2e_fail "the program showed no window on XWayland: it did not run as an X11 program"
}
sni wait 10 >/dev/null || e2e_fail "the program put no item in the tray"

e2e_switch_reading_on sni click 読込み開始
e2e_copy 'copied in X11'
e2e_expect_file "$e2e_folder/copied in X1.txt" 3 "a copy made by an X11 program"
e2e_expect_capture_bytes "$e2e_folder/copied in X1.txt" 'copied in X11' \
    "a copy made by an X11 program"
printf '%s' 'copied in Wayland' |
    "${wayland_as[@]}" wl-copy --foreground --type 'text/plain;charset=utf-8' >/dev/null 2>&1 &
e2e_clipboard_pids+=($!)
e2e_expect_file "$e2e_folder/copied in Wa.txt" 3 "a copy made by a Wayland program"
e2e_expect_capture_bytes "$e2e_folder/copied in Wa.txt" 'copied in Wayland' \
    "a copy made by a Wayland program"

sni click 常駐終了 || e2e_fail "the tray menu's 常駐終了 could not be clicked"
e2e_wait_exit "$e2e_pid" 5 || e2e_fail "常駐終了 of the tray menu did not end the program"
e2e_pass
