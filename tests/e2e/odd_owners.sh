#!/usr/bin/env bash
# Owners that hand over what the program must not keep, while reading is on: a text only selected
# (the primary selection) makes no file; a text whose increments never end is given up at the
# limit, with one box that says so once a run, and the copies after it are kept as ever. Texts
# with odd ends come back from the program's own copy as they went, so it does not keep them again.
. "$(dirname "$0")/lib.sh"
e2e_begin "${1:-}"
slow_owner=${2:-}
[ -x "$slow_owner" ] || e2e_fail "no clipboard owner of the test's own given (got '$slow_owner')"
e2e_start
e2e_switch_reading_on e2e_keys ctrl+k

check_capture() { # text, expected file name, what is checked
    e2e_copy "$1"
    e2e_expect_file "$e2e_folder/$2" 2 "$3"
    e2e_expect_capture_bytes "$e2e_folder/$2" "$1" "$3"
}

primary_is() {
    [ "$(timeout 2 xclip -o -selection primary 2>/dev/null)" = "$1" ]
}
printf 'only selected' | xclip -quiet -selection primary -i >/dev/null 2>&1 &
e2e_clipboard_pids+=($!)
e2e_wait_until 2 primary_is 'only selected' || e2e_fail "xclip did not take the primary selection"
check_capture 'copied after selecting' 'copied after.txt' "a copy after a selection"
[ "$(e2e_text_file_count)" = 1 ] ||
    e2e_fail "a text only selected made a file: $(e2e_listing)"
e2e_forbid 'only selecte.txt' "a text only selected made a file"

# The pane shows the text just kept, and Ctrl+T copies it back: the owner that served it loses
# the clipboard and ends.
odd="$e2e_dir/odd.bytes"
for what in 'begins with a byte order mark' 'ends with a NUL'; do
    if [ "$what" = 'ends with a NUL' ]; then
        printf 'ends with a NUL\0' >"$odd"
        again='ends with a 1.txt'
    else
        printf '\xef\xbb\xbfbegins with a byte order mark' >"$odd"
        again=$'\xef\xbb\xbfbegins with 1.txt'
    fi
    before=$(e2e_text_file_count)
    xclip -quiet -selection clipboard -i <"$odd" >/dev/null 2>&1 &
    owner=$!
    e2e_clipboard_pids+=($owner)
    e2e_wait_until 2 sh -c "[ \$(find '$e2e_folder' -maxdepth 1 -name '*.txt' | wc -l) -gt $before ]" ||
        e2e_fail "a text that $what was not kept"
    e2e_keys ctrl+t
    e2e_wait_until 2 sh -c "! kill -0 $owner" || e2e_fail "Ctrl+T did not take the clipboard"
    timeout 2 xclip -o -selection clipboard | cmp -s - "$odd" ||
        e2e_fail "the text that $what was copied back changed"
    sleep 1.8
    [ "$(e2e_text_file_count)" = $((before + 1)) ] ||
        e2e_fail "the text that $what was kept again after its copy back: $(e2e_listing)"
    e2e_forbid "$again" "the text that $what was kept again after its copy back"
done

endless="$e2e_dir/endless.txt"
for i in $(seq 1 4096); do
    echo "endless copy, line $i: the owner hands this over again and again."
done >"$endless"
box_shown() {
    e2e_message_boxes_of "$e2e_pid" Quillbox | grep -q .
}
box_gone() {
    ! box_shown
}
# 128 KiB increments, each as soon as the last was taken.
start_endless_owner() { # log file
    "$slow_owner" "$endless" 131072 0 endless >"$1" 2>&1 &
    e2e_clipboard_pids+=($!)
    e2e_wait_until 2 grep -q owned "$1" || e2e_fail "the endless owner did not take the clipboard"
}

kept=$(e2e_text_file_count)
start_endless_owner "$e2e_dir/owner1.log"
e2e_wait_until 30 box_shown || e2e_fail "no box told of the text too large to keep"
e2e_wait_until 5 grep -q gone "$e2e_dir/owner1.log" ||
    e2e_fail "the program went on taking increments without end"
[ "$(e2e_text_file_count)" = "$kept" ] ||
    e2e_fail "the endless text made a file: $(e2e_listing)"
e2e_forbid 'endless copy.txt' "the endless text made a file"
box=$(e2e_message_boxes_of "$e2e_pid" Quillbox | head -1)
e2e_focus "$box"
e2e_keys_to_focus Return
e2e_wait_until 2 box_gone || e2e_fail "the box did not close"
check_capture 'after the endless copy' 'after the en.txt' "a copy after an endless one"

start_endless_owner "$e2e_dir/owner2.log"
e2e_wait_until 30 grep -q gone "$e2e_dir/owner2.log" ||
    e2e_fail "the program went on taking the second endless text"
check_capture 'after the second one' 'after the se.txt' "a copy after a second endless one"
box_gone || e2e_fail "a second endless text was told of again"
e2e_end_through_menu
e2e_pass
