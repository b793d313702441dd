# Shared steps of the end-to-end tests: a private desktop, a fresh copy of the built program in
# its own folder, the program's windows, keys, the clipboard, files, and a clean end. Every
# process a test starts is remembered here and stopped when the test's shell exits.
#
#   . "$(dirname "$0")/lib.sh"
#   e2e_begin "$1"          # path of the built quillbox
#   e2e_start               # sets e2e_pid and e2e_window
#   ...
#   e2e_pass

set -u

e2e_source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$e2e_source_dir/../../scripts/desktop-session.sh"

e2e_name=$(basename "$0" .sh)
e2e_program_pids=()
e2e_clipboard_pids=()
e2e_dir=
e2e_pid=
e2e_window=
# "notray" where a test leaves trayer out.
e2e_tray=trayer

e2e_fail() {
    echo "FAIL [$e2e_name]: $*" >&2
    if [ -n "$e2e_dir" ] && [ -s "$e2e_dir/program.log" ]; then
        echo "--- program output:" >&2
        tail -n 20 "$e2e_dir/program.log" >&2
    fi
    exit 1
}

e2e_note() {
    echo "[$e2e_name] $*"
}

# Files that must never appear in the capture folder, as "name|what would be wrong": each is
# looked for once more when the test passes, so that one written late does not slip through.
e2e_forbidden=()

# Looks for file $1 again at the end of the test; $2 says what its appearance would mean.
e2e_forbid() {
    e2e_forbidden+=("$1|$2")
}

e2e_pass() {
    local entry
    for entry in "${e2e_forbidden[@]}"; do
        [ -e "$e2e_folder/${entry%%|*}" ] &&
            e2e_fail "${entry#*|}: '${entry%%|*}' is in the folder at the end (it holds: $(e2e_listing))"
    done
    echo "PASS [$e2e_name]"
    exit 0
}

e2e_cleanup() {
    local pid
    for pid in "${e2e_clipboard_pids[@]}" "${e2e_program_pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${e2e_clipboard_pids[@]}" "${e2e_program_pids[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    e2e_clipboard_pids=()
    e2e_program_pids=()
    desktop_stop
    [ -n "$e2e_dir" ] && rm -rf "$e2e_dir"
    e2e_dir=
}

# Waits up to $1 seconds (one decimal at most) for the command that follows to succeed.
e2e_wait_until() {
    local limit=$1
    shift
    local start_ns
    start_ns=$(date +%s%N)
    local limit_ns=$((${limit%.*} * 1000000000))
    [[ $limit == *.* ]] && limit_ns=$((limit_ns + ${limit#*.} * 100000000))
    until "$@" >/dev/null 2>&1; do
        [ $(($(date +%s%N) - start_ns)) -ge "$limit_ns" ] && return 1
        sleep 0.05
    done
}

e2e_desktop_healthy() {
    local pid names=(Xvfb openbox trayer) i=0
    for pid in "${desktop_pids[@]}"; do
        kill -0 "$pid" 2>/dev/null || {
            e2e_note "on display $DISPLAY ${names[i]} has ended"
            return 1
        }
        i=$((i + 1))
    done
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window || {
        e2e_note "on display $DISPLAY no window manager runs"
        return 1
    }
    [ "$e2e_tray" = notray ] && return 0
    xdotool search --class trayer >/dev/null 2>&1 || {
        e2e_note "on display $DISPLAY trayer shows no window"
        return 1
    }
}

# Other sessions start and end X servers on the same machine, and now and then a new server loses
# its display to one that is shutting down: then the window manager cannot connect. Such a desktop
# is thrown away and made anew.
e2e_start_desktop() {
    local attempt
    for attempt in 1 2 3 4 5; do
        desktop_start 1024x768x24 "$e2e_tray" && sleep 0.3 && e2e_desktop_healthy && return 0
        e2e_note "desktop attempt $attempt was not usable, trying again"
        desktop_stop
        sleep 0.5
    done
    e2e_fail "the private desktop (Xvfb, openbox, trayer) did not start in five attempts"
}

# A private desktop and a copy of the executable (with its help file) in a folder of its own, so
# that the copy's ClipSet.ini and captures are the test's alone. A second argument "notray"
# leaves trayer out.
e2e_begin() {
    local program=${1:-}
    e2e_tray=${2:-trayer}
    [ -x "$program" ] || e2e_fail "no built program given (got '$program')"
    for tool in Xvfb openbox trayer xdotool xclip xprop xwininfo xdpyinfo cmp timeout; do
        command -v "$tool" >/dev/null || e2e_fail "the tool '$tool' is not installed"
    done
    e2e_start_desktop
    trap e2e_cleanup EXIT
    e2e_dir=$(mktemp -d)
    # The program's instance lock lives in the runtime folder: one of the test's own.
    export XDG_RUNTIME_DIR="$e2e_dir/runtime"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    mkdir "$e2e_dir/program"
    cp "$program" "$e2e_dir/program/quillbox"
    local help
    help="$(dirname "$program")/Quillbox.HLP"
    [ -f "$help" ] && cp "$help" "$e2e_dir/program/"
    e2e_folder="$e2e_dir/program"
}

# Starts the program copy in the background; sets e2e_pid.
e2e_launch() {
    "$e2e_folder/quillbox" >>"$e2e_dir/program.log" 2>&1 &
    e2e_pid=$!
    e2e_program_pids+=("$e2e_pid")
}

e2e_alive() {
    kill -0 "${1:-$e2e_pid}" 2>/dev/null
}

# The visible windows of process $1, or those of them whose title is exactly $2. (xdotool's own
# name pattern does not match non-ASCII titles reliably.)
e2e_visible_windows() {
    local window
    for window in $(xdotool search --all --onlyvisible --pid "$1" 2>/dev/null); do
        [ $# -lt 2 ] || [ "$(xdotool getwindowname "$window" 2>/dev/null)" = "$2" ] || continue
        echo "$window"
    done
}

# True when window $1 lies inside trayer's panel, that is, it is an embedded tray icon.
e2e_in_tray() {
    local window=$1 parent
    while [ -n "$window" ] && [ "$window" != 0 ]; do
        xprop -id "$window" WM_CLASS 2>/dev/null | grep -q '"trayer"' && return 0
        parent=$(xwininfo -children -id "$window" 2>/dev/null |
            sed -n 's/^ *Parent window id: \(0x[0-9a-f]*\).*/\1/p')
        [ "$parent" = "$(xwininfo -root | sed -n 's/.*Window id: \(0x[0-9a-f]*\).*/\1/p')" ] &&
            return 1
        window=$parent
    done
    return 1
}

# A main window: a "Quillbox" window that the window manager frames and that is not a box.
e2e_is_main_window() {
    xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | grep -q '=' &&
        ! xprop -id "$1" _NET_WM_WINDOW_TYPE | grep -q '= _NET_WM_WINDOW_TYPE_DIALOG'
}

# The visible main window of process $1.
e2e_main_window_of() {
    local window
    for window in $(e2e_visible_windows "$1" Quillbox); do
        e2e_is_main_window "$window" && echo "$window" && return 0
    done
    return 1
}

# How many visible main windows the desktop shows, of whichever process.
e2e_main_window_count() {
    local window count=0
    for window in $(xdotool search --onlyvisible --name '^Quillbox$' 2>/dev/null); do
        e2e_is_main_window "$window" && count=$((count + 1))
    done
    echo "$count"
}

# The message boxes of process $1 titled $2.
e2e_message_boxes_of() {
    local window
    for window in $(e2e_visible_windows "$1" "$2"); do
        xprop -id "$window" _NET_WM_WINDOW_TYPE | grep -q '= _NET_WM_WINDOW_TYPE_DIALOG' &&
            echo "$window"
    done
}

# The program's tray icon: its visible window embedded in trayer.
e2e_tray_icon_of() {
    local window
    for window in $(xdotool search --pid "$1" 2>/dev/null); do
        xwininfo -id "$window" 2>/dev/null | grep -q 'IsViewable' || continue
        e2e_in_tray "$window" && {
            echo "$window"
            return 0
        }
    done
    return 1
}

# Sets e2e_tray_icon to the program's icon in the tray, as found by the same look that saw it
# there: a second look may miss it while the panel's windows change.
e2e_icon_docked() {
    e2e_tray_icon=$(e2e_tray_icon_of "$e2e_pid")
}

# Neither the main window nor the tray icon of process $1 is shown.
e2e_program_windows_gone() {
    ! e2e_main_window_of "$1" >/dev/null && ! e2e_tray_icon_of "$1" >/dev/null
}

# The main window's client area on the screen: x y width height.
e2e_window_place() {
    xwininfo -id "$e2e_window" | awk '/Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ \
        {y = $NF} /Width:/ {w = $NF} /Height:/ {h = $NF} END {print x, y, w, h}'
}

e2e_main_window_shown() {
    e2e_main_window_of "$e2e_pid" >/dev/null
}

# Starts the program and waits for its main window and its tray icon; sets e2e_window.
e2e_start() {
    e2e_launch
    e2e_wait_until 15 e2e_main_window_shown || {
        e2e_alive || e2e_fail "the program ended at start-up"
        xwininfo -root -tree >&2
        e2e_fail "the main window did not appear within 15 s"
    }
    e2e_window=$(e2e_main_window_of "$e2e_pid")
    e2e_wait_until 5 e2e_icon_docked || e2e_fail "no tray icon appeared in the tray"
}

# Gives window $1 the keyboard focus, as a click on it would.
e2e_focus() {
    local window=${1:-$e2e_window}
    timeout 5 xdotool windowactivate --sync "$window" >/dev/null 2>&1 ||
        timeout 5 xdotool windowfocus --sync "$window" >/dev/null 2>&1 ||
        e2e_fail "window $window could not be given the focus"
}

# Types keys (xdotool key names) into the main window, as the user would, one after the other.
e2e_keys() {
    e2e_focus "$e2e_window"
    local key
    for key in "$@"; do
        timeout 5 xdotool key --clearmodifiers "$key" || e2e_fail "xdotool could not send $key"
        sleep 0.15
    done
}

# A left click at client point $1, $2 of the main window.
e2e_click() {
    e2e_focus "$e2e_window"
    timeout 5 xdotool mousemove --window "$e2e_window" "$1" "$2" click 1 ||
        e2e_fail "xdotool could not click at $1, $2"
    sleep 0.2
}

# Sends keys to whatever window has the focus now (a box the program opened).
e2e_keys_to_focus() {
    local key
    for key in "$@"; do
        timeout 5 xdotool key --clearmodifiers "$key" || e2e_fail "xdotool could not send $key"
        sleep 0.15
    done
}

e2e_clipboard_is() {
    [ "$(timeout 2 xclip -o -selection clipboard 2>/dev/null; echo x)" = "$1x" ]
}

# Puts the exact text $1 on the clipboard, as another program's copy does: xclip stays in the
# foreground serving it until a later owner takes the clipboard or the test ends.
e2e_copy() {
    printf '%s' "$1" | xclip -quiet -selection clipboard -i >/dev/null 2>&1 &
    e2e_clipboard_pids+=($!)
}

# As e2e_copy, and waits until the clipboard serves the text.
e2e_copy_and_wait() {
    e2e_copy "$1"
    e2e_wait_until 2 e2e_clipboard_is "$1" || e2e_fail "xclip did not take the clipboard for '$1'"
}

e2e_file_exists() {
    [ -f "$1" ]
}

# Fails unless file $1 appears within $2 seconds.
e2e_expect_file() {
    e2e_wait_until "$2" e2e_file_exists "$1" ||
        e2e_fail "$3: file '$(basename "$1")' did not appear within $2 s (folder holds: $(e2e_listing))"
}

# The text files of the capture folder, one a line, sorted.
e2e_listing() {
    (cd "$e2e_folder" && find . -maxdepth 1 -name '*.txt' -printf '%f\n' | LC_ALL=C sort |
        tr '\n' '|')
}

e2e_text_file_count() {
    find "$e2e_folder" -maxdepth 1 -name '*.txt' | wc -l
}

# Compares file $1 with the bytes a captured text $2 must give: UTF-8, no byte-order mark, one
# CR LF at the end.
e2e_expect_capture_bytes() {
    local expected="$e2e_dir/expected.bytes"
    printf '%s\r\n' "$2" >"$expected"
    cmp -s "$expected" "$1" || {
        echo "expected:" >&2
        od -c "$expected" | head -5 >&2
        echo "found:" >&2
        od -c "$1" | head -5 >&2
        e2e_fail "$3: '$(basename "$1")' does not hold the text plus CR LF"
    }
}

# Writes a text of 5 MB, more than any pipe or X11 request holds at once, to file $1: its first
# line, and so its file's name, is "large copy".
e2e_large_text() {
    {
        echo 'large copy'
        for i in $(seq 1 65000); do
            echo "line $i of a text that comes in many pieces, while the window must answer."
        done
    } | head -c 5000000 >"$1"
}

# Fails unless the capture 'large copy.txt' appears within $2 seconds and holds the text of file
# $1 plus CR LF; $3 says what is checked.
e2e_expect_large_capture() {
    local file="$e2e_folder/large copy.txt" expected="$e2e_dir/expected.bytes"
    e2e_expect_file "$file" "$2" "$3"
    {
        cat "$1"
        printf '\r\n'
    } >"$expected"
    # The file is written in one go, yet may be seen before the write has ended.
    complete() { [ "$(stat -c %s "$file")" = "$(stat -c %s "$expected")" ]; }
    e2e_wait_until 5 complete
    cmp -s "$expected" "$file" || e2e_fail "$3: 'large copy.txt' does not hold the text plus CR LF"
}

# Waits for process $1 to end within $2 seconds; sets e2e_exit_status. (Not in a subshell: only
# the shell that started the process can collect its status.)
e2e_wait_exit() {
    local pid=$1 limit=$2
    e2e_wait_until "$limit" sh -c "! kill -0 $pid" || return 1
    e2e_exit_status=0
    wait "$pid" 2>/dev/null || e2e_exit_status=$?
}

# After $3, an end of process $1: within 2 s neither its main window nor its tray icon is shown,
# and within $2 seconds it has ended; sets e2e_exit_status. The windows are looked at first, while
# the process may still run: once it has ended, the X server has taken them whatever it did.
e2e_expect_end() {
    local pid=$1 limit=$2 what=$3
    e2e_wait_until 2 e2e_program_windows_gone "$pid" ||
        e2e_fail "a window of the program outlived $what (main window: $(e2e_main_window_of "$pid"), tray icon: $(e2e_tray_icon_of "$pid"))"
    e2e_wait_exit "$pid" "$limit" || e2e_fail "the program did not end after $what"
}

# Ends the program through its menu "ﾌｧｲﾙ(&F)" / "常駐終了(&X)" and checks that it ends at once.
e2e_end_through_menu() {
    e2e_keys alt+f x
    e2e_expect_end "$e2e_pid" 5 "ﾌｧｲﾙ / 常駐終了"
    [ "$e2e_exit_status" = 0 ] ||
        e2e_fail "the program ended with status $e2e_exit_status after 常駐終了"
}

# Switches reading on or off through "ﾌｧｲﾙ(&F)", whose first item is the toggle.
e2e_toggle_reading_through_menu() {
    e2e_keys alt+f Return
}

# Switches reading on with the command given and waits for the switch's clearing of the
# clipboard, which a text put there first makes visible: a copy made before the clear has come
# would be wiped by it. The text itself must never be kept. The clipboard is set and looked at
# with e2e_copy_and_wait and e2e_clipboard_is, or with the functions that e2e_copy_helper and
# e2e_clipboard_helper name (a Wayland session's).
e2e_switch_reading_on() {
    "${e2e_copy_helper:-e2e_copy_and_wait}" 'copied before reading'
    "$@"
    e2e_wait_until 2 "${e2e_clipboard_helper:-e2e_clipboard_is}" '' ||
        e2e_fail "switching reading on ($*) did not empty the clipboard"
    e2e_forbid 'copied befor.txt' "a text copied before reading was switched on was kept"
}

# The ClipSet.ini line $1 without its CR.
e2e_settings_line() {
    sed -n "$1{s/\r\$//;p}" "$e2e_folder/ClipSet.ini"
}
