# A private X desktop for the end-to-end tests and the desktop benchmarks: Xvfb on a free display,
# openbox as the window manager and trayer as the XEmbed tray. Source this file, call
# desktop_start, and the session's own processes, and nothing else, end with the calling shell.
#
#   . scripts/desktop-session.sh
#   desktop_start 1366x768x24     # exports DISPLAY
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

# Starts Xvfb, which picks a display free of lock files; sets desktop_display and desktop_xvfb.
desktop_start_server() {
    local screen=$1 fifo=$desktop_home/display
    rm -f "$fifo"
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -auth "$desktop_home/server-auth" \
        3>"$fifo" >/dev/null 2>&1 &
    desktop_xvfb=$!
    desktop_pids+=("$desktop_xvfb")
    read -r desktop_display <"$fifo"
}

desktop_start() {
    local screen=${1:-1366x768x24}
    trap desktop_stop EXIT
    # A home of its own keeps the user's openbox and Qt settings out of the measurements.
    desktop_home=$(mktemp -d)
    export HOME=$desktop_home XDG_CONFIG_HOME=$desktop_home/.config
    # The server admits only clients with this cookie. An X server of another machine's namespace
    # may answer on the same display number (through its abstract socket) and admit anyone: a
    # display that admits a client without the cookie is not ours, so Xvfb is started once more
    # and picks the next number while the first one still holds its own.
    local cookie attempt placeholders=()
    cookie=$(mcookie)
    touch "$desktop_home/server-auth" "$desktop_home/Xauthority"
    xauth -q -f "$desktop_home/server-auth" add :0 MIT-MAGIC-COOKIE-1 "$cookie"
    export XAUTHORITY=$desktop_home/Xauthority
    for attempt in 1 2 3 4 5; do
        desktop_start_server "$screen"
        export DISPLAY=":$desktop_display"
        xauth -q -f "$XAUTHORITY" add "$DISPLAY" MIT-MAGIC-COOKIE-1 "$cookie"
        desktop_wait_for 50 xdpyinfo || {
            echo "Xvfb did not start" >&2
            return 1
        }
        XAUTHORITY=/dev/null xdpyinfo >/dev/null 2>&1 || break
        placeholders+=("$desktop_xvfb")
    done
    local pid
    for pid in "${placeholders[@]}"; do
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    desktop_pids=("$desktop_xvfb")
    XAUTHORITY=/dev/null xdpyinfo >/dev/null 2>&1 && {
        echo "every display Xvfb took is answered by another X server" >&2
        return 1
    }
    unset WAYLAND_DISPLAY QT_QPA_PLATFORM
    export QT_QPA_PLATFORM=xcb
    desktop_spawn openbox
    desktop_wait_for 50 sh -c 'xprop -root _NET_SUPPORTED | grep -q _NET_ACTIVE_WINDOW'
    desktop_spawn trayer --edge bottom --align right --widthtype request --height 24 \
        --SetDockType true --transparent false
    desktop_wait_for 50 xdotool search --class trayer
}
