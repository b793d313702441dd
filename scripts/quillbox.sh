#!/usr/bin/env bash
# Sets up a Debian 12 machine for Quillbox and builds it, then starts the program ("run"), makes
# its Debian package ("package"), makes the Windows zip and installer ("windows") or runs every
# test ("test"). Installs only what is missing, through sudo when not root.
set -euo pipefail

mode=${1:-run}
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$top/build"

build_packages=(build-essential cmake ninja-build pkg-config clang qt6-base-dev qt6-wayland
    fonts-noto-cjk libxcb1-dev libxcb-xfixes0-dev libwayland-dev)
package_packages=(dpkg-dev file)
test_packages=(xvfb xauth xclip xdotool openbox trayer x11-utils imagemagick libclang-rt-14-dev
    sway xwayland weston wl-clipboard wtype grim jq qt6-wayland dbus-daemon python3-dbus python3-gi
    mutter lintian desktop-file-utils appstream)
# Quillbox for Windows: Debian's mingw-w64 with posix threads, the tools that build Qt for it from
# Debian's source, NSIS for the installer; Wine runs the tests.
windows_packages=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    mingw-w64-x86-64-dev qt6-base-dev-tools nsis zip xz-utils perl debian-archive-keyring)
windows_test_packages=(wine wine64 unzip xvfb xauth xclip xdotool openbox trayer x11-utils
    imagemagick fonts-noto-cjk binutils locales)

install_missing() {
    local missing=()
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" apt-get update -q
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
}

configure_and_build() {
    local dir=$1
    shift
    cmake -S "$top" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLBOX_WERROR=ON "$@"
    cmake --build "$dir" -j2
}

# The Debian package of a build configured for /usr, where the package puts the program.
make_package() {
    local dir=$1
    rm -f "$dir"/quillbox_*.deb
    (cd "$dir" && cpack -G DEB)
    package_file=$(echo "$dir"/quillbox_*.deb)
}

# Qt for Windows lives in a cache of the user's: filled once, from the archive this team keeps
# beside the repository where there is one, else built from Debian's source. Sets windows_qt.
windows_qt_from_cache() {
    local cache=$HOME/.cache/quillbox name=qt6.4.2-win64-mingw
    local archive="$top/../shared/toolchains/$name.tar.xz"
    windows_qt=$cache/$name
    [ -f "$windows_qt/lib/cmake/Qt6/qt.toolchain.cmake" ] && return
    rm -rf "$windows_qt"
    mkdir -p "$cache"
    if [ -f "$archive" ]; then
        tar -C "$cache" -xJf "$archive"
    else
        bash "$top/scripts/build-qt-windows.sh" "$cache"
    fi
}

# A build for Windows against that Qt, in folder $1; the tests in it run under Wine.
configure_and_build_windows() {
    local dir=$1
    shift
    windows_qt_from_cache
    configure_and_build "$dir" \
        -DCMAKE_TOOLCHAIN_FILE="$windows_qt/lib/cmake/Qt6/qt.toolchain.cmake" \
        -DQT_CHAINLOAD_TOOLCHAIN_FILE="$windows_qt/share/toolchain/mingw64-posix.cmake" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake "$@"
}

# The portable zip and the installer of a Windows build.
make_windows_packages() {
    local dir=$1
    rm -f "$dir"/Quillbox-*-win64.zip "$dir"/Quillbox-*-win64-setup.exe
    (cd "$dir" && cpack -G "ZIP;NSIS")
}

case "$mode" in
run)
    install_missing "${build_packages[@]}"
    configure_and_build "$build" -DQUILLBOX_TESTS=OFF
    # A portable copy in a folder of its own, which becomes its capture folder: started from the
    # build folder, it would list and mix its captures with the build's own .txt files.
    portable="$top/Quillbox"
    mkdir -p "$portable"
    install -m 755 "$build/quillbox" "$portable/quillbox"
    install -m 644 "$build/Quillbox.HLP" "$portable/Quillbox.HLP"
    exec "$portable/quillbox"
    ;;
package)
    install_missing "${build_packages[@]}" "${package_packages[@]}"
    configure_and_build "$build" -DQUILLBOX_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr
    make_package "$build"
    echo "Install it with: sudo apt install $package_file"
    ;;
windows)
    install_missing "${build_packages[@]}" "${windows_packages[@]}"
    configure_and_build_windows "$top/build-win" -DQUILLBOX_TESTS=OFF
    make_windows_packages "$top/build-win"
    ls -l "$top"/build-win/Quillbox-*-win64.zip "$top"/build-win/Quillbox-*-win64-setup.exe
    ;;
test)
    install_missing "${build_packages[@]}" "${package_packages[@]}" "${test_packages[@]}" \
        "${windows_packages[@]}" "${windows_test_packages[@]}"
    configure_and_build "$build" -DCMAKE_INSTALL_PREFIX=/usr
    ctest --test-dir "$build" --output-on-failure
    make_package "$build"
    bash "$top/tests/package/package.sh" "$package_file"
    # The same tests once more, built by clang with the address and undefined-behaviour checks.
    configure_and_build "$top/build-sanitize" -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_BUILD_TYPE=Debug -DQUILLBOX_SANITIZE=ON
    checked=(env ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1)
    "${checked[@]}" ctest --test-dir "$top/build-sanitize" --output-on-failure -LE end-to-end
    # The clipboard channels' raw xcb, Wayland and pipe code runs only against real servers: the
    # X11 channel's test, and the program on sway with a large text and a compositor that crashes.
    "${checked[@]}" ctest --test-dir "$top/build-sanitize" --output-on-failure \
        -R '^(e2e_x11selection|e2e_sway_large_copy_wayland|e2e_sway_compositor_restart)$'
    # A short run of every fuzz target.
    if [ -d "$top/fuzz" ]; then
        configure_and_build "$top/build-fuzz" -DCMAKE_CXX_COMPILER=clang++ -DQUILLBOX_TESTS=OFF \
            -DQUILLBOX_FUZZ=ON
        for target in "$top"/build-fuzz/fuzz/fuzz_*; do
            [ -f "$target" ] && [ -x "$target" ] || continue
            corpus=$(mktemp -d)
            "$target" -max_total_time=10 -rss_limit_mb=2048 "$corpus"
            rm -rf "$corpus"
        done
    fi

    # ---- Windows: the same tests cross-built and run under Wine, then the zip and the installer
    # ---- on a private desktop (tests/windows/). Each Wine run makes a prefix of its own.
    configure_and_build_windows "$top/build-win"
    (
        . "$top/scripts/wine-session.sh"
        wine_start
        ctest --test-dir "$top/build-win" --output-on-failure -j2 -LE end-to-end
    )
    make_windows_packages "$top/build-win"
    ctest --test-dir "$top/build-win" --output-on-failure -L end-to-end
    ;;
*)
    echo "usage: $0 run|package|windows|test" >&2
    exit 2
    ;;
esac
