#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The Windows check: builds the core, the Windows platform layer, the simulated camera,
# trelvik-cli.exe and the test suites whose code differs on Windows (marked WINDOWS) for 64-bit
# Windows with Debian's MinGW-w64, runs them under Wine, and has the Linux trelvik-cli and
# trelvik-cli.exe under Wine share one simulated camera. Installs the Debian 12 packages it needs
# (root or sudo). Ends with ctest's summary.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$(date +%s)
jobs=${TRELVIK_JOBS:-$(nproc)}

source scripts/lib/packages.sh
need_packages cmake ninja-build g++ pkgconf g++-mingw-w64-x86-64-posix wine64 googletest nlohmann-json3-dev \
  libudev-dev libicu-dev libxcb1-dev

# One Wine prefix in the build folder, made before the tests start in parallel (Wine's first
# start takes a while), and one Wine server kept up for the hundreds of short test programs.
export WINEPREFIX=$PWD/build/mingw/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
mkdir -p build/mingw
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "== Wine prefix"
  bash scripts/wine-run.sh wineboot --init
fi
"$wineserver" -w # the server that made the prefix goes first; a second one would be refused
"$wineserver" -p
# Wine's own services start with the first program and live as long as the server: started here
# on /dev/null, so they hold no pipe of a test run open.
bash scripts/wine-run.sh cmd /c exit 0 </dev/null >/dev/null 2>&1
trap '"$wineserver" -k 2>/dev/null || true' EXIT

echo "== build (mingw)"
cmake --preset mingw >/dev/null
nice -n 5 cmake --build --preset mingw -j "$jobs"

echo "== tests under Wine"
set +e
# The window tests (built when the Qt for MinGW is there) are run by test-windows-gui.sh; the
# layering cases check include folders, the same here as in the dev tree that runs them.
ctest --preset mingw -LE 'gui|layering' -j "$jobs" 2>&1 | tee build/mingw/ctest.log
tests=${PIPESTATUS[0]}
set -e
summary=$(grep -E "tests passed|tests failed" build/mingw/ctest.log | tail -1)

echo "== one state file, the Linux trelvik-cli and trelvik-cli.exe under Wine"
# The Linux CLI of a build that is already there (CI's dev build), or of the small one.
linuxpreset=nogui
[ -f build/dev/CMakeCache.txt ] && linuxpreset=dev
[ -f "build/$linuxpreset/CMakeCache.txt" ] || cmake --preset "$linuxpreset" >/dev/null
nice -n 5 cmake --build --preset "$linuxpreset" -j "$jobs" --target trelvik-cli
linux=build/$linuxpreset/bin/trelvik-cli
windows() { bash scripts/wine-run.sh build/mingw/bin/trelvik-cli.exe "$@" | tr -d '\r'; }
# A folder whose name is not ASCII, reached by Windows as a drive-letter path with backslashes.
folder=$(mktemp -d)/"Wildkamera Prüfung"
mkdir -p "$folder"
state=$folder/cam.json
winstate=$(bash scripts/wine-run.sh winepath -w "$state" | tr -d '\r')
fail=0
check() { # what, expected, actual
  if [ "$2" == "$3" ]; then echo "ok: $1 ($3)"; else echo "FAILED: $1: expected '$2', got '$3'"; fail=1; fi
}
"$linux" write 0x41 0x07 --simulate="$state" >/dev/null
check "Linux write, Windows read" "0x07" "$(windows read 0x41 --simulate="$winstate")"
windows write 0x42 0x03 --simulate="$winstate" >/dev/null
check "Windows write, Linux read" "0x03" "$("$linux" read 0x42 --simulate="$state")"
windows set-clock 2031-07-04T05:06:07 --simulate="$winstate" >/dev/null
check "Windows clock, Linux clock" "$(windows clock --simulate="$winstate")" "$("$linux" clock --simulate="$state")"
check "info on both" "$("$linux" info --simulate="$state")" "$(windows info --simulate="$winstate")"
check "state file stays LF-only JSON" "0" "$(grep -c $'\r' "$state" || true)"
# Both write the same log line for the same command.
"$linux" read 0x41 --simulate="$state" >/dev/null
windows read 0x41 --simulate="$winstate" >/dev/null
check "same log line" "$(tail -2 "$state.log" | head -1)" "$(tail -1 "$state.log")"
rm -rf "$(dirname "$folder")"

echo "== $(( $(date +%s) - started )) s"
echo "$summary"
[ "$tests" -eq 0 ] && [ "$fail" -eq 0 ]
