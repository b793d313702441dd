# Shared steps of the end-to-end tests on a Wayland desktop: a private headless sway, the program
# with Qt on its wayland platform or on xcb under XWayland, sway's own tools to find and focus
# windows, wtype for keys and wl-clipboard for other programs' copies. The file checks are those
# of ../lib.sh.
#
#   . "$(dirname "$0")/lib.sh"
#   wl_begin "$1" "$2"      # the built quillbox, and Qt's platform: wayland or xcb
#   wl_start                # sets e2e_pid and wl_window (sway's id of the main window)
#   ...
#   wl_pass

. "$(dirname "${BASH_SOURCE[0]}")/../lib.sh"
. "$e2e_source_dir/../../scripts/wayland-session.sh"

wl_window=
wl_other=
wl_failures=()

wl_begin() {
    local program=${1:-} tool
    wl_platform=${2:-}
    e2e_name="${e2e_name}_$wl_platform"
    [ -x "$program" ] || e2e_fail "no built program given (got '$program')"
    [ "$wl_platform" = wayland ] || [ "$wl_platform" = xcb ] ||
        e2e_fail "the platform must be wayland or xcb (got '$wl_platform')"
    for tool in sway swaymsg weston weston-flower Xwayland wtype wl-copy wl-paste jq cmp timeout \
        dbus-daemon; do
        command -v "$tool" >/dev/null || e2e_fail "the tool '$tool' is not installed"
    done
    wayland_start || e2e_fail "the private sway session did not start"
    wl_copy_program "$program"
}

# A copy of the program (with its help file) in a folder of its own that the session's user owns;
# sets e2e_dir and e2e_folder.
wl_copy_program() {
    # The program and the copies end before the session that serves them.
    trap 'e2e_cleanup; wayland_stop' EXIT
    e2e_dir=$(mktemp -d)
    chmod 755 "$e2e_dir"
    mkdir "$e2e_dir/program"
    cp "$1" "$e2e_dir/program/quillbox"
    local help
    help="$(dirname "$1")/Quillbox.HLP"
    [ -f "$help" ] && cp "$help" "$e2e_dir/program/"
    wayland_give "$e2e_dir"
    e2e_folder="$e2e_dir/program"
}

# Starts the program copy in the background, with the environment assignments given; sets e2e_pid.
wl_launch() {
    "${wayland_as[@]}" env QT_QPA_PLATFORM="$wl_platform" "$@" "$e2e_folder/quillbox" \
        >>"$e2e_dir/program.log" 2>&1 &
    e2e_pid=$!
    e2e_program_pids+=("$e2e_pid")
}

# sway's windows, one a line: id, process, focused (true or false) and title, tab-separated.
wl_windows() {
    wayland_run swaymsg -t get_tree | jq -r '.. | objects | select(.pid? != null and
        (.type == "con" or .type == "floating_con")) | "\(.id)\t\(.pid)\t\(.focused)\t\(.name)"'
}

# The windows of process $1 titled $2.
wl_windows_of() {
    wl_windows | awk -F '\t' -v pid="$1" -v title="$2" '$2 == pid && $4 == title {print $1}'
}

wl_focused_title() {
    wl_windows | awk -F '\t' '$3 == "true" {print $4}'
}

wl_main_window_shown() {
    [ -n "$(wl_windows_of "$e2e_pid" Quillbox)" ]
}

# Starts the program (extra environment as for wl_launch) and waits for its window.
wl_start() {
    wl_launch "$@"
    e2e_wait_until 15 wl_main_window_shown || {
        e2e_alive || e2e_fail "the program ended at start-up"
        e2e_fail "no window titled Quillbox appeared within 15 s (windows: $(wl_windows | tr '\n' '|'))"
    }
    wl_window=$(wl_windows_of "$e2e_pid" Quillbox | head -n 1)
}

# The message boxes of the program: its windows titled $1 other than the main window.
wl_boxes() {
    wl_windows_of "$e2e_pid" "$1" | grep -vx "$wl_window"
}

wl_is_focused() {
    wl_windows | awk -F '\t' -v id="$1" '$1 == id && $3 == "true" {found = 1} END {exit !found}'
}

# Gives window $1 (sway's id) the keyboard focus.
wl_focus() {
    local window=${1:-$wl_window}
    wayland_run swaymsg "[con_id=$window] focus" >/dev/null
    e2e_wait_until 2 wl_is_focused "$window" ||
        e2e_fail "window $window could not be given the focus (focused: '$(wl_focused_title)')"
}

# Another program's window, weston-flower, that can take the focus from ours; sets wl_other.
wl_start_other_window() {
    wayland_spawn weston-flower
    e2e_wait_until 5 wl_other_window_shown || e2e_fail "weston-flower showed no window"
    wl_other=$(wl_windows | awk -F '\t' '$4 == "Flower" {print $1; exit}')
}

wl_other_window_shown() {
    wl_windows | awk -F '\t' '$4 == "Flower" {found = 1} END {exit !found}'
}

# Types keys into whatever window has the focus, one after the other: xdotool's names, with
# modifiers joined by "+" (ctrl+k, shift+Home, Return). A new virtual keyboard is missed by the
# window until its keymap has arrived, hence the pause before the first key. Alt reaches Qt on
# wayland only: on xcb it needs a key of the keymap bound to it, and wtype's keymap has none.
wl_keys() {
    local key args=(-s 400) part mods
    for key in "$@"; do
        IFS=+ read -ra part <<<"$key"
        mods=("${part[@]:0:${#part[@]}-1}")
        local mod
        for mod in "${mods[@]}"; do args+=(-M "$mod"); done
        args+=(-k "${part[-1]}")
        for mod in "${mods[@]}"; do args+=(-m "$mod"); done
        args+=(-s 150)
    done
    wayland_run timeout 10 wtype "${args[@]}" || e2e_fail "wtype could not send $*"
}

# Types text into whatever window has the focus.
wl_type() {
    wayland_run timeout 10 wtype -s 400 "$1" || e2e_fail "wtype could not type '$1'"
    sleep 0.2
}

# The clipboard's text, empty when the clipboard holds nothing.
wl_clipboard() {
    wayland_run timeout 2 wl-paste --no-newline 2>/dev/null
}

wl_clipboard_is() {
    [ "$(wl_clipboard; echo x)" = "$1x" ]
}

# Puts the exact text $1 on the clipboard as another program's copy does: wl-copy stays in the
# foreground serving it until a later owner takes the clipboard or the test ends.
wl_copy() {
    printf '%s' "$1" |
        "${wayland_as[@]}" wl-copy --foreground --type 'text/plain;charset=utf-8' >/dev/null 2>&1 &
    e2e_clipboard_pids+=($!)
}

# As wl_copy, and waits until the clipboard serves the text, so that a copy is complete before
# the next one begins.
wl_copy_and_wait() {
    wl_copy "$1"
    e2e_wait_until 2 wl_clipboard_is "$1" || e2e_fail "wl-copy did not take the clipboard for '$1'"
}

# e2e_switch_reading_on, with the clipboard set and looked at through wl-clipboard.
wl_switch_reading_on() {
    e2e_copy_helper=wl_copy_and_wait e2e_clipboard_helper=wl_clipboard_is e2e_switch_reading_on "$@"
}

# Fails unless text $1 becomes the file $2 of the capture folder, byte for byte, within $3
# seconds. The failure names the window that had the focus.
wl_expect_capture() {
    local what="$4 (focused window: '$(wl_focused_title)')"
    e2e_expect_file "$e2e_folder/$2" "$3" "$what"
    e2e_expect_capture_bytes "$e2e_folder/$2" "$1" "$what"
}

# Records a failed check and goes on with the next one; wl_pass reports them all.
wl_fail_later() {
    echo "FAIL [$e2e_name]: $*" >&2
    wl_failures+=("$*")
}

wl_pass() {
    [ ${#wl_failures[@]} -eq 0 ] || {
        e2e_note "${#wl_failures[@]} check(s) failed"
        exit 1
    }
    e2e_pass
}
