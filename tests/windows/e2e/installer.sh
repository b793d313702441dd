#!/usr/bin/env bash
# The installer under Wine: a silent install puts Quillbox in Program Files\Quillbox with a Start
# menu entry and nothing that starts it at sign-in; the program started from that entry's target
# keeps ClipSet.ini in %APPDATA%\Quillbox; /AUTOSTART adds the sign-in entry; the silent uninstall
# leaves nothing in Program Files and the user's data alone.
. "$(dirname "$0")/lib.sh"
wine_e2e_begin "${1:-}" "${2:-}"
setup=$(ls "${1:-}"/Quillbox-*-win64-setup.exe 2>/dev/null | head -1)
[ -f "$setup" ] || e2e_fail "no installer in '${1:-}': make it first with cpack there"

drive_c=$WINEPREFIX/drive_c
installed="$drive_c/Program Files/Quillbox"
menu="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs"
appdata="$drive_c/users/$(id -un)/AppData/Roaming/Quillbox"

wine_e2e_run "$setup" /S || e2e_fail "the silent install failed"
for file in Quillbox.exe Quillbox.HLP Qt6Core.dll platforms/qwindows.dll Uninstall.exe; do
    [ -f "$installed/$file" ] || e2e_fail "the install has no $file"
done
[ -f "$menu/Quillbox/Quillbox.lnk" ] || e2e_fail "the install made no Start menu entry"
[ -e "$menu/StartUp/Quillbox.lnk" ] && e2e_fail "the install starts Quillbox at sign-in unasked"

# The link holds its target's full path among its other strings.
target=$(strings "$menu/Quillbox/Quillbox.lnk" | grep -i -m1 '^[A-Z]:\\.*\\Quillbox\.exe$')
[ "$target" = 'C:\Program Files\Quillbox\Quillbox.exe' ] ||
    e2e_fail "the Start menu entry starts '$target'"
wine_e2e_start "$target"
e2e_expect_file "$appdata/ClipSet.ini" 5 "the installed program's settings"
[ -e "$installed/ClipSet.ini" ] && e2e_fail "the installed program wrote into Program Files"
[ "$(sed -n '12{s/\r$//;p}' "$appdata/ClipSet.ini")" = \
    '"C:\users\'"$(id -un)"'\AppData\Roaming\Quillbox\"' ] ||
    e2e_fail "the capture folder is not %APPDATA%\\Quillbox: $(sed -n 12p "$appdata/ClipSet.ini")"
e2e_end_through_menu

wine_e2e_run "$setup" /S /AUTOSTART || e2e_fail "the second silent install failed"
[ -f "$menu/StartUp/Quillbox.lnk" ] || e2e_fail "/AUTOSTART made no sign-in entry"

# The uninstaller copies itself elsewhere and returns at once; the copy does the work.
wine_e2e_run "$installed/Uninstall.exe" /S || e2e_fail "the silent uninstall failed"
gone() { [ ! -e "$installed" ] && [ ! -e "$menu/Quillbox" ] && [ ! -e "$menu/StartUp/Quillbox.lnk" ]; }
e2e_wait_until 30 gone ||
    e2e_fail "the uninstall left $(find "$installed" "$menu/Quillbox" "$menu/StartUp" 2>/dev/null | tr '\n' ' ')"
[ -f "$appdata/ClipSet.ini" ] || e2e_fail "the uninstall took the user's ClipSet.ini"
e2e_pass
