#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds Qt 6 (Core, Gui, Widgets, Network, Test) for 64-bit Windows from Debian's own qtbase
# source with the posix-thread MinGW-w64 compiler, Debian's moc/rcc/uic serving as the host Qt.
# Debian ships no Qt for MinGW; this is what the mingw preset builds the window against.
#
# Static libraries: trelvik.exe then needs no Qt DLLs or plugin folder beside it, the run
# folders and the installer stay the same as for the CLI, and a program that starts under Wine
# cannot pick up some other Qt found on the PATH.
#
# The result goes to a cache folder named after the Qt version and the exact compiler package,
# so a compiler update builds a fresh Qt rather than linking against libraries made by another
# one. The build happens in a scratch folder and is moved into place only when complete; the
# marker file is written last. A second run finds the marker and does nothing.
#
# Prints the cache folder on its last line. Needs root or sudo only to install missing packages.
#   --where   prints the cache folder and builds nothing; exit status 0 when a complete Qt is
#             there, 1 when not (the mingw preset asks this way).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
qt_version=6.4.2
jobs=${TRELVIK_JOBS:-$(nproc)}

cache_folder() {
  local compiler
  compiler=$(dpkg-query -W -f='${Version}' g++-mingw-w64-x86-64-posix 2>/dev/null) || compiler=none
  local cache=${TRELVIK_QT_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/trelvik}
  echo "$cache/qt-$qt_version-mingw-gcc-${compiler//[^A-Za-z0-9.]/_}"
}
if [ "${1:-}" == "--where" ]; then
  cache_folder
  [ -f "$(cache_folder)/trelvik-qt-complete" ]
  exit
fi

source "$root/scripts/lib/packages.sh"
need_packages cmake ninja-build dpkg-dev g++-mingw-w64-x86-64-posix qt6-base-dev qt6-base-dev-tools

# The host tools generate code for the target libraries: they must be the same Qt release.
host_version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)
if [ "${host_version%%+*}" != "$qt_version" ]; then
  echo "build-qt-windows: Debian's host tools are Qt $host_version, this script builds $qt_version" >&2
  exit 1
fi

compiler=$(dpkg-query -W -f='${Version}' g++-mingw-w64-x86-64-posix)
prefix=$(cache_folder)
cache=$(dirname "$prefix")
marker=$prefix/trelvik-qt-complete
if [ -f "$marker" ]; then
  echo "build-qt-windows: already built"
  echo "$prefix"
  exit 0
fi
for other in "$cache"/qt-*-mingw-*; do
  [ -d "$other" ] && [ "$other" != "$prefix" ] && echo "build-qt-windows: not reusing $other (another Qt or compiler)"
done

mkdir -p "$cache"
# Beside the cache folder, so the final move is a rename on the same file system.
work=$(mktemp -d "$cache/.qt-build.XXXXXX")
cleanup() { rm -rf "$work"; }
trap cleanup EXIT
started=$(date +%s)

echo "== qtbase source"
# A private apt configuration with only a deb-src entry and its own index folder: the machine's
# sources and package lists stay as they are, and no root is needed.
mkdir -p "$work/apt/lists/partial" "$work/apt/cache/archives/partial" "$work/apt/sources.list.d"
cat >"$work/apt/sources.list.d/qtbase-src.sources" <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
apt_private=(-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$work/apt/sources.list.d"
             -o Dir::State::Lists="$work/apt/lists" -o Dir::Cache="$work/apt/cache"
             -o Debug::NoLocking=1 -o APT::Sandbox::User="$(id -un)")
if ! apt-get "${apt_private[@]}" update -qq >"$work/apt.log" 2>&1 ||
   ! (cd "$work" && apt-get "${apt_private[@]}" source -qq qt6-base >>"$work/apt.log" 2>&1); then
  echo "build-qt-windows: downloading Debian's qt6-base source failed (network, or the archive" >&2
  echo "moved); nothing was installed. apt said:" >&2
  tail -5 "$work/apt.log" >&2
  exit 1
fi
# apt-get source unpacks into qt6-base-<upstream version>, Debian's patches applied.
version=$(sed -n 's/^Version: //p' "$work"/qt6-base_*.dsc 2>/dev/null | head -1)
src=$(ls -d "$work"/qt6-base-*/ 2>/dev/null | head -1)
if [ "${version%%+*}" != "$qt_version" ] || [ ! -f "$src/CMakeLists.txt" ]; then
  echo "build-qt-windows: Debian's qt6-base source is version '${version:-none}', not $qt_version;" >&2
  echo "this script (and the host tools check above) would need updating. Nothing was installed." >&2
  exit 1
fi
rm -rf "$work/apt"

echo "== configure"
# Only what Trelvik links. The dfsg source lacks the Wintab headers, so tablet events go off;
# OpenGL stays on because 6.4.2's Windows platform plugin does not compile without it.
cmake -S "$src" -B "$work/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DBUILD_SHARED_LIBS=OFF -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DQT_QMAKE_TARGET_MKSPEC=win32-g++ \
  -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF \
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF \
  -DFEATURE_system_freetype=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
  -DFEATURE_tabletevent=OFF >"$work/configure.log" 2>&1 ||
  { tail -30 "$work/configure.log" >&2; echo "build-qt-windows: configure failed" >&2; exit 1; }

echo "== build ($jobs jobs)"
nice -n 10 cmake --build "$work/build" -j "$jobs"

echo "== install"
# Installed under a staging root with the final prefix compiled in, then moved into place.
DESTDIR="$work/stage" cmake --install "$work/build" >/dev/null
rm -rf "$prefix"
mv "$work/stage$prefix" "$prefix"
seconds=$(( $(date +%s) - started ))
printf 'qt %s\ncompiler g++-mingw-w64-x86-64-posix %s\nbuild seconds %s\n' \
  "$qt_version" "$compiler" "$seconds" >"$marker"
echo "== $seconds s"
echo "$prefix"
