#!/usr/bin/env bash
# Runs a test program built for Windows under Wine: ctest's emulator for the Windows build.
#
#   wine.sh QTBIN RUNTIME PREFIX PROGRAM.exe [ARGUMENTS...]
#
# QTBIN and RUNTIME hold Qt's and the compiler runtime's DLLs. The prefix is $WINEPREFIX where the
# caller made one (scripts/quillbox.sh makes a fresh one for each run), else PREFIX, made here on
# first use.
set -u
qt_bin=$1 runtime=$2 prefix=$3
shift 3
. "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine-session.sh"

export WINEPREFIX=${WINEPREFIX:-$prefix} WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
fi
export WINEPATH="$(wine_path_of "$qt_bin" "$runtime")"
# Wine passes no variable whose name starts with QT_ to a Windows program; it passes WINEQT_X as
# QT_X.
while IFS='=' read -r name _; do
    [[ $name == QT_* ]] && export "WINE$name=${!name}"
done < <(env)
# Without a console a Qt test writes its report through OutputDebugString, which Wine shows
# nowhere: this sends it to the test's output.
export WINEQT_FORCE_STDERR_LOGGING=1
exec wine "$@"
