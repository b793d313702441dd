# Shared steps of the end-to-end tests under Wine: the Linux suite's private desktop and checks
# (tests/e2e/lib.sh), a Wine of the test's own, and the zip's program unpacked into a folder of
# its own. Wine runs as a Japanese Windows does (code page 932).
#
#   . "$(dirname "$0")/lib.sh"
#   wine_e2e_begin "$1" "$2"   # the Windows build folder and the path of copy_text.exe
#   wine_e2e_start             # sets e2e_pid and e2e_window
#   ...
#   e2e_pass

wine_e2e_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$wine_e2e_dir/../../e2e/lib.sh"
. "$wine_e2e_dir/../../../scripts/wine-session.sh"

# A Japanese Windows: code page 932.
wine_e2e_locale=ja_JP.UTF-8
wine_e2e_copy_text=

wine_e2e_cleanup() {
    wine_stop
    e2e_cleanup
}

# Runs a Windows program of the test's Wine in the foreground.
wine_e2e_run() {
    wine "$@"
}

# The private desktop with a tray of a fixed width: Wine docks its icon before trayer has grown to
# hold it now and then, and trayer then stays two pixels wide with the icon cut off.
wine_e2e_start_desktop() {
    e2e_tray=notray
    e2e_start_desktop
    desktop_spawn trayer --edge bottom --align right --widthtype pixel --width 120 --height 24 \
        --SetDockType true --transparent false
    desktop_wait_for 50 xdotool search --class trayer || e2e_fail "trayer did not start"
}

# A private desktop, a fresh Wine, and the zip of build folder $1 unpacked; $2 is copy_text.exe.
wine_e2e_begin() {
    local build=${1:-} zip
    wine_e2e_copy_text=${2:-}
    for tool in wine wineboot wineserver unzip iconv Xvfb openbox trayer xdotool xclip xprop \
        xwininfo xdpyinfo cmp timeout; do
        command -v "$tool" >/dev/null || e2e_fail "the tool '$tool' is not installed"
    done
    zip=$(ls "$build"/Quillbox-*-win64.zip 2>/dev/null | head -1)
    [ -f "$zip" ] || e2e_fail "no zip in '$build': make it first with cpack there"
    [ -f "$wine_e2e_copy_text" ] || e2e_fail "no copy_text.exe given (got '$wine_e2e_copy_text')"
    wine_start "$wine_e2e_locale" || e2e_fail "no Wine prefix could be made"
    wine_e2e_start_desktop
    trap wine_e2e_cleanup EXIT
    e2e_dir=$(mktemp -d)
    unzip -q "$zip" -d "$e2e_dir/unpacked" || e2e_fail "the zip does not unpack"
    e2e_folder=$(echo "$e2e_dir"/unpacked/Quillbox-*-win64)
    [ -f "$e2e_folder/Quillbox.exe" ] || e2e_fail "the zip holds no Quillbox.exe in its folder"
}

# Starts the program copy ($1, the zip's by default) in the background; sets e2e_pid, the
# process's own (Wine runs a Windows program in the process it starts).
wine_e2e_launch() {
    local program=${1:-$e2e_folder/Quillbox.exe}
    wine "$program" >>"$e2e_dir/program.log" 2>&1 &
    e2e_pid=$!
    e2e_program_pids+=("$e2e_pid")
}

# Wine frames a window through the window manager too, but a box of the program's does not say
# it is a dialog: the main window is the framed "Quillbox" window of the process that is the
# largest.
wine_e2e_main_window_of() {
    local window best= best_area=0 area
    for window in $(e2e_visible_windows "$1" Quillbox); do
        xprop -id "$window" _NET_FRAME_EXTENTS 2>/dev/null | grep -q '=' || continue
        area=$(xwininfo -id "$window" | awk '/Width:/ {w = $NF} /Height:/ {h = $NF} END {print w * h}')
        [ "$area" -gt "$best_area" ] && best=$window best_area=$area
    done
    [ -n "$best" ] && echo "$best"
}

wine_e2e_main_window_shown() {
    wine_e2e_main_window_of "$e2e_pid" >/dev/null
}

# Starts the program and waits for its main window and its tray icon; sets e2e_window. Copies
# made before Wine's desktop is up would be missed, so every test waits for the window first.
wine_e2e_start() {
    wine_e2e_launch "$@"
    e2e_wait_until 60 wine_e2e_main_window_shown || {
        e2e_alive || e2e_fail "the program ended at start-up"
        xwininfo -root -tree >&2
        e2e_fail "the main window did not appear within 60 s"
    }
    e2e_window=$(wine_e2e_main_window_of "$e2e_pid")
    e2e_wait_until 10 wine_e2e_icon_docked || e2e_fail "no tray icon appeared in the tray"
}

# The bytes a captured text must give on a Japanese Windows: code page 932, one CR LF at the end.
wine_e2e_expect_capture_bytes() {
    local expected="$e2e_dir/expected.bytes"
    printf '%s\r\n' "$2" | iconv -f UTF-8 -t CP932 >"$expected" || e2e_fail "iconv: '$2'"
    cmp -s "$expected" "$1" || {
        echo "expected:" >&2
        od -c "$expected" | head -5 >&2
        echo "found:" >&2
        od -c "$1" | head -5 >&2
        e2e_fail "$3: '$(basename "$1")' does not hold the text in code page 932 plus CR LF"
    }
}

# Copies text $1 as a Windows program does, with registered formats NAME=NUMBER after it.
wine_e2e_copy_from_windows() {
    local file="$e2e_dir/copied.txt"
    printf '%s' "$1" >"$file"
    shift
    wine_e2e_run "$wine_e2e_copy_text" "Z:$(printf '%s' "$file" | tr / '\\')" "$@" ||
        e2e_fail "copy_text.exe could not copy"
}

# A window of another program takes the focus, as when the user copies elsewhere.
wine_e2e_focus_elsewhere() {
    desktop_spawn xmessage -geometry +600+50 'another program'
    local other
    e2e_wait_until 5 sh -c 'xdotool search --name "^xmessage$" | grep -q .' ||
        e2e_fail "xmessage did not show its window"
    other=$(xdotool search --name '^xmessage$' | head -1)
    e2e_focus "$other"
    [ "$(xdotool getwindowfocus)" != "$e2e_window" ] || e2e_fail "the program kept the focus"
}

# The icons docked in trayer: Wine's shell (explorer.exe) shows each program's icon there as a
# window of its own inside the panel.
wine_e2e_tray_icons() {
    local panel
    for panel in $(xdotool search --classname '^panel$' 2>/dev/null); do
        xwininfo -tree -id "$panel" 2>/dev/null |
            sed -n 's/^ *\(0x[0-9a-f]*\) .*("explorer.exe" "explorer.exe").*/\1/p'
    done
}

wine_e2e_tray_icon_count() {
    wine_e2e_tray_icons | grep -c .
}

wine_e2e_icon_docked() {
    [ "$(wine_e2e_tray_icon_count)" -ge 1 ]
}

# The program's icon: the one docked icon there is.
wine_e2e_tray_icon() {
    local icons
    icons=$(wine_e2e_tray_icons)
    [ "$(echo "$icons" | grep -c .)" = 1 ] || e2e_fail "the tray holds $(echo "$icons" | grep -c .) icons"
    echo "$icons"
}

# Menus shown now: override-redirect windows that are viewable.
wine_e2e_popup_count() {
    local window count=0
    for window in $(xdotool search --all --onlyvisible --pid "$e2e_pid" 2>/dev/null); do
        xwininfo -id "$window" 2>/dev/null | grep -q 'Override Redirect State: yes' &&
            count=$((count + 1))
    done
    echo "$count"
}

# Clicks button $1 on the program's tray icon until the command $2 succeeds, three times at most:
# Wine's shell now and then takes a click that comes with the pointer for a mere hover. The icon's
# top pixels are clicked, for a menu opened at the pointer covers the rest of it.
wine_e2e_click_tray_icon() {
    local button=$1 attempt icon
    shift
    icon=$(wine_e2e_tray_icon)
    for attempt in 1 2 3; do
        timeout 5 xdotool mousemove --window "$icon" 8 3 sleep 0.3 click "$button"
        e2e_wait_until 3 "$@" && return 0
        e2e_note "click $attempt with button $button on the tray icon changed nothing"
    done
    return 1
}
