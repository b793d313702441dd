# A private X desktop for the end-to-end tests and the desktop benchmarks: Xvfb on a free display,
# openbox as the window manager and trayer as the XEmbed tray. Source this file, call
# desktop_start, and the session's own processes, and nothing else, end with the calling shell.
#
#   . scripts/desktop-session.sh
#   desktop_start 1366x768x24     # exports DISPLAY and XAUTHORITY
#   desktop_start 1366x768x24 notray   # the same without trayer
#   ...
#   desktop_stop                  # also run on EXIT

desktop_pids=()

desktop_stop() {
    local pid
    for pid in "${desktop_pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${desktop_pids[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    desktop_pids=()
    [ -n "${desktop_home:-}" ] && rm -rf "$desktop_home"
    desktop_home=
}

# Starts a program of the session in the background and remembers it for desktop_stop.
desktop_spawn() {
    "$@" >/dev/null 2>&1 &
    desktop_pids+=($!)
}

desktop_wait_for() {
    local tries=$1
    shift
    while ! "$@" >/dev/null 2>&1; do
        tries=$((tries - 1))
        [ "$tries" -le 0 ] && return 1
        sleep 0.1
    done
}

# Starts Xvfb on a display number that nothing uses; sets desktop_display and desktop_xvfb.
# Other sessions on the machine share the abstract X sockets but not always the lock files, and
# they start their servers from display 0 upwards: a random number far above theirs keeps the
# two apart, and a number that any server answers is passed over.
desktop_start_server() {
    local screen=$1 tries
    for tries in 1 2 3 4 5 6 7 8 9 10; do
        desktop_display=$((100 + RANDOM % 800))
        [ -e "/tmp/.X$desktop_display-lock" ] || [ -e "/tmp/.X11-unix/X$desktop_display" ] && continue
        DISPLAY=":$desktop_display" XAUTHORITY=/dev/null timeout 2 xdpyinfo >/dev/null 2>&1 &&
            continue
        # A server that resets when its last client leaves refuses the next one for a moment.
        Xvfb ":$desktop_display" -screen 0 "$screen" -nolisten tcp -noreset \
            -auth "$desktop_home/server-auth" >/dev/null 2>&1 &
        desktop_xvfb=$!
        return 0
    done
    return 1
}

desktop_start() {
    local screen=${1:-1366x768x24} tray=${2:-trayer}
    trap desktop_stop EXIT
    # A home of its own keeps the user's openbox and Qt settings out of the measurements.
    desktop_home=$(mktemp -d)
    export HOME=$desktop_home XDG_CONFIG_HOME=$desktop_home/.config
    # The server admits only clients with this cookie, so a display that admits a client without
    # it, or refuses the cookie, belongs to another server: then another number is tried.
    local cookie attempt
    cookie=$(mcookie)
    touch "$desktop_home/server-auth" "$desktop_home/Xauthority"
    xauth -q -f "$desktop_home/server-auth" add :0 MIT-MAGIC-COOKIE-1 "$cookie"
    export XAUTHORITY=$desktop_home/Xauthority
    for attempt in 1 2 3 4 5; do
        desktop_start_server "$screen" || break
        export DISPLAY=":$desktop_display"
        xauth -q -f "$XAUTHORITY" add "$DISPLAY" MIT-MAGIC-COOKIE-1 "$cookie"
        if desktop_wait_for 50 xdpyinfo && ! XAUTHORITY=/dev/null xdpyinfo >/dev/null 2>&1; then
            desktop_pids+=("$desktop_xvfb")
            break
        fi
        kill "$desktop_xvfb" 2>/dev/null
        wait "$desktop_xvfb" 2>/dev/null
        desktop_xvfb=
    done
    [ -n "${desktop_xvfb:-}" ] || {
        echo "Xvfb did not start on a display of its own" >&2
        return 1
    }
    unset WAYLAND_DISPLAY QT_QPA_PLATFORM
    export QT_QPA_PLATFORM=xcb
    desktop_spawn openbox
    desktop_wait_for 50 sh -c 'xprop -root _NET_SUPPORTED | grep -q _NET_ACTIVE_WINDOW'
    [ "$tray" = notray ] && return 0
    desktop_spawn trayer --edge bottom --align right --widthtype request --height 24 \
        --SetDockType true --transparent false
    desktop_wait_for 50 xdotool search --class trayer
}
