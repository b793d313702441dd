#!/usr/bin/env bash
# The built program on a private X desktop: Ctrl+K switches reading on, and texts that another
# program (xclip) puts on the clipboard become files with the right names and bytes.
#   capture_from_another_program.sh QUILLBOX_EXECUTABLE REPOSITORY
set -euo pipefail
executable=$1
. "$2/scripts/desktop-session.sh"

fail() {
    echo "FAILED: $*" >&2
    exit 1
}

desktop_start 1024x768x24
folder="$desktop_home/program"
mkdir "$folder"
cp "$executable" "$folder/quillbox"
cd "$folder"

desktop_spawn ./quillbox
window=$(timeout 10 xdotool search --sync --onlyvisible --name '^Quillbox$' | head -1) ||
    fail "the main window did not appear"
xdotool windowactivate --sync "$window" key ctrl+k
sleep 0.5

# Sets the clipboard from another program; xclip serves it until the next owner takes over.
copy() {
    # -quiet keeps xclip in the foreground, so this shell knows the process that serves the text.
    printf '%b' "$1" | xclip -selection clipboard -quiet >/dev/null 2>&1 &
    desktop_pids+=($!)
}

# Waits up to a second for the file, then compares it byte for byte.
expect_file() {
    local name=$1 bytes=$2 tries=20
    while [ ! -f "$name" ]; do
        tries=$((tries - 1))
        [ "$tries" -le 0 ] && fail "no file \"$name\" a second after the copy (have: $(ls))"
        sleep 0.05
    done
    cmp "$name" <(printf '%b' "$bytes") || fail "\"$name\" does not hold the copied text"
}

copy 'e2e memo\nsecond line'
expect_file 'e2e memo.txt' 'e2e memo\nsecond line\r\n'

copy '会議は十時から\r\n第4会議室'
expect_file '会議は十時から.txt' '会議は十時から\r\n第4会議室\r\n'

copy 'e2e memo\nanother body'
expect_file 'e2e memo 1.txt' 'e2e memo\nanother body\r\n'

copy 'e2e memo\nanother body'
sleep 1.5
count=$(ls -1 ./*.txt | wc -l)
[ "$count" -eq 3 ] || fail "the same text again made another file ($count files: $(ls))"

xdotool windowactivate --sync "$window" key ctrl+k
sleep 0.3
copy 'after reading stopped'
sleep 1.5
[ ! -f 'after reading st.txt' ] && [ ! -f 'after readin.txt' ] ||
    fail "a copy was captured after reading was switched off"
[ "$(ls -1 ./*.txt | wc -l)" -eq 3 ] || fail "a copy was captured after reading was switched off"
echo "ok"
