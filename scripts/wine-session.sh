# A Wine of a run's own: a fresh prefix in a temporary folder, Wine's own installer dialogs and
# messages off. Source this file and call wine_start; wine_stop (also run on EXIT) ends every
# Windows process of that prefix and removes it.
#
#   . scripts/wine-session.sh
#   wine_start                    # exports WINEPREFIX, WINEDEBUG, WINEDLLOVERRIDES
#   wine_start_with_folders QTBIN RUNTIME    # the same, with Qt's and the runtime's DLLs found
#   ...
#   wine_stop

wine_start() {
    trap wine_stop EXIT
    WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/quillbox-wine.XXXXXX")
    # No Mono or Gecko installer of Wine's own; no debugging output.
    export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    # wineboot says it cannot run 32-bit helpers, which a 64-bit Wine has none of.
    wineboot -i >/dev/null 2>&1 || {
        echo "wineboot could not make a Wine prefix in $WINEPREFIX" >&2
        return 1
    }
}

# Windows finds DLLs in the folders of WINEPATH, a list of Windows paths (drive Z: is /).
wine_path_of() {
    local folder result=
    for folder in "$@"; do
        result+="${result:+;}Z:$(printf '%s' "$folder" | tr / '\\')"
    done
    printf '%s' "$result"
}

wine_stop() {
    [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ] || return 0
    # The prefix's server keeps its socket in a folder named after the prefix's device and inode.
    local server dir
    server=$(printf 'server-%x-%x' "$(stat -c %d "$WINEPREFIX")" "$(stat -c %i "$WINEPREFIX")")
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    rm -rf "$WINEPREFIX"
    for dir in /tmp/wine-*/"$server"; do
        [ -d "$dir" ] || continue
        rm -rf "$dir"
        rmdir "$(dirname "$dir")" 2>/dev/null
    done
    WINEPREFIX=
}
