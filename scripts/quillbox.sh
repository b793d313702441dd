#!/usr/bin/env bash
# Sets up a Debian 12 machine for Quillbox and builds it, then starts the program ("run"), makes
# its Debian package ("package") or runs every test ("test"). Installs only what is missing,
# through sudo when not root.
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
test)
    install_missing "${build_packages[@]}" "${package_packages[@]}" "${test_packages[@]}"
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
    [ -d "$top/fuzz" ] || exit 0
    configure_and_build "$top/build-fuzz" -DCMAKE_CXX_COMPILER=clang++ -DQUILLBOX_TESTS=OFF \
        -DQUILLBOX_FUZZ=ON
    for target in "$top"/build-fuzz/fuzz/fuzz_*; do
        [ -f "$target" ] && [ -x "$target" ] || continue
        corpus=$(mktemp -d)
        "$target" -max_total_time=10 -rss_limit_mb=2048 "$corpus"
        rm -rf "$corpus"
    done
    ;;
*)
    echo "usage: $0 run|package|test" >&2
    exit 2
    ;;
esac
