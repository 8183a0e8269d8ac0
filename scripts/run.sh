#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds Trelvik and starts it on the simulated camera.
#   scripts/run.sh            the full tool (run folder with mass_cmd.ini)
#   scripts/run.sh settings   the settings tool (Camera_Setting.ini and its message file)
# Without a display it runs under Xvfb and saves a screenshot to build/dev/screenshot.png.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset dev >/dev/null
cmake --build --preset dev --target trelvik trelvik_run_folders trelvik-cli
mode="${1:-full}"
exe="build/dev/run/$mode/trelvik"
state="build/dev/sim-camera.json"
if [ -n "${DISPLAY:-}" ]; then
  exec "$exe" --simulate="$state"
fi
echo "run: no display; starting under Xvfb for 8 seconds and taking a screenshot"
xvfb-run -a -s "-screen 0 1280x900x24" bash -c "
  '$exe' --simulate='$state' & pid=\$!
  sleep 6
  import -window root build/dev/screenshot.png || true
  kill \$pid 2>/dev/null; wait \$pid 2>/dev/null || true"
echo "run: screenshot in build/dev/screenshot.png"
