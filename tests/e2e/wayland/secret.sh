#!/usr/bin/env bash
# A text that a password manager offers with its secret mark (x-kde-passwordManagerHint=secret)
# is never written, while the same text offered without the mark is. Both are offered by the
# helper e2e_offer (wl-copy offers one type a copy); our window has no focus.
. "$(dirname "$0")/lib.sh"
wl_begin "$@"
offer=${3:-}
[ -x "$offer" ] || e2e_fail "no clipboard helper given (got '$offer')"
# The session's user runs its own copy: the build tree may be closed to it.
cp "$offer" "$e2e_dir/e2e_offer"
offer="$e2e_dir/e2e_offer"
wl_start_other_window
wl_start
wl_focus
wl_switch_reading_on wl_keys ctrl+k
wl_copy 'focused'
wl_expect_capture 'focused' 'focused.txt' 2 "a copy made while our window is focused"

offered() { grep -qx offered "$e2e_dir/offer.out"; }
helper_shown() { [ -n "$(wl_windows_of "$helper" offer)" ]; }
# Rows: the types offered (TYPE=VALUE, comma-separated), whether the text becomes a file, and what is checked.
while IFS='|' read -r types kept what; do
    IFS=, read -ra types <<<"$types"
    "${wayland_as[@]}" env QT_QPA_PLATFORM=wayland "$offer" "${types[@]}" >"$e2e_dir/offer.out" 2>&1 &
    helper=$!
    e2e_clipboard_pids+=("$helper")
    e2e_wait_until 5 helper_shown || e2e_fail "the helper showed no window"
    wl_focus "$(wl_windows_of "$helper" offer)"
    wl_keys Return
    e2e_wait_until 5 offered || e2e_fail "the helper made no offer of ${types[*]}"
    [ "$(wl_clipboard)" = 'pass words' ] || e2e_fail "the helper's offer does not serve its text"
    listed=$(wayland_run wl-paste --list-types | tr '\n' ' ')
    for type in "${types[@]}"; do
        [[ " $listed" == *" ${type%%=*} "* ]] || e2e_fail "the helper's offer lacks ${type%%=*}: $listed"
    done
    wl_focus "$wl_other"
    if [ "$kept" = yes ]; then
        wl_expect_capture 'pass words' 'pass words.txt' 2 "$what"
    else
        sleep 1.8
        [ -e "$e2e_folder/pass words.txt" ] && e2e_fail "$what: it was written"
        # Written late, it would stand beside the same text's file of the next row.
        e2e_forbid 'pass words 1.txt' "$what"
    fi
done <<'EOF'
x-kde-passwordManagerHint=secret,text/plain=pass words|no|a text marked as a password manager's secret is not written
text/plain=pass words|yes|the same text without the mark is written
EOF
wl_pass
