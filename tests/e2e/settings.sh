#!/usr/bin/env bash
# ClipSet.ini beside the program's copy: written with the defaults at the first start (the window
# in the middle of the 1024 x 768 screen), rewritten with the window's place by
# "設定及び表示状態の保存(&S)", untouched by the end, and read back at the next start.
. "$(dirname "$0")/lib.sh"
e2e_begin "${1:-}"
ini="$e2e_folder/ClipSet.ini"

# The outer rectangle of the main window in pixels: left top width height.
outer_place() {
    local extents
    extents=$(xprop -id "$e2e_window" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
    read -r left right top bottom <<<"$extents"
    read -r x y width height <<<"$(e2e_window_place)"
    echo "$((x - left)) $((y - top)) $((width + left + right)) $((height + top + bottom))"
}

expect_settings() { # what is checked, then the 11 numbers
    local what=$1
    shift
    local expected="$e2e_dir/ClipSet.expected"
    printf '%s\r\n' "$@" "\"$e2e_folder/\"" >"$expected"
    cmp -s "$expected" "$ini" || {
        echo "expected:" >&2
        cat -A "$expected" >&2
        echo "found:" >&2
        cat -A "$ini" >&2
        e2e_fail "$what: ClipSet.ini does not hold the expected 12 lines"
    }
}

[ -e "$ini" ] && e2e_fail "the fresh copy already has a ClipSet.ini"
e2e_start
[ -f "$ini" ] || e2e_fail "the first start wrote no ClipSet.ini beside the executable"
read -r left top width height <<<"$(outer_place)"
[ "$left $top $width $height" = "256 192 512 384" ] ||
    e2e_fail "the first start placed the window at $left $top $width $height, not 256 192 512 384"
e2e_end_through_menu
expect_settings "after the first start and its end" 3840 2880 7680 5760 256 192 -1 -1 0 -1 12

e2e_start
timeout 5 xdotool windowmove --sync "$e2e_window" 100 80 || e2e_fail "xdotool could not move the window"
sleep 0.3
read -r left top width height <<<"$(outer_place)"
[ "$left $top" != "256 192" ] || e2e_fail "the window did not move"
e2e_keys alt+o s
left_edge_stored() { [ "$(e2e_settings_line 1)" = "$((left * 15))" ]; }
e2e_wait_until 2 left_edge_stored ||
    e2e_fail "設定及び表示状態の保存(&S) did not store the left edge $((left * 15)) (found $(e2e_settings_line 1))"
expect_settings "after 設定及び表示状態の保存(&S)" $((left * 15)) $((top * 15)) 7680 5760 256 192 \
    -1 -1 0 -1 12
saved_left=$left saved_top=$top

timeout 5 xdotool windowmove --sync "$e2e_window" 300 250 || e2e_fail "xdotool could not move the window"
sleep 0.3
e2e_end_through_menu
expect_settings "after moving the window and ending without saving" \
    $((saved_left * 15)) $((saved_top * 15)) 7680 5760 256 192 -1 -1 0 -1 12

e2e_start
read -r left top width height <<<"$(outer_place)"
[ "$left $top $width $height" = "$saved_left $saved_top 512 384" ] ||
    e2e_fail "the next start placed the window at $left $top $width $height, not at the saved $saved_left $saved_top 512 384"
e2e_end_through_menu
e2e_pass
