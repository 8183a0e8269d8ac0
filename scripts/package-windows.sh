#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Windows installer build/mingw/trelvik-setup-<version>.exe with NSIS from the mingw
# build (with the window: the Qt of scripts/build-qt-windows.sh), then checks it under Wine in a
# prefix of its own, on a private X server: a silent install, its files, shortcuts and Apps
# entry, the installed tool started once, the installer run again over it, an uninstall refused
# while the tool runs, and a silent uninstall that leaves nothing behind.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${TRELVIK_JOBS:-$(nproc)}

if [ -z "${TRELVIK_ON_XVFB:-}" ]; then
  source scripts/lib/windows-gui.sh
  windows_gui_setup nsis
  echo "== build (mingw)"
  cmake --preset mingw >/dev/null
  nice -n 5 cmake --build --preset mingw -j "$jobs" --target trelvik trelvik_run_folders trelvik-cli test_device_news

  version=$(sed -n 's/^project(Trelvik VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
  stage=build/mingw/installer
  rm -rf "$stage"
  mkdir -p "$stage"
  cp -r build/mingw/run/full build/mingw/run/settings "$stage/"
  cp build/mingw/bin/trelvik-cli.exe "$stage/full/"
  # The preset builds with debug information, a quarter of the programs' size: not shipped.
  for exe in "$stage"/*/*.exe; do x86_64-w64-mingw32-strip "$exe"; done
  setup=build/mingw/trelvik-setup-$version.exe
  echo "== installer"
  makensis -V2 -DVERSION="$version" -DSTAGE="$PWD/$stage" -DOUTFILE="$PWD/$setup" data/windows/trelvik.nsi
  ls -l "$setup"
  again_on_xvfb TRELVIK_SETUP="$setup"
fi

out=$PWD/build/mingw/installer-check
rm -rf "$out"
mkdir -p "$out/tmp"
# No Mono or Gecko dialogs, and no menu entries on the Linux desktop for the Windows shortcuts.
export WINEPREFIX=$out/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" TMPDIR=$out/tmp
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
wine() { bash scripts/wine-run.sh "$@"; }
bash scripts/wine-run.sh wineboot --init >/dev/null 2>&1
"$wineserver" -w
fail=0
check() { # what, expected, actual
  if [ "$2" == "$3" ]; then echo "ok: $1 ($3)"; else echo "FAILED: $1: expected '$2', got '$3'"; fail=1; fi
}
c=$WINEPREFIX/drive_c
dir=$c/Program\ Files/Trelvik
menu=$c/ProgramData/Microsoft/Windows/Start\ Menu/Programs/Trelvik
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Trelvik'
files=(full/trelvik.exe full/mass_cmd.ini full/trelvik-cli.exe settings/trelvik.exe settings/Camera_Setting.ini
       settings/Camera_Setting_UNICODE_msg.ini uninstall.exe)
installed() { # what is there of the installation, one word each
  local f
  for f in "${files[@]}"; do [ -f "$dir/$f" ] && echo -n "$f "; done
  for f in "Trelvik.lnk" "Trelvik Camera Settings.lnk"; do [ -f "$menu/$f" ] && echo -n "menu:$f "; done
  wine reg query "$key" /v DisplayName >/dev/null 2>&1 && echo -n "apps-entry "
  [ -d "$dir" ] && echo -n "folder"
  echo
}
everything="${files[*]} menu:Trelvik.lnk menu:Trelvik Camera Settings.lnk apps-entry folder"
setup=$(wine winepath -w "$PWD/$TRELVIK_SETUP" | tr -d '\r')
uninstall() { # the uninstaller goes on in a copy of itself; the server ends with it
  wine "C:\\Program Files\\Trelvik\\uninstall.exe" /S || true
  "$wineserver" -w
}

echo "== silent install"
wine "$setup" /S
"$wineserver" -w
check "installed" "$everything" "$(installed)"
check "Apps entry's uninstall command" '"C:\Program Files\Trelvik\uninstall.exe" /S' \
  "$(wine reg query "$key" /v QuietUninstallString | tr -d '\r' | sed -n 's/.*REG_SZ *//p')"
check "shortcut to the settings tool" "1" \
  "$(grep -a -c 'settings.trelvik\.exe' "$menu/Trelvik Camera Settings.lnk" || true)"
check "installed tool starts and paints" "first paint" \
  "$(TRELVIK_EXIT_AFTER_FIRST_PAINT=1 wine "C:\\Program Files\\Trelvik\\full\\trelvik.exe" --simulate 2>/dev/null | tr -d '\r')"
check "installed CLI answers" "0x00" \
  "$(wine "C:\\Program Files\\Trelvik\\full\\trelvik-cli.exe" read 0x41 --simulate 2>/dev/null | tr -d '\r')"

echo "== installer run again over the installation"
wine "$setup" /S
"$wineserver" -w
check "still installed, once" "$everything 1" \
  "$(installed) $(wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' | grep -c 'Uninstall\\Trelvik' || true)"

echo "== uninstall while the tool runs"
wine "C:\\Program Files\\Trelvik\\settings\\trelvik.exe" --simulate >/dev/null 2>&1 &
tool=$!
for _ in $(seq 60); do xdotool search --onlyvisible --name "^Trelvik - " >/dev/null 2>&1 && break; sleep 0.5; done
wine "C:\\Program Files\\Trelvik\\uninstall.exe" /S || true
sleep 5 # the refusal ends the uninstaller's copy; the tool keeps the server up
check "refused, nothing removed" "$everything" "$(installed)"
kill "$tool" 2>/dev/null || true
"$wineserver" -k || true
wait "$tool" 2>/dev/null || true

echo "== silent uninstall"
uninstall
check "nothing left" "" "$(installed)"
check "no folder left" "" "$(find "$c/Program Files" "$c/ProgramData/Microsoft/Windows/Start Menu" -iname '*trelvik*')"
[ "$fail" -eq 0 ]
