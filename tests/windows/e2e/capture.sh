#!/usr/bin/env bash
# The zip's Quillbox.exe under Wine, reading switched on with Ctrl+K: texts that an X11 program
# (xclip) and a Windows program (copy_text.exe) copy become files in code page 932 while another
# window has the focus; a taken name is numbered; a copy a password manager marks is not written;
# "con" becomes NoName.txt; the program's own copy back reaches X11 programs and is not captured.
. "$(dirname "$0")/lib.sh"
wine_e2e_begin "${1:-}" "${2:-}"
wine_e2e_start

e2e_switch_reading_on e2e_keys ctrl+k
e2e_copy_and_wait 'reading probe'
e2e_expect_file "$e2e_folder/reading prob.txt" 3 "the first copy after Ctrl+K"
wine_e2e_focus_elsewhere

check_capture() { # text, expected file name, what is checked, copied by: x11 or windows
    if [ "$4" = windows ]; then
        wine_e2e_copy_from_windows "$1"
    else
        e2e_copy "$1"
    fi
    e2e_expect_file "$e2e_folder/$2" 2 "$3"
    wine_e2e_expect_capture_bytes "$e2e_folder/$2" "$1" "$3"
}

check_capture 'memo' 'memo.txt' "an X11 program's one-line text" x11
check_capture '日本語のテキストを保存するテスト' '日本語のテキストを保存す.txt' \
    "an X11 program's Japanese text, named by its first 12 characters" x11
# Wine hands an X11 text to Windows programs with CR LF for each line feed, as Windows texts end
# their lines: the X11 copies here have CR LF already.
check_capture $'memo\r\nsecond' 'memo 1.txt' "a taken name is numbered" x11
check_capture $'Windows の\r\nテキスト' 'Windows の.txt' "a Windows program's text" windows
check_capture $'memo\r\nthird' 'memo 2.txt' "a Windows program's text under a taken name" windows
check_capture 'con' 'NoName.txt' "a device name of Windows" x11

before=$(e2e_listing)
wine_e2e_copy_from_windows 'hunter2' ExcludeClipboardContentFromMonitorProcessing=0
wine_e2e_copy_from_windows 'correct horse' CanIncludeInClipboardHistory=0
sleep 2
[ "$(e2e_listing)" = "$before" ] ||
    e2e_fail "a copy marked by a password manager was written: $(e2e_listing)"
check_capture 'after the secrets' 'after the se.txt' "capture goes on after the secrets" windows

# A press on the first entry of the file list loads it into the pane, and Ctrl+T hands the pane's
# text back to the clipboard, where X11 programs read it; the program does not capture it again.
before=$(e2e_text_file_count)
first=$(cd "$e2e_folder" && find . -maxdepth 1 -name '*.txt' -printf '%f\n' | LC_ALL=C sort | head -1)
e2e_click 40 224
e2e_keys ctrl+t
e2e_wait_until 3 sh -c 'timeout 2 xclip -o -selection clipboard | grep -q .' ||
    e2e_fail "Ctrl+T put nothing on the clipboard"
copied=$(timeout 2 xclip -o -selection clipboard)
[ -n "$copied" ] || e2e_fail "the copy back reached no X11 program"
wine_e2e_focus_elsewhere
sleep 2
[ "$(e2e_text_file_count)" = "$before" ] ||
    e2e_fail "the program captured its own copy back ('$copied'): $(e2e_listing)"
check_capture 'after copy back' 'after copy b.txt' "capture goes on after the copy back" x11

e2e_end_through_menu
e2e_pass
