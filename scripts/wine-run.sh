#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs one Windows program under Wine, as ctest and the test discovery start them. The Wine
# prefix lives in the build folder (WINEPREFIX may name another); Wine's own chatter is off.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$root/build/mingw/wine}
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko: nothing here needs them, and asking for them would wait on a dialog.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
wine=${TRELVIK_WINE:-}
if [ -z "$wine" ]; then
  for candidate in wine64 /usr/lib/wine/wine64 wine; do
    if command -v "$candidate" >/dev/null; then wine=$candidate; break; fi
  done
fi
[ -n "$wine" ] || { echo "wine-run: no wine64 (Debian package wine64)" >&2; exit 127; }
exec "$wine" "$@"
