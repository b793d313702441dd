# A Wine of a run's own: a fresh prefix in a temporary folder, Wine's own installer dialogs and
# messages off. Source this file and call wine_start; wine_stop (also run on EXIT) ends every
# Windows process of that prefix and removes it.
#
#   . scripts/wine-session.sh
#   wine_start [LOCALE]           # exports WINEPREFIX, WINEDEBUG, WINEDLLOVERRIDES; a locale
#                                 # such as ja_JP.UTF-8 makes it a Windows of that language
#   ...
#   wine_stop

wine_locales=

# Wine takes the Windows language and code page from the locale, and the encoding of file names
# on Linux from it too: a locale the system has not generated leaves Wine without UTF-8 names, so
# it is generated for the session (localedef, from the locales package's sources).
wine_use_locale() {
    local name=$1
    if [ "$(env LC_ALL="$name" locale charmap 2>/dev/null)" != UTF-8 ]; then
        wine_locales=$(mktemp -d "${TMPDIR:-/tmp}/quillbox-locales.XXXXXX")
        localedef -i "${name%%.*}" -f UTF-8 "$wine_locales/$name" >/dev/null 2>&1 || {
            echo "the locale $name cannot be made: is the package locales installed?" >&2
            return 1
        }
        export LOCPATH=$wine_locales
    fi
    # The shell itself cannot take up a locale made after it started, and says so: its programs
    # can.
    { export LC_ALL=$name; } 2>/dev/null
}

wine_start() {
    trap wine_stop EXIT
    [ -z "${1:-}" ] || wine_use_locale "$1" || return 1
    WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/quillbox-wine.XXXXXX")
    # No Mono or Gecko installer of Wine's own; no debugging output.
    export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    # wineboot says it cannot run 32-bit helpers, which a 64-bit Wine has none of.
    wineboot -i >/dev/null 2>&1 || {
        echo "wineboot could not make a Wine prefix in $WINEPREFIX" >&2
        return 1
    }
    # Windows draws its dialogs and Qt its widgets in the font that Windows calls MS Shell Dlg,
    # Tahoma on a Windows of Western languages. Debian's Wine has no Tahoma, and Qt would fall
    # back to a serif: a sans-serif font that holds Japanese stands in, as on a Japanese Windows.
    local key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' name
    for name in 'MS Shell Dlg' 'MS Shell Dlg 2'; do
        wine reg add "$key" /v "$name" /d 'Noto Sans CJK JP' /f >/dev/null 2>&1 || true
    done
    # Wine's server and desktop live on for a moment after the last program: the next program
    # must start ones of its own, on the display it is given.
    wineserver -w || true
}

# Windows finds DLLs in the folders of WINEPATH, a list of Windows paths (drive Z: is /).
wine_path_of() {
    local folder result=
    for folder in "$@"; do
        result+="${result:+;}Z:$(printf '%s' "$folder" | tr / '\\')"
    done
    printf '%s' "$result"
}

# Never fails, so that it may end a shell that stops at the first failure.
wine_stop() {
    if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
        # The prefix's server keeps its socket in a folder named after the prefix's device and
        # inode.
        local server dir
        server=$(printf 'server-%x-%x' "$(stat -c %d "$WINEPREFIX")" "$(stat -c %i "$WINEPREFIX")")
        wineserver -k 2>/dev/null || true
        wineserver -w 2>/dev/null || true
        rm -rf "$WINEPREFIX"
        for dir in /tmp/wine-*/"$server"; do
            if [ -d "$dir" ]; then
                rm -rf "$dir"
                rmdir "$(dirname "$dir")" 2>/dev/null || true
            fi
        done
    fi
    WINEPREFIX=
    if [ -n "${wine_locales:-}" ]; then
        rm -rf "$wine_locales"
    fi
    wine_locales=
}
