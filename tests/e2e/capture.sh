#!/usr/bin/env bash
# Reading switched on with Ctrl+K: texts that another program copies become files, named after
# their first line, within a second; a repeat makes no file; a taken name is numbered; a quick
# run of copies loses nothing. The program's own copy back to the clipboard is not captured.
. "$(dirname "$0")/lib.sh"
e2e_begin "${1:-}"
e2e_start

# Switching reading on empties the clipboard, also of a text another program serves.
e2e_copy_and_wait 'copied before reading'
e2e_keys ctrl+k
e2e_wait_until 2 e2e_clipboard_is '' || e2e_fail "Ctrl+K did not empty the clipboard"
e2e_forbid 'copied befor.txt' "a text copied before reading was switched on was kept"

check_capture() { # text, expected file name, what is checked
    e2e_copy "$1"
    e2e_expect_file "$e2e_folder/$2" 1 "$3"
    e2e_expect_capture_bytes "$e2e_folder/$2" "$4" "$3"
}

check_capture 'memo' 'memo.txt' "a one-line text" 'memo'
check_capture 'Meeting notes for Monday' 'Meeting note.txt' \
    "a long line is cut to 12 characters" 'Meeting notes for Monday'
check_capture $'  \r\nabc\r\ndef' 'abc.txt' \
    "leading blanks and line breaks are trimmed, the name ends at the first line" $'abc\r\ndef'
check_capture '日本語のテキストを保存するテスト' '日本語のテキストを保存す.txt' \
    "a Japanese text is named by its first 12 characters and written in UTF-8" \
    '日本語のテキストを保存するテスト'

before=$(e2e_text_file_count)
e2e_copy_and_wait '日本語のテキストを保存するテスト'
sleep 1.8
[ "$(e2e_text_file_count)" = "$before" ] ||
    e2e_fail "the same text copied again made another file: $(e2e_listing)"
e2e_forbid '日本語のテキストを保存す 1.txt' "the same text copied again made another file"

check_capture $'memo\nsecond' 'memo 1.txt' "a taken name is numbered" $'memo\nsecond'
check_capture $'memo\nthird' 'memo 2.txt' "a name taken twice is numbered on" $'memo\nthird'

# Each copy is complete (the clipboard serves it) before the 50 ms to the next one begin.
for i in 0 1 2 3 4 5 6 7 8 9; do
    e2e_copy_and_wait "burst $i"
    sleep 0.05
done
for i in 0 1 2 3 4 5 6 7 8 9; do
    e2e_expect_file "$e2e_folder/burst $i.txt" 2 "ten texts copied 50 ms apart"
    e2e_expect_capture_bytes "$e2e_folder/burst $i.txt" "burst $i" "ten texts copied 50 ms apart"
done

# A press on the first entry of the file list, abc.txt, loads it into the pane, and Ctrl+T hands
# the pane's text back to the clipboard. The list's first row lies just below the horizontal
# splitter, which a first start puts at half the window's height.
e2e_copy_and_wait 'copy back source'
e2e_expect_file "$e2e_folder/copy back so.txt" 1 "the text for the copy back"
before=$(e2e_text_file_count)
e2e_click 40 224
e2e_keys ctrl+t
e2e_wait_until 2 e2e_clipboard_is $'abc\r\ndef' ||
    e2e_fail "Ctrl+T after pressing abc.txt did not put its text on the clipboard"
copied=$(timeout 2 xclip -o -selection clipboard)
sleep 1.8
[ "$(e2e_text_file_count)" = "$before" ] ||
    e2e_fail "the program captured its own copy back ('$copied'): $(e2e_listing)"
e2e_forbid 'abc 1.txt' "the program captured its own copy back"
check_capture 'after copy back' 'after copy b.txt' "capture goes on after the copy back" \
    'after copy back'

e2e_end_through_menu
e2e_pass
