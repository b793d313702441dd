#!/usr/bin/env bash
# Builds the Qt that Quillbox for Windows needs (qtbase 6.4.2: Core, Gui, Widgets, Test; the
# windows, offscreen and minimal platform plugins; the windowsvista style) for Windows x86-64 with
# Debian's mingw-w64 (posix threads), from Debian's own source of it (qt6-base 6.4.2+dfsg-10),
# and installs it into FOLDER/qt6.4.2-win64-mingw. The host's tools (moc, rcc, uic) are Debian's
# qt6-base-dev-tools of the same version. About half an hour on two cores.
#
#   scripts/build-qt-windows.sh FOLDER
#
# The packages it needs are installed by scripts/quillbox.sh, which runs this when its cache of
# Qt for Windows is empty and no prebuilt archive is at hand.
set -euo pipefail

folder=$(realpath "${1:?usage: build-qt-windows.sh FOLDER}")
version=6.4.2
debian_version=$version+dfsg-10
prefix="$folder/qt$version-win64-mingw"
work=$(mktemp -d "${TMPDIR:-/tmp}/quillbox-qt.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Debian's source package, through a list of source indexes of this run's own: the machine's apt
# configuration stays as it is, and no root is needed.
mkdir -p "$work/apt/lists/partial" "$work/source"
cat >"$work/apt/debian-sources.sources" <<SOURCES
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
apt_options=(-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$work/apt"
    -o Dir::State::Lists="$work/apt/lists" -o Debug::NoLocking=1)
apt-get "${apt_options[@]}" update -q
(cd "$work/source" && apt-get "${apt_options[@]}" source --download-only "qt6-base=$debian_version")
tar -C "$work/source" -xJf "$work/source/qt6-base_$version+dfsg.orig.tar.xz"

# The cross toolchain goes with the Qt it builds, so that a program built against this Qt finds
# the same compiler (cmake -DQT_CHAINLOAD_TOOLCHAIN_FILE=$prefix/share/toolchain/mingw64-posix.cmake).
mkdir -p "$prefix/share/toolchain"
toolchain="$prefix/share/toolchain/mingw64-posix.cmake"
cat >"$toolchain" <<'TOOLCHAIN'
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
TOOLCHAIN

# Only what the program and its tests use. Debian's source leaves out the tablet headers
# (src/3rdparty/wintab), so tablet events are off; the libraries Windows lacks come from Qt's own
# copies.
cmake -S "$work/source/qtbase-everywhere-src-$version" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DQT_QMAKE_TARGET_MKSPEC=win32-g++ \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_xml=OFF \
    -DFEATURE_concurrent=OFF -DFEATURE_printsupport=OFF -DFEATURE_testlib=ON \
    -DINPUT_opengl=no -DFEATURE_vulkan=OFF -DFEATURE_tabletevent=OFF -DFEATURE_zstd=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF \
    -DFEATURE_system_freetype=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
    -DFEATURE_system_doubleconversion=OFF -DFEATURE_use_gold_linker_alias=OFF
cmake --build "$work/build" -j2
cmake --install "$work/build"
x86_64-w64-mingw32-strip --strip-unneeded "$prefix"/bin/*.dll "$prefix"/plugins/*/*.dll
echo "$prefix"
