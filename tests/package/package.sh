#!/usr/bin/env bash
# The Debian package from install to removal: it holds what a desktop needs and passes lintian and
# the desktop validators; once installed, its menu entry starts the program on a private desktop,
# which keeps its settings in the user's data folder; removing it leaves none of its files.
#
#   bash tests/package/package.sh build/quillbox_2.00_amd64.deb

. "$(dirname "$0")/../e2e/lib.sh"

deb=${1:-}
[ -f "$deb" ] || e2e_fail "no package given (got '$deb')"
app_id=io.github.quillbox.Quillbox
entry=/usr/share/applications/$app_id.desktop
sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
for tool in lintian desktop-file-validate appstreamcli dpkg-deb; do
    command -v "$tool" >/dev/null || e2e_fail "the tool '$tool' is not installed"
done

package_installed() {
    dpkg-query -W -f='${Status}' quillbox 2>/dev/null | grep -q 'install ok installed'
}
# A copy the user installed is not the test's to remove.
package_installed && e2e_fail "quillbox is installed on this machine already; remove it first"

work=$(mktemp -d)
installed_by_test=
package_cleanup() {
    [ -n "$installed_by_test" ] && package_installed && "${sudo[@]}" dpkg -r quillbox >/dev/null
    rm -rf "$work"
    e2e_cleanup
}
trap package_cleanup EXIT

dpkg-deb -x "$deb" "$work/contents" || e2e_fail "dpkg-deb cannot unpack $deb"
for path in usr/bin/quillbox usr/share/quillbox/Quillbox.HLP usr/share/applications/$app_id.desktop \
    usr/share/metainfo/$app_id.metainfo.xml usr/share/icons/hicolor/scalable/apps/$app_id.svg \
    usr/share/icons/hicolor/{16x16,32x32,48x48}/apps/$app_id.png usr/share/doc/quillbox/copyright; do
    [ -f "$work/contents/$path" ] || e2e_fail "the package lacks /$path"
done
depends=$(dpkg-deb -f "$deb" Depends)
[[ $depends == *libqt6widgets6* ]] || e2e_fail "the computed dependencies lack Qt Widgets: '$depends'"

validation=$(desktop-file-validate "$work/contents$entry" 2>&1) && [ -z "$validation" ] ||
    e2e_fail "desktop-file-validate: $validation"
appstreamcli validate --no-net "$work/contents/usr/share/metainfo/$app_id.metainfo.xml" ||
    e2e_fail "appstreamcli does not accept the metainfo file"
lintian --fail-on error "$deb" || e2e_fail "lintian finds errors in the package"
e2e_note "the package passes lintian, desktop-file-validate and appstreamcli"

# What sits beside the package's files before it comes and after it goes. The desktop database's
# cache is rebuilt by dpkg's triggers for every package and belongs to none.
package_folders=$(cd "$work/contents" && find . -type f -printf '/%h\n' | sort -u)
neighbours() {
    local folder
    for folder in $package_folders; do
        [ -d "$folder" ] && find "$folder" -mindepth 1 -maxdepth 1 ! -name mimeinfo.cache
    done | sort
}
before=$(neighbours)
# The package's own paths, files and folders, that are not there before it.
new_paths=()
while read -r path; do
    [ -e "$path" ] || new_paths+=("$path")
done < <(cd "$work/contents" && find . -mindepth 1 -printf '/%P\n')
[ ${#new_paths[@]} -gt 0 ] || e2e_fail "every path of the package is there before its install"

"${sudo[@]}" dpkg -i "$deb" >"$work/dpkg.log" 2>&1 || e2e_fail "dpkg -i failed: $(cat "$work/dpkg.log")"
installed_by_test=1
package_installed || e2e_fail "dpkg does not count quillbox as installed"
dpkg -L quillbox >"$work/listed"
for path in "${new_paths[@]}"; do
    grep -qxF "$path" "$work/listed" || e2e_fail "dpkg -L does not list $path"
    [ -e "$path" ] || e2e_fail "$path is missing after dpkg -i"
done

# Started as the desktop starts a menu entry: its Exec line, without field codes, through PATH.
exec_line=$(sed -n 's/^Exec=//p' "$entry")
read -ra command_words <<<"${exec_line//%[fFuUick]/}"
e2e_start_desktop
# The desktop set a trap of its own; this one also ends the desktop.
trap package_cleanup EXIT
unset XDG_DATA_HOME
e2e_dir=$(mktemp -d)
export XDG_RUNTIME_DIR="$e2e_dir/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
(cd "$HOME" && exec "${command_words[@]}") >>"$e2e_dir/program.log" 2>&1 &
e2e_pid=$!
e2e_program_pids+=("$e2e_pid")
e2e_wait_until 15 e2e_main_window_shown || e2e_fail "the installed program showed no window in 15 s"
[ "$(readlink "/proc/$e2e_pid/exe")" = /usr/bin/quillbox ] ||
    e2e_fail "the menu entry started $(readlink "/proc/$e2e_pid/exe"), not /usr/bin/quillbox"
e2e_window=$(e2e_main_window_of "$e2e_pid")
e2e_note "the menu entry started /usr/bin/quillbox and its window is shown"

# The README's one command for starting at login, as its reader runs it.
autostart_command=$(grep -m 1 '^install .*autostart' "$(dirname "$0")/../../README.md")
bash -c "$autostart_command" || e2e_fail "the README's autostart command failed: $autostart_command"
cmp -s "$HOME/.config/autostart/$app_id.desktop" "$entry" ||
    e2e_fail "the README's autostart command did not copy the menu entry into ~/.config/autostart"
e2e_end_through_menu
[ -f "$HOME/.local/share/Quillbox/ClipSet.ini" ] ||
    e2e_fail "no ClipSet.ini in ~/.local/share/Quillbox after the end"

"${sudo[@]}" dpkg -r quillbox >"$work/dpkg.log" 2>&1 || e2e_fail "dpkg -r failed: $(cat "$work/dpkg.log")"
package_installed && e2e_fail "dpkg still counts quillbox as installed after dpkg -r"
for path in "${new_paths[@]}"; do
    [ -e "$path" ] && e2e_fail "$path is left after dpkg -r"
done
after=$(neighbours)
[ "$before" = "$after" ] ||
    e2e_fail "beside the package's files the file system changed: $(diff <(echo "$before") <(echo "$after"))"
e2e_pass
