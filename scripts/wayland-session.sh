# A private Wayland desktop for the end-to-end tests: a headless sway (wlroots, which offers the
# clipboard's data-control protocol) with XWayland for X11 clients, a session bus of its own, and
# on request a weston nested in it (weston offers no data-control; sway only lends it a keyboard,
# since weston's own headless backend has no seat at all). Source this file; the session's own
# processes, and nothing else, end with the calling shell.
#
#   . scripts/wayland-session.sh
#   wayland_start         # exports WAYLAND_DISPLAY, SWAYSOCK, DISPLAY (XWayland), XDG_RUNTIME_DIR
#   wayland_start_mutter  # the same with mutter, GNOME's compositor, in place of sway
#   wayland_run wl-paste  # a client of the session, in the foreground, as the session's user
#   wayland_spawn weston-flower        # the same in the background, ended by wayland_stop
#   wayland_start_weston  # sets weston_socket and weston_display (weston's XWayland)
#   wayland_kill_sway; wayland_start_sway   # the compositor crashes and comes back
#   wayland_stop          # also run on EXIT
#
# sway refuses to run as root: a root caller runs the compositors and every client as nobody,
# in a home and runtime folder that nobody owns (wayland_give hands it more folders).

wayland_pids=()
wayland_home=
wayland_as=()
[ "$(id -u)" -eq 0 ] && wayland_as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)

wayland_stop() {
    local i
    # Clients before the compositors, the compositors before the bus.
    for ((i = ${#wayland_pids[@]} - 1; i >= 0; i--)); do
        kill "${wayland_pids[i]}" 2>/dev/null || true
        wait "${wayland_pids[i]}" 2>/dev/null || true
    done
    wayland_pids=()
    [ -n "$wayland_home" ] && rm -rf "$wayland_home"
    wayland_home=
}

wayland_give() {
    [ ${#wayland_as[@]} -eq 0 ] || chown -R nobody:nogroup "$@"
}

wayland_run() {
    "${wayland_as[@]}" "$@"
}

# Starts a program of the session in the background and remembers it for wayland_stop; its
# output goes to $wayland_log (or nowhere).
wayland_spawn() {
    "${wayland_as[@]}" "$@" >>"${wayland_log:-/dev/null}" 2>&1 &
    wayland_pids+=($!)
}

wayland_wait_for() {
    local tries=$1
    shift
    until "$@" >/dev/null 2>&1; do
        tries=$((tries - 1))
        [ "$tries" -le 0 ] && return 1
        sleep 0.1
    done
}

# A bus that starts no services: without one, Qt on X11 would have dbus-launch start a bus that
# outlives the session, and the accessibility bus would be started on the first query.
wayland_start_bus() {
    cat >"$wayland_home/bus.conf" <<EOF
<busconfig>
  <type>session</type>
  <listen>unix:path=$XDG_RUNTIME_DIR/bus</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
EOF
    wayland_spawn dbus-daemon --nofork --config-file="$wayland_home/bus.conf"
    export DBUS_SESSION_BUS_ADDRESS="unix:path=$XDG_RUNTIME_DIR/bus"
    wayland_wait_for 50 test -S "$XDG_RUNTIME_DIR/bus"
}

# The session's home, runtime folder and bus, without a compositor yet.
wayland_start_session() {
    trap wayland_stop EXIT
    wayland_home=$(mktemp -d)
    chmod 755 "$wayland_home"
    mkdir -m 700 "$wayland_home/runtime"
    mkdir "$wayland_home/home"
    wayland_give "$wayland_home"
    export HOME=$wayland_home/home XDG_RUNTIME_DIR=$wayland_home/runtime
    export XDG_CONFIG_HOME=$HOME/.config
    unset WAYLAND_DISPLAY DISPLAY SWAYSOCK XAUTHORITY QT_QPA_PLATFORM
    wayland_start_bus || {
        echo "the session bus did not start" >&2
        return 1
    }
}

wayland_start() {
    wayland_start_session || return 1
    # sway hands the programs that its configuration starts the session's variables, DISPLAY
    # included: the first of them writes them down. (mktemp's names need no quotes, and sway
    # would take quotes for its own.)
    cat >"$wayland_home/config" <<EOF
exec env >$wayland_home/session.env.part && mv $wayland_home/session.env.part $wayland_home/session.env
EOF
    wayland_start_sway
}

# GNOME's compositor instead of sway: a headless mutter with a virtual monitor, which offers no
# data control, and its XWayland, which takes the first free X display. Exports WAYLAND_DISPLAY,
# DISPLAY and XAUTHORITY.
wayland_start_mutter() {
    # XWayland's socket folder must be the system's own, as an X server run by root leaves it.
    if [ ${#wayland_as[@]} -gt 0 ]; then
        mkdir -p /tmp/.X11-unix
        chown root:root /tmp/.X11-unix
        chmod 1777 /tmp/.X11-unix
    fi
    wayland_start_session || return 1
    local log=$wayland_home/mutter.log
    wayland_log=$log wayland_spawn mutter --wayland --headless --virtual-monitor 1024x768
    wayland_wait_for 150 grep -q 'Using public X11 display' "$log" || {
        echo "mutter did not start; its log ends:" >&2
        tail -n 5 "$log" >&2
        return 1
    }
    export WAYLAND_DISPLAY DISPLAY XAUTHORITY
    WAYLAND_DISPLAY=$(sed -n "s/.*Using Wayland display name '\([^']*\)'.*/\1/p" "$log")
    DISPLAY=$(sed -n 's/.*Using public X11 display \(:[0-9]*\).*/\1/p' "$log")
    XAUTHORITY=$(echo "$XDG_RUNTIME_DIR"/.mutter-Xwaylandauth.*)
    wayland_wait_for 50 test -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY"
}

# Starts sway (again, after wayland_kill_sway) and exports its variables; a sway started anew in
# the same session takes the same Wayland socket.
wayland_start_sway() {
    rm -f "$wayland_home/session.env"
    WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
        wayland_log="$wayland_home/sway.log" wayland_spawn sway -c "$wayland_home/config"
    wayland_sway_pid=${wayland_pids[-1]}
    wayland_wait_for 100 test -f "$wayland_home/session.env" || {
        echo "sway did not start; its log ends:" >&2
        tail -n 5 "$wayland_home/sway.log" >&2
        return 1
    }
    local name
    for name in WAYLAND_DISPLAY SWAYSOCK DISPLAY; do
        export "$(grep "^$name=" "$wayland_home/session.env")"
    done
}

# Ends sway as a compositor that crashes: at once, leaving its clients to find the connection gone.
wayland_kill_sway() {
    kill -KILL "$wayland_sway_pid" 2>/dev/null
    wait "$wayland_sway_pid" 2>/dev/null || true
}

# weston on a socket of its own, as a window of sway. Its keyboard is the one sway had when
# weston started, and a seat without a keyboard then never gives weston's windows the focus: a
# virtual keyboard that does nothing is kept for the session's length.
wayland_start_weston() {
    weston_socket=weston-1
    wayland_spawn wtype -s 86400000
    sleep 0.3
    WAYLAND_DISPLAY="$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" \
        wayland_spawn weston --backend=wayland-backend.so --socket="$weston_socket" --xwayland \
        --no-config --width=1000 --height=700 --log="$wayland_home/weston.log"
    local found=
    wayland_wait_for 100 grep -q 'xserver listening on display' "$wayland_home/weston.log" &&
        wayland_wait_for 50 test -S "$XDG_RUNTIME_DIR/$weston_socket" && found=1
    [ -n "$found" ] || {
        echo "weston did not start; its log ends:" >&2
        tail -n 5 "$wayland_home/weston.log" >&2
        return 1
    }
    weston_display=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' \
        "$wayland_home/weston.log")
}

# The whole output as a PNG file.
wayland_screenshot() {
    wayland_run grim "$wayland_home/shot.png" && cp "$wayland_home/shot.png" "$1"
}
